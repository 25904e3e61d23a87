#pragma once

#include <glib.h>

#include <exception>

namespace tokeiya::gtk {

// Runs the body of a GTK or GLib callback. An exception must not unwind through C frames,
// so it ends here with a warning and the callback's neutral result.
template <typename Body>
void Guarded(const char* where, Body&& body) noexcept {
    try {
        body();
    } catch (const std::exception& e) {
        g_warning("%s: %s", where, e.what());
    } catch (...) {
        g_warning("%s: unknown exception", where);
    }
}

}  // namespace tokeiya::gtk
