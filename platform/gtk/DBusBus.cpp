#include "platform/gtk/DBusBus.hpp"

namespace tokeiya::gtk {

GObjectPtr<GDBusConnection> OpenBus(const std::string& address) {
    GError* error = nullptr;
    GObjectPtr<GDBusConnection> bus(g_dbus_connection_new_for_address_sync(
        address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error));
    if (error != nullptr) {
        g_error_free(error);
        return nullptr;
    }
    g_dbus_connection_set_exit_on_close(bus.get(), FALSE);
    return bus;
}

}  // namespace tokeiya::gtk
