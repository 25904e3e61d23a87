#pragma once

#include <memory>
#include <optional>
#include <string>

namespace tokeiya {

// Where the password of a SQL Server connection is kept between starts: never in the
// settings file, only where its user alone can read it. Keys name the server, port,
// database and account (ConnectionSettings::PasswordKey). Texts are CP932.
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
    explicit CFileServerPasswords(std::string path) : m_path(std::move(path)) {}
    bool Save(const std::string& key, const std::string& password) override;
    std::optional<std::string> Find(const std::string& key) override;

  private:
    std::string m_path;
};

// The desktop's secret service (GNOME Keyring, KWallet) through libsecret.
class CSecretServicePasswords : public IServerPasswords {
  public:
    // True when a session bus is there and a secret service runs on it; never starts one.
    static bool Available();
    bool Save(const std::string& key, const std::string& password) override;
    std::optional<std::string> Find(const std::string& key) override;
};

// The secret service when one is running, else the file $XDG_CONFIG_HOME/VA-V/
// Tokeiya-passwords (or `filePath` when given).
std::unique_ptr<IServerPasswords> ServerPasswordsForDesktop(const std::string& filePath = {});

}  // namespace tokeiya
