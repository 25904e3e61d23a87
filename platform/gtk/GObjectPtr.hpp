#pragma once

#include <gtk/gtk.h>

#include <memory>

// Owning handles for the GLib and GTK objects the desktop creates. Each takes over a
// reference the caller already holds; none adds one.
namespace tokeiya::gtk {

struct GObjectUnref {
    void operator()(gpointer object) const noexcept { g_object_unref(object); }
};

template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// A toplevel window belongs to GTK's window list, not to its creator, so dropping it means
// destroying it rather than unreferencing it.
struct ToplevelDestroy {
    void operator()(GtkWidget* widget) const noexcept { gtk_widget_destroy(widget); }
};

using ToplevelPtr = std::unique_ptr<GtkWidget, ToplevelDestroy>;

struct GFree {
    void operator()(gpointer memory) const noexcept { g_free(memory); }
};

using GCharPtr = std::unique_ptr<gchar, GFree>;

struct MainLoopUnref {
    void operator()(GMainLoop* loop) const noexcept { g_main_loop_unref(loop); }
};

using MainLoopPtr = std::unique_ptr<GMainLoop, MainLoopUnref>;

// A signal handler connected for the length of a scope.
class CSignalConnection {
  public:
    CSignalConnection(gpointer instance, const char* signal, GCallback callback, gpointer data)
        : m_instance(instance), m_id(g_signal_connect(instance, signal, callback, data)) {}
    ~CSignalConnection() { g_signal_handler_disconnect(m_instance, m_id); }
    CSignalConnection(const CSignalConnection&) = delete;
    CSignalConnection& operator=(const CSignalConnection&) = delete;

  private:
    gpointer m_instance;
    gulong m_id;
};

inline ToplevelPtr TakeToplevel(GtkWidget* widget) {
    return ToplevelPtr(widget);
}

}  // namespace tokeiya::gtk
