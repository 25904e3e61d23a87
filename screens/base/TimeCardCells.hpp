#pragma once

#include <array>
#include <memory>

#include "platform/CTime.hpp"
#include "widgets/CIIBase.hpp"

namespace tokeiya {

// The four cells of a time card day that are edited in place, on the day's line of the
// month schedule and of the time card screen: arrival, departure, lunch minutes and the
// day option. One item per cell, moved to the line of the day being edited.
class CTimeCardCells {
  public:
    static constexpr int kColumns = 4;

    // `columns`: where each cell's item starts on its line.
    explicit CTimeCardCells(const std::array<int, kColumns>& columns);
    ~CTimeCardCells();
    CTimeCardCells(const CTimeCardCells&) = delete;
    CTimeCardCells& operator=(const CTimeCardCells&) = delete;

    // The item of `column`, moved to `line` and bound to that field of the day.
    CIIBase* Place(int column, int line, CTime& arrival, CTime& departure, int& lunchMinutes,
                   int& option);

    // The cell a navigation key moves to among rows first..last: Enter and Right go on to the
    // next column or the next row's first, Left back to the previous column or the previous
    // row's last, Up and Down by a row. Other keys stay.
    static void Move(int virtualKey, int& row, int& column, int first, int last);

  private:
    std::array<int, kColumns> m_columns;
    std::array<std::unique_ptr<CIIBase>, kColumns> m_items;
};

}  // namespace tokeiya
