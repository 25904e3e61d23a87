#pragma once

#include <array>
#include <string>

#include "data/CConnection.hpp"
#include "data/CDaySchedule.hpp"
#include "data/CardChange.hpp"
#include "platform/CTime.hpp"
#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

// The days of one calendar month as the month schedule shows them: the texts of every day
// and the logged-in user's time cards, read from the database and written back a day at a
// time. Days are numbered 1 .. DayCount().
class CMonthScheduleDays {
  public:
    // Colours of the month schedule (COLORREF values: 0x0000FF is red).
    static constexpr COLORREF kRed = 0x0000FF;
    static constexpr COLORREF kBlue = 0xFF0000;

    CMonthScheduleDays();

    // Another month, every day back to its reset values with `lunchMinutes` on its card; a
    // month outside 1..12 is taken as the nearest one.
    void Reset(int year, int month, int lunchMinutes);
    // The month's subjects and holiday names, the user's cards and the newest update time of
    // the month's schedule rows. False when a read failed; what was read stays.
    bool Load(CConnection& connection, int userId);
    // The subjects and holiday names again, the cards left as they are.
    bool ReloadTexts(CConnection& connection, int userId);
    // The newest timeUpdate of the month's schedule rows; the empty time when there is none.
    CTime ReadLatestUpdate(CConnection& connection) const;
    // Stores day `day`'s card with the month schedule's rule (the option follows the
    // times; minutes and pay are left to the time card screen), only the values changed
    // since the card was read or last stored. Throws on a failed store, after the
    // connection told the user; false when a read failed.
    bool StoreCard(CConnection& connection, int userId, int day, const ChangeSource& source);
    // The day's holiday name becomes `name`; its shared subjects are cut to what fits the
    // column beside it.
    void SetHoliday(int day, const std::string& name);
    // Days without a stored card take the new default lunch minutes.
    void TakeDefaultLunch(int minutes);

    int Year() const { return m_year; }
    int Month() const { return m_month; }
    int DayCount() const { return m_dayCount; }
    // 0 = Sunday .. 6 = Saturday.
    int WeekdayOf(int day) const { return (m_firstWeekday + day - 1) % 7; }
    bool Contains(int day) const { return day >= 1 && day <= m_dayCount; }
    CDaySchedule& Day(int day) { return m_days[Index(day)]; }
    const CDaySchedule& Day(int day) const { return m_days[Index(day)]; }
    const CTime& LatestUpdate() const { return m_latestUpdate; }
    void SetLatestUpdate(const CTime& time) { m_latestUpdate = time; }

    // "%4d 年 %2d 月"
    std::string Title() const;
    // " 3 火": the day and its weekday name, red on Sundays and holidays, else blue.
    std::string Label(int day) const;
    COLORREF LabelColor(int day) const;
    // Arrival, departure (five blanks when unset), lunch minutes and the option's label.
    std::string CardText(int day) const;

  private:
    static size_t Index(int day);

    int m_year = 2000;
    int m_month = 1;
    int m_dayCount = 31;
    int m_firstWeekday = 6;
    std::array<CDaySchedule, 31> m_days;
    // The cards as read or last stored, so that a store leaves alone what another computer
    // changed meanwhile in the values this one did not touch.
    std::array<CDaySchedule, 31> m_asRead;
    CTime m_latestUpdate;
};

}  // namespace tokeiya
