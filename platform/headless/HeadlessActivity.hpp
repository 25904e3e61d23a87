#pragma once

#include <memory>
#include <vector>

#include "platform/ActivityWatch.hpp"

namespace tokeiya::headless {

// The headless desktop's sleep and screen lock: the test says when the computer sleeps or
// wakes and when the screen locks or unlocks, and every live watch hears it as a watch on the
// real desktop hears logind and the screen saver.
class HeadlessDesktopSignals {
  public:
    HeadlessDesktopSignals() = default;
    HeadlessDesktopSignals(const HeadlessDesktopSignals&) = delete;
    HeadlessDesktopSignals& operator=(const HeadlessDesktopSignals&) = delete;

    void Sleep(bool on) { Report(DesktopPause::Sleep, on); }
    void Lock(bool on) { Report(DesktopPause::Lock, on); }
    // Hears the reports made while the result lives (it may outlive these signals).
    std::unique_ptr<IActivityWatch> Watch(const ActivityHandlers& handlers);
    int Watches() const { return static_cast<int>(m_watches->size()); }

  private:
    void Report(DesktopPause what, bool on);

    std::shared_ptr<std::vector<CActivityState*>> m_watches =
        std::make_shared<std::vector<CActivityState*>>();
};

}  // namespace tokeiya::headless
