#include "platform/PortText.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tokeiya {
namespace {

struct PortCase {
    const char* text;  // UTF-8, as the entry gives it
    std::optional<int> port;
};

TEST(PortText, ParsesWhatThePortEntryMayHold) {
    const PortCase cases[] = {
        {"", 0},
        {"   ", 0},
        {"0", 0},
        {"5432", 5432},
        {" 1433\t", 1433},
        {"65535", 65535},
        {"00080", 80},
        {"\xEF\xBC\x95\xEF\xBC\x94\xEF\xBC\x93\xEF\xBC\x92", 5432},  // full-width 5432
        {"5\xEF\xBC\x94"
         "32",
         5432},  // mixed widths
        {"65536", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"-1", std::nullopt},
        {"+80", std::nullopt},
        {"54 32", std::nullopt},
        {"abc", std::nullopt},
        {"80a", std::nullopt},
        {"\xEF\xBC", std::nullopt},      // cut-off full-width character
        {"\xEF\xBC\x9A", std::nullopt},  // full-width colon, next to the digits
        {"\xEF\xBD\x90", std::nullopt},  // full-width small p
    };
    for (const PortCase& c : cases) {
        EXPECT_EQ(ParsePortText(c.text), c.port) << "input: \"" << c.text << "\"";
    }
}

TEST(PortText, ShowsDefaultAndImpossiblePortsEmptyAndRoundTrips) {
    EXPECT_EQ(PortText(0), "");
    EXPECT_EQ(PortText(-5), "");
    EXPECT_EQ(PortText(70000), "");
    for (int port : {1, 80, 1433, 5432, 65535}) {
        EXPECT_EQ(ParsePortText(PortText(port)), port) << port;
    }
}

}  // namespace
}  // namespace tokeiya
