#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Cp932.hpp"
#include "tests/support/ScreenText.hpp"
#include "tests/ui/FormDesk.hpp"
#include "widgets/CCRWSelecter.hpp"
#include "widgets/CCRWSpaceSelecter.hpp"

namespace tokeiya {
namespace {

using namespace win;
using test::FormDesk;
using Button = headless::HeadlessHostWindow::Button;
using Strings = std::vector<std::string>;

// Row 3 of the form from column 10, 8 cells.
const test::ScreenTextOptions kField{CRect{10, 3, 18, 4}};

// The cells in `options` against golden text written in the source's CP932.
::testing::AssertionResult Shows(const CCRBase& surface, std::string_view expected,
                                 const test::ScreenTextOptions& options) {
    return test::ScreenMatches(surface, cp932::ToUtf8(expected), options);
}

bool SameCells(const std::vector<CCRCell>& a, const std::vector<CCRCell>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::string_view(reinterpret_cast<const char*>(a[i].bytes), 4) !=
                std::string_view(reinterpret_cast<const char*>(b[i].bytes), 4) ||
            a[i].textColor != b[i].textColor || a[i].backColor != b[i].backColor ||
            a[i].markColor != b[i].markColor) {
            return false;
        }
    }
    return true;
}

// A field in colours of its own, with a double-byte character and a marked cell, so that
// a restore that rebuilt the cells instead of copying them back would show.
void PaintField(CCRWin& form) {
    form.PutTextAndBack("出勤 ab", 10, 3, RGB(255, 0, 0), RGB(255, 255, 0), false);
    form.SetMarkColor(RGB(0, 128, 0), 15, 3, 1, 1, false);
}

TEST(HighlightSelecter, TheCellsUnderItComeBackExactlyOnEveryWayOut) {
    struct Case {
        const char* what;
        int key;  // 0: the form closes the editor
        bool spaceEnds;
        Strings exits;
    };
    const Case cases[] = {
        {"Enter", VK_RETURN, false, {"13/0"}},
        {"Tab, from the default table", VK_TAB, false, {"9/0"}},
        {"Shift+Up", VK_UP, false, {"38/1"}},
        {"Space when the item asks for it", VK_SPACE, true, {"32/0"}},
        {"closed by the form", 0, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FormDesk desk;
        PaintField(*desk.form);
        const std::vector<CCRCell> before = desk.form->CopyCells(10, 3, 8);
        auto& selecter = desk.form->OpenEditor<CCRWSelecter>(c.spaceEnds);
        selecter.Highlight(desk.form, 10, 3, 6);
        EXPECT_TRUE(selecter.Highlighted());
        EXPECT_TRUE(Shows(*desk.form,
                          "colours: a=000000/C8E6FA b=FF0000/FFFF00 c=000000/FFFFFF\n"
                          "{a}出勤 a{b}b{c} |\n",
                          kField))
            << "text kept, six cells in the editor colours, the mark on a covered";

        if (c.key != 0) {
            desk.window.Press(c.key, c.key == VK_UP ? kShift : 0);
        } else {
            desk.form->CloseEditor();
        }
        EXPECT_EQ(c.exits, desk.form->exits);
        EXPECT_TRUE(SameCells(before, desk.form->CopyCells(10, 3, 8)));
        EXPECT_TRUE(Shows(*desk.form,
                          "colours: a=FF0000/FFFF00 b=FF0000/008000 c=000000/FFFFFF\n"
                          "{a}出勤 {b}a{a}b{c} |\n",
                          kField));
    }
}

TEST(HighlightSelecter, KeysThatAreNotExitKeysStayWithTheFormAndChangeNothing) {
    FormDesk desk;
    PaintField(*desk.form);
    auto& selecter = desk.form->OpenEditor<CCRWSelecter>(false);
    selecter.Highlight(desk.form, 10, 3, 6);
    desk.window.Press(VK_HOME);
    desk.window.Press(VK_SPACE);
    desk.window.Type("x");
    EXPECT_TRUE(desk.form->exits.empty());
    EXPECT_TRUE(selecter.Highlighted());
}

// A selecter cycling a field of 2 cells at column 20 of row 5.
const test::ScreenTextOptions kChoice{CRect{20, 5, 22, 6}};
const char kSelected[] = "colours: a=000000/8080FF\n";

TEST(SpaceSelecter, SpaceAndClicksCycleThroughTheEntriesAndWrapAround) {
    FormDesk desk;
    auto& selecter = desk.form->OpenEditor<CCRWS_TimeOption>(desk.form, 20, 5);
    ASSERT_EQ((Strings{"  ", "前", "翌"}), selecter.Entries());
    selecter.SelectIndex(2, true);
    EXPECT_TRUE(Shows(*desk.form, std::string(kSelected) + "{a}翌|\n", kChoice));

    desk.window.Press(VK_SPACE);
    EXPECT_EQ(0, selecter.Current()) << "after the last entry comes the first";
    EXPECT_TRUE(Shows(*desk.form, std::string(kSelected) + "{a}  |\n", kChoice))
        << "the blank entry leaves nothing of the one before";

    desk.window.Click(Button::Left, FormDesk::X(21), FormDesk::Y(5));
    EXPECT_EQ(1, selecter.Current()) << "a click on the field cycles as Space does";
    EXPECT_TRUE(Shows(*desk.form, std::string(kSelected) + "{a}前|\n", kChoice));
    desk.window.Click(Button::Left, FormDesk::X(22), FormDesk::Y(5));
    desk.window.Click(Button::Left, FormDesk::X(20), FormDesk::Y(6));
    EXPECT_EQ(1, selecter.Current()) << "clicks beside the field do nothing";

    desk.window.Type("a");
    EXPECT_EQ(1, selecter.Current()) << "only Space cycles";
    EXPECT_TRUE(desk.form->exits.empty());
}

TEST(SpaceSelecter, SelectingOutsideTheListChangesNothing) {
    FormDesk desk;
    auto& selecter = desk.form->OpenEditor<CCRWS_TimeOption>(desk.form, 20, 5);
    selecter.SelectIndex(1, true);
    selecter.SelectIndex(5, true);
    selecter.SelectIndex(-1, true);
    EXPECT_EQ(1, selecter.Current());
    EXPECT_TRUE(Shows(*desk.form, std::string(kSelected) + "{a}前|\n", kChoice));

    auto& maru = desk.form->OpenEditor<CCRWS_MaruNull>(desk.form, 20, 5);
    maru.SelectText("○", true);
    EXPECT_EQ(1, maru.Current());
    maru.SelectText("×", true);
    EXPECT_EQ(1, maru.Current()) << "a text not in the list keeps the entry";

    // With equal entries the last one stays selected.
    auto& twice = desk.form->OpenEditor<CCRWSpaceSelecter>(desk.form, 20, 5, 2);
    for (const char* entry : {"A", "B", "A"}) {
        twice.AddEntry(entry);
    }
    twice.SelectText("A", true);
    EXPECT_EQ(2, twice.Current());

    auto& empty = desk.form->OpenEditor<CCRWSpaceSelecter>(desk.form, 20, 5, 2);
    empty.SelectIndex(0, true);
    desk.window.Press(VK_SPACE);
    EXPECT_EQ(0, empty.Current());
    EXPECT_EQ("", empty.CurrentText());
}

TEST(SpaceSelecter, ArrowsEnterAndEscapeLeaveWithoutChangingTheEntry) {
    struct Case {
        int key;
        int modifiers;
        std::string exit;
    };
    const Case cases[] = {
        {VK_LEFT, 0, "37/0"},    {VK_UP, 0, "38/0"},     {VK_RIGHT, kCtrl, "39/2"},
        {VK_DOWN, 0, "40/0"},    {VK_RETURN, 0, "13/0"}, {VK_ESCAPE, 0, "27/0"},
        {VK_TAB, kShift, "9/1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exit);
        FormDesk desk;
        auto& selecter = desk.form->OpenEditor<CCRWS_MaruNull>(desk.form, 20, 5);
        selecter.SelectIndex(1, true);
        desk.window.Press(c.key, c.modifiers);
        EXPECT_EQ(Strings{c.exit}, desk.form->exits);
        EXPECT_EQ(1, selecter.Current());
    }
}

TEST(SpaceSelecter, ClosingGivesTheFieldTheFormsColoursAndKeepsTheLastEntry) {
    FormDesk desk;
    auto& selecter = desk.form->OpenEditor<CCRWS_MaruNull>(desk.form, 20, 5);
    selecter.SelectIndex(1, true);
    desk.form->CloseEditor();
    EXPECT_TRUE(Shows(*desk.form, "colours: a=000000/FFFFFF\n{a}○|\n", kChoice));
}

}  // namespace
}  // namespace tokeiya
