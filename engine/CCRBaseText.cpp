#include "engine/CCRBase.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/Cp932.hpp"

namespace tokeiya {

int CCRBase::PutText(std::string_view text, int col, int row, bool redraw) {
    return PutText(text, col, row, m_defaultTextColor, redraw);
}

int CCRBase::PutText(std::string_view text, int col, int row, COLORREF textColor, bool redraw) {
    const WrittenCells cells = WriteCells(text, col, row, textColor);
    if (redraw && cells.written > 0) {
        RequestRepaint(cells.first, row, cells.end - cells.first, 1);
    }
    return cells.written;
}

CCRBase::WrittenCells CCRBase::WriteCells(std::string_view text, int col, int row,
                                          COLORREF textColor) {
    if (m_cells == nullptr || row < 0 || row >= m_rows || col < 0 || col >= m_cols) {
        return {};
    }
    // A C string ends at its NUL.
    text = text.substr(0, text.find('\0'));
    WrittenCells cells{0, col, col};
    int pos = col;
    for (size_t i = 0; i < text.size() && pos < m_cols;) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool doubleByte = cp932::IsLeadByte(byte);
        // A lead byte at the very end of the text has no character to show.
        if (doubleByte && i + 1 >= text.size()) {
            break;
        }
        // The character goes in whole or not at all: one straddling the right edge is
        // dropped, and it ends the writing.
        if (doubleByte && pos >= m_cols - 1) {
            break;
        }
        if (pos == col && Cell(pos, row).IsContinuation() && pos > 0) {
            // The left half of the character whose right half is overwritten now.
            BlankCharacter(pos - 1, row);
            cells.first = pos - 1;
        }
        CCRCell& cell = Cell(pos, row);
        cell.textColor = textColor;
        if (doubleByte) {
            cell.bytes[0] = byte;
            cell.bytes[1] = static_cast<unsigned char>(text[i + 1]);
            CCRCell& rest = Cell(pos + 1, row);
            rest.bytes[0] = CCRCell::kContinuation;
            rest.bytes[1] = 0;
            rest.textColor = textColor;
            pos += 2;
            i += 2;
        } else {
            // The continuation marker is no character: it would claim the cell to its left.
            cell.bytes[0] = byte == CCRCell::kContinuation ? CCRCell::kEmpty : byte;
            cell.bytes[1] = 0;
            ++pos;
            ++i;
        }
    }
    cells.written = pos - col;
    cells.end = pos;
    // The right half of a character whose left half was just overwritten.
    if (pos > col && pos < m_cols && Cell(pos, row).IsContinuation() &&
        !Cell(pos - 1, row).IsDoubleByte()) {
        BlankCharacter(pos, row);
        cells.end = pos + 1;
    }
    VerifyCharacters(row, row + 1);
    return cells;
}

void CCRBase::BlankCharacter(int col, int row) {
    CCRCell& cell = Cell(col, row);
    cell.bytes[0] = CCRCell::kEmpty;
    cell.bytes[1] = 0;
}

int CCRBase::PutTextAndBack(std::string_view text, int col, int row, COLORREF textColor,
                            bool redraw) {
    return PutTextAndBack(text, col, row, textColor, m_defaultBackColor, redraw);
}

int CCRBase::PutTextAndBack(std::string_view text, int col, int row, bool redraw) {
    return PutTextAndBack(text, col, row, m_defaultTextColor, m_defaultBackColor, redraw);
}

int CCRBase::PutTextAndBack(std::string_view text, int col, int row, COLORREF textColor,
                            COLORREF backColor, bool redraw) {
    const WrittenCells cells = WriteCells(text, col, row, textColor);
    // Only the cells the text took; a blanked neighbour keeps its background.
    for (int c = col; c < col + cells.written; ++c) {
        Cell(c, row).backColor = backColor;
    }
    if (redraw && cells.written > 0) {
        RequestRepaint(cells.first, row, cells.end - cells.first, 1);
    }
    return cells.written;
}

int CCRBase::BrokenCharacterColumn(std::span<const CCRCell> row) {
    const int cols = static_cast<int>(row.size());
    for (int col = 0; col < cols; ++col) {
        const CCRCell& cell = row[static_cast<size_t>(col)];
        if (cell.IsDoubleByte() &&
            (col + 1 >= cols || !row[static_cast<size_t>(col) + 1].IsContinuation())) {
            return col;
        }
        if (cell.IsContinuation() &&
            (col == 0 || !row[static_cast<size_t>(col) - 1].IsDoubleByte())) {
            return col;
        }
    }
    return -1;
}

bool CCRBase::CharactersWhole() const {
    if (m_cells == nullptr) {
        return true;
    }
    for (int row = 0; row < m_rows; ++row) {
        const std::span<const CCRCell> cells(&Cell(0, row), static_cast<size_t>(m_cols));
        if (BrokenCharacterColumn(cells) >= 0) {
            return false;
        }
    }
    return true;
}

void CCRBase::VerifyCharacters([[maybe_unused]] int firstRow, [[maybe_unused]] int endRow) const {
#ifndef NDEBUG
    if (m_cells == nullptr) {
        return;
    }
    for (int row = std::max(firstRow, 0); row < std::min(endRow, m_rows); ++row) {
        const std::span<const CCRCell> cells(&Cell(0, row), static_cast<size_t>(m_cols));
        if (const int col = BrokenCharacterColumn(cells); col >= 0) {
            std::fprintf(stderr, "CCRBase: half a double-byte character at column %d, row %d\n",
                         col, row);
            std::abort();
        }
    }
#endif
}

template <typename Apply>
bool CCRBase::ForRange(int col, int row, int w, int h, bool redraw, Apply apply) {
    if (!FitsGrid(col, row, w, h)) {
        return false;
    }
    for (int r = row; r < row + h; ++r) {
        for (int c = col; c < col + w; ++c) {
            apply(Cell(c, r));
        }
    }
    if (redraw) {
        RequestRepaint(col, row, w, h);
    }
    return true;
}

std::vector<CCRCell> CCRBase::CopyCells(int col, int row, int count) const {
    if (count <= 0 || !FitsGrid(col, row, count, 1)) {
        return {};
    }
    const CCRCell* first = &Cell(col, row);
    return std::vector<CCRCell>(first, first + count);
}

bool CCRBase::RestoreCells(std::span<const CCRCell> cells, int col, int row, bool redraw) {
    const int count = static_cast<int>(cells.size());
    if (count == 0 || !FitsGrid(col, row, count, 1)) {
        return false;
    }
    std::copy(cells.begin(), cells.end(), &Cell(col, row));
    if (redraw) {
        RequestRepaint(col, row, count, 1);
    }
    return true;
}

bool CCRBase::FillBackColor(int col1, int row1, int col2, int row2, COLORREF color) {
    // Corners so far apart that the size leaves int's range lie off any grid.
    const std::int64_t w = std::int64_t{col2} - col1;
    const std::int64_t h = std::int64_t{row2} - row1;
    if (w < 0 || h < 0 || w > m_cols || h > m_rows) {
        return false;
    }
    return ForRange(col1, row1, static_cast<int>(w), static_cast<int>(h), false,
                    [color](CCRCell& cell) { cell.backColor = color; });
}

bool CCRBase::SetColors(COLORREF textColor, COLORREF backColor, const CRect& cellRect,
                        bool redraw) {
    return SetColors(textColor, backColor, cellRect.left, cellRect.top, cellRect.Width(),
                     cellRect.Height(), redraw);
}

bool CCRBase::SetColors(COLORREF textColor, COLORREF backColor, int col, int row, int w, int h,
                        bool redraw) {
    return ForRange(col, row, w, h, redraw, [=](CCRCell& cell) {
        cell.textColor = textColor;
        cell.backColor = backColor;
    });
}

bool CCRBase::SetBackColor(COLORREF color, const CRect& cellRect, bool redraw) {
    return SetBackColor(color, cellRect.left, cellRect.top, cellRect.Width(), cellRect.Height(),
                        redraw);
}

bool CCRBase::SetBackColor(COLORREF color, int col, int row, int w, int h, bool redraw) {
    return ForRange(col, row, w, h, redraw, [color](CCRCell& cell) { cell.backColor = color; });
}

bool CCRBase::SetTextColor(COLORREF color, const CRect& cellRect, bool redraw) {
    return SetTextColor(color, cellRect.left, cellRect.top, cellRect.Width(), cellRect.Height(),
                        redraw);
}

bool CCRBase::SetTextColor(COLORREF color, int col, int row, int w, int h, bool redraw) {
    return ForRange(col, row, w, h, redraw, [color](CCRCell& cell) { cell.textColor = color; });
}

bool CCRBase::SetMarkColor(COLORREF color, const CRect& cellRect, bool redraw) {
    return SetMarkColor(color, cellRect.left, cellRect.top, cellRect.Width(), cellRect.Height(),
                        redraw);
}

bool CCRBase::SetMarkColor(COLORREF color, int col, int row, int w, int h, bool redraw) {
    return ForRange(col, row, w, h, redraw, [color](CCRCell& cell) { cell.markColor = color; });
}

bool CCRBase::SetTextAndMarkColor(COLORREF textColor, COLORREF markColor, int col, int row, int w,
                                  int h, bool redraw) {
    return ForRange(col, row, w, h, redraw, [=](CCRCell& cell) {
        cell.textColor = textColor;
        cell.markColor = markColor;
    });
}

bool CCRBase::ClearMark(int col, int row, int w, int h) {
    return ForRange(col, row, w, h, true, [](CCRCell& cell) { cell.markColor = CCRCell::kNoMark; });
}

bool CCRBase::ResetAllColors() {
    return ResetColors(0, 0, m_cols, m_rows);
}

bool CCRBase::ResetColors(int col, int row, int w, int h) {
    return ForRange(col, row, w, h, true, [this](CCRCell& cell) {
        cell.textColor = m_defaultTextColor;
        cell.markColor = CCRCell::kNoMark;
        cell.backColor = m_defaultBackColor;
    });
}

bool CCRBase::AppendRowText(std::string& out, int row, int fromCol, int toCol,
                            bool wholeCharsOnly) const {
    if (m_cells == nullptr || row < 0 || row >= m_rows || fromCol < 0) {
        return false;
    }
    if (toCol < 0 || toCol >= m_cols) {
        toCol = m_cols - 1;
    }
    if (toCol < fromCol) {
        return false;
    }
    for (int col = fromCol; col <= toCol; ++col) {
        const CCRCell& cell = Cell(col, row);
        if (wholeCharsOnly && col == toCol && cell.IsDoubleByte()) {
            break;
        }
        out += cell.Chars();
    }
    return true;
}

bool CCRBase::GetRowText(std::string& out, int row, int fromCol, int toCol, bool wholeCharsOnly) {
    std::string text;
    if (!AppendRowText(text, row, fromCol, toCol, wholeCharsOnly)) {
        return false;
    }
    out = std::move(text);
    return true;
}

bool CCRBase::GetText(std::string& out, int col1, int row1, int col2, int row2,
                      bool wholeCharsOnly) {
    if (row1 == row2) {
        return GetRowText(out, row1, col1, col2, wholeCharsOnly);
    }
    if (row2 < row1 || row1 < 0 || row2 >= m_rows || m_cells == nullptr) {
        return false;
    }
    // Nothing is written to `out` unless every row could be read.
    std::string text;
    bool ok = AppendRowText(text, row1, col1, -1, false);
    for (int row = row1 + 1; ok && row < row2; ++row) {
        ok = AppendRowText(text, row, 0, -1, false);
    }
    ok = ok && AppendRowText(text, row2, 0, col2, wholeCharsOnly);
    if (ok) {
        out = std::move(text);
    }
    return ok;
}

bool CCRBase::CellHitForCaret(CPoint& point, int direction) const {
    if (m_cells == nullptr) {
        return false;
    }
    CPoint cell = point;
    const bool inside = PointToCell(cell);
    int row = std::clamp(cell.y, 0, m_rows - 1);
    int col = std::clamp(cell.x, 0, m_cols);
    if (col < m_cols && Cell(col, row).IsContinuation()) {
        ++col;
    } else if (col < m_cols && Cell(col, row).HasCharacter() && !Cell(col, row).IsDoubleByte()) {
        // A single-byte character: the caret goes to the nearer of its two borders.
        int x = point.x;
        XToColumn(x, true);
        col = std::clamp(x, 0, m_cols);
    }
    if (direction > 0) {
        while (col < m_cols && Cell(col, row).IsEmpty()) {
            ++col;
        }
    } else if (direction < 0) {
        // The caret crosses the empty cells to its left, stopping just after a character.
        while (col > 0 && Cell(col - 1, row).IsEmpty()) {
            --col;
        }
    }
    point = CPoint{col, row};
    return inside;
}

}  // namespace tokeiya
