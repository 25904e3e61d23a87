#include "widgets/CCRWMenuBase.hpp"

#include <algorithm>
#include <cctype>

#include "platform/Cp932.hpp"
#include "widgets/WidgetColors.hpp"

namespace tokeiya {

using namespace win;

CCRWMenuBase::CCRWMenuBase(IHostWindow* host, const CRect& rect, int cols, int rows, int edgeWidth,
                           int padding, int count, int visibleRows, bool scrollBar)
    : CCRWSelecter(host, rect, cols + (scrollBar ? 2 : 0), rows, edgeWidth, padding, false),
      m_visibleRows(std::max(visibleRows, 0)),
      m_scrollBar(scrollBar),
      m_rowText(MenuColors::Global().text),
      m_rowBack(MenuColors::Global().back),
      m_cursorText(MenuColors::Global().cursorText),
      m_cursorBack(MenuColors::Global().cursorBack) {
    // Cells never written yet look like empty rows of the list.
    SetDefaultColors(m_rowText, m_rowBack);
    ResetAllColors();
    SetWheelEnabled(true);
    if (scrollBar) {
        m_bar = CreateScrollBar(cols, 0, rows, 1, 0, 1, false);
    }
    SetCount(count);
}

CCRWMenuBase::~CCRWMenuBase() = default;

void CCRWMenuBase::LayoutRows() {
    m_regions.clear();
    for (int row = 0; row < m_visibleRows; ++row) {
        AddMouseRegion(CRect{}, 1, row, kRowRegions);
    }
    SetMouseEnabled(true);
    m_laidOut = true;
    PlaceRowRegions();
    // Line keys for the wheel anywhere over the list.
    AddMouseRegion(GetClientCells(), 0, 0, 1);
}

bool CCRWMenuBase::GetRowRect(int, CRect&) const {
    return false;
}

void CCRWMenuBase::PlaceRowRegions() {
    for (CMouseRect& region : m_regions) {
        if (region.kind != kRowRegions) {
            continue;
        }
        CRect rect;
        region.rect = GetRowRect(region.subId, rect) ? rect : CRect{};
    }
}

CRect CCRWMenuBase::GetClientCells() const {
    return CRect{0, 0, m_cols, m_rows};
}

void CCRWMenuBase::DrawEmptyRow(int) {}

void CCRWMenuBase::DrawEmptyList() {}

void CCRWMenuBase::SetCount(int count) {
    m_count = std::max(count, 0);
    if (m_bar != nullptr) {
        m_bar->SetRange(0, m_count < 2 ? 0 : m_count - 1, true);
        m_bar->SetEnabled(m_count > 1);
    }
}

void CCRWMenuBase::DrawRows() {
    if (m_count == 0) {
        DrawEmptyList();
        return;
    }
    const int filled = std::min(m_count - m_top, m_visibleRows);
    for (int row = 0; row < m_visibleRows; ++row) {
        if (row < filled) {
            DrawRow(row);
        } else {
            DrawEmptyRow(row);
        }
    }
}

int CCRWMenuBase::GetCurrentIndex() const {
    return m_count == 0 ? -1 : m_top + m_cursor;
}

std::string CCRWMenuBase::GetEntryText(int) const {
    return {};
}

std::optional<std::string> CCRWMenuBase::GetCurrentText() const {
    const int index = GetCurrentIndex();
    if (index < 0) {
        return std::nullopt;
    }
    return GetEntryText(index);
}

int CCRWMenuBase::GetEntryCode(int index) const {
    return index;
}

int CCRWMenuBase::GetCurrentCode() const {
    const int index = GetCurrentIndex();
    return index < 0 ? -1 : GetEntryCode(index);
}

void CCRWMenuBase::SelectEntry(int index, bool redraw) {
    SelectIndex(index, redraw);
}

void CCRWMenuBase::SelectIndex(int index, bool redraw) {
    if (m_count == 0) {
        return;
    }
    index = std::clamp(index, 0, m_count - 1);
    if (index < m_top || index >= m_top + m_visibleRows) {
        m_top = index;
        if (m_count - m_top < m_visibleRows) {
            m_top = std::max(m_count - m_visibleRows, 0);
        }
    }
    m_cursor = index - m_top;
    UpdateScrollPos();
    if (redraw) {
        DrawRows();
        InvalidateAll(false);
    }
}

void CCRWMenuBase::Open(int code, bool closeIfEmpty) {
    if (closeIfEmpty && m_count == 0) {
        if (GetHost() != nullptr) {
            GetHost()->PostMessage(WM_POPUP_CLOSED, 0, 0);
        }
        return;
    }
    SetMouseEnabled(true);
    SelectEntry(code, true);
    // An empty list still shows its blank rows.
    if (m_count == 0) {
        DrawRows();
    }
    Show(true, true);
}

void CCRWMenuBase::Page(bool forward) {
    if (m_count == 0) {
        return;
    }
    const int step = forward ? m_visibleRows : -m_visibleRows;
    const int entry = std::clamp(m_top + m_cursor + step, 0, m_count - 1);
    const int top = std::clamp(m_top + step, 0, std::max(m_count - m_visibleRows, 0));
    if (entry == m_top + m_cursor && top == m_top) {
        return;
    }
    m_top = top;
    m_cursor = entry - top;
    DrawRows();
    InvalidateAll(false);
    UpdateScrollPos();
}

int CCRWMenuBase::FilterTypeahead(int ch) const {
    return ch < 0x80 && std::isalnum(ch) != 0 ? ch : 0;
}

void CCRWMenuBase::ClearTypeahead() {
    m_typed.clear();
}

int CCRWMenuBase::TypeaheadDone() {
    return -1;
}

void CCRWMenuBase::Finish() {
    if (m_form != nullptr) {
        m_form->ResetColors(m_fieldX, m_fieldY, m_fieldCount, 1);
    }
    if (GetHost() != nullptr) {
        GetHost()->PostMessage(WM_POPUP_CLOSED, 0, 0);
    }
}

void CCRWMenuBase::UpdateScrollPos() {
    if (m_bar != nullptr && m_count > 1) {
        m_bar->SetPosition(m_top + m_cursor, true);
    }
}

void CCRWMenuBase::SetRect(const CRect& rect) {
    CCRWSelecter::SetRect(rect);
    if (m_laidOut) {
        PlaceRowRegions();
    }
}

void CCRWMenuBase::Close() {
    CCRWSelecter::Close();
    SetMouseEnabled(false);
    Show(false, true);
    ClearTypeahead();
}

void CCRWMenuBase::RedrawRow(int row) {
    if (row >= 0 && row < m_visibleRows && m_top + row < m_count) {
        DrawRow(row);
    }
}

void CCRWMenuBase::MoveCursor(int step) {
    const int index = m_top + m_cursor + step;
    if (m_count == 0 || index < 0 || index >= m_count) {
        return;
    }
    const int newCursor = m_cursor + step;
    if (newCursor < 0 || newCursor >= m_visibleRows) {
        m_top += step;
        DrawRows();
        InvalidateAll(false);
        UpdateScrollPos();
    } else {
        PutCursorOnRow(newCursor);
    }
}

void CCRWMenuBase::PutCursorOnRow(int row) {
    const int oldCursor = m_cursor;
    m_cursor = row;
    RedrawRow(oldCursor);
    RedrawRow(m_cursor);
    UpdateScrollPos();
}

bool CCRWMenuBase::OnUp(int modifiers, bool down) {
    if (!down) {
        return false;
    }
    ClearTypeahead();
    if ((modifiers & kCtrl) != 0) {
        PostExitKey(VK_UP, modifiers);
        return true;
    }
    MoveCursor(-1);
    return true;
}

bool CCRWMenuBase::OnDown(int modifiers, bool down) {
    if (!down) {
        return false;
    }
    ClearTypeahead();
    if ((modifiers & kCtrl) != 0) {
        PostExitKey(VK_DOWN, modifiers);
        return true;
    }
    MoveCursor(1);
    return true;
}

bool CCRWMenuBase::OnPageUp(int, bool down) {
    if (!down) {
        return false;
    }
    Page(false);
    return true;
}

bool CCRWMenuBase::OnPageDown(int, bool down) {
    if (!down) {
        return false;
    }
    Page(true);
    return true;
}

bool CCRWMenuBase::OnChar(const Message& message) {
    if (m_typeMax <= 0) {
        return false;
    }
    const auto byte = static_cast<unsigned char>(message.wParam & 0xFF);
    if (m_trailFollows) {
        m_trailFollows = false;
        return true;
    }
    if (cp932::IsLeadByte(byte)) {
        m_trailFollows = true;
        return true;
    }
    const int accepted = FilterTypeahead(byte);
    if (accepted == 0) {
        return false;
    }
    if (static_cast<int>(m_typed.size()) < m_typeMax) {
        m_typed.push_back(static_cast<char>(accepted));
    }
    TypeaheadDone();
    return true;
}

int CCRWMenuBase::RowAt(int x, int y) const {
    int id = 0;
    int row = -1;
    if (!HitTest(x, y, id, row, kRowRegions)) {
        return -1;
    }
    return row;
}

bool CCRWMenuBase::OnLButtonUp(int, int x, int y) {
    // A list that already left takes no more clicks (the second release of a double click).
    if (!Shown()) {
        return false;
    }
    const int row = RowAt(x, y);
    if (row < 0) {
        return false;
    }
    if (m_top + row >= m_count) {
        return true;
    }
    if (row == m_cursor) {
        PostExitKey(VK_RETURN, 0);
        return true;
    }
    PutCursorOnRow(row);
    return true;
}

bool CCRWMenuBase::OnLButtonDblClk(int keys, int x, int y) {
    if (!Shown()) {
        return false;
    }
    const int row = RowAt(x, y);
    if (row < 0 || m_top + row >= m_count) {
        return row >= 0;
    }
    if (row != m_cursor) {
        PutCursorOnRow(row);
    }
    int modifiers = 0;
    if ((static_cast<WPARAM>(keys) & MK_SHIFT) != 0) {
        modifiers |= kShift;
    }
    if ((static_cast<WPARAM>(keys) & MK_CONTROL) != 0) {
        modifiers |= kCtrl;
    }
    PostExitKey(VK_RETURN, modifiers);
    return true;
}

void CCRWMenuBase::OnLineUp(CCRWScrollBar*) {
    OnUp(0, true);
}

void CCRWMenuBase::OnLineDown(CCRWScrollBar*) {
    OnDown(0, true);
}

void CCRWMenuBase::OnPageUp(CCRWScrollBar*) {
    Page(false);
}

void CCRWMenuBase::OnPageDown(CCRWScrollBar*) {
    Page(true);
}

void CCRWMenuBase::OnThumbPosition(CCRWScrollBar*, int position) {
    if (m_bar != nullptr && m_count > 1) {
        SelectIndex(position, true);
    }
}

}  // namespace tokeiya
