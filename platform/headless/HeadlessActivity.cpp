#include "platform/headless/HeadlessActivity.hpp"

#include <algorithm>

namespace tokeiya::headless {
namespace {

class HeadlessActivityWatch : public IActivityWatch {
  public:
    HeadlessActivityWatch(const ActivityHandlers& handlers,
                          const std::shared_ptr<std::vector<CActivityState*>>& watches)
        : m_state(handlers), m_watches(watches) {
        watches->push_back(&m_state);
    }
    ~HeadlessActivityWatch() override {
        if (const auto watches = m_watches.lock()) {
            std::erase(*watches, &m_state);
        }
    }
    HeadlessActivityWatch(const HeadlessActivityWatch&) = delete;
    HeadlessActivityWatch& operator=(const HeadlessActivityWatch&) = delete;

  private:
    CActivityState m_state;
    std::weak_ptr<std::vector<CActivityState*>> m_watches;
};

}  // namespace

std::unique_ptr<IActivityWatch> HeadlessDesktopSignals::Watch(const ActivityHandlers& handlers) {
    return std::make_unique<HeadlessActivityWatch>(handlers, m_watches);
}

void HeadlessDesktopSignals::Report(DesktopPause what, bool on) {
    // A handler may end a watch (or start one) while the report goes round.
    const std::vector<CActivityState*> hearing = *m_watches;
    for (CActivityState* watch : hearing) {
        if (std::find(m_watches->begin(), m_watches->end(), watch) != m_watches->end()) {
            watch->Changed(what, on);
        }
    }
}

}  // namespace tokeiya::headless
