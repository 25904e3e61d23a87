#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ScopedTimeZone.hpp"
#include "tests/support/ScreenText.hpp"
#include "tests/ui/EditorDesk.hpp"
#include "widgets/CCRWTDigit.hpp"
#include "widgets/CCRWTString.hpp"
#include "widgets/CCRWTTime.hpp"

namespace tokeiya {
namespace {

using namespace win;
using test::EditorDesk;
using test::EditorRect;
using test::ScopedTimeZone;

const char kPlain[] = "colours: a=000000/FFFFFF\n";

// A number editor of that shape at the desk's place, not started yet.
struct DigitDesk : EditorDesk<CCRWTDigit> {
    DigitDesk(int digits, int decimals, bool isSigned)
        : EditorDesk<CCRWTDigit>(EditorRect(CCRWTDigit::WidthFor(digits, decimals, isSigned)),
                                 digits, decimals, isSigned) {}
};

struct TimeDesk : EditorDesk<CCRWTTime> {
    explicit TimeDesk(bool withSeconds)
        : EditorDesk<CCRWTTime>(EditorRect(withSeconds ? 8 : 5), withSeconds) {}
};

// Text, caret and selection as one value, to say that a refused key changed none of them.
std::string EditState(const CCRWTBase& editor) {
    return "\"" + editor.Text() + "\" caret " + std::to_string(editor.CaretOffset()) + " col " +
           std::to_string(editor.CaretCol()) + " selection " +
           std::to_string(editor.SelectionStart()) + ".." + std::to_string(editor.SelectionEnd()) +
           (editor.HasSelection() ? "" : " (none)");
}

TEST(NumberEditor, TypedDigitsEnterFromTheRightAndEveryKeyKeepsANumber) {
    DigitDesk desk(3, 2, false);
    CCRWTDigit& editor = *desk.editor;
    EXPECT_EQ(6, editor.Cols()) << "three digits, the point and two decimals";
    EXPECT_EQ(6, editor.CaretCol()) << "the caret waits after the last column";
    editor.Start(0, true);

    desk.window.Type("12.5");
    EXPECT_EQ("12.5", editor.Text()) << "the first key replaced the selected 0.00";
    EXPECT_TRUE(test::ScreenMatches(editor, std::string(kPlain) + "{a}  12.5|\n"));
    EXPECT_EQ(6, editor.CaretCol());
    desk.window.Type("7");
    EXPECT_EQ("12.57", editor.Text());

    struct Case {
        const char* typed;
        const char* why;
    };
    const Case refused[] = {
        {"-", "no sign in an unsigned editor"},
        {".", "a second point"},
        {"1", "a third decimal"},
        {"a", "not a number character"},
        {" ", "nor a blank"},
        {"あ", "a double-byte character without a half-width form"},
        {"ー", "the long vowel mark is no minus"},
    };
    for (const Case& c : refused) {
        const std::string before = EditState(editor);
        desk.window.Type(c.typed);
        EXPECT_EQ(before, EditState(editor)) << c.why;
    }
    EXPECT_TRUE(editor.CharactersWhole());
    EXPECT_DOUBLE_EQ(12.57, editor.GetDouble());
    EXPECT_EQ(12, editor.GetInt64());
}

TEST(NumberEditor, ARefusedDigitLeavesTextCaretAndSelectionAsTheyWere) {
    DigitDesk desk(3, 2, false);
    CCRWTDigit& editor = *desk.editor;
    editor.Start(0, true);
    desk.window.Type("123");
    const std::string full = EditState(editor);
    desk.window.Type("4");
    EXPECT_EQ(full, EditState(editor)) << "a fourth integer digit";

    // "123.45" with the point selected: a digit in its place would make six integer digits.
    editor.Start(123.45, false);
    ASSERT_EQ("123.45", editor.Text());
    desk.window.Press(VK_LEFT);
    desk.window.Press(VK_LEFT);
    desk.window.Press(VK_LEFT, kShift);
    ASSERT_EQ(".", editor.SelectedText());
    const std::string selected = EditState(editor);
    desk.window.Type("6");
    EXPECT_EQ(selected, EditState(editor));
    EXPECT_EQ(".", editor.SelectedText());
    EXPECT_TRUE(
        test::ScreenMatches(editor, "colours: a=000000/FFFFFF b=000000/8080FF\n{a}123{b}.{a}45|\n"))
        << "the selection is painted as before";

    // A digit for a selected digit is fine.
    desk.window.Press(VK_LEFT);
    desk.window.Press(VK_RIGHT, kShift);
    ASSERT_EQ("3", editor.SelectedText());
    desk.window.Type("9");
    EXPECT_EQ("129.45", editor.Text());
    EXPECT_EQ(3, editor.CaretOffset());
}

TEST(NumberEditor, StartShowsTheValueOnlyWhenItFits) {
    struct Case {
        double value;
        bool selectAll;
        const char* text;
    };
    const Case cases[] = {
        {1234.5, false, ""}, {3.14159, false, "3.14"}, {12.5, true, "12.50"},
        {-1, false, ""},     {999.999, false, ""},  // rounds to 1000.00
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        DigitDesk desk(3, 2, false);
        desk.window.m_inputContext.m_open = true;
        desk.editor->Start(c.value, c.selectAll);
        EXPECT_EQ(c.text, desk.editor->Text());
        EXPECT_EQ(6, desk.editor->CaretCol()) << "the caret at the end";
        EXPECT_EQ(c.selectAll && *c.text != '\0', desk.editor->HasSelection());
        EXPECT_EQ(c.value, desk.editor->StartValue());
        EXPECT_TRUE(desk.editor->Shown());
        EXPECT_TRUE(desk.window.m_caret.Visible());
        EXPECT_FALSE(desk.window.m_inputContext.m_open) << "numbers are typed without it";
    }

    DigitDesk desk(3, 2, false);
    desk.editor->Start(3.14159, false);
    EXPECT_TRUE(test::ScreenMatches(*desk.editor, std::string(kPlain) + "{a}  3.14|\n"));

    // Selected on start, the first key replaces the value.
    desk.editor->Start(12.5, true);
    desk.window.Type("7");
    EXPECT_EQ("7", desk.editor->Text());
}

TEST(NumberEditor, FullWidthCharactersAreTypedAsTheirHalfWidthForms) {
    DigitDesk desk(5, 1, true);
    EXPECT_EQ(8, desk.editor->Cols());
    desk.editor->Start(0, true);
    desk.window.Type("－１２３．５");  // as an input method left in full-width mode commits
    EXPECT_EQ("-123.5", desk.editor->Text());
    EXPECT_DOUBLE_EQ(-123.5, desk.editor->GetDouble());
    EXPECT_EQ(-123, desk.editor->GetInt64());
    EXPECT_TRUE(desk.editor->CharactersWhole());
}

TEST(NumberEditor, TheSignGoesOnlyInFront) {
    DigitDesk desk(3, 0, true);
    EXPECT_EQ(4, desk.editor->Cols());
    desk.editor->Start(-5, false);
    EXPECT_EQ("-5", desk.editor->Text());
    desk.window.Type("-");
    EXPECT_EQ("-5", desk.editor->Text()) << "no sign after a digit";
    desk.window.Type("12");
    EXPECT_EQ("-512", desk.editor->Text());
    EXPECT_EQ(-512, desk.editor->GetInt64());

    desk.editor->Start(0, true);
    desk.window.Type("-");
    EXPECT_EQ("-", desk.editor->Text()) << "a sign alone is a number on its way";
    EXPECT_EQ(0, desk.editor->GetInt64());
    EXPECT_EQ(0, desk.editor->GetDouble());
}

TEST(NumberEditor, PasteTakesANumberOfTheEditorsShapeAndShowsItAsStartDoes) {
    struct Case {
        const char* clipboard;
        bool canPaste;
        const char* text;  // after the paste, from "1.00"
    };
    // The shapes a text may have are the rules' tests; these are the paths through paste.
    const Case cases[] = {
        {"7.5", true, "7.50"}, {"12.", true, "12.00"},   {"1234", false, "1.00"},
        {"-", false, "1.00"},  {"7.5\n", false, "1.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard);
        DigitDesk desk(3, 2, false);
        desk.editor->Start(1, false);
        desk.window.SetClipboardText(c.clipboard);
        EXPECT_EQ(c.canPaste, desk.editor->CanPaste());
        desk.editor->EditPaste();
        EXPECT_EQ(c.text, desk.editor->Text());
        EXPECT_EQ(6, desk.editor->CaretCol());
    }

    // A selection is replaced with the rest: the whole content goes.
    DigitDesk desk(3, 2, false);
    desk.editor->Start(123.45, false);
    desk.window.Press(VK_LEFT, kShift);
    desk.window.SetClipboardText("8");
    desk.editor->EditPaste();
    EXPECT_EQ("8.00", desk.editor->Text());
    EXPECT_FALSE(desk.editor->HasSelection());
}

TEST(TimeEditor, TypedPointsBecomeColonsAndTheTextReadsAsATime) {
    ScopedTimeZone zone("Asia/Tokyo");
    TimeDesk desk(false);
    CCRWTTime& editor = *desk.editor;
    EXPECT_EQ(5, editor.Cols());
    editor.Start(CTime(), false);
    EXPECT_EQ("", editor.Text());

    desk.window.Type("9.5");
    EXPECT_EQ("9:5", editor.Text());
    EXPECT_TRUE(test::ScreenMatches(editor, std::string(kPlain) + "{a}9:5  |\n"));
    desk.window.Type("a-/ あ");
    EXPECT_EQ("9:5", editor.Text()) << "only digits and colons";

    CTime unset;
    ASSERT_TRUE(editor.ParseTimeInto(unset));
    EXPECT_EQ("2000-01-01 09:05:00", unset.Format("%Y-%m-%d %H:%M:%S"));

    CTime day(2024, 3, 5, 18, 0, 0);
    ASSERT_TRUE(editor.ParseTimeInto(day));
    EXPECT_EQ("2024-03-05 09:05:00", day.Format("%Y-%m-%d %H:%M:%S")) << "the date stays";

    // Full-width digits and point as an input method in full-width mode commits them.
    editor.Start(CTime(), false);
    desk.window.Type("２３．５９");
    EXPECT_EQ("23:59", editor.Text());
    desk.window.Type("0");
    EXPECT_EQ("23:59", editor.Text()) << "five columns are full";

    editor.Start(CTime(), false);
    desk.window.Type("24:00");
    const CTime before = day;
    EXPECT_FALSE(editor.ParseTimeInto(day));
    EXPECT_EQ(before, day);

    editor.Start(CTime(), false);
    ASSERT_TRUE(editor.ParseTimeInto(day)) << "an empty editor unsets the time";
    EXPECT_EQ(CTime(0), day);
}

TEST(TimeEditor, StartShowsTheTimeOfDayWithTheCaretAtTheStart) {
    ScopedTimeZone zone("Asia/Tokyo");
    const CTime time(2024, 3, 5, 9, 7, 30);
    struct Case {
        bool withSeconds;
        CTime time;
        bool selectAll;
        const char* text;
    };
    const Case cases[] = {
        {false, time, false, "09:07"},
        {true, time, false, "09:07:30"},
        {true, time, true, "09:07:30"},
        {false, CTime(), true, ""},
        {false, CTime(1970, 1, 1, 12, 0, 0), false, ""},  // still unset
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + (c.withSeconds ? " with seconds" : ""));
        TimeDesk desk(c.withSeconds);
        desk.window.m_inputContext.m_open = true;
        desk.editor->Start(c.time, c.selectAll);
        EXPECT_EQ(c.text, desk.editor->Text());
        EXPECT_EQ(0, desk.editor->CaretCol());
        EXPECT_EQ(c.selectAll && *c.text != '\0', desk.editor->HasSelection());
        if (c.selectAll) {
            EXPECT_EQ(c.text, desk.editor->SelectedText());
        }
        EXPECT_TRUE(desk.editor->Shown());
        EXPECT_FALSE(desk.window.m_inputContext.m_open);
    }

    // Seconds: the last four digits typed alone are minutes and seconds.
    TimeDesk desk(true);
    desk.editor->Start(time, true);
    desk.window.Type("123456");
    EXPECT_EQ("123456", desk.editor->Text());
    CTime var = time;
    ASSERT_TRUE(desk.editor->ParseTimeInto(var));
    EXPECT_EQ("2024-03-05 12:34:56", var.Format("%Y-%m-%d %H:%M:%S"));
}

// The exit keys an arrow key posts from a started editor; the text stays as it was.
template <typename Desk>
std::vector<std::string> ExitsOfArrow(Desk& desk, int key) {
    const std::string before = desk.editor->Text();
    desk.window.Press(key);
    EXPECT_EQ(before, desk.editor->Text());
    return desk.editor->exits;
}

// A cell opens with its value selected, to be typed over: Left and Right then leave the
// cell, whichever end the caret stands at. Once the value is edited they move the caret
// again, and leave only from the ends.
TEST(OneRowEditors, LeftAndRightLeaveACellOpenedWithItsValueSelected) {
    ScopedTimeZone zone("Asia/Tokyo");
    const CTime nineOhSeven(2024, 3, 5, 9, 7, 0);
    for (const int key : {VK_LEFT, VK_RIGHT}) {
        SCOPED_TRACE(key == VK_LEFT ? "Left" : "Right");
        const std::vector<std::string> leaves = {std::to_string(key) + "/0"};
        TimeDesk time(false);
        time.editor->Start(nineOhSeven, true);
        EXPECT_EQ(leaves, ExitsOfArrow(time, key)) << "time";
        DigitDesk number(3, 0, false);
        number.editor->Start(45, true);
        EXPECT_EQ(leaves, ExitsOfArrow(number, key)) << "number";
        EditorDesk<CCRWTString> text(EditorRect(8), 8, 0);
        text.editor->Start("ab", 0, true, 0);
        EXPECT_EQ(leaves, ExitsOfArrow(text, key)) << "text";
    }

    TimeDesk desk(false);
    desk.editor->Start(nineOhSeven, true);
    desk.window.Type("1");
    EXPECT_TRUE(ExitsOfArrow(desk, VK_LEFT).empty()) << "typed into: the caret moves";
    EXPECT_EQ(0, desk.editor->CaretCol());
    desk.window.Press(VK_RIGHT, kShift);
    EXPECT_EQ("1", desk.editor->SelectedText()) << "Shift still selects";
}

TEST(TimeEditor, PasteReplacesEverythingWithATimeText) {
    ScopedTimeZone zone("Asia/Tokyo");
    struct Case {
        const char* clipboard;
        bool canPaste;
        const char* text;  // after the paste, from "8:00"
        int caretCol;
    };
    const Case cases[] = {
        {"12.30", true, "12:30", 5},
        {"930", true, "930", 3},
        {"12:300", false, "8:00", 1},
        {"9 30", false, "8:00", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard);
        TimeDesk desk(false);
        desk.editor->Start(CTime(), false);
        desk.window.Type("8:00");
        desk.window.Press(VK_HOME);
        desk.window.Press(VK_RIGHT);
        desk.window.SetClipboardText(c.clipboard);
        EXPECT_EQ(c.canPaste, desk.editor->CanPaste());
        desk.editor->EditPaste();
        EXPECT_EQ(c.text, desk.editor->Text());
        EXPECT_EQ(c.caretCol, desk.editor->CaretCol());
    }

    TimeDesk desk(false);
    desk.editor->Start(CTime(), false);
    desk.window.SetClipboardText("7.45");
    desk.editor->EditPaste();
    CTime var;
    ASSERT_TRUE(desk.editor->ParseTimeInto(var));
    EXPECT_EQ("2000-01-01 07:45:00", var.Format("%Y-%m-%d %H:%M:%S"));
}

}  // namespace
}  // namespace tokeiya
