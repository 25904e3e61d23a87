#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "platform/gtk/GObjectPtr.hpp"
#include "platform/win/WinMessages.hpp"

namespace tokeiya::gtk {

// The notification-area icon: a small clock drawn in code, so that no icon theme is
// needed, with a tooltip. Its mouse events reach `onMouse` as the mouse messages Windows
// reports for such an icon (WM_RBUTTONUP, WM_LBUTTONDBLCLK, ...), double clicks in
// Windows' order.
class CGtkTrayIcon {
  public:
    using MouseHandler = std::function<void(win::UINT mouseMessage)>;

    CGtkTrayIcon(const std::string& tipCp932, MouseHandler onMouse);
    ~CGtkTrayIcon();
    CGtkTrayIcon(const CGtkTrayIcon&) = delete;
    CGtkTrayIcon& operator=(const CGtkTrayIcon&) = delete;

    // Whether a notification area shows the icon (there may be none).
    bool Embedded() const;
    // The GtkStatusIcon.
    GObject* StatusIcon() const { return m_icon.get(); }

    // The clock picture, `size` pixels square; also the main window's icon.
    static GObjectPtr<GdkPixbuf> ClockPicture(int size);

  private:
    static gboolean OnButton(GObject* icon, GdkEventButton* event, gpointer self) noexcept;

    MouseHandler m_onMouse;
    GObjectPtr<GObject> m_icon;  // the GtkStatusIcon
};

}  // namespace tokeiya::gtk
