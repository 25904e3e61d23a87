#include "platform/gtk/GtkMainWindow.hpp"

#include <cmath>

#include "platform/gtk/GdkKeyMap.hpp"
#include "platform/gtk/GtkCallback.hpp"
#include "platform/gtk/GtkClicks.hpp"
#include "platform/win/KeyboardLayout.hpp"

// The main window's input: keys, the mouse, the focus and what the input method sends.
namespace tokeiya::gtk {

using namespace win;

namespace {

constexpr int kF10 = VK_F1 + 9;

int ModifiersOf(guint state) {
    int modifiers = 0;
    if ((state & GDK_SHIFT_MASK) != 0) {
        modifiers |= kShift;
    }
    if ((state & GDK_CONTROL_MASK) != 0) {
        modifiers |= kCtrl;
    }
    if ((state & GDK_MOD1_MASK) != 0) {
        modifiers |= kAlt;
    }
    return modifiers;
}

}  // namespace

class CGtkMainWindow::EventModifiers {
  public:
    EventModifiers(CGtkMainWindow& window, int modifiers)
        : m_window(window), m_saved(window.m_eventModifiers) {
        window.m_eventModifiers = modifiers;
    }
    ~EventModifiers() { m_window.m_eventModifiers = m_saved; }
    EventModifiers(const EventModifiers&) = delete;
    EventModifiers& operator=(const EventModifiers&) = delete;

  private:
    CGtkMainWindow& m_window;
    std::optional<int> m_saved;
};

gboolean CGtkMainWindow::KeyThunk(GtkWidget*, GdkEventKey* event, gpointer self) noexcept {
    gboolean result = TRUE;
    Guarded("key",
            [event, self, &result] { result = static_cast<CGtkMainWindow*>(self)->OnKey(event); });
    return result;
}

gboolean CGtkMainWindow::OnKey(GdkEventKey* event) {
    if (!AcceptsInput() || !DeliverPosted()) {
        return TRUE;
    }
    const bool press = event->type == GDK_KEY_PRESS;
    const guint16 keycode = event->hardware_keycode;
    if (m_inputContext->FilterKey(event)) {
        if (!press) {
            m_keysDown.erase(keycode);
        }
        return TRUE;
    }
    const int modifiers = ModifiersOf(event->state);
    int virtualKey = 0;
    bool repeat = false;
    if (press) {
        // X repeats a held key as presses without releases; Windows marks them (bit 30).
        auto [entry, inserted] = m_keysDown.try_emplace(
            keycode, VirtualKeyFromGdk(event->keyval, keycode, m_inputContext->IsOpen()));
        repeat = !inserted;
        virtualKey = entry->second;
    } else if (auto found = m_keysDown.find(keycode); found != m_keysDown.end()) {
        virtualKey = found->second;  // what it went down as, whatever changed since
        m_keysDown.erase(found);
    } else {
        virtualKey = VirtualKeyFromGdk(event->keyval, keycode, m_inputContext->IsOpen());
    }

    // GDK's state is the one before the event, which is what the message is made from;
    // the headless desktop makes its key messages with the same function.
    const KeyMessage key = KeyMessageOf(virtualKey, press, repeat, modifiers);
    const bool system = key.message == WM_SYSKEYDOWN || key.message == WM_SYSKEYUP;
    bool handled = false;
    if (virtualKey != 0) {
        EventModifiers scope(*this, key.held);
        handled = Deliver(Message{key.message, static_cast<WPARAM>(virtualKey), key.lParam});
    }
    if (m_destroyed) {
        return TRUE;
    }
    // TranslateMessage's part: a key-down the proc left alone brings its character.
    if (press && !handled) {
        for (unsigned char byte : CharactersFromGdk(event->keyval, modifiers)) {
            PostMessage(WM_CHAR, byte, key.lParam);
        }
    }
    // An Alt combination that the proc left alone may open a menu by its mnemonic, as on
    // Windows. Any other key stays here: GTK would move the focus on Tab and the arrows, and
    // open the menu bar on the press of F10, whose release belongs to the function-key bar.
    return handled || !system || virtualKey == kF10;
}

gboolean CGtkMainWindow::ButtonThunk(GtkWidget*, GdkEventButton* event, gpointer self) noexcept {
    Guarded("mouse button", [event, self] { static_cast<CGtkMainWindow*>(self)->OnButton(event); });
    return TRUE;
}

gboolean CGtkMainWindow::OnButton(GdkEventButton* event) {
    // Before anything that might run a loop: the look at the queue must see GDK's order.
    const UINT message = ButtonMessage(event);
    if (!AcceptsInput() || !DeliverPosted()) {
        return TRUE;
    }
    if (event->type == GDK_BUTTON_PRESS && !gtk_widget_has_focus(m_area)) {
        gtk_widget_grab_focus(m_area);
    }
    if (message == 0) {
        return TRUE;
    }
    const CPoint point =
        ClientPoint(event->window, event->x, event->y, event->x_root, event->y_root);
    EventModifiers scope(*this, ModifiersOf(event->state));
    Deliver(Message{message, MouseKeyFlags(event->state, event), MakeLParam(point.x, point.y)});
    return TRUE;
}

gboolean CGtkMainWindow::MotionThunk(GtkWidget*, GdkEventMotion* event, gpointer self) noexcept {
    Guarded("mouse move", [event, self] { static_cast<CGtkMainWindow*>(self)->OnMotion(event); });
    return TRUE;
}

gboolean CGtkMainWindow::OnMotion(GdkEventMotion* event) {
    if (!AcceptsInput() || !DeliverPosted()) {
        return TRUE;
    }
    const CPoint point =
        ClientPoint(event->window, event->x, event->y, event->x_root, event->y_root);
    EventModifiers scope(*this, ModifiersOf(event->state));
    Deliver(Message{WM_MOUSEMOVE, MouseKeyFlags(event->state), MakeLParam(point.x, point.y)});
    return TRUE;
}

gboolean CGtkMainWindow::ScrollThunk(GtkWidget*, GdkEventScroll* event, gpointer self) noexcept {
    Guarded("mouse wheel", [event, self] { static_cast<CGtkMainWindow*>(self)->OnScroll(event); });
    return TRUE;
}

gboolean CGtkMainWindow::OnScroll(GdkEventScroll* event) {
    int delta = 0;
    switch (event->direction) {
        case GDK_SCROLL_UP:
            delta = WHEEL_DELTA;
            break;
        case GDK_SCROLL_DOWN:
            delta = -WHEEL_DELTA;
            break;
        case GDK_SCROLL_SMOOTH: {
            // Touchpads scroll in fractions of a notch (positive delta_y is down); the engine
            // counts whole notches.
            m_wheelRemainder -= event->delta_y * WHEEL_DELTA;
            const int notches = static_cast<int>(m_wheelRemainder / WHEEL_DELTA);
            m_wheelRemainder -= notches * WHEEL_DELTA;
            delta = notches * WHEEL_DELTA;
            break;
        }
        default:
            break;
    }
    if (delta == 0 || !AcceptsInput() || !DeliverPosted()) {
        return TRUE;
    }
    // Screen coordinates, as Windows gives them with the wheel.
    const WPARAM wParam = MakeWParam(static_cast<int>(MouseKeyFlags(event->state)), delta);
    const LPARAM lParam = MakeLParam(static_cast<int>(std::floor(event->x_root)),
                                     static_cast<int>(std::floor(event->y_root)));
    EventModifiers scope(*this, ModifiersOf(event->state));
    Deliver(Message{WM_MOUSEWHEEL, wParam, lParam});
    return TRUE;
}

CPoint CGtkMainWindow::ClientPoint(GdkWindow* window, double x, double y, double xRoot,
                                   double yRoot) const {
    if (window == gtk_widget_get_window(m_area)) {
        return CPoint{static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
    }
    const CPoint origin = ClientOrigin();
    return CPoint{static_cast<int>(std::floor(xRoot)) - origin.x,
                  static_cast<int>(std::floor(yRoot)) - origin.y};
}

gboolean CGtkMainWindow::FocusInThunk(GtkWidget*, GdkEventFocus*, gpointer self) noexcept {
    Guarded("focus in", [self] { static_cast<CGtkMainWindow*>(self)->OnFocus(true); });
    return FALSE;
}

gboolean CGtkMainWindow::FocusOutThunk(GtkWidget*, GdkEventFocus*, gpointer self) noexcept {
    Guarded("focus out", [self] { static_cast<CGtkMainWindow*>(self)->OnFocus(false); });
    return FALSE;
}

void CGtkMainWindow::OnFocus(bool in) {
    if (m_destroyed) {
        return;
    }
    m_caret->SetFocus(in);
    m_inputContext->SetWindowFocus(in);
    if (!in) {
        m_keysDown.clear();  // their releases go elsewhere
    }
    Deliver(Message{in ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0});
}

GdkSeat* CGtkMainWindow::Seat() const {
    return gdk_display_get_default_seat(gtk_widget_get_display(m_window.get()));
}

void CGtkMainWindow::SetCapture() {
    if (m_destroyed) {
        return;
    }
    m_capture = true;
    GdkWindow* window = gtk_widget_get_window(m_area);
    if (!m_grabbed && window != nullptr && gdk_window_is_viewable(window)) {
        m_grabbed = gdk_seat_grab(Seat(), window, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr,
                                  nullptr, nullptr, nullptr) == GDK_GRAB_SUCCESS;
    }
}

void CGtkMainWindow::ReleaseCapture() {
    m_capture = false;
    if (m_grabbed) {
        m_grabbed = false;
        gdk_seat_ungrab(Seat());
    }
}

gboolean CGtkMainWindow::GrabBrokenThunk(GtkWidget*, GdkEvent*, gpointer self) noexcept {
    auto* window = static_cast<CGtkMainWindow*>(self);
    window->m_grabbed = false;
    window->m_capture = false;
    return FALSE;
}

int CGtkMainWindow::ModifierState() const {
    if (m_eventModifiers) {
        return *m_eventModifiers;
    }
    GdkKeymap* keymap = gdk_keymap_get_for_display(gtk_widget_get_display(m_window.get()));
    return ModifiersOf(gdk_keymap_get_modifier_state(keymap));
}

bool CGtkMainWindow::SendImeMessage(const Message& message) {
    // Inside a clipboard wait the proc is busy further up the stack: the message waits.
    if (m_nestedWaits > 0) {
        PostMessage(message.message, message.wParam, message.lParam);
        return false;
    }
    return Deliver(message);
}

void CGtkMainWindow::PostImeMessage(const Message& message) {
    PostMessage(message.message, message.wParam, message.lParam);
}

void CGtkMainWindow::PostCharacters(const std::string& cp932) {
    for (unsigned char byte : cp932) {
        PostMessage(WM_CHAR, byte, kKeyRepeatOnce);
    }
}

void CGtkMainWindow::CompositionDisplayChanged() {
    gtk_widget_queue_draw(m_area);
}

}  // namespace tokeiya::gtk
