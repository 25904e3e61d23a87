#include "screens/base/CListCursor.hpp"

#include <algorithm>

#include "platform/win/WinMessages.hpp"

namespace tokeiya {

using namespace win;

void CListCursor::Reset(int count) {
    m_count = count;
    m_top = 0;
    m_row = 0;
    m_column = 0;
}

void CListCursor::Place(int row, int column) {
    m_row = std::clamp(row, 0, std::max(0, std::min(m_pageRows, m_count - m_top) - 1));
    m_column = std::clamp(column, 0, m_columns - 1);
}

bool CListCursor::WouldLeaveLastRow(int virtualKey) const {
    if (Position() != m_count - 1) {
        return false;
    }
    return virtualKey == VK_DOWN ||
           ((virtualKey == VK_RETURN || virtualKey == VK_RIGHT) && m_column == m_columns - 1);
}

CListCursor::Moved CListCursor::Move(int virtualKey) {
    switch (virtualKey) {
        case VK_RETURN:
        case VK_RIGHT:
            if (m_column < m_columns - 1) {
                ++m_column;
                return {};
            } else {
                const Moved moved = Down();
                if (moved.row) {
                    m_column = 0;
                }
                return moved;
            }
        case VK_LEFT:
            if (m_column > 0) {
                --m_column;
                return {};
            } else {
                const Moved moved = Up();
                if (moved.row) {
                    m_column = m_columns - 1;
                }
                return moved;
            }
        case VK_DOWN:
            return Down();
        case VK_UP:
            return Up();
        case VK_PRIOR:
            return Page(-m_pageRows);
        case VK_NEXT:
            return Page(m_pageRows);
        default:
            return {};
    }
}

CListCursor::Moved CListCursor::Down() {
    if (Position() + 1 >= m_count) {
        return {};
    }
    if (m_row < m_pageRows - 1) {
        ++m_row;
        return {true, false};
    }
    ++m_top;
    return {true, true};
}

CListCursor::Moved CListCursor::Up() {
    if (Position() == 0) {
        return {};
    }
    if (m_row > 0) {
        --m_row;
        return {true, false};
    }
    --m_top;
    return {true, true};
}

CListCursor::Moved CListCursor::Page(int step) {
    const int position = Position();
    const int target = std::clamp(position + step, 0, std::max(0, m_count - 1));
    const int top = m_top;
    m_top = std::clamp(m_top + step, 0, std::max(0, m_count - m_pageRows));
    m_row = target - m_top;
    return {target != position, m_top != top};
}

bool CListCursor::MakeVisible(int position) {
    if (position < 0 || position >= m_count) {
        return false;
    }
    const int top = m_top;
    if (position < m_top || position >= m_top + m_pageRows) {
        m_top = std::max(0, std::min(position, m_count - m_pageRows));
    }
    m_row = position - m_top;
    return m_top != top;
}

}  // namespace tokeiya
