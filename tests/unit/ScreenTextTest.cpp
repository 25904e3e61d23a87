#include "tests/support/ScreenText.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/Cp932.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

using test::ScreenText;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 200);
const std::string kPlain = "colours: a=000000/FFFFFF\n";

// The test sources hold CP932 literals; the screen text is UTF-8.
std::string U(const std::string& cp932) {
    return cp932::ToUtf8(cp932);
}

TEST(ScreenText, RowsShowCharactersAndColourRuns) {
    struct Case {
        const char* name;
        void (*draw)(CCRBase&);
        std::string expected;  // CP932, converted before comparing
    };
    // 6 x 2 cells, black on white.
    const Case cases[] = {
        {"empty cells", [](CCRBase&) {}, kPlain + "{a}      |\n{a}      |\n"},
        {"single-byte text and a space", [](CCRBase& s) { s.PutText("A B", 1, 1, false); },
         kPlain + "{a}      |\n{a} A B  |\n"},
        {"double-byte characters are written once",
         [](CCRBase& s) { s.PutText("合計ｶ", 0, 0, false); }, kPlain + "{a}合計ｶ |\n{a}      |\n"},
        {"a mark starts a run",
         [](CCRBase& s) {
             s.PutText("合計", 0, 0, false);
             s.SetMarkColor(kBlue, 2, 0, 3, 1, false);
         },
         "colours: a=000000/FFFFFF b=000000/0000FF\n{a}合{b}計 {a} |\n{a}      |\n"},
        {"text and back colours",
         [](CCRBase& s) {
             s.PutTextAndBack("AB", 0, 1, kRed, kYellow, false);
             s.PutText("C", 3, 1, kRed, false);
         },
         "colours: a=000000/FFFFFF b=FF0000/FFFFC8 c=FF0000/FFFFFF\n"
         "{a}      |\n{b}AB{a} {c}C{a}  |\n"},
        {"a right half of its own colour",
         [](CCRBase& s) {
             s.PutText("合計", 0, 0, false);
             s.SetMarkColor(kBlue, 1, 0, 1, 1, false);
         },
         "colours: a=000000/FFFFFF b=000000/0000FF\n{a}合{b}{a}計  |\n{a}      |\n"},
        {"a brace is doubled", [](CCRBase& s) { s.PutText("{a}", 0, 0, false); },
         kPlain + "{a}{{a}   |\n{a}      |\n"},
    };
    for (const Case& c : cases) {
        CCRBase s(CRect{0, 0, 60, 40}, 6, 2, 0, 0);
        c.draw(s);
        EXPECT_EQ(U(c.expected), ScreenText(s)) << c.name;
    }
}

TEST(ScreenText, MaskedSurfacesAreaAndNoGrid) {
    CCRBase s(CRect{0, 0, 60, 20}, 6, 1, 0, 0);
    s.PutText("p合w", 0, 0, false);
    s.SetMaskText(true);
    EXPECT_EQ(kPlain + "{a}****  |\n", ScreenText(s)) << "one star per non-empty cell";
    s.SetMaskText(false);

    // An area that cuts a character in two shows its halves as blanks.
    EXPECT_EQ(kPlain + "{a} w|\n", ScreenText(s, {CRect{2, 0, 4, 1}}));
    EXPECT_EQ(U(kPlain + "{a}合w|\n"), ScreenText(s, {CRect{1, 0, 4, 1}}));
    EXPECT_EQ(kPlain + "{a}p |\n", ScreenText(s, {CRect{0, 0, 2, 1}}));

    CCRBase none;
    EXPECT_EQ("colours:\n", ScreenText(none));
}

TEST(ScreenText, CaptionsAndFillsAppearOnceTheStaticItemsArePainted) {
    CCRBase s(CRect{0, 0, 80, 20}, 8, 1, 0, 0);
    s.Items().AddBackFillItem(0, 0, 3, 1, kYellow);
    s.Items().AddTextItem("日付", 4, 0);
    EXPECT_EQ(kPlain + "{a}        |\n", ScreenText(s));
    test::PaintStaticItems(s);
    EXPECT_EQ(U("colours: a=000000/FFFFC8 b=000000/FFFFFF\n{a}   {b} 日付|\n"), ScreenText(s));
}

TEST(ScreenText, MismatchesShowAReadableDiff) {
    CCRBase s(CRect{0, 0, 40, 20}, 4, 2, 0, 0);
    s.PutText("ab", 0, 1, false);
    EXPECT_TRUE(test::ScreenMatches(s, kPlain + "{a}    |\n{a}ab  |\n"));
    const ::testing::AssertionResult wrong =
        test::ScreenMatches(s, kPlain + "{a}    |\n{a}ax  |\n");
    ASSERT_FALSE(wrong);
    const std::string message = wrong.message();
    EXPECT_NE(std::string::npos, message.find("  {a}    |\n- {a}ax  |\n+ {a}ab  |\n")) << message;

    EXPECT_EQ("  x\n- y\n+ z\n+ extra\n", test::ScreenDiff("x\ny\n", "x\nz\nextra\n"));
    EXPECT_EQ("  x\n- gone\n", test::ScreenDiff("x\ngone", "x"));
}

TEST(ScreenText, GoldenFilesAreComparedAndCanBeRewritten) {
    test::TempFolder folder;
    const std::string path = folder.Path() + "/screen.txt";
    CCRBase s(CRect{0, 0, 40, 20}, 4, 1, 0, 0);
    s.PutText("予定", 0, 0, false);
    EXPECT_FALSE(test::ScreenMatchesFile(s, path)) << "no golden file yet";

    setenv("TOKEIYA_UPDATE_GOLDEN", "1", 1);
    EXPECT_TRUE(test::ScreenMatchesFile(s, path));
    unsetenv("TOKEIYA_UPDATE_GOLDEN");
    std::ifstream in(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(U(kPlain + "{a}予定|\n"), written);

    EXPECT_TRUE(test::ScreenMatchesFile(s, path));
    s.PutText("X", 3, 0, false);
    EXPECT_FALSE(test::ScreenMatchesFile(s, path));
}

}  // namespace
}  // namespace tokeiya
