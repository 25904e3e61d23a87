#include "platform/TextHelpers.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/ScopedWorkingFolder.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

const char kDocumentsUtf8[] = "\xE6\x9B\xB8\xE9\xA1\x9E";  // 書類
const char kEmojiUtf8[] = "\xF0\x9F\x98\x80";              // no CP932 form

TEST(FormatNumber, GroupsDigitsAndSignsNegatives) {
    struct Case {
        double value;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        {1234567.5, 0, "1,234,568"},
        {-1234.5, 1, "-1,234.5"},
        {999, 0, "999"},
        {1000, 0, "1,000"},
        {100, 0, "100"},
        {0, 0, "0"},
        {-7, 0, "-7"},
        {123456.789, 2, "123,456.79"},
        {1e15, 0, "1,000,000,000,000,000"},
        {-1e15, 2, "-1,000,000,000,000,000.00"},
        {999.5, 0, "1,000"},  // rounding adds a group
        {-999999.96, 1, "-1,000,000.0"},
        {2.5, 0, "2"},  // the C library rounds an exact tie to even
        {12345, -1, "12,345"},
        // A negative value that prints as zero carries no sign.
        {-0.4, 0, "0"},
        {-0.5, 0, "0"},
        {-0.04, 1, "0.0"},
        {HUGE_VAL, 0, "inf"},
        {-HUGE_VAL, 0, "-inf"},
        {std::nan(""), 2, "nan"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, FormatNumber(c.value, c.decimals))
            << c.value << " with " << c.decimals << " decimals";
    }
}

TEST(LeftBytes, NeverSplitsADoubleByteCharacter) {
    struct Case {
        std::string text;
        int n;
        bool stopAtNewline;
        std::string expected;
    };
    const Case cases[] = {
        {"全員", 3, false, "全"},     {"全員", 4, false, "全員"},
        {"全員", 1, false, ""},       {"a全", 2, false, "a"},
        {"a全b", 3, false, "a全"},    {"abc", 2, false, "ab"},
        {"abc", 99, false, "abc"},    {"全員", 0, false, ""},
        {"全員", -1, false, ""},      {"", 5, false, ""},
        {"ab\ncd", 10, true, "ab"},   {"ab\ncd", 10, false, "ab\ncd"},
        {"\nab", 5, true, ""},        {"全\n員", 3, true, "全"},
        {"a\x81", 2, false, "a\x81"},  // a lone lead byte at the end is one byte
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, LeftBytes(c.text, c.n, c.stopAtNewline))
            << "\"" << c.text << "\" n=" << c.n << " stop=" << c.stopAtNewline;
    }
}

TEST(PadText, PadsToTheByteWidthOnEitherSide) {
    struct Case {
        std::string text;
        int width;
        bool leftAligned;
        std::string expected;
    };
    const Case cases[] = {
        {"ab", 5, true, "ab   "},     {"ab", 5, false, "   ab"}, {"全員", 6, true, "全員  "},
        {"全員", 6, false, "  全員"}, {"全員", 4, true, "全員"}, {"全員", 3, false, "全員"},
        {"", 2, true, "  "},          {"x", 0, true, "x"},       {"x", -3, false, "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, PadText(c.text, c.width, c.leftAligned))
            << "\"" << c.text << "\" width=" << c.width << " left=" << c.leftAligned;
    }
}

TEST(ReplaceAll, ReplacesWholeCharactersLeftToRightWithoutOverlap) {
    struct Case {
        std::string text;
        std::string find;
        std::string replacement;
        int count;
        std::string expected;
    };
    const Case cases[] = {
        {"a-b-c", "-", "--", 2, "a--b--c"},
        {"aaaa", "aa", "b", 2, "bb"},
        {"aaa", "aa", "b", 1, "ba"},
        {"ab", "ab", "", 1, ""},
        {"abc", "", "x", 0, "abc"},
        {"abc", "z", "x", 0, "abc"},
        {"", "a", "b", 0, ""},
        {"全員全員", "全員", "様", 2, "様様"},
        // 表 is 95 5C: its trail byte is a backslash that must not be replaced.
        {"表", "\\", "/", 0, "表"},
        {"表\\表", "\\", "/", 1, "表/表"},
        // 81 95 is one character, so the following 95 5C is not 表.
        {"\x81\x95\\", "表", "X", 0, "\x81\x95\\"},
        // A match ending inside a character would cut it in half.
        {"表", "\x95", "X", 0, "表"},
        {"a表", "a\x95", "X", 0, "a表"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(c.count, ReplaceAll(text, c.find, c.replacement))
            << "\"" << c.text << "\" find \"" << c.find << "\"";
        EXPECT_EQ(c.expected, text) << "\"" << c.text << "\" find \"" << c.find << "\"";
    }
}

TEST(UpperText, RaisesSingleByteLettersOnly) {
    EXPECT_EQ("SELECT 全 * FROM X1", UpperText("select 全 * from x1"));
    // Ｔ is 82 73: its trail byte is 's' and stays as it is.
    EXPECT_EQ("Ｔ", UpperText("Ｔ"));
    EXPECT_EQ(std::string::npos, FindText(UpperText("[Ｔelect]"), "SELECT"));
    EXPECT_EQ(1u, FindText("x全y全", "全"));
    EXPECT_EQ(4u, FindText("x全y全", "全", 2));
    EXPECT_EQ(std::string::npos, FindText("abc", "c", 4));
}

TEST(CurrentFolder, IsCp932WithATrailingSlashOrNotOk) {
    test::ScopedWorkingFolder restore;
    test::TempFolder folder;
    const std::string base = std::filesystem::canonical(folder.Path()).string();
    const std::string japanese = base + "/" + kDocumentsUtf8;
    const std::string emoji = base + "/" + kEmojiUtf8;
    ASSERT_EQ(0, mkdir(japanese.c_str(), 0700));
    ASSERT_EQ(0, mkdir(emoji.c_str(), 0700));

    bool ok = false;
    ASSERT_EQ(0, chdir(japanese.c_str()));
    EXPECT_EQ(base + "/書類/", CurrentFolder(ok));
    EXPECT_TRUE(ok);

    ASSERT_EQ(0, chdir(emoji.c_str()));
    EXPECT_EQ("", CurrentFolder(ok));
    EXPECT_FALSE(ok);

    ok = true;
    ASSERT_EQ(0, chdir(japanese.c_str()));
    ASSERT_EQ(0, rmdir(japanese.c_str()));
    EXPECT_EQ("", CurrentFolder(ok));
    EXPECT_FALSE(ok);
}

// GLib reads the user's folders once per process, so each case runs in a fresh process
// with its own folder settings.
void ExpectDocumentsFolder(const std::string& utf8Folder, bool expectedOk,
                           const std::string& expected) {
    test::TempFolder config;
    std::ofstream(config.Path() + "/user-dirs.dirs")
        << "XDG_DOCUMENTS_DIR=\"" << utf8Folder << "\"\n";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
            bool ok = !expectedOk;
            const std::string path = SpecialFolderPath(SpecialFolder::Documents, ok);
            std::fprintf(stderr, "path \"%s\" ok %d\n", path.c_str(), ok);
            std::filesystem::remove_all(config.Path());  // exit skips the destructor
            std::exit(path == expected && ok == expectedOk ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "")
        << utf8Folder;
}

TEST(SpecialFolderPathDeathTest, DocumentsFolderIsCp932OrNotOk) {
    ExpectDocumentsFolder(std::string("/srv/") + kDocumentsUtf8, true, "/srv/書類");
    ExpectDocumentsFolder(std::string("/srv/") + kEmojiUtf8, false, "");
}

}  // namespace
}  // namespace tokeiya
