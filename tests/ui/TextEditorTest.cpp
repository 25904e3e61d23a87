#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ScreenText.hpp"
#include "tests/ui/EditorDesk.hpp"
#include "widgets/CCRWTString.hpp"

namespace tokeiya {
namespace {

using namespace win;
using test::EditorDesk;
using test::EditorRect;
using Button = headless::HeadlessHostWindow::Button;
using Strings = std::vector<std::string>;

// A one-row editor of `width` columns, started empty with the input method off.
struct StringDesk : EditorDesk<CCRWTString> {
    explicit StringDesk(int width, const std::string& text = "", int caret = 0)
        : EditorDesk<CCRWTString>(EditorRect(width), width, 0) {
        editor->Start(text, caret, false, 0);
    }
};

// A multi-row editor, which only the base class offers.
struct MultiRowDesk : EditorDesk<CCRWTBase> {
    MultiRowDesk(int cols, int rows)
        : EditorDesk<CCRWTBase>(EditorRect(cols, rows), cols, rows, 0) {
        editor->Show(true, true);
    }
};

TEST(TextEditor, TypingFillsTheRowAndADoubleByteCharacterNeverSplitsAtTheEnd) {
    StringDesk desk(5);
    desk.window.Type("abあ");
    EXPECT_EQ("abあ", desk.editor->Text());
    EXPECT_EQ(4, desk.editor->CaretCol());
    EXPECT_TRUE(desk.editor->CellAt(2, 0)->IsDoubleByte());
    EXPECT_TRUE(desk.editor->CellAt(3, 0)->IsContinuation());

    // One column is left: a double-byte character does not fit and changes nothing.
    desk.window.Type("い");
    EXPECT_EQ("abあ", desk.editor->Text());
    EXPECT_EQ(4, desk.editor->CaretCol());
    EXPECT_TRUE(desk.editor->CellAt(4, 0)->IsEmpty());

    desk.window.Type("cd");
    EXPECT_EQ("abあc", desk.editor->Text()) << "the row is full";
    EXPECT_EQ(5, desk.editor->CaretCol()) << "after the last column";
    EXPECT_EQ((CPoint{150, 100}), desk.window.m_caret.position);
}

TEST(TextEditor, ArrowsThatCannotMoveInOneRowLeaveAsExitKeys) {
    struct Case {
        const char* what;
        int caret;
        int key;
        int modifiers;
        Strings exits;
        int caretAfter;
    };
    const Case cases[] = {
        {"Left at the start", 0, VK_LEFT, 0, {"37/0"}, 0},
        {"Right at the end", 2, VK_RIGHT, 0, {"39/0"}, 2},
        {"Right inside the text moves", 0, VK_RIGHT, 0, {}, 1},
        {"Ctrl+Right always leaves", 0, VK_RIGHT, kCtrl, {"39/2"}, 0},
        {"Up in one row leaves", 1, VK_UP, 0, {"38/0"}, 1},
        {"Enter leaves", 1, VK_RETURN, 0, {"13/0"}, 1},
        {"Escape leaves", 1, VK_ESCAPE, 0, {"27/0"}, 1},
        {"Tab is the form's", 1, VK_TAB, 0, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StringDesk desk(8, "ab", c.caret);
        desk.window.Press(c.key, c.modifiers);
        EXPECT_EQ(c.exits, desk.editor->exits);
        if (!c.exits.empty()) {
            EXPECT_FALSE(desk.editor->shownAtExit) << "the editor hides before its key arrives";
            EXPECT_FALSE(desk.window.m_caret.Visible());
        }
        EXPECT_EQ(c.caretAfter, desk.editor->CaretCol());
        EXPECT_EQ("ab", desk.editor->Text()) << "no character from a handled key";
    }
}

// The item may ask for Space as an exit key (a field that cycles its choices): the editor
// posts it itself, hidden first, and types no space.
TEST(TextEditor, SpaceLeavesWhenTheItemAsksForIt) {
    StringDesk desk(8, "ab", 2);
    desk.editor->AddExitKey(VK_SPACE, -1);
    desk.window.Press(VK_SPACE);
    EXPECT_EQ(Strings{"32/0"}, desk.editor->exits);
    EXPECT_FALSE(desk.editor->shownAtExit);
    EXPECT_EQ("ab", desk.editor->Text());
}

TEST(TextEditor, APasswordEditorTakesPrintableAsciiOnlyAndShowsStars) {
    StringDesk desk(10);
    desk.editor->SetAsciiOnly(true);
    desk.editor->SetMaskText(true);
    desk.window.Type("a b");
    desk.window.Type("あｱ");
    desk.window.Type("c~");
    EXPECT_EQ("abc~", desk.editor->Text());
    EXPECT_NE(std::string::npos, test::ScreenText(*desk.editor).find("****      |"));
}

TEST(TextEditor, ACharacterThatDoesNotFitLeavesTheSelectionAsItWas) {
    StringDesk desk(4, "abcd", 99);
    desk.window.Press(VK_LEFT, kShift);
    ASSERT_EQ("d", desk.editor->SelectedText());
    desk.window.Type("あ");
    EXPECT_EQ("abcd", desk.editor->Text());
    EXPECT_EQ("d", desk.editor->SelectedText());
    desk.window.Type("e");
    EXPECT_EQ("abce", desk.editor->Text());
}

TEST(TextEditor, ALeadByteWithoutItsTrailByteInsertsNothingOfIt) {
    StringDesk desk(6);
    desk.window.PostMessage(WM_CHAR, 0x82, 0);  // a lead byte
    desk.window.PostMessage(WM_CHAR, '1', 0);   // not a trail byte
    desk.window.Pump();
    EXPECT_EQ("1", desk.editor->Text());
    EXPECT_TRUE(desk.editor->CharactersWhole());
}

TEST(TextEditor, BackspaceAndDeleteRemoveWholeCharacters) {
    StringDesk desk(8, "aあb", 3);
    ASSERT_EQ(3, desk.editor->CaretCol());
    desk.window.Press(VK_BACK);
    EXPECT_EQ("ab", desk.editor->Text());
    EXPECT_EQ(1, desk.editor->CaretCol());
    desk.window.Press(VK_DELETE);
    EXPECT_EQ("a", desk.editor->Text());
    EXPECT_TRUE(desk.editor->CharactersWhole());
}

TEST(TextEditor, ShiftArrowsSelectWholeCharactersAndTheClipboardRoundTrips) {
    StringDesk desk(10, "aあいb", 99);
    ASSERT_EQ(6, desk.editor->CaretCol());
    desk.window.Press(VK_LEFT, kShift);
    desk.window.Press(VK_LEFT, kShift);
    EXPECT_EQ("いb", desk.editor->SelectedText());
    EXPECT_EQ(3, desk.editor->CaretCol()) << "over both cells of い";
    const SelectionColors colors = SelectionColors::Global();
    for (int col = 0; col < 6; ++col) {
        const bool selected = col >= 3;
        EXPECT_EQ(selected ? colors.back : desk.editor->DefaultBackColor(),
                  desk.editor->CellAt(col, 0)->backColor)
            << col;
    }

    desk.editor->EditCopy();
    EXPECT_EQ("いb", desk.window.m_clipboard);
    desk.window.Press(VK_END);
    EXPECT_FALSE(desk.editor->HasSelection());
    desk.editor->EditPaste();
    EXPECT_EQ("aあいbいb", desk.editor->Text());

    // Typing replaces a selection; cutting takes it away.
    desk.window.Press(VK_HOME);
    desk.window.Press(VK_RIGHT, kShift);
    desk.window.Press(VK_RIGHT, kShift);
    desk.window.Type("x");
    EXPECT_EQ("xいbいb", desk.editor->Text());
    desk.window.Press(VK_LEFT, kShift);
    desk.editor->EditCut();
    EXPECT_EQ("いbいb", desk.editor->Text());
    EXPECT_EQ("x", desk.window.m_clipboard);
}

TEST(TextEditor, PasteDropsTabsAndCarriageReturnsAndStopsWhereTextNoLongerFits) {
    MultiRowDesk desk(4, 3);
    desk.window.SetClipboardText("ab\tc\r\nd\fefghijklmnop");
    desk.editor->EditPaste();
    EXPECT_EQ("abc\nd\nefgh", desk.editor->Text()) << "three rows hold no more";
    EXPECT_TRUE(desk.editor->RowBreak(0));
    EXPECT_TRUE(desk.editor->RowBreak(1));
    EXPECT_FALSE(desk.editor->RowBreak(2));

    StringDesk one(6);
    one.window.SetClipboardText("ab\ncd");
    one.editor->EditPaste();
    EXPECT_EQ("ab", one.editor->Text()) << "a one-row editor takes no line break";
}

TEST(TextEditor, PasteDropsEveryControlCharacterThatTypingCannotEnter) {
    const struct {
        const char* clipboard;
        bool asciiOnly;
        const char* pasted;
    } cases[] = {
        {"a\x7F"
         "b\x1B"
         "c\x01"
         "d",
         false, "abcd"},
        {"\x7F"
         "名前\x7F",
         false, "名前"},
        {"pw d\x7F"
         "1",
         true, "pwd1"},
        {"pwあ~!", true, "pw~!"},
    };
    for (const auto& c : cases) {
        StringDesk desk(10);
        desk.editor->SetAsciiOnly(c.asciiOnly);
        desk.window.SetClipboardText(c.clipboard);
        desk.editor->EditPaste();
        EXPECT_EQ(c.pasted, desk.editor->Text()) << c.clipboard;
    }
}

TEST(TextEditor, AMaskedEditorNeverCopiesOrCutsItsText) {
    StringDesk desk(10, "secret");
    desk.editor->SetMaskText(true);
    desk.editor->SelectAll();
    desk.window.SetClipboardText("before");
    EXPECT_FALSE(desk.editor->CanCopy());
    desk.editor->EditCopy();
    desk.editor->EditCut();
    EXPECT_EQ("before", desk.window.m_clipboard);
    EXPECT_EQ("secret", desk.editor->Text()) << "a refused cut deletes nothing";
    EXPECT_TRUE(desk.editor->HasSelection());

    desk.editor->SetMaskText(false);
    EXPECT_TRUE(desk.editor->CanCopy());
    desk.editor->EditCopy();
    EXPECT_EQ("secret", desk.window.m_clipboard);
}

TEST(TextEditor, TheCaretCrossesSoftWrapsAsOneTextPosition) {
    MultiRowDesk desk(4, 3);
    desk.window.Type("abcdef");
    EXPECT_EQ("abcdef", desk.editor->Text());
    EXPECT_FALSE(desk.editor->RowBreak(0));
    EXPECT_EQ((CPoint{2, 1}), (CPoint{desk.editor->CaretCol(), desk.editor->CaretRow()}));
    auto caret = [&] { return CPoint{desk.editor->CaretCol(), desk.editor->CaretRow()}; };

    desk.window.Press(VK_LEFT);
    desk.window.Press(VK_LEFT);
    EXPECT_EQ((CPoint{0, 1}), caret());
    desk.window.Press(VK_LEFT);
    EXPECT_EQ((CPoint{3, 0}), caret()) << "one character before the end of the soft row";
    desk.window.Press(VK_RIGHT);
    EXPECT_EQ((CPoint{0, 1}), caret()) << "the width of a soft row continues on the next";
    desk.window.Press(VK_RIGHT);
    desk.window.Press(VK_UP);
    EXPECT_EQ((CPoint{1, 0}), caret());
    desk.window.Press(VK_END);
    desk.window.Press(VK_DOWN);
    EXPECT_EQ((CPoint{2, 1}), caret()) << "clamped to the text of the row below";
    EXPECT_TRUE(desk.editor->exits.empty()) << "a multi-row editor posts no arrows";

    // Enter breaks the line at the caret; the rows below follow.
    desk.window.Press(VK_LEFT);
    desk.window.Press(VK_RETURN);
    EXPECT_EQ("abcde\nf", desk.editor->Text());
    EXPECT_EQ((CPoint{0, 2}), caret());
    desk.window.Press(VK_LEFT);
    EXPECT_EQ((CPoint{1, 1}), caret()) << "to the end of a row that ends with a break";
}

TEST(TextEditor, ADoubleByteCharacterThatCrossesTheWidthStartsTheNextRow) {
    MultiRowDesk desk(4, 2);
    desk.window.Type("abcあ");
    EXPECT_EQ("abcあ", desk.editor->Text());
    EXPECT_TRUE(desk.editor->CellAt(3, 0)->IsEmpty());
    EXPECT_TRUE(desk.editor->CellAt(0, 1)->IsDoubleByte());
    EXPECT_EQ(2, desk.editor->CaretCol());
    desk.window.Press(VK_LEFT);
    desk.window.Press(VK_LEFT);
    EXPECT_EQ(2, desk.editor->CaretCol());
    EXPECT_EQ(0, desk.editor->CaretRow());
}

TEST(TextEditor, TheMousePlacesTheCaretSelectsByDraggingAndByDoubleClick) {
    StringDesk desk(10, "abcあd");
    desk.window.Click(Button::Left, StringDesk::X(1, 3), StringDesk::Y(0));
    EXPECT_EQ(2, desk.editor->CaretCol()) << "the right half of b puts the caret after it";
    desk.window.Click(Button::Left, StringDesk::X(3, 1), StringDesk::Y(0));
    EXPECT_EQ(3, desk.editor->CaretCol()) << "never inside あ";
    desk.window.Click(Button::Left, StringDesk::X(9), StringDesk::Y(0));
    EXPECT_EQ(6, desk.editor->CaretCol()) << "right of the text: at its end";

    desk.window.MouseDown(Button::Left, StringDesk::X(0, 1), StringDesk::Y(0));
    desk.window.MouseMove(StringDesk::X(4, 3), StringDesk::Y(0));
    desk.window.MouseUp(Button::Left, StringDesk::X(4, 3), StringDesk::Y(0));
    EXPECT_EQ("abcあ", desk.editor->SelectedText());

    desk.window.DoubleClick(Button::Left, StringDesk::X(1), StringDesk::Y(0));
    EXPECT_EQ("abcあd", desk.editor->SelectedText());
}

TEST(TextEditor, TheInputMethodModeIsAppliedWhileShownAndClosedWhenHidden) {
    StringDesk desk(10);
    ASSERT_FALSE(desk.editor->Fonts().empty());
    EXPECT_DOUBLE_EQ(0.9, desk.editor->Fonts()[0].scale) << "editor fonts are drawn larger";
    const std::string face = desk.editor->Fonts()[0].logFont.faceName;
    headless::HeadlessInputContext& ime = desk.window.m_inputContext;
    ime.m_conversion = IME_CMODE_ROMAN;

    struct Case {
        int mode;
        bool open;
        int conversion;
        int sentence;
    };
    const Case cases[] = {
        {1, true, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN, 0x10},
        {2, true, IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_ROMAN, 0},
        {3, true, IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN, 0},
        {4, true, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        desk.editor->SetImeMode(c.mode);
        EXPECT_EQ(c.open, ime.m_open);
        EXPECT_EQ(c.conversion, ime.m_conversion);
        EXPECT_EQ(c.sentence, ime.m_sentence);
        EXPECT_EQ(face, ime.m_font.faceName);
        EXPECT_EQ(desk.window.m_caret.position, ime.m_compositionPoint);
    }
    desk.editor->SetImeMode(0);
    EXPECT_FALSE(ime.m_open);

    desk.editor->SetImeMode(1);
    ASSERT_TRUE(ime.m_open);
    desk.editor->Show(false, true);
    EXPECT_FALSE(ime.m_open) << "a hidden editor closes the input method";
    desk.editor->Show(true, true);
    EXPECT_TRUE(ime.m_open) << "and opens it again when shown";

    ime.m_composition = "しゅっきん";
    EXPECT_TRUE(desk.editor->IsComposing());
    ime.m_composition.clear();
    EXPECT_FALSE(desk.editor->IsComposing());
}

TEST(TextEditor, ARightAlignedEditorEntersFromTheRight) {
    EditorDesk<CCRWTString> desk(EditorRect(5), 5, 1);
    desk.editor->Start("", 5, false, 0);
    desk.window.Type("12");
    EXPECT_TRUE(test::ScreenMatches(*desk.editor, "colours: a=000000/FFFFFF\n{a}   12|\n"));
    EXPECT_EQ(5, desk.editor->CaretCol());
    desk.window.Press(VK_BACK);
    EXPECT_EQ("1", desk.editor->Text());
    EXPECT_EQ(5, desk.editor->CaretCol()) << "the caret stays after the text";
    desk.window.Type("23456");
    EXPECT_EQ("12345", desk.editor->Text()) << "a full row takes no more";
}

}  // namespace
}  // namespace tokeiya
