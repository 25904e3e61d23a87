#include "shell/ServerPasswords.hpp"

#include <gio/gio.h>
#include <libsecret/secret.h>

#include <cstdlib>

#include "platform/Cp932.hpp"
#include "platform/PrivateKeyFile.hpp"

namespace tokeiya {
namespace {

constexpr const char* kGroup = "SQLServer";

const SecretSchema* Schema() {
    static const SecretSchema schema = {
        "jp.tokeiya.ServerPassword",
        SECRET_SCHEMA_NONE,
        {{"connection", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
        0,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
    };
    return &schema;
}

}  // namespace

bool CFileServerPasswords::Save(const std::string& key, const std::string& password) {
    KeyFilePtr file = LoadKeyFile(m_path);
    const std::string utf8Key = cp932::ToUtf8(key);
    if (password.empty()) {
        g_key_file_remove_key(file.get(), kGroup, utf8Key.c_str(), nullptr);
    } else {
        g_key_file_set_string(file.get(), kGroup, utf8Key.c_str(), cp932::ToUtf8(password).c_str());
    }
    return SavePrivateKeyFile(file.get(), m_path);
}

std::optional<std::string> CFileServerPasswords::Find(const std::string& key) {
    bool loaded = false;
    KeyFilePtr file = LoadKeyFile(m_path, &loaded);
    if (!loaded) {
        return std::nullopt;
    }
    gchar* value = g_key_file_get_string(file.get(), kGroup, cp932::ToUtf8(key).c_str(), nullptr);
    if (value == nullptr) {
        return std::nullopt;
    }
    std::string password = cp932::FromUtf8(value);
    g_free(value);
    return password;
}

bool CSecretServicePasswords::Available() {
    // Without an address GLib would try to start a bus of its own.
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address == nullptr || *address == '\0') {
        return false;
    }
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (bus == nullptr) {
        return false;
    }
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", "org.freedesktop.secrets"), G_VARIANT_TYPE("(b)"),
        G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, nullptr);
    gboolean owned = FALSE;
    if (reply != nullptr) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    g_object_unref(bus);
    return owned != FALSE;
}

bool CSecretServicePasswords::Save(const std::string& key, const std::string& password) {
    const std::string utf8Key = cp932::ToUtf8(key);
    if (password.empty()) {
        secret_password_clear_sync(Schema(), nullptr, nullptr, "connection", utf8Key.c_str(),
                                   nullptr);
        return true;
    }
    GError* error = nullptr;
    const std::string label = "Tokeiya: " + utf8Key;
    const gboolean ok = secret_password_store_sync(
        Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), cp932::ToUtf8(password).c_str(),
        nullptr, &error, "connection", utf8Key.c_str(), nullptr);
    if (error != nullptr) {
        g_error_free(error);
    }
    return ok != FALSE;
}

std::optional<std::string> CSecretServicePasswords::Find(const std::string& key) {
    GError* error = nullptr;
    gchar* value = secret_password_lookup_sync(Schema(), nullptr, &error, "connection",
                                               cp932::ToUtf8(key).c_str(), nullptr);
    if (error != nullptr) {
        g_error_free(error);
    }
    if (value == nullptr) {
        return std::nullopt;
    }
    std::string password = cp932::FromUtf8(value);
    secret_password_free(value);
    return password;
}

std::unique_ptr<IServerPasswords> ServerPasswordsForDesktop(const std::string& filePath) {
    if (filePath.empty() && CSecretServicePasswords::Available()) {
        return std::make_unique<CSecretServicePasswords>();
    }
    const std::string path = filePath.empty()
                                 ? std::string(g_get_user_config_dir()) + "/VA-V/Tokeiya-passwords"
                                 : filePath;
    return std::make_unique<CFileServerPasswords>(path);
}

}  // namespace tokeiya
