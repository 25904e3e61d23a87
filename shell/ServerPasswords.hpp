#pragma once

#include <memory>
#include <optional>
#include <string>

namespace tokeiya {

// What a password store keeps: SQL Server passwords, keyed by server, port, database and
// account (ConnectionSettings::PasswordKey), or the remembered login, keyed by user name.
enum class SecretKind { ServerPassword, LoginPassword };

// Where the password of a SQL Server connection, and the password of a remembered login, is
// kept between starts: never in the settings file, only where its user alone can read it.
// Texts are CP932.
class IServerPasswords {
  public:
    virtual ~IServerPasswords() = default;
    // An empty password removes the key. False when it could not be kept.
    virtual bool Save(const std::string& key, const std::string& password) = 0;
    virtual std::optional<std::string> Find(const std::string& key) = 0;
};

// A GLib key file of mode 600, as ~/.pgpass is for PostgreSQL.
class CFileServerPasswords : public IServerPasswords {
  public:
    explicit CFileServerPasswords(std::string path, SecretKind kind = SecretKind::ServerPassword)
        : m_path(std::move(path)), m_kind(kind) {}
    bool Save(const std::string& key, const std::string& password) override;
    std::optional<std::string> Find(const std::string& key) override;

  private:
    std::string m_path;
    SecretKind m_kind;
};

// The desktop's secret service (GNOME Keyring, KWallet) through libsecret.
class CSecretServicePasswords : public IServerPasswords {
  public:
    // True when a session bus is there and a secret service runs on it; never starts one.
    static bool Available();
    explicit CSecretServicePasswords(SecretKind kind = SecretKind::ServerPassword) : m_kind(kind) {}
    bool Save(const std::string& key, const std::string& password) override;
    std::optional<std::string> Find(const std::string& key) override;

  private:
    SecretKind m_kind;
};

// The secret service when one is running, else the private file `fallbackFile`.
std::unique_ptr<IServerPasswords> ServerPasswordsForDesktop(SecretKind kind,
                                                            const std::string& fallbackFile);

}  // namespace tokeiya
