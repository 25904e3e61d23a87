#include <gtest/gtest.h>

#include "platform/Cp932.hpp"

namespace tokeiya {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(Cp932, SourceLiteralsAreCp932) {
    EXPECT_EQ(Bytes({0x91, 0x53, 0x88, 0xF5}), std::string("全員"));
}

TEST(Cp932, LeadAndTrailByteRanges) {
    for (int c = 0; c < 256; ++c) {
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        bool trail = (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
        EXPECT_EQ(lead, cp932::IsLeadByte(static_cast<unsigned char>(c))) << std::hex << c;
        EXPECT_EQ(trail, cp932::IsTrailByte(static_cast<unsigned char>(c))) << std::hex << c;
    }
}

TEST(Cp932, ConvertsBothWays) {
    struct Case {
        const char* utf8;
        std::string cp932;
    };
    const Case cases[] = {
        {"abc 123", "abc 123"},
        {"", ""},
        {"\xE5\x85\xA8\xE5\x93\xA1", Bytes({0x91, 0x53, 0x88, 0xF5})},  // 全員
        {"\xE8\xA1\xA8", Bytes({0x95, 0x5C})},                          // 表: trail byte '\'
        {"\xE2\x91\xA0", Bytes({0x87, 0x40})},                          // ① (NEC row 13)
        {"\xEF\xBD\xB1", Bytes({0xB1})},                                // half-width ｱ
        {"\xEF\xBD\x9E", Bytes({0x81, 0x60})},                          // ～ (full-width tilde)
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.cp932, cp932::FromUtf8(c.utf8)) << c.utf8;
        EXPECT_EQ(std::string(c.utf8), cp932::ToUtf8(c.cp932)) << c.utf8;
    }
}

TEST(Cp932, BrokenInputBecomesQuestionMarksOrNothingWhenStrict) {
    // A lone lead byte at the end, an unassigned pair, and an emoji CP932 cannot hold.
    EXPECT_EQ("a?", cp932::ToUtf8(Bytes({'a', 0x81})));
    EXPECT_FALSE(cp932::ToUtf8Strict(Bytes({'a', 0x81})).has_value());
    EXPECT_EQ("x?y", cp932::FromUtf8("x\xF0\x9F\x98\x80y"));
    EXPECT_FALSE(cp932::FromUtf8Strict("x\xF0\x9F\x98\x80y").has_value());
    EXPECT_EQ("?z", cp932::FromUtf8("\xC3z")) << "a truncated UTF-8 sequence";
    // Long text crosses the internal buffer without losing characters.
    std::string longText;
    for (int i = 0; i < 2000; ++i) {
        longText += "全員";
    }
    EXPECT_EQ(longText, cp932::FromUtf8(cp932::ToUtf8(longText)));
}

TEST(Cp932, DroppingLeavesOutWhatCp932CannotHoldAndKeepsTheRestWhole) {
    struct Case {
        const char* what;
        std::string utf8;
        std::string cp932;
    };
    const Case cases[] = {
        {"plain ASCII", "abc 123", "abc 123"},
        {"empty", "", ""},
        {"all convertible", "\xE5\x87\xBA\xE5\x8B\xA4", "出勤"},
        {"an emoji at the end", "\xE5\x87\xBA\xE5\x8B\xA4\xF0\x9F\x98\x80", "出勤"},
        {"an emoji at the start", "\xF0\x9F\x98\x80\xE7\xB5\xA6", "給"},
        {"only emoji", "\xF0\x9F\x98\x80\xF0\x9F\x98\x81", ""},
        {"a BMP character outside CP932 (U+00E9)",
         "a\xC3\xA9"
         "b",
         "ab"},
        {"a hangul syllable between kanji", "\xE5\x87\xBA\xEA\xB0\x80\xE5\x8B\xA4", "出勤"},
        {"a truncated sequence before ASCII", "\xC3z", "z"},
        {"a truncated three-byte sequence at the end", "x\xE5\x87", "x"},
        {"a stray continuation byte",
         "a\x80\xBF"
         "b",
         "ab"},
        {"an overlong encoding of '/'",
         "a\xC0\xAF"
         "b",
         "ab"},
        {"a byte that never starts UTF-8", "\xFF\xE5\x87\xBA", "出"},
        {"an encoded surrogate",
         "a\xED\xA0\x80"
         "b",
         "ab"},
        {"half-width katakana stays one byte", "\xEF\xBD\xB1\xF0\x9F\x98\x80", "\xB1"},
    };
    for (const Case& c : cases) {
        const std::string out = cp932::FromUtf8Dropping(c.utf8);
        EXPECT_EQ(out, c.cp932) << c.what;
        EXPECT_EQ(out.find('?'), std::string::npos) << c.what;
        // Whatever comes out is whole CP932 text: it converts back strictly.
        EXPECT_TRUE(cp932::ToUtf8Strict(out).has_value()) << c.what;
    }
    // Text longer than the internal buffer, with characters to drop on both sides of its edges.
    std::string utf8;
    std::string expected;
    for (int i = 0; i < 1500; ++i) {
        utf8 += "\xE5\x85\xA8\xF0\x9F\x98\x80";  // 全 and an emoji
        expected += "全";
    }
    EXPECT_EQ(cp932::FromUtf8Dropping(utf8), expected);
}

}  // namespace
}  // namespace tokeiya
