#include "widgets/CCRWMNumber.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tokeiya {

using namespace win;

namespace {

// Code digits beyond what an int can show would only pad with zeros.
constexpr int kMaxCodeDigits = 10;

}  // namespace

CCRWMNumber::CCRWMNumber(IHostWindow* host, const CRect& rect, int edgeWidth, int count,
                         int visibleRows, int codeDigits, int nameWidth, bool scrollBar)
    : CCRWMenuBase(host, rect,
                   std::clamp(codeDigits, 1, kMaxCodeDigits) + std::max(nameWidth, 0) + 3,
                   visibleRows, edgeWidth, 0, count, visibleRows, scrollBar),
      m_codeDigits(std::clamp(codeDigits, 1, kMaxCodeDigits)),
      m_nameWidth(std::max(nameWidth, 0)) {
    m_typeMax = m_codeDigits;
    LayoutRows();
}

int CCRWMNumber::ColumnsFor(int codeDigits, int nameWidth, bool scrollBar) {
    return std::clamp(codeDigits, 1, kMaxCodeDigits) + std::max(nameWidth, 0) + 3 +
           (scrollBar ? 2 : 0);
}

int CCRWMNumber::FindCode(int code) const {
    for (int i = 0; i < m_count; ++i) {
        if (GetEntryCode(i) == code) {
            return i;
        }
    }
    return -1;
}

void CCRWMNumber::SelectEntry(int code, bool redraw) {
    SelectIndex(FindCode(code), redraw);
}

int CCRWMNumber::GetEntryCode(int index) const {
    return index + m_codeOffset;
}

bool CCRWMNumber::GetRowRect(int row, CRect& rect) const {
    rect = CRect{0, row, RowWidth(), row + 1};
    return true;
}

std::string CCRWMNumber::RowLine(int index) const {
    char code[16];
    std::snprintf(code, sizeof code, " %0*d ", m_codeDigits, GetEntryCode(index));
    std::string line = code;
    std::string name = GetEntryText(index);
    // Padded to the name's width; a longer name runs on.
    if (static_cast<int>(name.size()) < m_nameWidth) {
        name.append(static_cast<size_t>(m_nameWidth) - name.size(), ' ');
    }
    line += name;
    line += ' ';
    return line;
}

void CCRWMNumber::DrawRow(int row) {
    const int index = m_top + row;
    if (index < 0 || index >= m_count) {
        return;
    }
    const bool cursor = row == m_cursor;
    PutTextAndBack(RowLine(index), 0, row, cursor ? m_cursorText : m_rowText,
                   cursor ? m_cursorBack : m_rowBack, true);
}

void CCRWMNumber::DrawEmptyRow(int row) {
    PutTextAndBack(std::string(static_cast<size_t>(RowWidth()), ' '), 0, row, m_rowText, m_rowBack,
                   true);
}

void CCRWMNumber::DrawEmptyList() {
    for (int row = 0; row < m_visibleRows; ++row) {
        DrawEmptyRow(row);
    }
}

int CCRWMNumber::FilterTypeahead(int ch) const {
    return ch >= '0' && ch <= '9' ? ch : 0;
}

int CCRWMNumber::TypeaheadDone() {
    if (static_cast<int>(m_typed.size()) < m_typeMax) {
        return -1;
    }
    const int code = std::atoi(m_typed.c_str());
    const int index = FindCode(code);
    ClearTypeahead();
    if (index >= 0) {
        SelectIndex(index, true);
    }
    return index;
}

}  // namespace tokeiya
