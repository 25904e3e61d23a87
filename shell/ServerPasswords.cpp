#include "shell/ServerPasswords.hpp"

#include <gio/gio.h>
#include <libsecret/secret.h>

#include <cstdlib>

#include "platform/Cp932.hpp"
#include "platform/PrivateKeyFile.hpp"

namespace tokeiya {
namespace {

// The file's group and the secret service's schema and attribute of each kind.
const char* Group(SecretKind kind) {
    return kind == SecretKind::LoginPassword ? "Login" : "SQLServer";
}

const char* Attribute(SecretKind kind) {
    return kind == SecretKind::LoginPassword ? "user" : "connection";
}

// A schema of one string attribute; the reserved fields of libsecret stay empty.
SecretSchema MakeSchema(const char* name, const char* attribute) {
    SecretSchema schema{};
    schema.name = name;
    schema.flags = SECRET_SCHEMA_NONE;
    schema.attributes[0] = {attribute, SECRET_SCHEMA_ATTRIBUTE_STRING};
    return schema;
}

const SecretSchema* Schema(SecretKind kind) {
    static const SecretSchema server = MakeSchema("jp.tokeiya.ServerPassword", "connection");
    static const SecretSchema login = MakeSchema("jp.tokeiya.LoginPassword", "user");
    return kind == SecretKind::LoginPassword ? &login : &server;
}

}  // namespace

bool CFileServerPasswords::Save(const std::string& key, const std::string& password) {
    KeyFilePtr file = LoadKeyFile(m_path);
    const std::string utf8Key = cp932::ToUtf8(key);
    if (password.empty()) {
        g_key_file_remove_key(file.get(), Group(m_kind), utf8Key.c_str(), nullptr);
    } else {
        g_key_file_set_string(file.get(), Group(m_kind), utf8Key.c_str(),
                              cp932::ToUtf8(password).c_str());
    }
    return SavePrivateKeyFile(file.get(), m_path);
}

std::optional<std::string> CFileServerPasswords::Find(const std::string& key) {
    bool loaded = false;
    KeyFilePtr file = LoadKeyFile(m_path, &loaded);
    if (!loaded) {
        return std::nullopt;
    }
    gchar* value =
        g_key_file_get_string(file.get(), Group(m_kind), cp932::ToUtf8(key).c_str(), nullptr);
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
        secret_password_clear_sync(Schema(m_kind), nullptr, nullptr, Attribute(m_kind),
                                   utf8Key.c_str(), nullptr);
        return true;
    }
    GError* error = nullptr;
    const std::string label =
        (m_kind == SecretKind::LoginPassword ? "Tokeiya login: " : "Tokeiya: ") + utf8Key;
    const gboolean ok = secret_password_store_sync(
        Schema(m_kind), SECRET_COLLECTION_DEFAULT, label.c_str(), cp932::ToUtf8(password).c_str(),
        nullptr, &error, Attribute(m_kind), utf8Key.c_str(), nullptr);
    if (error != nullptr) {
        g_error_free(error);
    }
    return ok != FALSE;
}

std::optional<std::string> CSecretServicePasswords::Find(const std::string& key) {
    GError* error = nullptr;
    gchar* value = secret_password_lookup_sync(Schema(m_kind), nullptr, &error, Attribute(m_kind),
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

std::unique_ptr<IServerPasswords> ServerPasswordsForDesktop(SecretKind kind,
                                                            const std::string& fallbackFile) {
    if (CSecretServicePasswords::Available()) {
        return std::make_unique<CSecretServicePasswords>(kind);
    }
    return std::make_unique<CFileServerPasswords>(fallbackFile, kind);
}

}  // namespace tokeiya
