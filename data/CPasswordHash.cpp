#include "data/CPasswordHash.hpp"

#include <sodium.h>

namespace tokeiya {
namespace {

bool Ready() {
    // Safe to call again and from any thread; -1 only when the library cannot start.
    return sodium_init() >= 0;
}

}  // namespace

std::optional<std::string> CPasswordHash::Hash(std::string_view plain) const {
    if (plain.empty()) {
        return std::string();
    }
    if (!Ready()) {
        return std::nullopt;
    }
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, plain.data(), plain.size(), m_limits.passes, m_limits.memoryBytes) !=
        0) {
        return std::nullopt;
    }
    return std::string(out);
}

bool CPasswordHash::Verify(std::string_view stored, std::string_view plain) {
    if (stored.empty()) {
        return plain.empty();
    }
    // The library reads a NUL-terminated text of at most crypto_pwhash_STRBYTES - 1.
    if (stored.size() >= crypto_pwhash_STRBYTES || !Ready()) {
        return false;
    }
    char text[crypto_pwhash_STRBYTES] = {};
    stored.copy(text, stored.size());
    return crypto_pwhash_str_verify(text, plain.data(), plain.size()) == 0;
}

}  // namespace tokeiya
