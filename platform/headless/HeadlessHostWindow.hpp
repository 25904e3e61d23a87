#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/CMemoryDC.hpp"
#include "platform/win/IMainWindow.hpp"

namespace tokeiya::headless {

// The test desktop's input method: a composition is whatever the test says it is.
class HeadlessInputContext : public win::IInputContext {
  public:
    bool SetOpen(bool open) override;
    bool IsOpen() const override { return m_open; }
    bool GetConversionStatus(int& conversion, int& sentence) const override;
    bool SetConversionStatus(int conversion, int sentence) override;
    bool SetCompositionFont(const LogFont& font) override;
    bool SetCompositionPoint(CPoint point) override;
    std::string CompositionString(int kind) const override;
    void CancelComposition() override;

    bool m_open = false;
    int m_conversion = 0;
    int m_sentence = 0;
    LogFont m_font;
    CPoint m_compositionPoint;
    std::string m_composition;  // CP932
    std::string m_result;       // CP932
    int m_cancelled = 0;
};

// A host window without a display, for tests. Keys, characters, mouse actions, wheel turns,
// timer ticks and input-method compositions are injected as a person would make them and
// delivered to the window's proc; posted messages wait in a queue until pumped. Timers run
// on a virtual clock that only AdvanceTime moves. Everything the window is asked to do
// (invalidations, capture, caret, clipboard, title, menus, icon) is recorded for reading.
class HeadlessHostWindow : public win::IMainWindow {
  public:
    enum class Button { Left, Right, Middle };

    explicit HeadlessHostWindow(int clientWidth = 1280, int clientHeight = 800);
    ~HeadlessHostWindow() override;

    // Where messages go; the frame proc also answers menu state queries.
    void SetProc(win::IWindowProc* proc);
    void SetFrameProc(win::IFrameProc* proc);

    // Input, each delivered at once and followed by a pump of the posted queue. Keys hold
    // `modifiers` down while they are delivered.
    bool KeyDown(int virtualKey, int modifiers = 0);
    bool KeyUp(int virtualKey, int modifiers = 0);
    void PressKey(int virtualKey, int modifiers = 0);  // down, then up
    // One WM_CHAR per byte, as an ANSI window receives CP932 text.
    void Type(std::string_view cp932);
    // Mouse messages carry the buttons still held in their key bits (MK_LBUTTON ...), as
    // the real ones do; `keys` adds MK_SHIFT or MK_CONTROL.
    void MouseDown(Button button, int x, int y, win::WPARAM keys = 0);
    void MouseUp(Button button, int x, int y, win::WPARAM keys = 0);
    void MouseMove(int x, int y, win::WPARAM keys = 0);
    void Click(Button button, int x, int y);
    // Down, up, double click, up: the sequence a double click makes.
    void DoubleClick(Button button, int x, int y);
    // Client coordinates; the message carries screen coordinates, as the real one does.
    void Wheel(int delta, int x, int y, win::WPARAM keys = 0);
    // Composition: start (or change) shows `cp932` as the text under conversion; commit
    // delivers it as the result and ends the composition. A result that the proc does not
    // take becomes WM_CHAR bytes, as the system's default handling makes it. A window
    // without an input method gets none of these.
    void Compose(std::string_view cp932);
    void CommitComposition(std::string_view cp932);
    // Ends a composition under way without a result; nothing when none is.
    void CancelCompositionByUser();
    bool Composing() const { return m_composing; }
    // Delivers a message now, without pumping; the proc's answer.
    bool Send(win::UINT message, win::WPARAM wParam = 0, win::LPARAM lParam = 0);

    // Delivers posted messages until the queue is empty (or `limit` were delivered);
    // returns how many were delivered.
    int Pump(int limit = 10000);
    std::size_t PendingMessages() const { return m_posted.size(); }
    const std::deque<win::Message>& Posted() const { return m_posted; }
    // Moves the virtual clock forward, firing due timers in order; posted messages are
    // delivered before each tick, as a timer message only comes when the queue is empty.
    void AdvanceTime(int milliseconds);
    std::int64_t Now() const { return m_now; }
    bool TimerRunning(win::UINT id) const { return m_timers.count(id) != 0; }
    int TimerPeriod(win::UINT id) const;

    // Resizes the client area and sends WM_SIZE.
    void Resize(int width, int height, win::WPARAM kind = win::SIZE_RESTORED);
    // Paints the client area through the proc into a fresh bitmap.
    std::unique_ptr<CMemoryDC> Paint();
    bool PaintToPng(const std::string& path);
    void SetClientOrigin(CPoint origin) { m_origin = origin; }
    void SetMaximizedSize(CSize size) { m_maximizedSize = size; }
    void SetModifierState(int modifiers) { m_modifiers = modifiers; }
    void SetInputMethodAvailable(bool available) { m_hasInputMethod = available; }

    // Menus: the state of a command as the frame proc reports it, and choosing an item.
    win::CommandState MenuState(win::UINT id) const;
    bool ChooseCommand(win::UINT id);
    const win::Menu& MenuBar() const { return m_menu; }
    // The menu the last TrackPopupMenu opened (empty when none).
    const win::Menu& LastPopupMenu() const { return m_popupMenu; }
    // A notification icon event (WM_RBUTTONUP, WM_LBUTTONDBLCLK ...).
    void TrayEvent(win::UINT mouseMessage);

    // Recorded requests.
    std::vector<CRect> m_invalidated;
    int m_invalidateAllCount = 0;
    bool m_capture = false;
    struct Caret {
        bool exists = false;
        int width = 0;
        int height = 0;
        CPoint position;
        int hideCount = 1;  // a new caret starts hidden
        bool Visible() const { return exists && hideCount <= 0; }
    } m_caret;
    std::string m_clipboard;
    bool m_clipboardSet = false;
    HeadlessInputContext m_inputContext;
    int m_foregroundCount = 0;
    bool m_quit = false;
    bool m_destroyed = false;
    std::vector<win::Message> m_unhandled;  // delivered messages the proc did not handle

    // win::IHostWindow
    void PostMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;
    bool SetTimer(win::UINT id, win::UINT elapseMs) override;
    bool KillTimer(win::UINT id) override;
    void InvalidateRect(const CRect& rect, bool erase) override;
    void Invalidate(bool erase) override;
    CRect ClientRect() const override;
    CPoint ClientOrigin() const override { return m_origin; }
    void SetCapture() override { m_capture = true; }
    void ReleaseCapture() override { m_capture = false; }
    bool HasCapture() const override { return m_capture; }
    int ModifierState() const override { return m_modifiers; }
    bool CreateCaret(int width, int height) override;
    void DestroyCaret() override;
    void SetCaretPos(CPoint point) override { m_caret.position = point; }
    CPoint GetCaretPos() const override { return m_caret.position; }
    void ShowCaret() override;
    void HideCaret() override;
    bool SetClipboardText(const std::string& text) override;
    bool GetClipboardText(std::string& text) override;
    win::IInputContext* InputContext() override;

    // win::IMainWindow
    void SetTitle(const std::string& title) override { m_title = title; }
    std::string Title() const override { return m_title; }
    void SetMenu(const win::Menu& menu) override { m_menu = menu; }
    void ShowWindow(int command) override;
    bool IsVisible() const override { return m_visible; }
    bool IsMaximized() const override { return m_maximized && !m_minimized; }
    bool IsMinimized() const override { return m_minimized; }
    void MoveWindow(const CRect& rect) override;
    CRect WindowRect() const override { return m_windowRect; }
    CSize MaximizedSize() const override { return m_maximizedSize; }
    void SetForeground() override { ++m_foregroundCount; }
    void AddTrayIcon(const std::string& tip) override;
    void RemoveTrayIcon() override { m_trayIcon = false; }
    bool HasTrayIcon() const override { return m_trayIcon; }
    bool TrayIconShown() const override { return m_trayIcon && m_notificationArea; }
    // Whether the desktop has a notification area to show the icon in.
    void SetNotificationArea(bool present) { m_notificationArea = present; }
    std::string TrayTip() const { return m_trayTip; }
    void TrackPopupMenu(const win::Menu& menu) override { m_popupMenu = menu; }
    void RunMessageLoop() override;
    void Quit() override { m_quit = true; }
    void Destroy() override;

  private:
    struct Timer {
        win::UINT period;
        std::int64_t due;
    };
    bool Deliver(const win::Message& message);
    bool Key(win::UINT message, int virtualKey, int modifiers);
    static win::UINT ButtonMessage(Button button, int offset);
    static win::WPARAM ButtonBit(Button button);

    win::IWindowProc* m_proc = nullptr;
    win::IFrameProc* m_frameProc = nullptr;
    std::deque<win::Message> m_posted;
    std::map<win::UINT, Timer> m_timers;
    std::int64_t m_now = 0;
    // Client size of the normal or maximised window; a minimised one has no client area.
    int m_width;
    int m_height;
    CPoint m_origin{100, 80};
    int m_modifiers = 0;
    bool m_hasInputMethod = true;
    bool m_composing = false;
    win::WPARAM m_buttonsDown = 0;  // MK_ bits of the buttons held
    std::string m_title;
    win::Menu m_menu;
    win::Menu m_popupMenu;
    bool m_visible = false;
    // Stays set while minimised, so that a restore brings the maximised window back.
    bool m_maximized = false;
    bool m_minimized = false;
    CRect m_windowRect;
    CSize m_maximizedSize{1600, 1000};
    bool m_trayIcon = false;
    bool m_notificationArea = true;
    std::string m_trayTip;
};

}  // namespace tokeiya::headless
