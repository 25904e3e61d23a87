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

}  // namespace
}  // namespace tokeiya
