#pragma once

#include <gtk/gtk.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gtk/GObjectPtr.hpp"
#include "platform/gtk/GtkCaret.hpp"
#include "platform/gtk/GtkCommandMenu.hpp"
#include "platform/gtk/GtkInputContext.hpp"
#include "platform/gtk/GtkTrayIcon.hpp"
#include "platform/gtk/TonePattern.hpp"
#include "platform/gtk/TonePlayer.hpp"
#include "platform/win/IMainWindow.hpp"
#include "platform/win/TimerIdAllocator.hpp"

namespace tokeiya::gtk {

class CGtkModalRunner;

// The program's main window on GTK 3: one GtkWindow holding a menu bar over a drawing area,
// the client area the engine paints. GDK's events reach the proc as the Windows messages
// the engine speaks: keys as virtual-key codes followed, when the proc leaves a key-down
// alone, by its character as CP932 WM_CHAR bytes; clicks in Windows' order; wheel turns in
// screen coordinates; input-method preedit and commits as composition messages.
//
// Posted messages wait in a FIFO that the main loop drains, and that is also drained before
// each input event is delivered, so that, as on Windows, what a handler posted arrives
// before the next key or click.
//
// The window is not to be deleted from inside one of its own messages: Destroy it there
// (the proc receives WM_DESTROY, the window disappears, the loop returns) and delete it
// after RunMessageLoop has returned. Deleting it without Destroy sends nothing, because the
// proc may be gone by then.
class CGtkMainWindow : public win::IMainWindow, private ICommandTarget, private IInputContextHost {
  public:
    // `runner` runs the message loop and ends it when the desktop session ends; `onGone`
    // runs when the object is deleted.
    CGtkMainWindow(win::IFrameProc& proc, CGtkModalRunner& runner, std::function<void()> onGone);
    ~CGtkMainWindow() override;
    CGtkMainWindow(const CGtkMainWindow&) = delete;
    CGtkMainWindow& operator=(const CGtkMainWindow&) = delete;

    GtkWindow* Window() const { return GTK_WINDOW(m_window.get()); }
    GtkWidget* ClientArea() const { return m_area; }
    // The item of a command in the menu bar or in the last pop-up menu, or null.
    GtkWidget* MenuItemOf(win::UINT id) const;
    GtkWidget* MenuBarWidget() const;
    GtkWidget* PopupMenuWidget() const;
    // The notification icon's GtkStatusIcon, or null.
    GObject* TrayStatusIcon() const { return m_tray != nullptr ? m_tray->StatusIcon() : nullptr; }
    CGtkInputContext& GtkInputMethod() { return *m_inputContext; }

    // win::IHostWindow
    void PostMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;
    bool SetTimer(win::UINT id, win::UINT elapseMs) override;
    bool KillTimer(win::UINT id) override;
    win::UINT AllocateTimerId() override { return m_timerIds.Next(); }
    void InvalidateRect(const CRect& rect, bool erase) override;
    void Invalidate(bool erase) override;
    // Paints the drawing area's invalid region now, through the same draw handler.
    void UpdateWindow() override;
    CRect ClientRect() const override;
    CPoint ClientOrigin() const override;
    void SetCapture() override;
    void ReleaseCapture() override;
    bool HasCapture() const override { return m_capture; }
    int ModifierState() const override;
    bool CreateCaret(int width, int height) override;
    void DestroyCaret() override;
    void SetCaretPos(CPoint point) override;
    CPoint GetCaretPos() const override;
    void ShowCaret() override;
    void HideCaret() override;
    bool SetClipboardText(const std::string& text) override;
    bool GetClipboardText(std::string& text) override;
    win::IInputContext* InputContext() override { return m_inputContext.get(); }
    // On the sound server when there is one, else the display's bell; blocks meanwhile.
    void Beep(int frequency, int milliseconds) override;
    void PlayTones(const std::vector<win::Tone>& tones) override;

    // win::IMainWindow
    void SetTitle(const std::string& title) override;
    std::string Title() const override { return m_title; }
    void SetMenu(const win::Menu& menu) override;
    void ShowWindow(int command) override;
    bool IsVisible() const override;
    bool IsMaximized() const override { return m_maximized; }
    bool IsMinimized() const override { return m_iconified; }
    void MoveWindow(const CRect& rect) override;
    CRect WindowRect() const override { return m_windowRect; }
    CSize MaximizedSize() const override;
    void SetForeground() override;
    void AddTrayIcon(const std::string& tip) override;
    void RemoveTrayIcon() override;
    bool HasTrayIcon() const override { return m_tray != nullptr; }
    bool TrayIconShown() const override { return m_tray != nullptr && m_tray->Embedded(); }
    void TrackPopupMenu(const win::Menu& menu) override;
    void RunMessageLoop() override;
    void Quit() override;
    void Destroy() override;

  private:
    struct TimerSlot {
        CGtkMainWindow* window;
        win::UINT id;
        guint source;
    };
    // The modifier bits ModifierState reports while an event's messages are delivered.
    class EventModifiers;
    // Marks a stretch in which GTK runs a nested loop on our behalf (the clipboard).
    class NestedWait;

    // ICommandTarget
    void UpdateCommand(win::UINT id, win::CommandState& state) override;
    void OnCommand(win::UINT id) override;
    // IInputContextHost
    bool SendImeMessage(const win::Message& message) override;
    void PostImeMessage(const win::Message& message) override;
    void PostCharacters(const std::string& cp932) override;
    void CompositionDisplayChanged() override;

    void Connect();
    bool Deliver(const win::Message& message);
    // Delivers what was posted before the call; false when the window went meanwhile.
    bool DeliverPosted();
    void ScheduleDrain();
    bool AcceptsInput() const { return !m_destroyed && m_nestedWaits == 0; }
    void SendSizeIfChanged();
    void ShowNow(bool activate);
    void TearDown();
    CPoint ClientPoint(GdkWindow* window, double x, double y, double xRoot, double yRoot) const;
    GdkSeat* Seat() const;

    gboolean OnKey(GdkEventKey* event);
    gboolean OnButton(GdkEventButton* event);
    gboolean OnMotion(GdkEventMotion* event);
    gboolean OnScroll(GdkEventScroll* event);
    void OnDraw(cairo_t* cr);
    void OnFocus(bool in);
    void OnWindowState(GdkEventWindowState* event);

    static gboolean KeyThunk(GtkWidget*, GdkEventKey* event, gpointer self) noexcept;
    static gboolean ButtonThunk(GtkWidget*, GdkEventButton* event, gpointer self) noexcept;
    static gboolean MotionThunk(GtkWidget*, GdkEventMotion* event, gpointer self) noexcept;
    static gboolean ScrollThunk(GtkWidget*, GdkEventScroll* event, gpointer self) noexcept;
    static gboolean DrawThunk(GtkWidget*, cairo_t* cr, gpointer self) noexcept;
    static void SizeThunk(GtkWidget*, GdkRectangle*, gpointer self) noexcept;
    static gboolean FocusInThunk(GtkWidget*, GdkEventFocus*, gpointer self) noexcept;
    static gboolean FocusOutThunk(GtkWidget*, GdkEventFocus*, gpointer self) noexcept;
    static gboolean DeleteThunk(GtkWidget*, GdkEvent*, gpointer self) noexcept;
    static gboolean StateThunk(GtkWidget*, GdkEventWindowState* event, gpointer self) noexcept;
    static gboolean ConfigureThunk(GtkWidget*, GdkEventConfigure*, gpointer self) noexcept;
    static gboolean MapThunk(GtkWidget*, GdkEvent*, gpointer self) noexcept;
    static gboolean GrabBrokenThunk(GtkWidget*, GdkEvent*, gpointer self) noexcept;
    static gboolean DrainThunk(gpointer self) noexcept;
    static gboolean TimerThunk(gpointer slot) noexcept;

    win::IFrameProc& m_proc;
    CGtkModalRunner& m_runner;
    std::function<void()> m_onGone;
    ToplevelPtr m_window;
    GtkWidget* m_box = nullptr;   // owned by the window
    GtkWidget* m_area = nullptr;  // owned by the window
    std::unique_ptr<CGtkInputContext> m_inputContext;
    std::unique_ptr<CGtkCaret> m_caret;
    std::unique_ptr<CGtkCommandMenu> m_menuBar;
    std::unique_ptr<CGtkCommandMenu> m_popup;
    std::unique_ptr<CGtkTrayIcon> m_tray;

    std::deque<win::Message> m_posted;
    guint m_drainSource = 0;
    std::map<win::UINT, std::unique_ptr<TimerSlot>> m_timers;
    win::TimerIdAllocator m_timerIds;
    CTonePlayer m_tone;
    std::unique_ptr<CTonePattern> m_tonePattern;  // made at the first pattern
    std::optional<int> m_eventModifiers;
    std::map<guint16, int> m_keysDown;  // hardware keycode -> the virtual key it went down as
    double m_wheelRemainder = 0;        // smooth scrolling not yet a whole notch, in 1/120
    int m_nestedWaits = 0;
    bool m_paintSkipped = false;

    std::string m_title;
    CRect m_windowRect;
    bool m_maximized = false;
    bool m_iconified = false;
    bool m_activateOnMap = true;
    bool m_capture = false;
    bool m_grabbed = false;
    bool m_sizeSent = false;
    win::WPARAM m_lastSizeKind = 0;
    CSize m_lastSize;
    bool m_endSessionSent = false;
    bool m_destroyed = false;
};

}  // namespace tokeiya::gtk
