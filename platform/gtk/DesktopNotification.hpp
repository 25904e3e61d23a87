#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gio/gio.h>

#include <optional>
#include <string>

#include "platform/gtk/GObjectPtr.hpp"

namespace tokeiya::gtk {

// Tells a notice to the desktop's notification server (org.freedesktop.Notifications on
// the session bus) beside the program's own window, so that it is seen while the main
// window is hidden. Without a session bus nothing is sent; without a server the call
// comes back refused, and that is no failure: the notice window tells it alone. A new
// notice replaces the one this object sent before. Texts are UTF-8.
class CDesktopNotification {
  public:
    // `icon` (a reference is taken) goes with every notice as its picture.
    CDesktopNotification(std::string appName, GdkPixbuf* icon);
    ~CDesktopNotification();
    CDesktopNotification(const CDesktopNotification&) = delete;
    CDesktopNotification& operator=(const CDesktopNotification&) = delete;

    // Sends the notice to stay `seconds` and returns at once. False when the session has
    // no bus to send it on.
    bool Send(const std::string& summary, const std::string& body, int seconds);
    // Answers that came back from a server (for the tests).
    int Delivered() const { return m_delivered; }

    // The session bus as the session names it ($DBUS_SESSION_BUS_ADDRESS, else the
    // per-user socket under $XDG_RUNTIME_DIR); none when it names none. A bus is never
    // started for a notice.
    static std::optional<std::string> SessionBusAddress();

  private:
    GVariant* Hints() const;
    static void OnReply(GObject* source, GAsyncResult* result, gpointer self) noexcept;

    std::string m_appName;
    GObjectPtr<GdkPixbuf> m_icon;
    GObjectPtr<GDBusConnection> m_bus;
    GObjectPtr<GCancellable> m_calls;
    guint32 m_lastId = 0;  // the server's id of the last notice, replaced by the next
    int m_delivered = 0;
};

}  // namespace tokeiya::gtk
