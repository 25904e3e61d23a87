#include "data/CCodeRZ.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tokeiya {
namespace {

std::string Hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 15];
        out += ' ';
    }
    return out;
}

std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    return bytes;
}

bool InAlphabet(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'y');
}

struct Vector {
    unsigned a;
    unsigned b;
    std::string key;
    std::string plain;
    std::string scrambled;
};

// Worked by hand. Digits: 0-9 are '0'-'9', 10-35 'A'-'Z', 36-60 'a'-'y'.
//
// Password scrambler (seed 13, step 7, key "Q#8m?p^4z!"), states 13 20 27 34 41 2 9 16 23:
//   "A"  0x41^'Q'(0x51) = 0x10: 13+1 = 14 'E', 20+0 = 20 'K'                    -> "EK"
//   "B"  0x42^'#'(0x23) = 0x61: 27+6 = 33 'X', 34+1 = 35 'Z'                    -> "XZ"
//   "全員" = 91 53 88 F5:
//        0x91^0x51 = 0xC0: 13+12 = 25 'P', 20+0 = 20 'K'
//        0x53^0x23 = 0x70: 27+7  = 34 'Y', 34+0 = 34 'Y'
//        0x88^'8'(0x38) = 0xB0: 41+11 = 52 'q', 2+0 = 2 '2'
//        0xF5^'m'(0x6D) = 0x98: 9+9 = 18 'I', 16+8 = 24 'O'                     -> "PKYYq2IO"
// Empty key (key byte 0): "A" = 0x41: 13+4 = 17 'H', 20+1 = 21 'L'               -> "HL"
// a = 46, b = 92 reduce to seed 0, step 0, and with an empty key every byte is written as
// its two hexadecimal digits: FF 3C                                               -> "FF3C"
// a = 59, b = 53 reduce to 13 and 7, the password scrambler again.
// Eleven 'A's walk the whole key and wrap to 'Q' for the 11th byte, at state
// 13+20*7 mod 46 = 15: 0x10: 15+1 = 16 'G', 22+0 = 22 'M'; the 2nd byte 0x41^'#' = 0x62
// gives 27+6 'X', 34+2 = 36 'a'; the 3rd 0x41^'8' = 0x79 gives 41+7 = 48 'm', 2+9 'B'.
TEST(CCodeRZTest, EncodesHandWorkedVectorsAndDecodesThemBack) {
    const std::string key(kPasswordKey);
    const std::vector<Vector> vectors = {
        {13, 7, key, "A", "EK"},
        {13, 7, key, "AB", "EKXZ"},
        {13, 7, key, "全員", "PKYYq2IO"},
        {13, 7, "", "A", "HL"},
        {46, 92, "", "\xFF\x3C", "FF3C"},
        {59, 53, key, "AB", "EKXZ"},
        {13, 7, key, "AAAAAAAAAAA", "EKXamBBSUiej6RQVap78GM"},
    };
    for (const Vector& v : vectors) {
        SCOPED_TRACE("a=" + std::to_string(v.a) + " b=" + std::to_string(v.b) + " key=\"" + v.key +
                     "\" plain=" + Hex(v.plain));
        CCodeRZ coder(v.a, v.b);
        const std::string scrambled = coder.Encode(v.plain, v.key);
        EXPECT_EQ(scrambled, v.scrambled);
        // The same object again: every call starts from the seed.
        EXPECT_EQ(coder.Encode(v.plain, v.key), scrambled);
        EXPECT_EQ(Hex(coder.Decode(scrambled, v.key)), Hex(v.plain));
    }
}

TEST(CCodeRZTest, KeyEndsAtItsFirstNulByte) {
    CCodeRZ coder(13, 7);
    const std::string keyWithNul("Q\0zz", 4);
    EXPECT_EQ(coder.Encode("ABC", keyWithNul), coder.Encode("ABC", "Q"));
    EXPECT_EQ(coder.Encode("ABC", std::string(1, '\0')), coder.Encode("ABC", ""));
}

TEST(CCodeRZTest, RoundTripsEveryByteForEverySeedAndStep) {
    const std::string bytes = AllBytes();
    for (unsigned seed = 0; seed < 46; ++seed) {
        for (unsigned step = 0; step < 46; ++step) {
            CCodeRZ coder(seed, step);
            for (const std::string& key :
                 {std::string(kPasswordKey), std::string(), std::string("\xFF\x80")}) {
                const std::string scrambled = coder.Encode(bytes, key);
                ASSERT_EQ(scrambled.size(), 2 * bytes.size());
                for (const char c : scrambled) {
                    ASSERT_TRUE(InAlphabet(c))
                        << "seed " << seed << " step " << step << " produced byte "
                        << static_cast<int>(static_cast<unsigned char>(c));
                }
                ASSERT_EQ(coder.Decode(scrambled, key), bytes)
                    << "seed " << seed << " step " << step << " key " << Hex(key);
            }
        }
    }
}

TEST(CCodeRZTest, UsesTheWholeAlphabetUpToSmallY) {
    // State 45 plus a high nibble of 15 is the largest value, 60 = 'y'.
    std::string seen;
    for (unsigned seed = 0; seed < 46; ++seed) {
        seen += CCodeRZ(seed, 0).Encode(AllBytes(), "");
    }
    for (const char c : std::string("09AZay")) {
        EXPECT_NE(seen.find(c), std::string::npos) << c;
    }
    EXPECT_EQ(seen.find('z'), std::string::npos);
}

TEST(CCodeRZTest, PasswordHelpersRoundTripCp932Text) {
    const std::vector<std::string> texts = {
        "",
        "tokeiya",
        "全員",
        "とけい屋のパスワード",
        "ｱｲｳｴｵ",
        "混在 mixed 123 !?\"'",
        std::string(300, '\x81'),
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(Hex(text));
        const std::string scrambled = ScramblePassword(text);
        EXPECT_EQ(scrambled, CCodeRZ(13, 7).Encode(text, "Q#8m?p^4z!"));
        EXPECT_EQ(scrambled.size(), 2 * text.size());
        EXPECT_EQ(UnscramblePassword(scrambled), text);
    }
}

TEST(CCodeRZTest, DecodeOfMalformedTextStaysInBoundsAndDeterministic) {
    struct Case {
        std::string scrambled;
        std::string plain;  // empty: only the length is known
        size_t length;
    };
    const std::string valid = ScramblePassword("abc");
    const std::vector<Case> cases = {
        {"", "", 0},
        {"Z", "", 0},
        {valid + "Z", "abc", 3},
        {valid.substr(0, 5), "ab", 2},
        // '!' is valued 33 - 61 = -28: high -28-13 = -41, low -28-20 = -48;
        // ((-41 << 4) | -48) & 0xFF = 0xF0, and 0xF0 ^ 'Q' = 0xA1.
        {"!!", "\xA1", 1},
        {std::string("\xFF\x80\x00\x7F", 4), "", 2},
        {std::string(101, '~'), "", 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.scrambled));
        const std::string plain = UnscramblePassword(c.scrambled);
        EXPECT_EQ(plain.size(), c.length);
        if (!c.plain.empty()) {
            EXPECT_EQ(Hex(plain), Hex(c.plain));
        }
        EXPECT_EQ(UnscramblePassword(c.scrambled), plain);
    }
}

}  // namespace
}  // namespace tokeiya
