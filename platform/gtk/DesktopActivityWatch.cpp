#include "platform/gtk/DesktopActivityWatch.hpp"

#include <cstdlib>
#include <cstring>

#include "platform/gtk/DBusBus.hpp"
#include "platform/gtk/DesktopNotification.hpp"
#include "platform/gtk/GtkCallback.hpp"

namespace tokeiya::gtk {
namespace {

constexpr const char* kLogin = "org.freedesktop.login1.Manager";
constexpr const char* kLoginPath = "/org/freedesktop/login1";
constexpr const char* kScreenSavers[][2] = {
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver"},
    {"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver"},
};

}  // namespace

CDesktopActivityWatch::CDesktopActivityWatch(ActivityHandlers handlers)
    : m_state(std::move(handlers)) {
    Listen(SystemBusAddress(), kLogin, "PrepareForSleep", kLoginPath);
    const std::optional<std::string> session = CDesktopNotification::SessionBusAddress();
    for (const auto& saver : kScreenSavers) {
        Listen(session, saver[0], "ActiveChanged", saver[1]);
    }
}

CDesktopActivityWatch::~CDesktopActivityWatch() {
    for (const Subscription& s : m_subscriptions) {
        g_dbus_connection_signal_unsubscribe(s.bus, s.id);
    }
}

std::string CDesktopActivityWatch::SystemBusAddress() {
    if (const char* named = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
        named != nullptr && *named != '\0') {
        return named;
    }
    return "unix:path=/run/dbus/system_bus_socket";
}

void CDesktopActivityWatch::Listen(const std::optional<std::string>& address, const char* interface,
                                   const char* member, const char* path) {
    if (!address) {
        return;
    }
    GDBusConnection* bus = nullptr;
    // Both screen savers are heard on one connection to the session bus.
    for (size_t i = 0; i < m_buses.size(); ++i) {
        if (m_addresses[i] == *address) {
            bus = m_buses[i].get();
        }
    }
    if (bus == nullptr) {
        GObjectPtr<GDBusConnection> opened = OpenBus(*address);
        if (!opened) {
            return;
        }
        bus = opened.get();
        m_buses.push_back(std::move(opened));
        m_addresses.push_back(*address);
    }
    const guint id = g_dbus_connection_signal_subscribe(
        bus, nullptr, interface, member, path, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
        &CDesktopActivityWatch::OnSignal, this, nullptr);
    m_subscriptions.push_back({bus, id});
}

void CDesktopActivityWatch::OnSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                     const gchar* member, GVariant* parameters,
                                     gpointer self) noexcept {
    Guarded("desktop activity", [&] {
        if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(b)"))) {
            return;
        }
        gboolean on = FALSE;
        g_variant_get(parameters, "(b)", &on);
        static_cast<CDesktopActivityWatch*>(self)->m_state.Changed(
            std::strcmp(member, "PrepareForSleep") == 0 ? DesktopPause::Sleep : DesktopPause::Lock,
            on != FALSE);
    });
}

}  // namespace tokeiya::gtk
