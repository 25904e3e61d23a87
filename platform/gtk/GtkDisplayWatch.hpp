#pragma once

#include <functional>

namespace tokeiya::gtk {

// Watches the X display connection. When it breaks, the armed callback runs and the
// process ends with status 0; with no callback armed (before the main window, while
// nothing needs finishing) it ends with status 1. Xlib keeps one I/O error handler per
// process, so the callback lives in a process-wide slot.
class CGtkDisplayWatch {
  public:
    // Takes over Xlib's I/O error handler when the default display is an X11 one. GTK must
    // have opened the display already, because GDK installs its own handler when it does.
    CGtkDisplayWatch();
    ~CGtkDisplayWatch();
    CGtkDisplayWatch(const CGtkDisplayWatch&) = delete;
    CGtkDisplayWatch& operator=(const CGtkDisplayWatch&) = delete;

    // The callback must not use the display: it is gone when the callback runs.
    void Arm(std::function<void()> onDisplayLost);
    void Disarm() noexcept;

  private:
    bool m_installed = false;
};

}  // namespace tokeiya::gtk
