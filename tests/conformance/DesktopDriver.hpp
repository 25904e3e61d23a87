#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ActivityWatch.hpp"
#include "platform/NoticeWindow.hpp"
#include "platform/gdi/ColorRef.hpp"
#include "platform/win/IMainWindow.hpp"

// The desktop contract, written once: the same test bodies drive the headless desktop (in
// the ui tests) and the GTK one under Xvfb (in the window tests), each through a driver that
// makes input the way a person does on that desktop.
namespace tokeiya::conformance {

// The main window's proc: records every message with the modifier state reported while it
// was delivered, and answers as the test says.
// Keyboard messages as "down 65, char 97, up 65" (sysdown/sysup for the system keys).
std::string KeyTraceOf(const std::vector<win::Message>& messages);

class RecordingProc : public win::IFrameProc {
  public:
    struct Entry {
        win::Message message;
        int modifiers = 0;
    };

    bool WindowProc(const win::Message& message) override;
    void OnPaint(CDC& dc) override;
    void UpdateCommand(win::UINT, win::CommandState&) override {}

    std::vector<win::Message> Of(win::UINT message) const;
    size_t Count(win::UINT message) const { return Of(message).size(); }
    // The keyboard messages as "down 65, char 97, up 65" (sysdown/sysup for system keys).
    std::string KeyTrace() const;
    void Clear() { entries.clear(); }

    win::IHostWindow* window = nullptr;  // asked for the modifier state
    std::vector<Entry> entries;
    std::function<bool(const win::Message&)> onMessage;  // the answer; false without one
    std::function<void(CDC&)> onPaint;
    int paints = 0;
};

enum class MouseButton { Left, Right, Middle };

class DesktopDriver {
  public:
    virtual ~DesktopDriver() = default;

    // A shown main window whose proc is Proc(), with nothing recorded yet.
    virtual win::IMainWindow& Window() = 0;
    virtual RecordingProc& Proc() = 0;

    // Input. Each returns once the desktop has delivered what the action made and what the
    // handlers posted meanwhile.
    virtual void Press(int virtualKey, int modifiers = 0) = 0;
    virtual void KeyDown(int virtualKey) = 0;
    virtual void KeyUp(int virtualKey) = 0;
    virtual void Type(std::string_view cp932) = 0;
    // Client coordinates.
    virtual void Click(MouseButton button, int x, int y) = 0;
    virtual void DoubleClick(MouseButton button, int x, int y) = 0;
    // One notch away from the user (up) or towards the user.
    virtual void Wheel(bool up, int x, int y) = 0;

    // Lets the desktop run (timers, posted messages) until `done` holds or `milliseconds`
    // have passed on its clock; whether `done` held.
    virtual bool RunUntil(const std::function<bool()>& done, int milliseconds) = 0;
    void RunFor(int milliseconds) {
        RunUntil([] { return false; }, milliseconds);
    }
    // The desktop's own clock, in milliseconds from an arbitrary start.
    virtual std::int64_t ElapsedMs() = 0;
    // The colour the client area shows at a pixel now, without letting the desktop run;
    // kNothingShown when nothing was ever painted there.
    static constexpr COLORREF kNothingShown = 0xFFFFFFFF;
    virtual COLORREF ShownPixel(int x, int y) = 0;
    // Another program puts UTF-8 text on the clipboard.
    virtual void PutForeignClipboardText(const std::string& utf8) = 0;

    // A notice window of this desktop; its time passes as RunUntil lets the desktop run.
    virtual std::unique_ptr<INoticeWindow> CreateNoticeWindow(const std::string& caption) = 0;
    // What a person reads on a notice window: the caption, then the two lines (CP932).
    virtual std::vector<std::string> NoticeTexts(INoticeWindow& notice) = 0;
    // Clicks the notice's OK button as a person does; returns once the click was handled.
    virtual void ClickNoticeOk(INoticeWindow& notice) = 0;

    // Watches the computer's sleep and the screen lock as the program does.
    virtual std::unique_ptr<IActivityWatch> WatchActivity(const ActivityHandlers& handlers) = 0;
    // The computer goes to sleep (on) or wakes; the screen locks (on) or unlocks. Each
    // returns once the desktop has told its watches.
    virtual void Sleep(bool on) = 0;
    virtual void Lock(bool on) = 0;
};

// Made by the test program: the headless desktop in the ui tests, GTK in the window tests.
std::unique_ptr<DesktopDriver> MakeDesktopDriver();

}  // namespace tokeiya::conformance
