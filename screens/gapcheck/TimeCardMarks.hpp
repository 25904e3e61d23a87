#pragma once

#include <string>
#include <vector>

#include "data/CConnection.hpp"
#include "data/CUser.hpp"
#include "screens/gapcheck/GapCheck.hpp"

namespace tokeiya {

// What the time card shows of the attendance check for its user: a mark on each day whose
// PC use lies outside its hours or whose card was corrected by hand, and the day's detail.
class CTimeCardMarks {
  public:
    static constexpr const char* kGapMark = "差";
    static constexpr const char* kCorrectedMark = "修";

    // Reads the check of the months from (firstYear, firstMonth) to (lastYear, lastMonth)
    // for `user`. False when a read failed (no marks then).
    bool Load(CConnection& connection, const CUser& user, int firstYear, int firstMonth,
              int lastYear, int lastMonth);
    // Reads the check of one of those months again, after a card of it was stored. False
    // when the read failed (that month's marks are gone then).
    bool Reload(CConnection& connection, int year, int month);
    // kGapMark, else kCorrectedMark, else two blanks.
    std::string MarkOf(int year, int month, int day) const;
    // The pop-up text of the day, its spans read now; empty when that read failed.
    std::string DetailOf(CConnection& connection, int year, int month, int day) const;

  private:
    const CGapCheck* MonthOf(int year, int month) const;

    struct Month {
        int year;
        int month;
        CGapCheck check;
    };
    std::vector<Month> m_months;
    int m_userId = 0;
    int m_groupId = 0;
};

}  // namespace tokeiya
