#include <gio/gio.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GtkTestSupport.hpp"
#include "PrivateBus.hpp"
#include "platform/gtk/DesktopNotification.hpp"
#include "platform/gtk/GtkTrayIcon.hpp"
#include "tests/support/ScopedEnv.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya::gtk::test {
namespace {

using tokeiya::test::ScopedEnv;

constexpr const char* kInterface =
    "<node><interface name='org.freedesktop.Notifications'>"
    "<method name='Notify'>"
    "<arg type='s' direction='in'/><arg type='u' direction='in'/><arg type='s' direction='in'/>"
    "<arg type='s' direction='in'/><arg type='s' direction='in'/><arg type='as' direction='in'/>"
    "<arg type='a{sv}' direction='in'/><arg type='i' direction='in'/>"
    "<arg type='u' direction='out'/>"
    "</method></interface></node>";

// A notification server on the private bus that keeps what it was sent.
class FakeNotificationServer {
  public:
    explicit FakeNotificationServer(const std::string& address) {
        m_bus.reset(g_dbus_connection_new_for_address_sync(
            address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr));
        if (!m_bus) {
            ADD_FAILURE() << "no connection to the private bus";
            return;
        }
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kInterface, nullptr);
        static const GDBusInterfaceVTable vtable = {
            &FakeNotificationServer::OnCall, nullptr, nullptr, {}};
        m_object =
            g_dbus_connection_register_object(m_bus.get(), "/org/freedesktop/Notifications",
                                              node->interfaces[0], &vtable, this, nullptr, nullptr);
        g_dbus_node_info_unref(node);
        m_name = g_bus_own_name_on_connection(m_bus.get(), "org.freedesktop.Notifications",
                                              G_BUS_NAME_OWNER_FLAGS_NONE, &OnNameAcquired, nullptr,
                                              this, nullptr);
        EXPECT_TRUE(PumpUntil([this] { return m_owned; }));
    }
    ~FakeNotificationServer() {
        if (m_name != 0) {
            g_bus_unown_name(m_name);
        }
        if (m_object != 0) {
            g_dbus_connection_unregister_object(m_bus.get(), m_object);
        }
    }
    FakeNotificationServer(const FakeNotificationServer&) = delete;
    FakeNotificationServer& operator=(const FakeNotificationServer&) = delete;

    struct Notice {
        std::string app;
        guint32 replaces = 0;
        std::string icon;
        std::string summary;
        std::string body;
        int imageWidth = 0;
        std::string desktopEntry;
        gint32 expire = 0;
    };
    std::vector<Notice> received;

  private:
    static void OnNameAcquired(GDBusConnection*, const gchar*, gpointer self) {
        static_cast<FakeNotificationServer*>(self)->m_owned = true;
    }
    static void OnCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                       GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
        auto* server = static_cast<FakeNotificationServer*>(self);
        const gchar* app = nullptr;
        const gchar* icon = nullptr;
        const gchar* summary = nullptr;
        const gchar* body = nullptr;
        Notice notice;
        GVariantIter* actions = nullptr;
        GVariant* hints = nullptr;
        g_variant_get(parameters, "(&su&s&s&sas@a{sv}i)", &app, &notice.replaces, &icon, &summary,
                      &body, &actions, &hints, &notice.expire);
        notice.app = app;
        notice.icon = icon;
        notice.summary = summary;
        notice.body = body;
        const gchar* entry = nullptr;
        if (g_variant_lookup(hints, "desktop-entry", "&s", &entry)) {
            notice.desktopEntry = entry;
        }
        if (GVariant* image = g_variant_lookup_value(hints, "image-data", nullptr)) {
            g_variant_get_child(image, 0, "i", &notice.imageWidth);
            g_variant_unref(image);
        }
        g_variant_iter_free(actions);
        g_variant_unref(hints);
        server->received.push_back(notice);
        g_dbus_method_invocation_return_value(
            invocation, g_variant_new("(u)", static_cast<guint32>(40 + server->received.size())));
    }

    GObjectPtr<GDBusConnection> m_bus;
    guint m_object = 0;
    guint m_name = 0;
    bool m_owned = false;
};

GObjectPtr<GdkPixbuf> Icon() {
    return CGtkTrayIcon::ClockPicture(48);
}

TEST(DesktopNotification, AServerGetsTheNoticeWithTheProgramsIconAndTheNextReplacesIt) {
    PrivateBus bus;
    ASSERT_FALSE(bus.Address().empty());
    FakeNotificationServer server(bus.Address());
    CDesktopNotification notification("Tokeiya", Icon().get());
    ASSERT_TRUE(notification.Send("Board meeting", "2024/03/05 10:00", 5));
    ASSERT_TRUE(PumpUntil([&] { return notification.Delivered() == 1; }));
    ASSERT_EQ(1U, server.received.size());
    const auto& first = server.received[0];
    EXPECT_EQ("Tokeiya", first.app);
    EXPECT_EQ(0U, first.replaces);
    EXPECT_EQ("tokeiya", first.icon);
    EXPECT_EQ("Board meeting", first.summary);
    EXPECT_EQ("2024/03/05 10:00", first.body);
    EXPECT_EQ(48, first.imageWidth);
    EXPECT_EQ("tokeiya", first.desktopEntry);
    EXPECT_EQ(5000, first.expire);

    // A time of 0 seconds must not become the server's "for ever".
    ASSERT_TRUE(notification.Send("next", "", 0));
    ASSERT_TRUE(PumpUntil([&] { return notification.Delivered() == 2; }));
    EXPECT_EQ(41U, server.received[1].replaces);
    EXPECT_GT(server.received[1].expire, 0);
}

TEST(DesktopNotification, WithoutAServerOrABusNothingFails) {
    {
        PrivateBus bus;
        ASSERT_FALSE(bus.Address().empty());
        auto notification = std::make_unique<CDesktopNotification>("Tokeiya", Icon().get());
        EXPECT_TRUE(notification->Send("nobody listens", "", 5));
        PumpFor(300);
        EXPECT_EQ(0, notification->Delivered());
        // A server that comes later gets the next notice on the same bus.
        FakeNotificationServer server(bus.Address());
        EXPECT_TRUE(notification->Send("now one does", "", 5));
        EXPECT_TRUE(PumpUntil([&] { return notification->Delivered() == 1; }));
        // Gone while its call is on the way (the call may or may not reach the server):
        // the reply must find nothing to touch, which a sanitizer build would catch.
        EXPECT_TRUE(notification->Send("gone", "", 5));
        notification.reset();
        PumpFor(300);
    }
    tokeiya::test::TempFolder runtime;
    ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", nullptr);
    ScopedEnv noSocket("XDG_RUNTIME_DIR", runtime.Path().c_str());
    EXPECT_EQ(CDesktopNotification::SessionBusAddress(), std::nullopt);
    CDesktopNotification notification("Tokeiya", nullptr);
    EXPECT_FALSE(notification.Send("no bus", "", 5));
}

}  // namespace
}  // namespace tokeiya::gtk::test
