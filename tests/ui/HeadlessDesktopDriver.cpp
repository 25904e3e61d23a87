#include "platform/headless/HeadlessHostWindow.hpp"
#include "platform/headless/HeadlessNoticeWindow.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "tests/conformance/DesktopDriver.hpp"

// The conformance suite's driver for the headless desktop: input through the window's own
// person-like operations, time on its virtual clock.
namespace tokeiya::conformance {
namespace {

using headless::HeadlessHostWindow;
using namespace win;

HeadlessHostWindow::Button ButtonOf(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return HeadlessHostWindow::Button::Left;
        case MouseButton::Right:
            return HeadlessHostWindow::Button::Right;
        case MouseButton::Middle:
            break;
    }
    return HeadlessHostWindow::Button::Middle;
}

class HeadlessDriver : public DesktopDriver {
  public:
    HeadlessDriver() : m_window(640, 480) {
        m_proc.window = &m_window;
        m_window.SetFrameProc(&m_proc);
        m_window.MoveWindow(CRect{40, 40, 680, 520});
        m_window.ShowWindow(SW_SHOWNORMAL);
        m_proc.Clear();
    }

    IMainWindow& Window() override { return m_window; }
    RecordingProc& Proc() override { return m_proc; }

    void Press(int virtualKey, int modifiers) override { m_window.Press(virtualKey, modifiers); }
    void KeyDown(int virtualKey) override { m_window.KeyDown(virtualKey); }
    void KeyUp(int virtualKey) override { m_window.KeyUp(virtualKey); }
    void Type(std::string_view cp932) override { m_window.Type(cp932); }
    void Click(MouseButton button, int x, int y) override {
        m_window.Click(ButtonOf(button), x, y);
    }
    void DoubleClick(MouseButton button, int x, int y) override {
        m_window.DoubleClick(ButtonOf(button), x, y);
    }
    void Wheel(bool up, int x, int y) override {
        m_window.Wheel(up ? WHEEL_DELTA : -WHEEL_DELTA, x, y);
    }

    bool RunUntil(const std::function<bool()>& done, int milliseconds) override {
        const std::int64_t end = m_window.Now() + milliseconds;
        m_window.Pump();
        while (!done()) {
            if (m_window.Now() >= end) {
                return false;
            }
            m_window.AdvanceTime(1);
        }
        return true;
    }
    std::int64_t ElapsedMs() override { return m_window.Now(); }
    COLORREF ShownPixel(int x, int y) override {
        const CMemoryDC* surface = m_window.Surface();
        return surface != nullptr ? surface->GetPixel(x, y) : kNothingShown;
    }
    void PutForeignClipboardText(const std::string& utf8) override {
        m_window.SetForeignClipboardText(utf8);
    }

    std::unique_ptr<INoticeWindow> CreateNoticeWindow(const std::string& caption) override {
        return std::make_unique<headless::HeadlessNoticeWindow>(caption,
                                                                [this] { return &m_window; });
    }
    std::vector<std::string> NoticeTexts(INoticeWindow& notice) override {
        auto& shown = dynamic_cast<headless::HeadlessNoticeWindow&>(notice);
        return {shown.Caption(), shown.FirstLine(), shown.SecondLine()};
    }
    void ClickNoticeOk(INoticeWindow& notice) override {
        dynamic_cast<headless::HeadlessNoticeWindow&>(notice).PressOk();
        m_window.Pump();
    }

    std::unique_ptr<IActivityWatch> WatchActivity(const ActivityHandlers& handlers) override {
        return m_desktop.WatchActivity(handlers);
    }
    void Sleep(bool on) override { m_desktop.m_activity.Sleep(on); }
    void Lock(bool on) override { m_desktop.m_activity.Lock(on); }

  private:
    CScriptedDialogs m_desktop;
    RecordingProc m_proc;  // outlives the window
    HeadlessHostWindow m_window;
};

}  // namespace

std::unique_ptr<DesktopDriver> MakeDesktopDriver() {
    return std::make_unique<HeadlessDriver>();
}

}  // namespace tokeiya::conformance
