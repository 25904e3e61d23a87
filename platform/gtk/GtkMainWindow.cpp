#include "platform/gtk/GtkMainWindow.hpp"

#include <algorithm>
#include <utility>

#include "platform/Cp932.hpp"
#include "platform/TextHelpers.hpp"
#include "platform/gdi/CDC.hpp"
#include "platform/gtk/GtkCallback.hpp"
#include "platform/gtk/GtkModalRunner.hpp"

namespace tokeiya::gtk {

using namespace win;

namespace {

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 500;
constexpr int kIconSize = 48;
constexpr WPARAM kTrayIconId = 1;

}  // namespace

// GTK's clipboard waits run the main loop. Inside one, the proc must not be entered again:
// the handler that asked is still running. Input is dropped, posted messages and timer
// ticks wait, painting is done again afterwards.
class CGtkMainWindow::NestedWait {
  public:
    explicit NestedWait(CGtkMainWindow& window) : m_window(window) { ++window.m_nestedWaits; }
    ~NestedWait() {
        if (--m_window.m_nestedWaits == 0) {
            m_window.ScheduleDrain();
            if (m_window.m_paintSkipped) {
                m_window.m_paintSkipped = false;
                gtk_widget_queue_draw(m_window.m_area);
            }
        }
    }
    NestedWait(const NestedWait&) = delete;
    NestedWait& operator=(const NestedWait&) = delete;

  private:
    CGtkMainWindow& m_window;
};

CGtkMainWindow::CGtkMainWindow(IFrameProc& proc, CGtkModalRunner& runner,
                               std::function<void()> onGone)
    : m_proc(proc),
      m_runner(runner),
      m_onGone(std::move(onGone)),
      m_window(TakeToplevel(gtk_window_new(GTK_WINDOW_TOPLEVEL))),
      m_windowRect{0, 0, kDefaultWidth, kDefaultHeight} {
    GtkWindow* window = Window();
    gtk_window_set_default_size(window, kDefaultWidth, kDefaultHeight);
    GObjectPtr<GdkPixbuf> icon = CGtkTrayIcon::ClockPicture(kIconSize);
    gtk_window_set_icon(window, icon.get());
    gtk_widget_add_events(m_window.get(), GDK_STRUCTURE_MASK);

    m_box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    m_area = gtk_drawing_area_new();
    gtk_widget_set_can_focus(m_area, TRUE);
    gtk_widget_add_events(m_area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                      GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK |
                                      GDK_SMOOTH_SCROLL_MASK);
    gtk_box_pack_end(GTK_BOX(m_box), m_area, TRUE, TRUE, 0);
    gtk_container_add(GTK_CONTAINER(window), m_box);
    gtk_widget_show_all(m_box);
    gtk_widget_grab_focus(m_area);

    m_inputContext =
        std::make_unique<CGtkInputContext>(m_area, static_cast<IInputContextHost&>(*this));
    m_caret = std::make_unique<CGtkCaret>(m_area);
    Connect();
}

CGtkMainWindow::~CGtkMainWindow() {
    TearDown();
    m_popup.reset();
    m_menuBar.reset();
    m_caret.reset();
    m_inputContext.reset();
    m_window.reset();
    if (m_onGone) {
        Guarded("main window gone", [this] { m_onGone(); });
    }
}

void CGtkMainWindow::Connect() {
    GtkWidget* window = m_window.get();
    g_signal_connect(window, "key-press-event", G_CALLBACK(KeyThunk), this);
    g_signal_connect(window, "key-release-event", G_CALLBACK(KeyThunk), this);
    g_signal_connect(window, "focus-in-event", G_CALLBACK(FocusInThunk), this);
    g_signal_connect(window, "focus-out-event", G_CALLBACK(FocusOutThunk), this);
    g_signal_connect(window, "delete-event", G_CALLBACK(DeleteThunk), this);
    g_signal_connect(window, "window-state-event", G_CALLBACK(StateThunk), this);
    g_signal_connect(window, "configure-event", G_CALLBACK(ConfigureThunk), this);
    g_signal_connect(window, "map-event", G_CALLBACK(MapThunk), this);
    g_signal_connect(m_area, "button-press-event", G_CALLBACK(ButtonThunk), this);
    g_signal_connect(m_area, "button-release-event", G_CALLBACK(ButtonThunk), this);
    g_signal_connect(m_area, "motion-notify-event", G_CALLBACK(MotionThunk), this);
    g_signal_connect(m_area, "scroll-event", G_CALLBACK(ScrollThunk), this);
    g_signal_connect(m_area, "draw", G_CALLBACK(DrawThunk), this);
    g_signal_connect(m_area, "size-allocate", G_CALLBACK(SizeThunk), this);
    g_signal_connect(m_area, "grab-broken-event", G_CALLBACK(GrabBrokenThunk), this);
}

void CGtkMainWindow::TearDown() {
    if (m_window != nullptr) {
        g_signal_handlers_disconnect_by_data(m_window.get(), this);
        g_signal_handlers_disconnect_by_data(m_area, this);
        gtk_widget_hide(m_window.get());
    }
    for (const auto& [id, slot] : m_timers) {
        g_source_remove(slot->source);
    }
    m_timers.clear();
    m_posted.clear();
    if (m_drainSource != 0) {
        g_source_remove(m_drainSource);
        m_drainSource = 0;
    }
    ReleaseCapture();
    m_tray.reset();
}

GtkWidget* CGtkMainWindow::MenuItemOf(UINT id) const {
    GtkWidget* item = m_menuBar != nullptr ? m_menuBar->ItemOf(id) : nullptr;
    if (item == nullptr && m_popup != nullptr) {
        item = m_popup->ItemOf(id);
    }
    return item;
}

GtkWidget* CGtkMainWindow::MenuBarWidget() const {
    return m_menuBar != nullptr ? m_menuBar->Widget() : nullptr;
}

GtkWidget* CGtkMainWindow::PopupMenuWidget() const {
    return m_popup != nullptr ? m_popup->Widget() : nullptr;
}

bool CGtkMainWindow::Deliver(const Message& message) {
    return !m_destroyed && m_proc.WindowProc(message);
}

// Messages, timers and painting.

void CGtkMainWindow::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_destroyed) {
        return;
    }
    m_posted.push_back(Message{message, wParam, lParam});
    ScheduleDrain();
}

void CGtkMainWindow::ScheduleDrain() {
    // The default priority, GDK's events' own: posted messages go before painting, as they
    // do on Windows.
    if (m_drainSource == 0 && !m_posted.empty() && AcceptsInput()) {
        m_drainSource =
            g_idle_add_full(G_PRIORITY_DEFAULT, &CGtkMainWindow::DrainThunk, this, nullptr);
    }
}

bool CGtkMainWindow::DeliverPosted() {
    // Only what is queued now: a handler that posts again waits for the next turn, so the
    // loop keeps serving events.
    for (size_t count = m_posted.size(); count > 0 && !m_posted.empty() && AcceptsInput();
         --count) {
        const Message message = m_posted.front();
        m_posted.pop_front();
        Deliver(message);
    }
    return !m_destroyed;
}

gboolean CGtkMainWindow::DrainThunk(gpointer self) noexcept {
    auto* window = static_cast<CGtkMainWindow*>(self);
    window->m_drainSource = 0;
    Guarded("posted messages", [window] { window->DeliverPosted(); });
    Guarded("posted messages", [window] { window->ScheduleDrain(); });
    return G_SOURCE_REMOVE;
}

bool CGtkMainWindow::SetTimer(UINT id, UINT elapseMs) {
    if (m_destroyed) {
        return false;
    }
    KillTimer(id);
    auto slot = std::make_unique<TimerSlot>(TimerSlot{this, id, 0});
    slot->source = g_timeout_add_full(G_PRIORITY_DEFAULT, std::max<UINT>(elapseMs, 1),
                                      &CGtkMainWindow::TimerThunk, slot.get(), nullptr);
    m_timers[id] = std::move(slot);
    return true;
}

bool CGtkMainWindow::KillTimer(UINT id) {
    auto found = m_timers.find(id);
    if (found == m_timers.end()) {
        return false;
    }
    g_source_remove(found->second->source);
    m_timers.erase(found);
    return true;
}

gboolean CGtkMainWindow::TimerThunk(gpointer data) noexcept {
    // The handler may kill or reset this timer, which frees the slot: copy what is needed.
    const auto* slot = static_cast<const TimerSlot*>(data);
    CGtkMainWindow* window = slot->window;
    const UINT id = slot->id;
    const guint source = slot->source;
    Guarded("timer", [window, id, source] {
        if (!window->AcceptsInput() || !window->DeliverPosted()) {
            return;
        }
        // A message delivered just now may have killed the timer.
        auto found = window->m_timers.find(id);
        if (found != window->m_timers.end() && found->second->source == source) {
            window->Deliver(Message{WM_TIMER, id, 0});
        }
    });
    return G_SOURCE_CONTINUE;
}

void CGtkMainWindow::InvalidateRect(const CRect& rect, bool) {
    if (!rect.IsEmpty()) {
        gtk_widget_queue_draw_area(m_area, rect.left, rect.top, rect.Width(), rect.Height());
    }
}

void CGtkMainWindow::Invalidate(bool) {
    gtk_widget_queue_draw(m_area);
}

void CGtkMainWindow::UpdateWindow() {
    if (m_destroyed || m_nestedWaits > 0) {
        return;
    }
    GdkWindow* window = gtk_widget_get_window(m_area);
    if (window == nullptr || !gdk_window_is_viewable(window)) {
        return;
    }
    // The frame clock would paint at its next frame; a caller about to block cannot wait
    // for it. The deprecated call is the one that still paints synchronously.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gdk_window_process_updates(window, FALSE);
    G_GNUC_END_IGNORE_DEPRECATIONS
    gdk_display_flush(gtk_widget_get_display(m_area));
}

gboolean CGtkMainWindow::DrawThunk(GtkWidget*, cairo_t* cr, gpointer self) noexcept {
    Guarded("paint", [cr, self] { static_cast<CGtkMainWindow*>(self)->OnDraw(cr); });
    return TRUE;
}

void CGtkMainWindow::OnDraw(cairo_t* cr) {
    if (m_destroyed) {
        return;
    }
    if (m_nestedWaits > 0) {
        m_paintSkipped = true;
        return;
    }
    {
        struct Restore {
            cairo_t* cr;
            ~Restore() { cairo_restore(cr); }
        };
        cairo_save(cr);
        Restore restore{cr};
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        CDC dc(gdi::ReferenceCairo(cr));
        m_proc.OnPaint(dc);
    }
    m_caret->Paint(cr);
    m_inputContext->Paint(cr);
}

// Geometry and showing.

CRect CGtkMainWindow::ClientRect() const {
    if (m_sizeSent) {
        return CRect{0, 0, m_lastSize.cx, m_lastSize.cy};
    }
    // Not laid out yet: the size the window will be given, less the menu bar.
    int width = 0;
    int height = 0;
    gtk_window_get_size(Window(), &width, &height);
    if (GtkWidget* bar = MenuBarWidget()) {
        int minimum = 0;
        int natural = 0;
        gtk_widget_get_preferred_height(bar, &minimum, &natural);
        height -= natural;
    }
    return CRect{0, 0, std::max(width, 0), std::max(height, 0)};
}

CPoint CGtkMainWindow::ClientOrigin() const {
    if (GdkWindow* window = gtk_widget_get_window(m_area)) {
        int x = 0;
        int y = 0;
        gdk_window_get_origin(window, &x, &y);
        return CPoint{x, y};
    }
    return CPoint{m_windowRect.left, m_windowRect.top};
}

void CGtkMainWindow::SizeThunk(GtkWidget*, GdkRectangle*, gpointer self) noexcept {
    Guarded("size", [self] { static_cast<CGtkMainWindow*>(self)->SendSizeIfChanged(); });
}

void CGtkMainWindow::SendSizeIfChanged() {
    if (m_destroyed) {
        return;
    }
    const WPARAM kind = m_iconified ? SIZE_MINIMIZED : m_maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
    const CSize size = m_iconified ? CSize{0, 0}
                                   : CSize{gtk_widget_get_allocated_width(m_area),
                                           gtk_widget_get_allocated_height(m_area)};
    if (m_sizeSent && kind == m_lastSizeKind && size == m_lastSize) {
        return;
    }
    m_sizeSent = true;
    m_lastSizeKind = kind;
    m_lastSize = size;
    Deliver(Message{WM_SIZE, kind, MakeLParam(size.cx, size.cy)});
}

gboolean CGtkMainWindow::StateThunk(GtkWidget*, GdkEventWindowState* event,
                                    gpointer self) noexcept {
    Guarded("window state",
            [event, self] { static_cast<CGtkMainWindow*>(self)->OnWindowState(event); });
    return FALSE;
}

void CGtkMainWindow::OnWindowState(GdkEventWindowState* event) {
    const GdkWindowState state = event->new_window_state;
    // A hidden window keeps the state it is shown again with.
    if ((state & GDK_WINDOW_STATE_WITHDRAWN) != 0) {
        return;
    }
    m_iconified = (state & GDK_WINDOW_STATE_ICONIFIED) != 0;
    m_maximized = (state & GDK_WINDOW_STATE_MAXIMIZED) != 0;
    SendSizeIfChanged();
}

gboolean CGtkMainWindow::ConfigureThunk(GtkWidget* widget, GdkEventConfigure*,
                                        gpointer self) noexcept {
    Guarded("configure", [widget, self] {
        if (GdkWindow* window = gtk_widget_get_window(widget)) {
            GdkRectangle frame;
            gdk_window_get_frame_extents(window, &frame);
            static_cast<CGtkMainWindow*>(self)->m_windowRect =
                CRect{frame.x, frame.y, frame.x + frame.width, frame.y + frame.height};
        }
    });
    return FALSE;
}

gboolean CGtkMainWindow::MapThunk(GtkWidget* widget, GdkEvent*, gpointer self) noexcept {
    Guarded("map", [widget, self] {
        // Without a window manager nobody else gives the window the keyboard focus.
        // CurrentTime, because the X server ignores a request older than the last change.
        GdkWindow* window = gtk_widget_get_window(widget);
        if (window != nullptr && static_cast<CGtkMainWindow*>(self)->m_activateOnMap) {
            gdk_window_focus(window, GDK_CURRENT_TIME);
        }
    });
    return FALSE;
}

void CGtkMainWindow::ShowWindow(int command) {
    if (m_destroyed) {
        return;
    }
    const bool show = command != SW_HIDE;
    if (show != IsVisible()) {
        Deliver(Message{WM_SHOWWINDOW, show ? WPARAM{1} : WPARAM{0}, 0});
        if (m_destroyed) {
            return;
        }
    }
    GtkWindow* window = Window();
    switch (command) {
        case SW_HIDE:
            gtk_widget_hide(m_window.get());
            break;
        case SW_SHOWMINIMIZED:
            gtk_window_iconify(window);
            ShowNow(false);
            break;
        case SW_SHOWMAXIMIZED:
            gtk_window_deiconify(window);
            gtk_window_maximize(window);
            ShowNow(true);
            break;
        case SW_SHOWNOACTIVATE:
            // A window hidden while iconified would be mapped iconified again.
            gtk_window_deiconify(window);
            ShowNow(false);
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
            gtk_window_deiconify(window);
            gtk_window_unmaximize(window);
            ShowNow(true);
            break;
        default:
            ShowNow(true);
            break;
    }
}

void CGtkMainWindow::ShowNow(bool activate) {
    m_activateOnMap = activate;
    gtk_window_set_focus_on_map(Window(), activate);
    if (activate) {
        gtk_window_present_with_time(Window(), GDK_CURRENT_TIME);
    } else {
        gtk_widget_show(m_window.get());
    }
}

bool CGtkMainWindow::IsVisible() const {
    return gtk_widget_get_visible(m_window.get());
}

void CGtkMainWindow::MoveWindow(const CRect& rect) {
    if (m_destroyed) {
        return;
    }
    // The rectangle includes the window manager's frame; GTK sizes the window inside it.
    int frameWidth = 0;
    int frameHeight = 0;
    GdkWindow* window = gtk_widget_get_window(m_window.get());
    if (window != nullptr && gtk_widget_get_mapped(m_window.get())) {
        GdkRectangle frame;
        gdk_window_get_frame_extents(window, &frame);
        frameWidth = std::max(0, frame.width - gdk_window_get_width(window));
        frameHeight = std::max(0, frame.height - gdk_window_get_height(window));
    }
    gtk_window_move(Window(), rect.left, rect.top);
    gtk_window_resize(Window(), std::max(1, rect.Width() - frameWidth),
                      std::max(1, rect.Height() - frameHeight));
    m_windowRect = rect;
}

CSize CGtkMainWindow::MaximizedSize() const {
    GdkDisplay* display = gtk_widget_get_display(m_window.get());
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr) {
        monitor = gdk_display_get_monitor(display, 0);
    }
    if (monitor == nullptr) {
        return CSize{kDefaultWidth, kDefaultHeight};
    }
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    return CSize{area.width, area.height};
}

void CGtkMainWindow::SetForeground() {
    if (!m_destroyed && IsVisible()) {
        gtk_window_present_with_time(Window(), GDK_CURRENT_TIME);
    }
}

void CGtkMainWindow::SetTitle(const std::string& title) {
    m_title = title;
    gtk_window_set_title(Window(), cp932::ToUtf8(title).c_str());
}

gboolean CGtkMainWindow::DeleteThunk(GtkWidget*, GdkEvent*, gpointer self) noexcept {
    // The window stays: closing is the proc's decision (it calls Destroy).
    Guarded("close", [self] {
        auto* window = static_cast<CGtkMainWindow*>(self);
        if (window->AcceptsInput() && window->DeliverPosted()) {
            window->Deliver(Message{WM_CLOSE, 0, 0});
        }
    });
    return TRUE;
}

// Menus and the notification icon.

void CGtkMainWindow::SetMenu(const Menu& menu) {
    m_menuBar.reset();
    if (m_destroyed || menu.empty()) {
        return;
    }
    m_menuBar = std::make_unique<CGtkCommandMenu>(CGtkCommandMenu::Kind::MenuBar, menu,
                                                  static_cast<ICommandTarget&>(*this));
    gtk_box_pack_start(GTK_BOX(m_box), m_menuBar->Widget(), FALSE, FALSE, 0);
    gtk_widget_show(m_menuBar->Widget());
}

void CGtkMainWindow::TrackPopupMenu(const Menu& menu) {
    if (m_destroyed) {
        return;
    }
    m_popup = std::make_unique<CGtkCommandMenu>(CGtkCommandMenu::Kind::Popup, menu,
                                                static_cast<ICommandTarget&>(*this));
    // The older call places the menu at the pointer with or without an event to anchor it
    // to; a menu opened from a posted message has none.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_menu_popup(GTK_MENU(m_popup->Widget()), nullptr, nullptr, nullptr, nullptr, 0,
                   gtk_get_current_event_time());
    G_GNUC_END_IGNORE_DEPRECATIONS
}

void CGtkMainWindow::UpdateCommand(UINT id, CommandState& state) {
    m_proc.UpdateCommand(id, state);
}

void CGtkMainWindow::OnCommand(UINT id) {
    if (AcceptsInput() && DeliverPosted()) {
        Deliver(Message{WM_COMMAND, id, 0});
    }
}

void CGtkMainWindow::AddTrayIcon(const std::string& tip) {
    if (m_destroyed) {
        return;
    }
    m_tray = std::make_unique<CGtkTrayIcon>(tip, [this](UINT mouseMessage) {
        if (AcceptsInput() && DeliverPosted()) {
            Deliver(Message{WM_TRAY_NOTIFY, kTrayIconId, static_cast<LPARAM>(mouseMessage)});
        }
    });
}

void CGtkMainWindow::RemoveTrayIcon() {
    m_tray.reset();
}

// Caret, clipboard and input method.

bool CGtkMainWindow::CreateCaret(int width, int height) {
    m_caret->Create(width, height);
    return true;
}

void CGtkMainWindow::DestroyCaret() {
    m_caret->Destroy();
}

void CGtkMainWindow::SetCaretPos(CPoint point) {
    m_caret->SetPosition(point);
}

CPoint CGtkMainWindow::GetCaretPos() const {
    return m_caret->Position();
}

void CGtkMainWindow::ShowCaret() {
    m_caret->Show();
}

void CGtkMainWindow::HideCaret() {
    m_caret->Hide();
}

bool CGtkMainWindow::SetClipboardText(const std::string& text) {
    std::optional<std::string> utf8 = cp932::ToUtf8Strict(text);
    if (!utf8) {
        return false;
    }
    const std::string lf = LfLineEnds(*utf8);
    GtkClipboard* clipboard = gtk_clipboard_get_for_display(gtk_widget_get_display(m_window.get()),
                                                            GDK_SELECTION_CLIPBOARD);
    gtk_clipboard_set_text(clipboard, lf.c_str(), static_cast<gint>(lf.size()));
    return true;
}

bool CGtkMainWindow::GetClipboardText(std::string& text) {
    GtkClipboard* clipboard = gtk_clipboard_get_for_display(gtk_widget_get_display(m_window.get()),
                                                            GDK_SELECTION_CLIPBOARD);
    GCharPtr utf8;
    {
        NestedWait wait(*this);
        utf8.reset(gtk_clipboard_wait_for_text(clipboard));
    }
    if (utf8 == nullptr) {
        return false;
    }
    // What CP932 cannot hold is left out: a '?' would be pasted as if the user had typed it.
    text = cp932::FromUtf8Dropping(utf8.get());
    return true;
}

// The beep.

void CGtkMainWindow::Beep(int frequency, int milliseconds) {
    if (milliseconds <= 0 || m_tone.Play(frequency, milliseconds)) {
        return;
    }
    // No sound server: the bell says something went wrong, the wait keeps the timing.
    gdk_display_beep(gtk_widget_get_display(m_window.get()));
    gdk_display_flush(gtk_widget_get_display(m_window.get()));
    g_usleep(static_cast<gulong>(milliseconds) * 1000);
}

void CGtkMainWindow::PlayTones(const std::vector<win::Tone>& tones) {
    if (!m_tonePattern) {
        m_tonePattern = std::make_unique<CTonePattern>([] {
            GdkDisplay* display = gdk_display_get_default();
            if (display != nullptr) {
                gdk_display_beep(display);
                gdk_display_flush(display);
            }
        });
    }
    m_tonePattern->Play(tones);
}

// The loop and the end.

void CGtkMainWindow::RunMessageLoop() {
    if (m_destroyed) {
        return;
    }
    m_runner.RunLoop();
    if (m_runner.SessionEndSeen() && !m_endSessionSent && !m_destroyed) {
        m_endSessionSent = true;
        Deliver(Message{WM_ENDSESSION, 1, 0});
    }
}

void CGtkMainWindow::Quit() {
    m_runner.QuitWindow();
}

void CGtkMainWindow::Destroy() {
    if (m_destroyed) {
        return;
    }
    auto finish = [this] {
        m_destroyed = true;
        TearDown();
        m_runner.QuitWindow();
    };
    try {
        Deliver(Message{WM_DESTROY, 0, 0});
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

}  // namespace tokeiya::gtk
