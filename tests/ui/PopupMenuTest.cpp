#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Cp932.hpp"
#include "tests/support/ScreenText.hpp"
#include "tests/ui/FormDesk.hpp"
#include "widgets/CCRWMCodeName.hpp"

namespace tokeiya {
namespace {

using namespace win;
using test::FormDesk;
using Button = headless::HeadlessHostWindow::Button;
using Strings = std::vector<std::string>;

constexpr int kEdge = 2;

// A code list at pixel (200, 40) of the form, its cells 10 x 20 pixels inside a frame of
// kEdge pixels: cell (c, r) of the list starts at (202 + 10c, 42 + 20r).
CRect MenuRect(int codeDigits, int nameWidth, int rows) {
    const int cols = CCRWMNumber::ColumnsFor(codeDigits, nameWidth, true);
    return CRect{200, 40, 200 + 10 * cols + 2 * kEdge, 40 + 20 * rows + 2 * kEdge};
}
int MenuX(int col) {
    return 202 + 10 * col + 5;
}
int MenuY(int row) {
    return 42 + 20 * row + 10;
}

// A desk with a field at (10, 3) of the form, 4 cells, and its code list open over it:
// codes first, first + step, ... with names "名前<n>".
struct MenuDesk : FormDesk {
    CCRWMCodeName* menu = nullptr;

    MenuDesk(int entries, int rows, int codeDigits = 2, int first = 1, int step = 1) {
        form->PutText("ABCD", 10, 3, false);
        menu = &form->OpenEditor<CCRWMCodeName>(MenuRect(codeDigits, 4, rows), kEdge, rows,
                                                codeDigits, 4);
        for (int i = 0; i < entries; ++i) {
            menu->AddEntry(first + i * step, "n" + std::to_string(i));
        }
        menu->Highlight(form, 10, 3, 4);
    }

    std::string Where() const {
        return "top " + std::to_string(menu->Top()) + " cursor " + std::to_string(menu->Cursor()) +
               " code " + std::to_string(menu->GetCurrentCode()) + " bar " +
               std::to_string(menu->Bar()->Position());
    }
};

::testing::AssertionResult Shows(const CCRBase& surface, std::string_view cp932) {
    return test::ScreenMatches(surface, cp932::ToUtf8(cp932));
}

TEST(PopupMenu, TheCursorMovesInsideTheListAndScrollsAtItsEdges) {
    struct Step {
        const char* what;
        int key;  // 0: SelectEntry(code)
        int code;
        std::string where;
    };
    const Step steps[] = {
        {"opened on code 4", 0, 4, "top 0 cursor 3 code 4 bar 3"},
        {"a page down stops at the last entry", VK_NEXT, 0, "top 2 cursor 9 code 12 bar 11"},
        {"Down at the last entry", VK_DOWN, 0, "top 2 cursor 9 code 12 bar 11"},
        {"a page up", VK_PRIOR, 0, "top 0 cursor 1 code 2 bar 1"},
        {"Up", VK_UP, 0, "top 0 cursor 0 code 1 bar 0"},
        {"Up at the first entry", VK_UP, 0, "top 0 cursor 0 code 1 bar 0"},
        {"the last entry, scrolled into view", 0, 12, "top 2 cursor 9 code 12 bar 11"},
        {"a visible entry moves only the cursor", 0, 5, "top 2 cursor 2 code 5 bar 4"},
        {"Up on the first visible row scrolls", VK_UP, 0, "top 2 cursor 1 code 4 bar 3"},
        {"", VK_UP, 0, "top 2 cursor 0 code 3 bar 2"},
        {"", VK_UP, 0, "top 1 cursor 0 code 2 bar 1"},
        {"a code not in the list selects the first entry", 0, 99, "top 0 cursor 0 code 1 bar 0"},
    };
    MenuDesk desk(12, 10);
    desk.menu->Open(4, false);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.key == 0) {
            desk.menu->SelectEntry(step.code, true);
        } else {
            desk.window.Press(step.key);
        }
        EXPECT_EQ(step.where, desk.Where());
    }
    EXPECT_TRUE(desk.form->exits.empty()) << "none of these keys leaves the list";
    EXPECT_TRUE(desk.menu->Shown());
}

TEST(PopupMenu, RowsShowCodeAndNameWithTheCursorBar) {
    // One code digit and names four wide: 8 columns and 2 for the scroll bar.
    FormDesk desk;
    auto& menu = desk.form->OpenEditor<CCRWMCodeName>(MenuRect(1, 4, 3), kEdge, 3, 1, 4);
    EXPECT_EQ(10, menu.Cols());
    menu.AddEntry(1, "早出");
    menu.AddEntry(2, "a");
    menu.Open(2, false);
    EXPECT_TRUE(Shows(menu,
                      "colours: a=000000/C8FFC8 b=FFFFFF/1E7864\n"
                      "{a} 1 早出   |\n"
                      "{b} 2 a    {a}  |\n"
                      "{a}          |\n"))
        << "the row after the last entry is blank";
    EXPECT_TRUE(menu.Bar()->Enabled());
    EXPECT_EQ(std::optional<std::string>("a"), menu.GetCurrentText());

    auto& one = desk.form->OpenEditor<CCRWMCodeName>(MenuRect(1, 4, 3), kEdge, 3, 1, 4);
    one.AddEntry(5, "x");
    one.Open(5, false);
    EXPECT_FALSE(one.Bar()->Enabled()) << "one entry has nothing to scroll";

    auto& none = desk.form->OpenEditor<CCRWMCodeName>(MenuRect(1, 4, 3), kEdge, 3, 1, 4);
    none.Open(0, false);
    EXPECT_TRUE(none.Shown());
    EXPECT_TRUE(Shows(none,
                      "colours: a=000000/C8FFC8\n"
                      "{a}          |\n"
                      "{a}          |\n"
                      "{a}          |\n"));
    EXPECT_FALSE(none.Bar()->Enabled());
}

TEST(PopupMenu, AnEmptyListTakesNoResultAndCanCloseAtOnce) {
    MenuDesk desk(0, 5);
    desk.menu->Open(3, true);
    desk.window.Pump();
    EXPECT_FALSE(desk.menu->Shown());
    EXPECT_EQ(1, desk.view.popupsClosed) << "the host hears that the menu closed";

    desk.menu->Open(3, false);
    EXPECT_TRUE(desk.menu->Shown());
    for (int key : {VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR}) {
        desk.window.Press(key);
    }
    desk.window.Type("03");
    EXPECT_EQ(-1, desk.menu->GetCurrentIndex());
    EXPECT_EQ(-1, desk.menu->GetCurrentCode());
    EXPECT_FALSE(desk.menu->GetCurrentText().has_value());
    EXPECT_TRUE(desk.form->exits.empty());
    EXPECT_EQ(1, desk.view.popupsClosed);
}

TEST(PopupMenu, TypedDigitsJumpToTheirCode) {
    MenuDesk desk(12, 10, 2, 1, 1);
    desk.menu->Open(1, false);
    struct Step {
        const char* typed;
        int code;
        const char* typedSoFar;
    };
    const Step steps[] = {
        {"0", 1, "0"},    {"7", 7, ""},   // two digits make a code
        {"99", 7, ""},                    // not in the list: forgotten, the cursor stays
        {"1", 7, "1"},    {"2", 12, ""},  // scrolled into view
        {"x", 12, ""},                    // not a digit
        {"あ0", 12, "0"}, {"5", 5, ""},   // a double-byte character is skipped whole
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.typed);
        desk.window.Type(step.typed);
        EXPECT_EQ(step.code, desk.menu->GetCurrentCode());
        EXPECT_EQ(step.typedSoFar, desk.menu->TypedSoFar());
    }
    desk.window.Type("1");
    desk.window.Press(VK_DOWN);
    EXPECT_EQ("", desk.menu->TypedSoFar()) << "a cursor key starts the typing anew";
    EXPECT_EQ(6, desk.menu->GetCurrentCode());
    EXPECT_TRUE(desk.menu->Shown()) << "typing never closes the list";
}

TEST(PopupMenu, AClickOnTheCursorRowConfirmsAndOnAnotherRowMovesTheCursor) {
    MenuDesk desk(4, 6);
    desk.menu->Open(1, false);
    desk.window.Click(Button::Left, MenuX(3), MenuY(2));
    EXPECT_EQ(3, desk.menu->GetCurrentCode());
    EXPECT_TRUE(desk.menu->Shown());
    desk.window.Click(Button::Left, MenuX(3), MenuY(5));
    EXPECT_EQ(3, desk.menu->GetCurrentCode()) << "a row beyond the last entry";
    EXPECT_TRUE(desk.form->exits.empty());

    desk.window.Click(Button::Left, MenuX(1), MenuY(2));
    EXPECT_EQ(Strings{"13/0"}, desk.form->exits);
    EXPECT_FALSE(desk.menu->Shown());
    EXPECT_FALSE(desk.menu->Highlighted());
    EXPECT_EQ(3, desk.menu->GetCurrentCode()) << "the result waits for the form";

    // Until the form closes it, a list that left takes no more clicks.
    desk.window.Click(Button::Left, MenuX(1), MenuY(2));
    desk.window.Click(Button::Left, MenuX(1), MenuY(0));
    EXPECT_EQ(Strings{"13/0"}, desk.form->exits);
    EXPECT_EQ(3, desk.menu->GetCurrentCode());
}

TEST(PopupMenu, ADoubleClickConfirmsOnceWithTheModifiersHeld) {
    MenuDesk desk(4, 6);
    desk.menu->Open(1, false);
    desk.window.KeyDown(VK_SHIFT);
    desk.window.DoubleClick(Button::Left, MenuX(2), MenuY(3));
    desk.window.KeyUp(VK_SHIFT);
    EXPECT_EQ(4, desk.menu->GetCurrentCode());
    EXPECT_EQ(Strings{"13/1"}, desk.form->exits)
        << "the first release moved the cursor, the double click confirmed it";
}

TEST(PopupMenu, ExitKeysGiveTheFieldBackAndHideTheList) {
    struct Case {
        int key;
        int modifiers;
        std::string exit;
    };
    const Case cases[] = {
        {VK_ESCAPE, 0, "27/0"}, {VK_RETURN, 0, "13/0"}, {VK_DOWN, kCtrl, "40/2"},
        {VK_UP, kCtrl, "38/2"}, {VK_TAB, 0, "9/0"},     {VK_LEFT, 0, "37/0"},
        {VK_END, 0, "35/0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exit);
        MenuDesk desk(4, 6);
        desk.menu->Open(2, false);
        ASSERT_EQ(RGB(200, 230, 250), desk.form->CellAt(10, 3)->backColor);
        desk.window.Press(c.key, c.modifiers);
        EXPECT_EQ(Strings{c.exit}, desk.form->exits);
        EXPECT_FALSE(desk.menu->Shown());
        EXPECT_FALSE(desk.menu->Highlighted());
        EXPECT_EQ(RGB(255, 255, 255), desk.form->CellAt(10, 3)->backColor);
        EXPECT_EQ(2, desk.menu->GetCurrentCode());
    }
}

TEST(PopupMenu, TheScrollBarAndTheWheelMoveThroughEntriesNotCodes) {
    // Codes 10, 20, ... 120: a thumb position is an entry, never read as a code.
    MenuDesk desk(12, 5, 3, 10, 10);
    desk.menu->Open(10, false);
    const LPARAM serial = desk.menu->Bar()->Serial();
    desk.window.PostMessage(WM_ENGINE_VTHUMB, 6, serial);
    desk.window.Pump();
    EXPECT_EQ("top 6 cursor 0 code 70 bar 6", desk.Where());
    desk.window.PostMessage(WM_ENGINE_VSCROLL, 1, serial);  // line down
    desk.window.PostMessage(WM_ENGINE_VSCROLL, 3, serial);  // page down
    desk.window.Pump();
    EXPECT_EQ("top 7 cursor 4 code 120 bar 11", desk.Where());
    desk.window.Wheel(120, MenuX(2), MenuY(1));
    EXPECT_EQ("top 7 cursor 3 code 110 bar 10", desk.Where());
    desk.window.Wheel(-120, MenuX(2), MenuY(1));
    EXPECT_EQ("top 7 cursor 4 code 120 bar 11", desk.Where());
    EXPECT_TRUE(desk.form->exits.empty());

    // A click on the bar's down arrow goes through the host as a line down.
    desk.menu->SelectEntry(10, true);
    const CRect arrow = desk.menu->Bar()->PartRect(CCRWScrollBar::DownArrow);
    desk.window.Click(Button::Left, arrow.left + 2, arrow.top + 2);
    EXPECT_EQ(20, desk.menu->GetCurrentCode());
}

TEST(PopupMenu, FinishGivesTheFieldTheFormsColoursAndTellsTheHost) {
    MenuDesk desk(3, 3);
    desk.menu->Open(1, false);
    desk.menu->Finish();
    desk.window.Pump();
    EXPECT_EQ(1, desk.view.popupsClosed);
    EXPECT_TRUE(test::ScreenMatches(*desk.form, "colours: a=000000/FFFFFF\n{a}ABCD|\n",
                                    test::ScreenTextOptions{CRect{10, 3, 14, 4}}));
}

}  // namespace
}  // namespace tokeiya
