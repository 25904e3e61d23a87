#include <gtest/gtest.h>

#include <string>

#include "data/CCodeRZ.hpp"
#include "data/CPasswordHash.hpp"
#include "tests/support/TestPasswords.hpp"

namespace tokeiya {
namespace {

TEST(PasswordHash, VerifiesOnlyThePasswordItWasMadeFrom) {
    struct Case {
        const char* what;
        std::string plain;
    };
    // Each plain text holds a byte the hash's base64 never does, so finding it in the hash
    // cannot happen by chance (a two-letter one turns up in about one hash in forty).
    const Case cases[] = {
        {"ascii", "pass word"},
        {"ten bytes of CP932", "あいうえお"},
        {"a NUL inside", std::string("a\0b", 3)},
        {"the longest a field takes", "0123-56789"},
    };
    const CPasswordHash hash(test::kCheapLimits);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<std::string> stored = hash.Hash(c.plain);
        ASSERT_TRUE(stored);
        EXPECT_EQ(0u, stored->rfind("$argon2id$", 0)) << *stored;
        EXPECT_EQ(std::string::npos, stored->find(c.plain));
        EXPECT_EQ(std::string::npos, stored->find(ScramblePassword(c.plain)));
        EXPECT_TRUE(CPasswordHash::Verify(*stored, c.plain));
        EXPECT_FALSE(CPasswordHash::Verify(*stored, c.plain + "x"));
        EXPECT_FALSE(CPasswordHash::Verify(*stored, c.plain.substr(0, c.plain.size() - 1)));
        EXPECT_FALSE(CPasswordHash::Verify(*stored, ""));
        EXPECT_NE(*stored, hash.Hash(c.plain)) << "each hash has its own salt";
    }
}

TEST(PasswordHash, TheEmptyPasswordIsStoredEmptyAndOtherTextsMatchNothing) {
    EXPECT_EQ("", CPasswordHash(test::kCheapLimits).Hash(""));
    EXPECT_TRUE(CPasswordHash::Verify("", ""));
    EXPECT_FALSE(CPasswordHash::Verify("", "pw"));
    // What a damaged or foreign column could hold: never a match, never a crash.
    const std::string stored = test::CheapHash("pw");
    for (const std::string& text :
         {ScramblePassword("pw"), std::string("pw"), std::string("$argon2id$"),
          stored.substr(0, stored.size() - 4), stored + std::string(200, 'A'),
          std::string(stored.size(), '\0')}) {
        EXPECT_FALSE(CPasswordHash::Verify(text, "pw")) << text;
    }
}

}  // namespace
}  // namespace tokeiya
