#include "widgets/TextEntryRules.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/Cp932.hpp"
#include "tests/support/ScopedTimeZone.hpp"

namespace tokeiya {
namespace {

using test::ScopedTimeZone;

// The CP932 bytes as hex, for messages about texts that do not print.
std::string Hex(std::string_view text) {
    std::string out;
    char byte[4];
    for (unsigned char c : text) {
        std::snprintf(byte, sizeof byte, "%02X ", c);
        out += byte;
    }
    return out;
}

TEST(HalfWidthRule, EveryFullWidthAsciiCharacterBecomesItsByte) {
    // The full-width forms U+FF01..U+FF5E stand for ASCII 0x21..0x7E; the converter says
    // which CP932 codes they have.
    for (char32_t u = 0xFF01; u <= 0xFF5E; ++u) {
        const char utf8[] = {static_cast<char>(0xE0 | (u >> 12)),
                             static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
                             static_cast<char>(0x80 | (u & 0x3F))};
        const std::optional<std::string> cp932 =
            cp932::FromUtf8Strict(std::string_view(utf8, sizeof utf8));
        ASSERT_TRUE(cp932.has_value()) << "U+" << std::hex << static_cast<int>(u);
        EXPECT_EQ(std::optional<char>(static_cast<char>(u - 0xFEE0)), HalfWidthOf(*cp932))
            << "U+" << std::hex << static_cast<int>(u) << " = " << Hex(*cp932);
    }
}

TEST(HalfWidthRule, OtherCharactersHaveNoHalfWidthForm) {
    struct Case {
        std::string character;
        std::optional<char> half;
    };
    const std::vector<Case> cases =
        {
            {"０", '0'},      {"９", '9'},
            {"－", '-'},      {"．", '.'},
            {"：", ':'},      {"　", ' '},
            {"￥", '\\'},     {"\xFA\x57", '"'},  // the IBM code of the full-width quote
            {"7", '7'},                           // single bytes as they are
            {"-", '-'},       {"\xB1", '\xB1'},   // half-width katakana
            {"ー", {}},                           // the long vowel mark is no minus
            {"‐", {}},                            // nor the hyphen
            {"あ", {}},       {"漢", {}},
            {"\x82\x4E", {}},  // either side of the digits and letters
            {"\x82\x59", {}}, {"\x82\x5F", {}},
            {"\x82\x7A", {}}, {"\x82\x80", {}},
            {"\x82\x9B", {}}, {"", {}},
            {"12", {}},  // two characters, not one
            {"０１", {}},
        };
    for (const Case& c : cases) {
        EXPECT_EQ(c.half, HalfWidthOf(c.character)) << Hex(c.character);
    }
}

TEST(NumberTextRule, SignPointAndDigitCounts) {
    struct Case {
        const char* text;
        int digits;
        int decimals;
        bool isSigned;
        bool valid;
    };
    const Case cases[] = {
        {"", 3, 2, false, true},
        {"1", 3, 2, false, true},
        {"123", 3, 2, false, true},
        {"1234", 3, 2, false, false},
        {"12.5", 3, 2, false, true},
        {"123.45", 3, 2, false, true},
        {"123.456", 3, 2, false, false},
        {"1.2.3", 3, 2, false, false},
        {"..", 3, 2, false, false},
        {".", 3, 2, false, true},
        {".45", 3, 2, false, true},
        {"12.", 3, 2, false, true},
        {"-", 3, 2, false, false},
        {"-1", 3, 2, false, false},
        {"-", 3, 2, true, true},
        {"-123.45", 3, 2, true, true},
        {"-1234", 3, 2, true, false},
        {"--1", 3, 2, true, false},
        {"1-", 3, 2, true, false},
        {"1-2", 3, 2, true, false},
        {"+1", 3, 2, true, false},
        {" 1", 3, 2, false, false},
        {"1e3", 5, 0, false, false},
        {"1,000", 5, 0, false, false},
        {"１", 3, 2, false, false},  // full-width digits are turned half-width before
        {"99999", 5, 0, false, true},
        {"99999", 4, 0, false, false},
        {"5.", 5, 0, false, true},  // no digit after the point: within zero decimals
        {"5.0", 5, 0, false, false},
        {"0000", 3, 0, false, false},  // leading zeros are digits too
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.valid, IsValidNumberText(c.text, c.digits, c.decimals, c.isSigned))
            << '"' << c.text << "\" digits " << c.digits << " decimals " << c.decimals
            << (c.isSigned ? " signed" : " unsigned");
    }
}

TEST(NumberTextRule, ValuesShownOnlyWhenTheyFit) {
    struct Case {
        double value;
        int digits;
        int decimals;
        bool isSigned;
        std::optional<std::string> shown;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases = {
        {1234.5, 3, 2, false, {}},       {3.14159, 3, 2, false, "3.14"},
        {12.5, 3, 2, false, "12.50"},    {999.99, 3, 2, false, "999.99"},
        {999.996, 3, 2, false, {}},  // rounds up to a fourth integer digit
        {0.005, 3, 2, false, "0.01"},    {0, 3, 2, false, "0.00"},
        {-0.0, 3, 2, false, "0.00"},     {-0.0, 3, 2, true, "0.00"},
        {-0.001, 3, 2, true, "0.00"},  // prints as zero: no sign
        {-0.001, 3, 2, false, {}},     // still a negative value
        {-12.5, 3, 2, false, {}},        {-12.5, 3, 2, true, "-12.50"},
        {-999.5, 3, 0, true, {}},  // "%.0f" rounds the tie to even: -1000
        {-999.5, 4, 0, true, "-1000"},   {-999.4, 3, 0, true, "-999"},
        {42, 3, 0, false, "42"},         {42.6, 3, 0, false, "43"},
        {1e300, 15, 0, false, {}},       {1e14, 15, 0, false, "100000000000000"},
        {inf, 15, 2, true, {}},          {-inf, 15, 2, true, {}},
        {std::nan(""), 15, 2, true, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.shown, FormatNumber(c.value, c.digits, c.decimals, c.isSigned))
            << c.value << " digits " << c.digits << " decimals " << c.decimals
            << (c.isSigned ? " signed" : " unsigned");
    }
}

TEST(TimeTextRule, TypedAndPastedCharacters) {
    EXPECT_EQ(std::optional<char>(':'), TimeCharacter('.'));
    EXPECT_EQ(std::optional<char>(':'), TimeCharacter(':'));
    EXPECT_EQ(std::optional<char>('0'), TimeCharacter('0'));
    EXPECT_EQ(std::optional<char>('9'), TimeCharacter('9'));
    for (char c : std::string("-/ aZ,;\x82")) {
        EXPECT_EQ(std::nullopt, TimeCharacter(c)) << Hex(std::string(1, c));
    }
    EXPECT_EQ("09:30:15", TimeTextOf("09.30:15"));

    struct Case {
        const char* text;
        int width;
        bool pastable;
    };
    const Case cases[] = {
        {"9:30", 5, true},     {"9.30", 5, true},  {"09:30", 5, true},  {"09:30:", 5, false},
        {"12:34:56", 8, true}, {"", 5, false},     {"9:3a", 5, false},  {" 9:30", 5, false},
        {"9:30\n", 5, false},  {"-930", 5, false}, {"９:30", 5, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.pastable, IsPastableTimeText(c.text, c.width))
            << '"' << c.text << "\" width " << c.width;
    }
}

TEST(TimeTextRule, ReadingATypedTime) {
    struct Case {
        const char* text;
        bool withSeconds;
        std::optional<TimeOfDayParts> parts;
    };
    const TimeOfDayParts null{true, 0, 0, 0};
    const std::vector<Case> cases = {
        {"", false, null},
        {"", true, null},
        // Digits alone: the last two are the minutes.
        {"930", false, TimeOfDayParts{false, 9, 30, 0}},
        {"0930", false, TimeOfDayParts{false, 9, 30, 0}},
        {"2359", false, TimeOfDayParts{false, 23, 59, 0}},
        {"000", false, TimeOfDayParts{false, 0, 0, 0}},
        {"93", false, {}},
        {"9", false, {}},
        {"2400", false, {}},
        {"960", false, {}},
        {"12345", false, {}},  // hour 123
        // With seconds the last four are minutes and seconds, and there must be an hour.
        {"123456", true, TimeOfDayParts{false, 12, 34, 56}},
        {"12345", true, TimeOfDayParts{false, 1, 23, 45}},
        {"1234", true, {}},
        {"00123456", true, TimeOfDayParts{false, 12, 34, 56}},
        {"123460", true, {}},
        // Parts between colons.
        {"9:5", false, TimeOfDayParts{false, 9, 5, 0}},
        {"09:05", false, TimeOfDayParts{false, 9, 5, 0}},
        {"23:59", false, TimeOfDayParts{false, 23, 59, 0}},
        {"24:00", false, {}},
        {"12:60", false, {}},
        {"1:2:3", false, {}},
        {"12:34", true, {}},
        {"1:2:3", true, TimeOfDayParts{false, 1, 2, 3}},
        {"23:59:59", true, TimeOfDayParts{false, 23, 59, 59}},
        {"23:59:60", true, {}},
        {"1:2:3:4", true, {}},
        {":30", false, {}},
        {"9:", false, {}},
        {":", false, {}},
        {"1::3", true, {}},
        {"9:3a", false, {}},
        {"9:-3", false, {}},
        {"9:+3", false, {}},
        {" 9:30", false, {}},
        {"99999999999:00", false, {}},  // beyond an int: no hour either
        {"0000000009:00", false, TimeOfDayParts{false, 9, 0, 0}},
    };
    for (const Case& c : cases) {
        const std::optional<TimeOfDayParts> parts = ParseTimeText(c.text, c.withSeconds);
        EXPECT_EQ(c.parts, parts) << '"' << c.text << '"'
                                  << (c.withSeconds ? " with seconds" : " without seconds");
    }
}

TEST(TimeTextRule, APutTimeKeepsTheDateOrStartsOnTheFirstOfJanuary2000) {
    const char* kFormat = "%Y-%m-%d %H:%M:%S";
    for (const char* zone : {"Asia/Tokyo", "America/New_York"}) {
        SCOPED_TRACE(zone);
        ScopedTimeZone scoped(zone);

        CTime var;  // the empty time
        ASSERT_TRUE(ParseTimeInto("930", false, var));
        EXPECT_EQ("2000-01-01 09:30:00", var.Format(kFormat));

        // Any time before the second day of 1970 is unset too.
        var = CTime(1970, 1, 1, 23, 59, 0);
        ASSERT_TRUE(ParseTimeInto("1:2:3", true, var));
        EXPECT_EQ("2000-01-01 01:02:03", var.Format(kFormat));

        var = CTime(1970, 1, 2, 0, 0, 0);
        ASSERT_TRUE(ParseTimeInto("18:45", false, var));
        EXPECT_EQ("1970-01-02 18:45:00", var.Format(kFormat));

        // A summer date keeps its day and its local time in New York's daylight time.
        var = CTime(2024, 7, 1, 22, 10, 5);
        ASSERT_TRUE(ParseTimeInto("9:5", false, var));
        EXPECT_EQ("2024-07-01 09:05:00", var.Format(kFormat));
        ASSERT_TRUE(ParseTimeInto("235959", true, var));
        EXPECT_EQ("2024-07-01 23:59:59", var.Format(kFormat));

        // Not a time: untouched.
        const CTime before = var;
        EXPECT_FALSE(ParseTimeInto("24:00", false, var));
        EXPECT_FALSE(ParseTimeInto("12:34", true, var));
        EXPECT_EQ(before, var);

        // The empty text unsets it.
        ASSERT_TRUE(ParseTimeInto("", false, var));
        EXPECT_EQ(CTime(0), var);
    }
}

TEST(TimeTextRule, ATimeBeyondTheLocalCalendarIsNotMovedToAnotherDay) {
    ScopedTimeZone zone("Asia/Tokyo");
    CTime var(std::numeric_limits<int64_t>::max());
    EXPECT_FALSE(ParseTimeInto("930", false, var));
    EXPECT_EQ(CTime(std::numeric_limits<int64_t>::max()), var);
}

}  // namespace
}  // namespace tokeiya
