#include "tests/support/TestPasswords.hpp"

#include <cstdlib>
#include <stdexcept>

#include "shell/ServerPasswords.hpp"

namespace tokeiya::test {

std::string CheapHash(std::string_view plain) {
    std::optional<std::string> hash = CPasswordHash(kCheapLimits).Hash(plain);
    if (!hash) {
        throw std::runtime_error("no password hash");
    }
    return *hash;
}

std::optional<std::string> RememberedPassword(const CProfileStore& profile,
                                              const std::string& userName) {
    return CFileServerPasswords(profile.Beside("Tokeiya-passwords"), SecretKind::LoginPassword)
        .Find(userName);
}

NoSecretService::NoSecretService() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        m_address = address;
    }
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

NoSecretService::~NoSecretService() {
    if (m_address) {
        setenv("DBUS_SESSION_BUS_ADDRESS", m_address->c_str(), 1);
    }
}

}  // namespace tokeiya::test
