#include "platform/gtk/DesktopNotification.hpp"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

#include "platform/gtk/DBusBus.hpp"
#include "platform/gtk/GtkCallback.hpp"
#include "platform/gtk/RuntimeSocket.hpp"

namespace tokeiya::gtk {
namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kDesktopEntry = "tokeiya";
// A server that does not answer within this is taken as none.
constexpr int kCallTimeoutMs = 5000;

}  // namespace

CDesktopNotification::CDesktopNotification(std::string appName, GdkPixbuf* icon)
    : m_appName(std::move(appName)),
      m_icon(icon != nullptr ? GDK_PIXBUF(g_object_ref(icon)) : nullptr),
      m_calls(g_cancellable_new()) {}

CDesktopNotification::~CDesktopNotification() {
    // Replies still on their way find the call cancelled and leave this object alone.
    g_cancellable_cancel(m_calls.get());
}

std::optional<std::string> CDesktopNotification::SessionBusAddress() {
    if (const char* named = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        named != nullptr && *named != '\0') {
        return std::string(named);
    }
    const std::optional<std::string> socket = RuntimeSocket("bus");
    if (!socket) {
        return std::nullopt;
    }
    return "unix:path=" + *socket;
}

GVariant* CDesktopNotification::Hints() const {
    GVariantBuilder hints;
    g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&hints, "{sv}", "desktop-entry", g_variant_new_string(kDesktopEntry));
    g_variant_builder_add(&hints, "{sv}", "urgency", g_variant_new_byte(1));
    if (m_icon) {
        // The picture itself, so that the clock shows also where the icon is not installed.
        GdkPixbuf* icon = m_icon.get();
        const gsize size = gdk_pixbuf_get_byte_length(icon);
        GVariant* pixels = g_variant_new_fixed_array(
            G_VARIANT_TYPE_BYTE, gdk_pixbuf_read_pixels(icon), size, sizeof(guchar));
        g_variant_builder_add(
            &hints, "{sv}", "image-data",
            g_variant_new("(iiibii@ay)", gdk_pixbuf_get_width(icon), gdk_pixbuf_get_height(icon),
                          gdk_pixbuf_get_rowstride(icon), gdk_pixbuf_get_has_alpha(icon),
                          gdk_pixbuf_get_bits_per_sample(icon), gdk_pixbuf_get_n_channels(icon),
                          pixels));
    }
    return g_variant_builder_end(&hints);
}

bool CDesktopNotification::Send(const std::string& summary, const std::string& body, int seconds) {
    if (!m_bus) {
        const std::optional<std::string> address = SessionBusAddress();
        if (!address) {
            return false;
        }
        m_bus = OpenBus(*address);
        if (!m_bus) {
            return false;
        }
    }
    // 0 would ask the server to keep the notice for ever; the program's notice is gone by then.
    const gint32 expire = std::clamp(seconds, 0, INT_MAX / 1000) * 1000;
    GVariantBuilder actions;
    g_variant_builder_init(&actions, G_VARIANT_TYPE("as"));
    g_dbus_connection_call(
        m_bus.get(), kService, kPath, kService, "Notify",
        g_variant_new("(susssas@a{sv}i)", m_appName.c_str(), m_lastId, kDesktopEntry,
                      summary.c_str(), body.c_str(), &actions, Hints(), std::max(expire, 1)),
        G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, m_calls.get(),
        &CDesktopNotification::OnReply, this);
    return true;
}

void CDesktopNotification::OnReply(GObject* source, GAsyncResult* result, gpointer self) noexcept {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    if (error != nullptr) {
        // No server on the bus, or the object is gone (cancelled): the notice window tells
        // it alone.
        const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
        g_error_free(error);
        if (!cancelled) {
            Guarded("notification", [self] {
                auto* notification = static_cast<CDesktopNotification*>(self);
                notification->m_lastId = 0;
                if (g_dbus_connection_is_closed(notification->m_bus.get())) {
                    notification->m_bus.reset();  // opened again for the next notice
                }
            });
        }
        return;
    }
    Guarded("notification", [self, reply] {
        auto* notification = static_cast<CDesktopNotification*>(self);
        g_variant_get(reply, "(u)", &notification->m_lastId);
        ++notification->m_delivered;
    });
    g_variant_unref(reply);
}

}  // namespace tokeiya::gtk
