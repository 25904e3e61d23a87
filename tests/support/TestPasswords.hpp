#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "data/CPasswordHash.hpp"
#include "data/CUser.hpp"
#include "platform/ProfileStore.hpp"

namespace tokeiya::test {

// The library's least limits: fixtures that only need a user with a password stay fast,
// and verification reads the limits from the hash itself.
inline constexpr CPasswordHash::Limits kCheapLimits = {1, 8192};

// The stored form of `plain`, made with kCheapLimits.
std::string CheapHash(std::string_view plain);

// Whether `user`'s stored hash is that of `plain`.
inline bool HasPassword(const CUser& user, std::string_view plain) {
    return CPasswordHash::Verify(user.strPasswordHash, plain);
}

// The password the session remembered for `userName` in the private file beside the
// settings file `profile`, where it goes without a secret service; nothing when none.
std::optional<std::string> RememberedPassword(const CProfileStore& profile,
                                              const std::string& userName);

// Hides the session bus for the life of the object, so that the remembered login goes to
// the private file and never to the keyring of the desktop the tests run on.
class NoSecretService {
  public:
    NoSecretService();
    ~NoSecretService();
    NoSecretService(const NoSecretService&) = delete;
    NoSecretService& operator=(const NoSecretService&) = delete;

  private:
    std::optional<std::string> m_address;
};

}  // namespace tokeiya::test
