#include "platform/gtk/GtkDisplayWatch.hpp"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <utility>

#include "platform/gtk/GtkCallback.hpp"

namespace tokeiya::gtk {
namespace {

// Process-wide because Xlib's I/O error handler is.
std::function<void()> g_onDisplayLost;
XIOErrorHandler g_previousHandler = nullptr;

int OnDisplayIoError(Display*) noexcept {
    // Xlib ends the process when this handler returns, and the display cannot be used any
    // more, so nothing here may return or reach GTK; a second error raised from inside the
    // callback ends the process at once.
    static bool handling = false;
    if (!handling) {
        g_printerr("tokeiya: the connection to the X display was lost\n");
    }
    if (handling || !g_onDisplayLost) {
        _exit(handling ? 0 : 1);
    }
    handling = true;
    Guarded("display lost", [] { g_onDisplayLost(); });
    _exit(0);
}

}  // namespace

CGtkDisplayWatch::CGtkDisplayWatch() {
    GdkDisplay* display = gdk_display_get_default();
    if (display != nullptr && GDK_IS_X11_DISPLAY(display)) {
        g_previousHandler = XSetIOErrorHandler(&OnDisplayIoError);
        m_installed = true;
    }
}

CGtkDisplayWatch::~CGtkDisplayWatch() {
    Disarm();
    if (m_installed) {
        XSetIOErrorHandler(g_previousHandler);
    }
}

void CGtkDisplayWatch::Arm(std::function<void()> onDisplayLost) {
    g_onDisplayLost = std::move(onDisplayLost);
}

void CGtkDisplayWatch::Disarm() noexcept {
    g_onDisplayLost = nullptr;
}

}  // namespace tokeiya::gtk
