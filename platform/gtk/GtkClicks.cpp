#include "platform/gtk/GtkClicks.hpp"

namespace tokeiya::gtk {

using namespace win;

namespace {

// Offsets from the DOWN message: UP is +1, DBLCLK +2.
UINT ButtonBase(guint button) {
    switch (button) {
        case 1:
            return WM_LBUTTONDOWN;
        case 2:
            return WM_MBUTTONDOWN;
        case 3:
            return WM_RBUTTONDOWN;
        default:
            return 0;
    }
}

bool DoubleClickFollows(const GdkEventButton* press) {
    GdkEvent* next = gdk_event_peek();
    if (next == nullptr) {
        return false;
    }
    const bool follows = next->type == GDK_2BUTTON_PRESS && next->button.button == press->button &&
                         next->button.window == press->window;
    gdk_event_free(next);
    return follows;
}

}  // namespace

UINT ButtonMessage(const GdkEventButton* event) {
    const UINT base = ButtonBase(event->button);
    if (base == 0) {
        return 0;
    }
    switch (event->type) {
        case GDK_BUTTON_PRESS:
            return DoubleClickFollows(event) ? 0 : base;
        case GDK_2BUTTON_PRESS:
            return base + 2;
        case GDK_BUTTON_RELEASE:
            return base + 1;
        default:
            return 0;  // GDK_3BUTTON_PRESS: its plain press was the down already
    }
}

WPARAM MouseKeyFlags(guint state, const GdkEventButton* event) {
    WPARAM flags = 0;
    if ((state & GDK_BUTTON1_MASK) != 0) {
        flags |= MK_LBUTTON;
    }
    if ((state & GDK_BUTTON2_MASK) != 0) {
        flags |= MK_MBUTTON;
    }
    if ((state & GDK_BUTTON3_MASK) != 0) {
        flags |= MK_RBUTTON;
    }
    if ((state & GDK_SHIFT_MASK) != 0) {
        flags |= MK_SHIFT;
    }
    if ((state & GDK_CONTROL_MASK) != 0) {
        flags |= MK_CONTROL;
    }
    if (event != nullptr) {
        // GDK's state is the one before the event.
        WPARAM button = 0;
        switch (event->button) {
            case 1:
                button = MK_LBUTTON;
                break;
            case 2:
                button = MK_MBUTTON;
                break;
            case 3:
                button = MK_RBUTTON;
                break;
            default:
                break;
        }
        if (event->type == GDK_BUTTON_RELEASE) {
            flags &= ~button;
        } else {
            flags |= button;
        }
    }
    return flags;
}

}  // namespace tokeiya::gtk
