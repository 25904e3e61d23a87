#include "platform/gtk/GtkModalRunner.hpp"

#include <glib-unix.h>

#include <algorithm>
#include <csignal>

#include "platform/gtk/GObjectPtr.hpp"
#include "platform/gtk/GtkCallback.hpp"

namespace tokeiya::gtk {
namespace {

gboolean OnMapped(GtkWidget* widget, GdkEvent*, gpointer) noexcept {
    Guarded("map-event", [widget] {
        // CurrentTime rather than the last user time: the focus reverted to the root when
        // the previous dialog closed, later than that user time, and the X server ignores
        // a focus request older than the last focus change.
        if (GdkWindow* window = gtk_widget_get_window(widget)) {
            gdk_window_focus(window, GDK_CURRENT_TIME);
        }
    });
    return FALSE;
}

// Gives a window the keyboard focus each time it is mapped while the connection lives.
// Without a window manager nobody else does, and keys would go wherever the pointer is.
CSignalConnection FocusWhenMapped(GtkWindow* window) {
    gtk_widget_add_events(GTK_WIDGET(window), GDK_STRUCTURE_MASK);
    return CSignalConnection(window, "map-event", G_CALLBACK(OnMapped), nullptr);
}

}  // namespace

CGtkModalRunner::CGtkModalRunner() {
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        m_signalSources.push_back(g_unix_signal_add(signal, &CGtkModalRunner::OnEndSignal, this));
    }
}

CGtkModalRunner::~CGtkModalRunner() {
    for (guint source : m_signalSources) {
        g_source_remove(source);
    }
}

gboolean CGtkModalRunner::OnEndSignal(gpointer self) noexcept {
    static_cast<CGtkModalRunner*>(self)->EndSession();
    return G_SOURCE_CONTINUE;
}

void CGtkModalRunner::EndSession() noexcept {
    Guarded("end of session", [this] {
        m_ending = true;
        // Every nested dialog is answered, not only the innermost: the outer ones are still
        // inside their own loops and return as soon as the inner ones have.
        for (GtkDialog* dialog : std::vector<GtkDialog*>(m_runningDialogs)) {
            gtk_dialog_response(dialog, GTK_RESPONSE_CANCEL);
        }
        QuitWindow();
    });
}

bool CGtkModalRunner::SessionEnding() {
    // A signal that came while the program was busy elsewhere (connecting, say) only sits
    // in the main context until something iterates it. One iteration dispatches every ready
    // source of the top priority, so a few suffice; the bound keeps a source that is always
    // ready from holding us here. Once ending, the display may be gone: do not touch it.
    constexpr int kMaxIterations = 8;
    for (int i = 0; i < kMaxIterations && !m_ending && g_main_context_pending(nullptr); ++i) {
        g_main_context_iteration(nullptr, FALSE);
    }
    return m_ending;
}

int CGtkModalRunner::RunDialog(GtkDialog* dialog) {
    if (SessionEnding()) {
        return GTK_RESPONSE_CANCEL;
    }
    CSignalConnection focus = FocusWhenMapped(GTK_WINDOW(dialog));
    m_runningDialogs.push_back(dialog);
    int response = gtk_dialog_run(dialog);
    m_runningDialogs.erase(std::find(m_runningDialogs.begin(), m_runningDialogs.end(), dialog));
    return m_ending ? GTK_RESPONSE_CANCEL : response;
}

void CGtkModalRunner::RunLoop() {
    // No look for waiting signals first: that would dispatch other sources too, and a
    // handler among them asking to quit would find no loop to quit. A waiting signal is
    // dispatched by the loop itself.
    if (m_ending) {
        return;
    }
    MainLoopPtr loop(g_main_loop_new(nullptr, FALSE));
    GMainLoop* outer = m_windowLoop;
    m_windowLoop = loop.get();
    g_main_loop_run(loop.get());
    m_windowLoop = outer;
    // The end of the session ends the loops around this one too.
    if (m_ending && outer != nullptr) {
        g_main_loop_quit(outer);
    }
}

void CGtkModalRunner::QuitWindow() noexcept {
    if (m_windowLoop != nullptr) {
        g_main_loop_quit(m_windowLoop);
    }
}

}  // namespace tokeiya::gtk
