#include "screens/base/TimeCardCells.hpp"

#include <algorithm>

#include "widgets/CIIDigit.hpp"
#include "widgets/CIISpaceSelecter.hpp"
#include "widgets/CIITime.hpp"

namespace tokeiya {

using namespace win;

CTimeCardCells::CTimeCardCells(const std::array<int, kColumns>& columns) : m_columns(columns) {
    m_items[0] = std::make_unique<CIITime>(columns[0], 0, nullptr, false, true);
    m_items[1] = std::make_unique<CIITime>(columns[1], 0, nullptr, false, true);
    auto lunch = std::make_unique<CIIDigit>(columns[2], 0, 3, static_cast<long*>(nullptr), false);
    lunch->SetOptions(true, false);
    m_items[2] = std::move(lunch);
    m_items[3] = std::make_unique<CIISS_TimeOption>(columns[3], 0, nullptr);
}

CTimeCardCells::~CTimeCardCells() = default;

CIIBase* CTimeCardCells::Place(int column, int line, CTime& arrival, CTime& departure,
                               int& lunchMinutes, int& option) {
    const size_t index = static_cast<size_t>(std::clamp(column, 0, kColumns - 1));
    CIIBase* item = m_items[index].get();
    item->SetPos(m_columns[index], line);
    switch (index) {
        case 0:
            item->Bind(&arrival);
            break;
        case 1:
            item->Bind(&departure);
            break;
        case 2:
            item->Bind(&lunchMinutes);
            break;
        default:
            item->Bind(&option);
            break;
    }
    return item;
}

void CTimeCardCells::Move(int virtualKey, int& row, int& column, int first, int last) {
    switch (virtualKey) {
        case VK_RETURN:
        case VK_RIGHT:
            if (column < kColumns - 1) {
                ++column;
            } else if (row < last) {
                ++row;
                column = 0;
            }
            break;
        case VK_DOWN:
            row = std::min(row + 1, last);
            break;
        case VK_LEFT:
            if (column > 0) {
                --column;
            } else if (row > first) {
                --row;
                column = kColumns - 1;
            }
            break;
        case VK_UP:
            row = std::max(row - 1, first);
            break;
        default:
            break;
    }
}

}  // namespace tokeiya
