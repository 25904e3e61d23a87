#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/CCRWin.hpp"
#include "engine/CIME.hpp"
#include "widgets/WidgetColors.hpp"

namespace tokeiya {

// A small text editor drawn on its own cell grid, opened by an input item over its field:
// one byte-character per cell, a double-byte character in two cells (the second holding
// the continuation marker), rows that end softly or with a line break, a caret, a
// selection, the clipboard and the input method. It never writes program variables; the
// item reads its text when the form takes the result.
//
// Positions in the text are byte offsets into Text(), where every row whose break flag is
// set contributes a "\n" (except the last row). The end of a softly ending row and column
// 0 of the next row are the same offset; the caret shows there at column 0 of the next row.
class CCRWTBase : public CCRWin {
  public:
    static constexpr double kEditorFontScale = 0.9;
    // Conversion and sentence modes asked of the input method for modes 1..4.
    static constexpr int kSentencePhrasePredict = 0x0010;

    // A grid of cols x rows over `rect` (pixels of the form), no frame, no padding.
    CCRWTBase(win::IHostWindow* host, const CRect& rect, int cols, int rows, int alignment);
    ~CCRWTBase() override;

    // Engine window.
    bool SetGridSize(int cols, int rows) override;
    void SetRect(const CRect& rect) override;
    // Rows are joined with "\n" where their break flag is set.
    bool GetText(std::string& out, int col1, int row1, int col2, int row2,
                 bool wholeCharsOnly) override;
    using CCRBase::GetRowText;
    bool IsComposing() const override;
    bool Show(bool shown, bool redraw) override;
    void Activate() override;
    void Deactivate() override;
    void Close() override;
    bool HasEditTarget() override { return true; }
    // A masked editor (a password) never gives its text away: no copy, no cut.
    bool CanCopy() override { return !MaskText(); }
    bool CanPaste() override;
    void EditCopy() override;
    // Pasted text loses the control characters typing cannot enter (line breaks stay); an
    // ASCII-only editor keeps only what can be typed into it.
    void EditPaste() override;
    void EditCut() override;

    // Keys.
    bool OnBS(int modifiers, bool down) override;
    bool OnReturn(int modifiers, bool down) override;
    bool OnEsc(int modifiers, bool down) override;
    bool OnEnd(int modifiers, bool down) override;
    bool OnHome(int modifiers, bool down) override;
    bool OnLeft(int modifiers, bool down) override;
    bool OnRight(int modifiers, bool down) override;
    bool OnUp(int modifiers, bool down) override;
    bool OnDown(int modifiers, bool down) override;
    bool OnInsert(int modifiers, bool down) override;
    bool OnDelete(int modifiers, bool down) override;
    bool OnShift(int modifiers, bool down) override;
    bool OnFKey(int n, int modifiers, bool down) override;
    bool OnChar(const win::Message& message) override;
    // The keys the editor posts itself (its own table holds only Space, when the item asks
    // for it) leave a hidden editor behind: caret hidden, input method closed.
    void PostExitKey(int virtualKey, int modifiers) override;

    // Mouse.
    bool OnLButtonDown(int keys, int x, int y) override;
    bool OnLButtonUp(int keys, int x, int y) override;
    bool OnLButtonDblClk(int keys, int x, int y) override;
    bool OnMouseMove(int keys, int x, int y) override;

    // The text of one row (its cells in order).
    virtual bool GetRowText(std::string& out, int row);
    // The character filter for one received byte: true when a complete character is
    // pending (in m_pendingChar).
    virtual bool AcceptChar(const win::Message& message);

    // The whole text (rows joined as GetText does).
    std::string Text() const;
    // Lays `text` out anew (cut to what the grid holds); the caret goes to the start and the
    // selection is cleared.
    void SetText(std::string_view text);
    // Typed or pasted text at the caret, replacing the selection: characters one by one,
    // "\n" as a line break, until one does not fit. True when all of it went in.
    bool InsertText(std::string_view text);
    // One character (one or two bytes); false when it does not fit (nothing changed).
    bool InsertChar(std::string_view character);
    // A line break at the caret; false in the last row or when the text would not fit.
    bool InsertLineBreak();
    // Deletes the selection; false when there is none.
    bool DeleteSelection();

    // Caret and selection, as text offsets.
    int CaretOffset() const { return m_caret; }
    // With `atRowEnd`, an offset at the end of a soft row shows there (End puts it there)
    // rather than at column 0 of the next row.
    void SetCaretOffset(int offset, bool atRowEnd = false);
    int CaretCol() const { return m_caretCol; }
    int CaretRow() const { return m_caretRow; }
    bool HasSelection() const { return m_anchor >= 0 && m_anchor != m_selectionEnd; }
    // The selection's ends in text order; (caret, caret) when there is none.
    int SelectionStart() const;
    int SelectionEnd() const;
    // Selects [anchor, end) in the given direction; the caret goes to `end`.
    void Select(int anchor, int end);
    void ClearSelection();
    void SelectAll();
    std::string SelectedText() const;
    // Text, caret and selection, for undoing an edit a subclass refuses.
    struct Snapshot {
        std::string text;
        int caret = 0;
        int anchor = -1;
        int selectionEnd = -1;
    };
    Snapshot TakeSnapshot() const;
    void RestoreSnapshot(const Snapshot& snapshot);

    // Input method mode 0..4 (0 closes it for this editor); applied now when shown and
    // again each time the editor is shown.
    void SetImeMode(int mode);
    int ImeMode() const { return m_imeMode; }
    // Passwords: only printable ASCII other than space.
    void SetAsciiOnly(bool asciiOnly) { m_asciiOnly = asciiOnly; }
    bool AsciiOnly() const { return m_asciiOnly; }
    int Alignment() const { return m_alignment; }
    bool RowBreak(int row) const;
    // Every font of the editor is drawn at 0.9 of the cell height.
    void ApplyEditorFontScale();
    bool Active() const { return m_active; }

  protected:
    // Turns a complete received character into what is inserted: false drops it. The
    // number and time editors filter here; the character may be rewritten.
    virtual bool FilterChar(std::string& character);
    // Inserts a filtered typed character; the number editor checks the result here.
    virtual void InsertTyped(const std::string& character);
    // Posts WM_INPUT_CUT: what was typed or pasted did not fit.
    void TellCut();
    // Hides the editor (caret, input method) and posts `key` for the form.
    void PostOwnExitKey(int virtualKey, int modifiers);

    int m_alignment = 0;  // 0 left, 1 right (numbers)
    std::vector<int> m_rowBreak;
    unsigned char m_pendingChar[4] = {0, 0, 0, 0};
    int m_pendingState = 0;  // 0 nothing, 1 a lead byte, 2 a complete character
    int m_imeMode = 0;
    bool m_asciiOnly = false;

  private:
    struct Lines {
        std::vector<std::string> rows;
        std::vector<int> breaks;
        bool fits = true;
    };
    // The text split into the grid's rows (line breaks honoured, double-byte characters
    // never split); fits is false when it needs more rows than the grid has.
    Lines LayOut(std::string_view text) const;
    // Writes the text into the cells, repainting only the cells that changed.
    void Fill(std::string_view text);
    // What the row holds: its bytes and the column of its first character.
    std::string RowChars(int row) const;
    int RowFirstCol(int row) const;
    // The column after the row's last character (for a right-aligned row, the width).
    int RowEndCol(int row) const;
    int RowStart(int row) const;  // offset of the row's first byte
    int OffsetAt(int col, int row) const;
    // Where the caret shows for an offset.
    void PositionOf(int offset, bool atRowEnd, int& col, int& row) const;
    // The offset one character before / after `offset`; -1 when there is none.
    int PreviousOffset(int offset) const;
    int NextOffset(int offset) const;
    // Replaces [from, to) with `insert` when the result fits; the caret goes after it.
    bool Replace(int from, int to, std::string_view insert);
    bool DeleteBackward();
    bool DeleteForward();
    // Caret moves; false when impossible.
    bool MoveLeft();
    bool MoveRight();
    bool MoveUp();
    bool MoveDown();
    // The arrow keys' common handling.
    bool ArrowKey(int virtualKey, int modifiers, bool down, bool (CCRWTBase::*move)());
    void PlaceCaret();
    void PaintSelection();
    void ShowCaretNow();
    void HideCaretNow();
    void ApplyImeMode();
    bool OneRow() const { return m_rows == 1; }
    // The cell at a place inside the grid (the surface's own writers keep them whole).
    const CCRCell& At(int col, int row) const { return *CellAt(col, row); }
    // The caret cell for a pixel point of the host.
    bool HitOffset(int x, int y, int& offset) const;

    COLORREF m_selectionText;
    COLORREF m_selectionBack;
    int m_caret = 0;
    int m_caretCol = 0;
    int m_caretRow = 0;
    int m_anchor = -1;
    int m_selectionEnd = -1;
    bool m_active = false;
    bool m_caretShown = false;
    bool m_dragging = false;
    CIME m_ime;
};

}  // namespace tokeiya
