#include "platform/headless/HeadlessNoticeWindow.hpp"

#include <algorithm>
#include <climits>
#include <utility>

namespace tokeiya::headless {

HeadlessNoticeWindow::HeadlessNoticeWindow(std::string caption,
                                           std::function<HeadlessHostWindow*()> clock)
    : m_caption(std::move(caption)), m_clock(std::move(clock)) {}

void HeadlessNoticeWindow::Show(const std::string& firstLine, const std::string& secondLine,
                                int seconds) {
    m_firstLine = firstLine;
    m_secondLine = secondLine;
    m_visible = true;
    m_hideTimeout.reset();
    HeadlessHostWindow* clock = m_clock ? m_clock() : nullptr;
    if (clock != nullptr) {
        const int milliseconds = std::clamp(seconds, 0, INT_MAX / 1000) * 1000;
        m_hideTimeout = clock->RunAfter(milliseconds, [this] { Hide(); });
    }
}

void HeadlessNoticeWindow::Hide() {
    m_visible = false;
    m_hideTimeout.reset();
}

bool HeadlessNoticeWindow::PressOk() {
    if (!m_visible) {
        return false;
    }
    Hide();
    return true;
}

}  // namespace tokeiya::headless
