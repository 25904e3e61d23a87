#pragma once

#include <functional>
#include <string>

#include "platform/NoticeWindow.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"

namespace tokeiya::headless {

// The test desktop's notice window: what it shows is read from it and OK is pressed on it.
// Its time runs on the clock of the host window that `clock` names when it is shown, as a
// real one's runs on the desktop's main loop; without one it stays until hidden.
class HeadlessNoticeWindow : public INoticeWindow {
  public:
    HeadlessNoticeWindow(std::string caption, std::function<HeadlessHostWindow*()> clock);
    HeadlessNoticeWindow(const HeadlessNoticeWindow&) = delete;
    HeadlessNoticeWindow& operator=(const HeadlessNoticeWindow&) = delete;

    void Show(const std::string& firstLine, const std::string& secondLine, int seconds) override;
    void Hide() override;
    bool IsVisible() const override { return m_visible; }

    // OK as a person clicks it; false while the window is hidden and there is nothing to
    // click.
    bool PressOk();
    const std::string& Caption() const { return m_caption; }
    const std::string& FirstLine() const { return m_firstLine; }
    const std::string& SecondLine() const { return m_secondLine; }

  private:
    std::string m_caption;
    std::function<HeadlessHostWindow*()> m_clock;
    std::string m_firstLine;
    std::string m_secondLine;
    bool m_visible = false;
    HeadlessHostWindow::Timeout m_hideTimeout;
};

}  // namespace tokeiya::headless
