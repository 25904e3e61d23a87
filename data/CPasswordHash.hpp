#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tokeiya {

// How passwords are stored: a salted, deliberately slow Argon2id hash (libsodium's
// crypto_pwhash_str), never anything that turns back into the password. The hash text
// carries its own salt and limits, so hashes made with other limits keep verifying.
// Passwords are hashed as the CP932 bytes the program holds, whatever the engine.
class CPasswordHash {
  public:
    // What one hash costs: passes over the memory, and the memory in bytes.
    struct Limits {
        unsigned long long passes;
        size_t memoryBytes;
    };
    // Argon2id with 19 MiB and 2 passes: a verification takes about 25 ms on a 2-core
    // office PC, about 0.12 s while both cores are busy, which a login can afford and a
    // guesser with a stolen table cannot.
    static constexpr Limits kStored = {2, size_t{19} << 20};

    // Told when a hash could not be computed; nothing was stored.
    static constexpr const char* kHashFailed =
        "パスワードを暗号化できなかったため、保存しませんでした。";

    explicit CPasswordHash(Limits limits = kStored) : m_limits(limits) {}

    // The text to store for `plain`; empty for the empty password, which stays usable
    // (the administration account is installed without one). Nothing when the hash could
    // not be computed (the memory it needs was refused).
    [[nodiscard]] std::optional<std::string> Hash(std::string_view plain) const;
    // Whether `plain` is the password `stored` was made from. An empty `stored` is the
    // empty password; a text that is no hash matches nothing.
    [[nodiscard]] static bool Verify(std::string_view stored, std::string_view plain);

  private:
    Limits m_limits;
};

}  // namespace tokeiya
