#pragma once

#include <optional>
#include <string>

#include "platform/ProfileStore.hpp"
#include "shell/ServerPasswords.hpp"

namespace tokeiya {

// The login remembered for the next start ("ユーザー名とパスワードを保存"): the user name
// in the settings file ("LOGIN"/"User"), the password where only its user can read it (the
// secret service, or the private password file), keyed by the user name. The settings
// file never holds the password; one left there scrambled by an earlier version is moved
// at the first load and its key removed.
class CRememberedLogin {
  public:
    CRememberedLogin(CProfileStore& profile, IServerPasswords& passwords)
        : m_profile(profile), m_passwords(passwords) {}

    // Whether "LOGIN"/"SavePwd" is on.
    bool IsOn() const;
    // The remembered user name and password (empty when none); moves a scrambled password
    // out of the settings file first.
    void Load(std::string& userName, std::string& password);
    // Remembers `userName` with `password`, forgetting a password remembered for another
    // name. False when the password could not be kept.
    bool Remember(const std::string& userName, const std::string& password);
    // Forgets the remembered user name and password.
    void Forget();
    // After the user `oldName` was renamed to `newName` or given `newPassword`: the
    // remembered login follows when it is this user's. Nothing when the login is not
    // remembered or is another user's.
    void Follow(const std::string& oldName, const std::string& newName,
                const std::optional<std::string>& newPassword);

  private:
    void MoveScrambledPassword();

    CProfileStore& m_profile;
    IServerPasswords& m_passwords;
};

}  // namespace tokeiya
