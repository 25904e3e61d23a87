#include "shell/CRememberedLogin.hpp"

#include "data/CCodeRZ.hpp"

namespace tokeiya {
namespace {

constexpr const char* kSection = "LOGIN";
constexpr const char* kSave = "SavePwd";
constexpr const char* kUser = "User";
// Where earlier versions kept the password, scrambled; read once, never written.
constexpr const char* kScrambledPassword = "Password";
// Stands for a missing key: a scrambled text is never this.
constexpr const char* kMissing = "\n";

}  // namespace

bool CRememberedLogin::IsOn() const {
    return m_profile.GetProfileInt(kSection, kSave, 0) == 1;
}

void CRememberedLogin::MoveScrambledPassword() {
    const std::string scrambled =
        m_profile.GetProfileString(kSection, kScrambledPassword, kMissing);
    if (scrambled == kMissing) {
        return;
    }
    const std::string userName = m_profile.GetProfileString(kSection, kUser, "");
    const std::string password = UnscramblePassword(scrambled);
    // Kept only when it stays remembered elsewhere; a key that cannot be moved stays, so
    // that the login is not lost, and is tried again at the next start.
    if (IsOn() && !userName.empty() && !password.empty() && !m_passwords.Save(userName, password)) {
        return;
    }
    m_profile.DeleteProfileKey(kSection, kScrambledPassword);
}

void CRememberedLogin::Load(std::string& userName, std::string& password) {
    MoveScrambledPassword();
    userName = m_profile.GetProfileString(kSection, kUser, "");
    password =
        userName.empty() ? std::string() : m_passwords.Find(userName).value_or(std::string());
}

bool CRememberedLogin::Remember(const std::string& userName, const std::string& password) {
    const std::string previous = m_profile.GetProfileString(kSection, kUser, "");
    if (!previous.empty() && previous != userName) {
        m_passwords.Save(previous, "");
    }
    m_profile.WriteProfileString(kSection, kUser, userName);
    return m_passwords.Save(userName, password);
}

void CRememberedLogin::Forget() {
    const std::string previous = m_profile.GetProfileString(kSection, kUser, "");
    if (!previous.empty()) {
        m_passwords.Save(previous, "");
    }
    m_profile.WriteProfileString(kSection, kUser, "");
}

void CRememberedLogin::Follow(const std::string& oldName, const std::string& newName,
                              const std::optional<std::string>& newPassword) {
    if (!IsOn() || oldName.empty() || m_profile.GetProfileString(kSection, kUser, "") != oldName) {
        return;
    }
    if (oldName == newName && !newPassword) {
        return;
    }
    const std::string password =
        newPassword ? *newPassword : m_passwords.Find(oldName).value_or(std::string());
    Remember(newName, password);
}

}  // namespace tokeiya
