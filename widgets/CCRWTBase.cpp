#include "widgets/CCRWTBase.hpp"

#include <algorithm>

#include "platform/Cp932.hpp"

namespace tokeiya {

using namespace win;

namespace {

// The byte length of the character starting at text[i].
int CharLength(std::string_view text, size_t i) {
    return cp932::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

}  // namespace

CCRWTBase::CCRWTBase(IHostWindow* host, const CRect& rect, int cols, int rows, int alignment)
    : CCRWin(host, rect, cols, rows, 0, 0),
      m_alignment(alignment),
      m_selectionText(SelectionColors::Global().text),
      m_selectionBack(SelectionColors::Global().back),
      m_ime(host) {
    m_rowBreak.assign(static_cast<size_t>(std::max(rows, 0)), 0);
    // The form's exit keys are the form's: the editor posts only the keys it handles itself.
    m_exitKeys.clear();
    ApplyEditorFontScale();
}

CCRWTBase::~CCRWTBase() {
    HideCaretNow();
    if (m_active && GetHost() != nullptr) {
        GetHost()->DestroyCaret();
    }
    m_ime.Release();
}

bool CCRWTBase::SetGridSize(int cols, int rows) {
    const bool built = CCRWin::SetGridSize(cols, rows);
    m_rowBreak.assign(static_cast<size_t>(std::max(m_rows, 0)), 0);
    return built;
}

void CCRWTBase::SetRect(const CRect& rect) {
    CCRWin::SetRect(rect);
    PlaceCaret();
    if (m_imeMode == 1 && m_shown) {
        ApplyImeMode();
    }
}

void CCRWTBase::ApplyEditorFontScale() {
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        SetFontScale(static_cast<int>(i), kEditorFontScale);
    }
}

bool CCRWTBase::RowBreak(int row) const {
    return row >= 0 && row < static_cast<int>(m_rowBreak.size()) && m_rowBreak[row] != 0;
}

// --- The text model ---

std::string CCRWTBase::RowChars(int row) const {
    std::string out;
    if (!HasCells() || row < 0 || row >= m_rows) {
        return out;
    }
    for (int col = 0; col < m_cols; ++col) {
        out.append(At(col, row).Chars());
    }
    return out;
}

int CCRWTBase::RowFirstCol(int row) const {
    if (m_alignment == 1) {
        return m_cols - static_cast<int>(RowChars(row).size());
    }
    return 0;
}

int CCRWTBase::RowEndCol(int row) const {
    if (m_alignment == 1) {
        return m_cols;
    }
    return static_cast<int>(RowChars(row).size());
}

int CCRWTBase::RowStart(int row) const {
    int offset = 0;
    for (int r = 0; r < row && r < m_rows; ++r) {
        offset += static_cast<int>(RowChars(r).size()) + (RowBreak(r) && r + 1 < m_rows ? 1 : 0);
    }
    return offset;
}

std::string CCRWTBase::Text() const {
    std::string text;
    for (int row = 0; row < m_rows; ++row) {
        text += RowChars(row);
        if (RowBreak(row) && row + 1 < m_rows) {
            text += '\n';
        }
    }
    return text;
}

bool CCRWTBase::GetText(std::string& out, int col1, int row1, int col2, int row2,
                        bool wholeCharsOnly) {
    if (row1 == row2) {
        return CCRWin::GetText(out, col1, row1, col2, row2, wholeCharsOnly);
    }
    if (row1 < 0 || row2 < row1 || row2 >= m_rows || !HasCells()) {
        return false;
    }
    std::string text;
    for (int row = row1; row <= row2; ++row) {
        std::string part;
        GetRowText(part, row, row == row1 ? col1 : 0, row == row2 ? col2 : -1, wholeCharsOnly);
        text += part;
        if (row < row2 && RowBreak(row)) {
            text += '\n';
        }
    }
    out = std::move(text);
    return true;
}

bool CCRWTBase::GetRowText(std::string& out, int row) {
    if (!HasCells() || row < 0 || row >= m_rows) {
        return false;
    }
    out = RowChars(row);
    return true;
}

CCRWTBase::Lines CCRWTBase::LayOut(std::string_view text) const {
    Lines lines;
    if (m_rows <= 0 || m_cols <= 0) {
        lines.fits = text.empty();
        return lines;
    }
    std::string line;
    auto endLine = [&](bool hardBreak) {
        lines.rows.push_back(line);
        lines.breaks.push_back(hardBreak ? 1 : 0);
        line.clear();
    };
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '\n') {
            if (OneRow()) {
                break;
            }
            endLine(true);
            ++i;
            continue;
        }
        const int length = CharLength(text, i);
        if (static_cast<int>(line.size()) + length > m_cols) {
            if (OneRow()) {
                lines.fits = false;
                break;
            }
            endLine(false);
        }
        line.append(text.substr(i, static_cast<size_t>(length)));
        i += static_cast<size_t>(length);
    }
    lines.rows.push_back(line);
    lines.breaks.push_back(0);
    if (static_cast<int>(lines.rows.size()) > m_rows) {
        lines.fits = false;
        lines.rows.resize(static_cast<size_t>(m_rows));
        lines.breaks.resize(static_cast<size_t>(m_rows));
    }
    return lines;
}

void CCRWTBase::Fill(std::string_view text) {
    if (!HasCells()) {
        return;
    }
    const Lines lines = LayOut(text);
    for (int row = 0; row < m_rows; ++row) {
        const std::string chars =
            row < static_cast<int>(lines.rows.size()) ? lines.rows[row] : std::string();
        m_rowBreak[row] = row < static_cast<int>(lines.breaks.size()) ? lines.breaks[row] : 0;
        // Empty cells are written as the continuation byte, which PutText leaves empty.
        std::string cells(static_cast<size_t>(m_cols), '\x01');
        const size_t first = m_alignment == 1 ? cells.size() - chars.size() : 0;
        cells.replace(first, chars.size(), chars);
        // Only the cells that change are written, so that a keystroke repaints little. A
        // changed character drags its whole neighbour along, never half of it.
        int from = -1;
        int to = -1;
        for (int col = 0; col < m_cols;) {
            const auto want = static_cast<unsigned char>(cells[col]);
            const int length = want != 1 && cp932::IsLeadByte(want) && col + 1 < m_cols ? 2 : 1;
            const CCRCell& cell = At(col, row);
            bool same = false;
            if (want == 1) {
                same = !cell.HasCharacter();
            } else {
                same =
                    cell.HasCharacter() && cell.bytes[0] == want &&
                    cell.bytes[1] == (length == 2 ? static_cast<unsigned char>(cells[col + 1]) : 0);
            }
            if (!same) {
                if (from < 0) {
                    from = col;
                }
                to = col + length;
            }
            col += length;
        }
        if (from >= 0) {
            PutText(std::string_view(cells).substr(static_cast<size_t>(from),
                                                   static_cast<size_t>(to - from)),
                    from, row, true);
        }
    }
}

int CCRWTBase::OffsetAt(int col, int row) const {
    row = std::clamp(row, 0, std::max(m_rows - 1, 0));
    const int first = RowFirstCol(row);
    const int end = RowEndCol(row);
    col = std::clamp(col, first, end);
    int bytes = 0;
    for (int c = first; c < col && c < m_cols; ++c) {
        bytes += static_cast<int>(At(c, row).Chars().size());
    }
    return RowStart(row) + bytes;
}

void CCRWTBase::PositionOf(int offset, bool atRowEnd, int& col, int& row) const {
    col = 0;
    row = 0;
    for (int r = 0; r < m_rows; ++r) {
        const int start = RowStart(r);
        const int end = start + static_cast<int>(RowChars(r).size());
        const bool last = r + 1 == m_rows;
        if (offset > end && !last) {
            continue;
        }
        // The end of a full soft row is column 0 of the next row.
        if (offset == end && !last && !atRowEnd && !RowBreak(r) && m_alignment == 0 &&
            (RowEndCol(r) >= m_cols || !RowChars(r + 1).empty())) {
            continue;
        }
        row = r;
        col = RowFirstCol(r);
        for (int taken = 0; taken < std::min(offset, end) - start && col < m_cols;) {
            const int length = static_cast<int>(At(col, r).Chars().size());
            if (length == 0) {
                break;
            }
            taken += length;
            col += length;
        }
        return;
    }
}

int CCRWTBase::PreviousOffset(int offset) const {
    if (offset <= 0) {
        return -1;
    }
    const std::string text = Text();
    int previous = 0;
    for (size_t i = 0; i < text.size() && static_cast<int>(i) < offset;) {
        previous = static_cast<int>(i);
        i += static_cast<size_t>(CharLength(text, i));
    }
    return previous;
}

int CCRWTBase::NextOffset(int offset) const {
    const std::string text = Text();
    if (offset < 0 || offset >= static_cast<int>(text.size())) {
        return -1;
    }
    return offset + CharLength(text, static_cast<size_t>(offset));
}

void CCRWTBase::SetText(std::string_view text) {
    Fill(text);
    m_anchor = -1;
    m_selectionEnd = -1;
    PaintSelection();
    SetCaretOffset(0);
}

bool CCRWTBase::Replace(int from, int to, std::string_view insert) {
    const std::string text = Text();
    from = std::clamp(from, 0, static_cast<int>(text.size()));
    to = std::clamp(to, from, static_cast<int>(text.size()));
    std::string joined = text.substr(0, static_cast<size_t>(from));
    joined.append(insert);
    joined.append(text.substr(static_cast<size_t>(to)));
    if (!LayOut(joined).fits) {
        return false;
    }
    Fill(joined);
    m_anchor = -1;
    m_selectionEnd = -1;
    PaintSelection();
    SetCaretOffset(from + static_cast<int>(insert.size()));
    return true;
}

bool CCRWTBase::InsertChar(std::string_view character) {
    if (character.empty()) {
        return false;
    }
    // The character replaces the selection as one edit: when it does not fit, the
    // selection stays as it was.
    if (m_alignment == 0 && !HasSelection() && m_caretCol >= m_cols && m_caretRow == m_rows - 1) {
        return false;
    }
    return Replace(SelectionStart(), SelectionEnd(), character);
}

bool CCRWTBase::InsertLineBreak() {
    // At column 0 of a row that continues a soft row, the "\n" goes where the soft break
    // was: that row gets its break and the rows below stay as they are.
    if (OneRow() || m_caretRow >= m_rows - 1) {
        return false;
    }
    return Replace(m_caret, m_caret, "\n");
}

bool CCRWTBase::InsertText(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '\n') {
            if (!InsertLineBreak()) {
                return false;
            }
            ++i;
            continue;
        }
        const int length = CharLength(text, i);
        if (!InsertChar(text.substr(i, static_cast<size_t>(length)))) {
            return false;
        }
        i += static_cast<size_t>(length);
    }
    return true;
}

bool CCRWTBase::DeleteSelection() {
    if (!HasSelection()) {
        return false;
    }
    const int from = SelectionStart();
    const int to = SelectionEnd();
    const std::string text = Text();
    std::string joined = text.substr(0, static_cast<size_t>(from)) + text.substr(to);
    Fill(joined);
    m_anchor = -1;
    m_selectionEnd = -1;
    PaintSelection();
    SetCaretOffset(from);
    return true;
}

bool CCRWTBase::DeleteBackward() {
    if (DeleteSelection()) {
        return true;
    }
    const int previous = PreviousOffset(m_caret);
    return previous >= 0 && Replace(previous, m_caret, {});
}

bool CCRWTBase::DeleteForward() {
    if (DeleteSelection()) {
        return true;
    }
    const int next = NextOffset(m_caret);
    return next >= 0 && Replace(m_caret, next, {});
}

// --- Caret and selection ---

void CCRWTBase::SetCaretOffset(int offset, bool atRowEnd) {
    m_caret = std::clamp(offset, 0, static_cast<int>(Text().size()));
    PositionOf(m_caret, atRowEnd, m_caretCol, m_caretRow);
    PlaceCaret();
}

void CCRWTBase::PlaceCaret() {
    IHostWindow* host = GetHost();
    if (host == nullptr || !HasCells() || !m_shown || !m_active) {
        return;
    }
    host->SetCaretPos(CPoint{ColumnToX(m_caretCol), RowToY(m_caretRow)});
    m_ime.PlaceCompositionAtCaret();
}

int CCRWTBase::SelectionStart() const {
    return HasSelection() ? std::min(m_anchor, m_selectionEnd) : m_caret;
}

int CCRWTBase::SelectionEnd() const {
    return HasSelection() ? std::max(m_anchor, m_selectionEnd) : m_caret;
}

void CCRWTBase::Select(int anchor, int end) {
    const int size = static_cast<int>(Text().size());
    m_anchor = std::clamp(anchor, 0, size);
    m_selectionEnd = std::clamp(end, 0, size);
    SetCaretOffset(m_selectionEnd);
    PaintSelection();
}

void CCRWTBase::ClearSelection() {
    if (m_anchor < 0 && m_selectionEnd < 0) {
        return;
    }
    m_anchor = -1;
    m_selectionEnd = -1;
    PaintSelection();
}

void CCRWTBase::SelectAll() {
    Select(0, static_cast<int>(Text().size()));
}

std::string CCRWTBase::SelectedText() const {
    if (!HasSelection()) {
        return {};
    }
    return Text().substr(static_cast<size_t>(SelectionStart()),
                         static_cast<size_t>(SelectionEnd() - SelectionStart()));
}

void CCRWTBase::PaintSelection() {
    if (!HasCells()) {
        return;
    }
    const bool any = HasSelection();
    const int from = SelectionStart();
    const int to = SelectionEnd();
    for (int row = 0; row < m_rows; ++row) {
        int offset = RowStart(row);
        for (int col = 0; col < m_cols;) {
            const CCRCell& cell = At(col, row);
            const int length = static_cast<int>(cell.Chars().size());
            const bool selected = any && length > 0 && offset >= from && offset < to;
            offset += length;
            const COLORREF text = selected ? m_selectionText : m_defaultTextColor;
            const COLORREF back = selected ? m_selectionBack : m_defaultBackColor;
            const int width = length == 2 && col + 1 < m_cols ? 2 : 1;
            for (int c = col; c < col + width; ++c) {
                const CCRCell& painted = At(c, row);
                if (painted.textColor != text || painted.backColor != back) {
                    SetColors(text, back, c, row, 1, 1, true);
                }
            }
            col += width;
        }
    }
}

CCRWTBase::Snapshot CCRWTBase::TakeSnapshot() const {
    return Snapshot{Text(), m_caret, m_anchor, m_selectionEnd};
}

void CCRWTBase::RestoreSnapshot(const Snapshot& snapshot) {
    Fill(snapshot.text);
    m_anchor = snapshot.anchor;
    m_selectionEnd = snapshot.selectionEnd;
    PaintSelection();
    SetCaretOffset(snapshot.caret);
}

bool CCRWTBase::MoveLeft() {
    if (m_caret == 0) {
        return false;
    }
    if (m_alignment == 1 && m_caretCol <= RowFirstCol(m_caretRow)) {
        return false;
    }
    SetCaretOffset(PreviousOffset(m_caret));
    return true;
}

bool CCRWTBase::MoveRight() {
    const int next = NextOffset(m_caret);
    if (next < 0) {
        return false;
    }
    SetCaretOffset(next);
    return true;
}

bool CCRWTBase::MoveUp() {
    if (m_caretRow == 0) {
        return false;
    }
    SetCaretOffset(OffsetAt(m_caretCol, m_caretRow - 1));
    return true;
}

bool CCRWTBase::MoveDown() {
    const int next = m_caretRow + 1;
    if (next >= m_rows || (!RowBreak(m_caretRow) && RowChars(next).empty())) {
        return false;
    }
    SetCaretOffset(OffsetAt(m_caretCol, next));
    return true;
}

// --- Keys ---

void CCRWTBase::PostOwnExitKey(int virtualKey, int modifiers) {
    PostExitKey(virtualKey, modifiers);
}

void CCRWTBase::PostExitKey(int virtualKey, int modifiers) {
    Show(false, true);
    CCRWin::PostExitKey(virtualKey, modifiers);
}

bool CCRWTBase::ArrowKey(int virtualKey, int modifiers, bool down, bool (CCRWTBase::*move)()) {
    if (!down) {
        return false;
    }
    if ((modifiers & kCtrl) != 0) {
        PostOwnExitKey(virtualKey, modifiers);
        return true;
    }
    // A one-row cell opens with its whole value selected, to be typed over; Left and Right
    // then leave it, as they do from its ends, instead of starting to edit inside it.
    const bool sideways = virtualKey == VK_LEFT || virtualKey == VK_RIGHT;
    if (OneRow() && modifiers == 0 && sideways && HasSelection() && SelectionStart() == 0 &&
        SelectionEnd() == static_cast<int>(Text().size())) {
        PostOwnExitKey(virtualKey, modifiers);
        return true;
    }
    const int before = m_caret;
    const bool moved = (this->*move)();
    if (!moved && OneRow()) {
        PostOwnExitKey(virtualKey, modifiers);
        return true;
    }
    if ((modifiers & kShift) != 0) {
        Select(m_anchor >= 0 ? m_anchor : before, m_caret);
    } else {
        ClearSelection();
    }
    return true;
}

bool CCRWTBase::OnLeft(int modifiers, bool down) {
    return ArrowKey(VK_LEFT, modifiers, down, &CCRWTBase::MoveLeft);
}

bool CCRWTBase::OnRight(int modifiers, bool down) {
    return ArrowKey(VK_RIGHT, modifiers, down, &CCRWTBase::MoveRight);
}

bool CCRWTBase::OnUp(int modifiers, bool down) {
    return ArrowKey(VK_UP, modifiers, down, &CCRWTBase::MoveUp);
}

bool CCRWTBase::OnDown(int modifiers, bool down) {
    return ArrowKey(VK_DOWN, modifiers, down, &CCRWTBase::MoveDown);
}

bool CCRWTBase::OnHome(int modifiers, bool down) {
    if (!down || modifiers != 0) {
        return false;
    }
    ClearSelection();
    SetCaretOffset(OffsetAt(RowFirstCol(m_caretRow), m_caretRow));
    return true;
}

bool CCRWTBase::OnEnd(int modifiers, bool down) {
    if (!down || modifiers != 0) {
        return false;
    }
    ClearSelection();
    SetCaretOffset(OffsetAt(RowEndCol(m_caretRow), m_caretRow), true);
    return true;
}

bool CCRWTBase::OnReturn(int modifiers, bool down) {
    if (!down) {
        return false;
    }
    if (OneRow() || (modifiers & kCtrl) != 0) {
        PostOwnExitKey(VK_RETURN, modifiers);
        return true;
    }
    if (modifiers == 0) {
        DeleteSelection();
        InsertLineBreak();
    }
    return true;
}

bool CCRWTBase::OnEsc(int modifiers, bool down) {
    if (!down) {
        return false;
    }
    PostOwnExitKey(VK_ESCAPE, modifiers);
    return true;
}

bool CCRWTBase::OnBS(int, bool down) {
    if (!down) {
        return false;
    }
    DeleteBackward();
    return true;
}

bool CCRWTBase::OnDelete(int modifiers, bool down) {
    if (!down || modifiers != 0) {
        return false;
    }
    if (m_alignment == 1) {
        DeleteBackward();
    } else {
        DeleteForward();
    }
    return true;
}

bool CCRWTBase::OnInsert(int, bool down) {
    return down;
}

bool CCRWTBase::OnShift(int, bool down) {
    if (down && !HasSelection()) {
        m_anchor = m_caret;
        m_selectionEnd = m_caret;
    }
    return down;
}

bool CCRWTBase::OnFKey(int, int, bool) {
    return false;
}

bool CCRWTBase::AcceptChar(const Message& message) {
    const auto byte = static_cast<unsigned char>(message.wParam & 0xFF);
    if (m_pendingState == 1) {
        const unsigned char lead = m_pendingChar[0];
        m_pendingState = 0;
        if (cp932::IsTrailByte(byte)) {
            if (m_asciiOnly) {
                return false;  // the whole pair is dropped
            }
            m_pendingChar[0] = lead;
            m_pendingChar[1] = byte;
            m_pendingChar[2] = 0;
            m_pendingState = 2;
            return true;
        }
        // A lead byte without its trail byte is dropped; the byte counts on its own.
    }
    if (cp932::IsLeadByte(byte)) {
        m_pendingChar[0] = byte;
        m_pendingChar[1] = 0;
        m_pendingState = 1;
        return false;
    }
    if (m_asciiOnly ? byte < 33 || byte > 126 : byte < 0x20 || byte == 0x7F) {
        return false;
    }
    m_pendingChar[0] = byte;
    m_pendingChar[1] = 0;
    m_pendingState = 2;
    return true;
}

bool CCRWTBase::FilterChar(std::string&) {
    return true;
}

void CCRWTBase::InsertTyped(const std::string& character) {
    if (!InsertChar(character)) {
        TellCut();
    }
}

void CCRWTBase::TellCut() {
    // The form tells why: an editor has no line of its own to say it on.
    if (GetHost() != nullptr) {
        GetHost()->PostMessage(WM_INPUT_CUT,
                               static_cast<WPARAM>(Cols()) * static_cast<WPARAM>(Rows()), 0);
    }
}

bool CCRWTBase::OnChar(const Message& message) {
    if (!AcceptChar(message)) {
        return true;
    }
    std::string character(reinterpret_cast<const char*>(m_pendingChar),
                          m_pendingChar[1] != 0 ? 2 : 1);
    m_pendingState = 0;
    if (FilterChar(character)) {
        InsertTyped(character);
    }
    return true;
}

}  // namespace tokeiya
