#pragma once

#include <gio/gio.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/ActivityWatch.hpp"
#include "platform/gtk/GObjectPtr.hpp"

namespace tokeiya::gtk {

// Hears the computer go to sleep and wake (logind's PrepareForSleep on the system bus) and
// the screen lock and unlock (the ActiveChanged signal of the freedesktop and GNOME screen
// savers on the session bus), on the main loop. A bus that is not there is left out.
class CDesktopActivityWatch : public IActivityWatch {
  public:
    explicit CDesktopActivityWatch(ActivityHandlers handlers);
    ~CDesktopActivityWatch() override;
    CDesktopActivityWatch(const CDesktopActivityWatch&) = delete;
    CDesktopActivityWatch& operator=(const CDesktopActivityWatch&) = delete;

    // $DBUS_SYSTEM_BUS_ADDRESS, else the system socket.
    static std::string SystemBusAddress();
    // How many buses it listens on (for the tests).
    int Buses() const { return static_cast<int>(m_buses.size()); }

  private:
    struct Subscription {
        GDBusConnection* bus;
        guint id;
    };
    void Listen(const std::optional<std::string>& address, const char* interface,
                const char* member, const char* path);
    static void OnSignal(GDBusConnection* bus, const gchar* sender, const gchar* path,
                         const gchar* interface, const gchar* member, GVariant* parameters,
                         gpointer self) noexcept;

    CActivityState m_state;
    std::vector<GObjectPtr<GDBusConnection>> m_buses;
    std::vector<std::string> m_addresses;  // of m_buses, in the same order
    std::vector<Subscription> m_subscriptions;
};

}  // namespace tokeiya::gtk
