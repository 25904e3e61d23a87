#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CTime.hpp"
#include "platform/gdi/CMemoryDC.hpp"
#include "platform/win/IMainWindow.hpp"
#include "platform/win/TimerIdAllocator.hpp"

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

// A host window without a display, for tests. Input is made as a person makes it and
// reaches the proc exactly as the GTK desktop delivers it: a modifier key sends its own
// key messages and is held until its release, a key-down that nobody handles posts its
// character, typed text that no key makes arrives as an input method commits it. Posted
// messages wait in a queue until pumped (each input action pumps them). Timers run on a
// virtual clock that AdvanceTime and Beep move, and that clock is also the one CTime reads
// while the window lives. Everything the window is asked to do (invalidations, capture,
// caret, clipboard, beeps, title, menus, icon) is recorded for reading.
class HeadlessHostWindow : public win::IMainWindow {
  public:
    enum class Button { Left, Right, Middle };
    struct BeepRecord {
        int frequency = 0;
        int milliseconds = 0;
        friend bool operator==(const BeepRecord&, const BeepRecord&) = default;
    };

    // The window's clock starts at the time CTime reads when it is made (a test's fixed
    // clock, or the system's) and then stands still but for AdvanceTime and Beep. A clock
    // override made after the window is in force over it while it lives: set the time with
    // SetClock instead.
    explicit HeadlessHostWindow(int clientWidth = 1280, int clientHeight = 800);
    ~HeadlessHostWindow() override;
    HeadlessHostWindow(const HeadlessHostWindow&) = delete;
    HeadlessHostWindow& operator=(const HeadlessHostWindow&) = delete;

    // Where messages go; the frame proc also answers menu state queries.
    void SetProc(win::IWindowProc* proc);
    void SetFrameProc(win::IFrameProc* proc);

    // Keys, each delivered at once and followed by a pump of the posted queue; the answer
    // is whether the proc handled the key's own message. A key pressed again while down is
    // an auto-repeat. Shift, Ctrl and Alt (VK_SHIFT, VK_CONTROL, VK_MENU) are held from
    // their key-down to their key-up.
    bool KeyDown(int virtualKey);
    bool KeyUp(int virtualKey);
    // The key with `modifiers` (kShift, kCtrl, kAlt) held: the modifier keys not down yet
    // go down before it and up after it, Shift, Ctrl, Alt in this order and back.
    bool KeyDown(int virtualKey, int modifiers);
    bool KeyUp(int virtualKey, int modifiers);
    // Modifier keys down, the key down and up, modifier keys up.
    void Press(int virtualKey, int modifiers = 0);
    // CP932 text: a character a key of the US layout makes is that key's press (with Shift
    // where it needs it, win::KeyStrokeOf); any other (double-byte, kana) arrives as posted
    // WM_CHAR bytes, as an input method's commit outside a composition does.
    void Type(std::string_view cp932);
    // The modifier keys held down now.
    int HeldModifiers() const { return m_held; }

    // Mouse messages carry the buttons and the modifier keys held (MK_LBUTTON, MK_SHIFT ...),
    // as the real ones do.
    void MouseDown(Button button, int x, int y);
    void MouseUp(Button button, int x, int y);
    void MouseMove(int x, int y);
    // Down and up, with `modifiers` held as Press holds them.
    void Click(Button button, int x, int y, int modifiers = 0);
    // Down, up, double click, up: the sequence a double click makes.
    void DoubleClick(Button button, int x, int y);
    // Client coordinates; the message carries screen coordinates, as the real one does.
    void Wheel(int delta, int x, int y);
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
    // A timer that fell behind (a blocking beep) ticks once and counts its period from then.
    void AdvanceTime(int milliseconds);
    // Milliseconds since the window was made.
    std::int64_t Now() const { return m_now; }
    // Sets what CTime reads now (seconds since 1970); the virtual clock moves it on.
    void SetClock(std::int64_t seconds);
    bool TimerRunning(win::UINT id) const { return m_timers.count(id) != 0; }
    int TimerPeriod(win::UINT id) const;
    // A callback of the desktop rather than of this window (a notice window hiding itself),
    // run once on this window's clock after `milliseconds`, in due order with the window's
    // timers, as GLib runs a desktop's timeouts beside them. Dropping the handle cancels
    // it; the handle may outlive the window.
    using Timeout = std::shared_ptr<std::function<void()>>;
    [[nodiscard]] Timeout RunAfter(int milliseconds, std::function<void()> fire);

    // Resizes the client area and sends WM_SIZE.
    void Resize(int width, int height, win::WPARAM kind = win::SIZE_RESTORED);
    // Paints the client area through the proc into a fresh bitmap.
    std::unique_ptr<CMemoryDC> Paint();
    bool PaintToPng(const std::string& path);
    // What UpdateWindow painted so far (null before its first paint): the client area as a
    // real window would show it.
    const CMemoryDC* Surface() const { return m_surface.get(); }
    int UpdatePaints() const { return m_updatePaints; }
    void SetClientOrigin(CPoint origin) { m_origin = origin; }
    void SetMaximizedSize(CSize size) { m_maximizedSize = size; }
    void SetInputMethodAvailable(bool available) { m_hasInputMethod = available; }
    // Text another program put on the clipboard (UTF-8).
    void SetForeignClipboardText(const std::string& utf8);

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
    std::vector<BeepRecord> m_beeps;
    HeadlessInputContext m_inputContext;
    int m_foregroundCount = 0;
    bool m_quit = false;
    bool m_destroyed = false;
    std::vector<win::Message> m_unhandled;  // delivered messages the proc did not handle

    // win::IHostWindow
    void PostMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;
    bool SetTimer(win::UINT id, win::UINT elapseMs) override;
    bool KillTimer(win::UINT id) override;
    win::UINT AllocateTimerId() override { return m_timerIds.Next(); }
    void InvalidateRect(const CRect& rect, bool erase) override;
    void Invalidate(bool erase) override;
    void UpdateWindow() override;
    CRect ClientRect() const override;
    CPoint ClientOrigin() const override { return m_origin; }
    void SetCapture() override { m_capture = true; }
    void ReleaseCapture() override { m_capture = false; }
    bool HasCapture() const override { return m_capture; }
    int ModifierState() const override { return m_held; }
    bool CreateCaret(int width, int height) override;
    void DestroyCaret() override;
    void SetCaretPos(CPoint point) override { m_caret.position = point; }
    CPoint GetCaretPos() const override { return m_caret.position; }
    void ShowCaret() override;
    void HideCaret() override;
    bool SetClipboardText(const std::string& text) override;
    bool GetClipboardText(std::string& text) override;
    win::IInputContext* InputContext() override;
    // Recorded; the virtual clock moves on by the duration, without ticking.
    void Beep(int frequency, int milliseconds) override;
    // Each tone is recorded with the beeps when the virtual clock reaches it.
    void PlayTones(const std::vector<win::Tone>& tones) override;
    // Until the last tone of the pattern and its pause are over.
    bool TonesSounding() const;

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
    struct PendingTimeout {
        std::int64_t due;
        std::weak_ptr<std::function<void()>> fire;
    };
    // Runs the earliest timer or timeout due by `end`; false when none is.
    bool RunNextDue(std::int64_t end);
    bool Deliver(const win::Message& message);
    // One key event with the modifiers as they are. `typed`, when given, is the character
    // the key-down makes without Ctrl or Alt (two characters may share a code).
    bool Key(int virtualKey, bool press, char typed = 0);
    // Puts the modifier keys of `modifiers` that are not down yet down; returns them.
    int HoldModifiers(int modifiers);
    void ReleaseModifiers(int pressed);
    win::WPARAM MouseKeys() const;
    void PostCommittedText(std::string_view cp932);
    void SyncClock();
    static win::UINT ButtonMessage(Button button, int offset);
    static win::WPARAM ButtonBit(Button button);

    win::IWindowProc* m_proc = nullptr;
    win::IFrameProc* m_frameProc = nullptr;
    std::deque<win::Message> m_posted;
    std::map<win::UINT, Timer> m_timers;
    std::vector<PendingTimeout> m_timeouts;  // in the order they were made
    std::vector<Timeout> m_tones;            // the tones of the pattern playing
    std::int64_t m_tonesEnd = 0;             // when that pattern is over
    win::TimerIdAllocator m_timerIds;
    std::int64_t m_now = 0;
    // CTime reads (m_clockStartMs + m_now) / 1000 while the window lives.
    std::int64_t m_clockStartMs;
    ScopedClockOverride m_clock;
    // Client size of the normal or maximised window; a minimised one has no client area.
    int m_width;
    int m_height;
    CPoint m_origin{100, 80};
    int m_held = 0;            // modifier bits of the modifier keys down
    std::set<int> m_keysDown;  // virtual keys down, for auto-repeat
    bool m_hasInputMethod = true;
    bool m_composing = false;
    win::WPARAM m_buttonsDown = 0;  // MK_ bits of the buttons held
    std::unique_ptr<CMemoryDC> m_surface;
    CRect m_updateArea;  // what UpdateWindow has to paint; empty when nothing
    int m_updatePaints = 0;
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
