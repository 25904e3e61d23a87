#pragma once

#include <array>
#include <string>

#include "data/CDaySchedule.hpp"
#include "data/CRecordBase.hpp"

namespace tokeiya {

// The month view [dbo].[Q月スケジュール]: one row per schedule entry and calendar day it
// shows on (every-day entries on every day), holidays included.
class CQDaySchedule : public CRecordBase {
  public:
    explicit CQDaySchedule(CConnection& connection);

    // Rebuilds the holiday names and subject texts of the month's days from the user's and
    // everyone's rows, day by day with holidays first. The time cards are left alone. 0 when
    // the view cannot be read; the days are then unchanged.
    [[nodiscard]] int LoadMonthTexts(int userId, int year, int month,
                                     std::array<CDaySchedule, 31>& days);

    int m_idUser;
    int m_nYear;
    int m_nMonth;
    int m_nDay;
    std::string m_strSubject;
    int m_nLevel;

  protected:
    std::string GetDefaultSQL() const override { return "[dbo].[Q月スケジュール]"; }
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;
};

}  // namespace tokeiya
