#pragma once

#include <cstdint>

namespace tokeiya {

// Days of a month in the Gregorian calendar.
int DaysInMonth(int year, int month);

struct CalendarDay;

// Day 1 of the month `offset` months after (year, month); a negative offset goes back.
CalendarDay FirstOfMonth(int year, int month, int offset);

struct CalendarDay {
    int year = 0;
    int month = 0;
    int day = 0;
    // year x 10000 + month x 100 + day, as the pay calculation and the keys use it.
    int Code() const { return year * 10000 + month * 100 + day; }
    CalendarDay Next() const;
    // Days since 1970-01-01; a day past the month's end counts on into the next month.
    long Serial() const;
    static CalendarDay FromSerial(long serial);
    // 0 = Sunday .. 6 = Saturday.
    int Weekday() const;
    bool operator==(const CalendarDay&) const = default;
};

// The pay period of a month for a closing day: without one (0) the calendar month; with
// closing day c, day c + 1 of the previous month to day c of the month. Its days are rows
// 0, 1, ... in order; there are as many rows as the period's first month has days.
class PayPeriod {
  public:
    // Closing days above 28 are taken as 28, so that the period never skips or repeats a day.
    static constexpr int kLatestCutoff = 28;
    PayPeriod(int year, int month, int cutoff);

    const CalendarDay& First() const { return m_first; }
    const CalendarDay& Last() const { return m_last; }
    int Cutoff() const { return m_cutoff; }
    int RowCount() const;
    // The row of a day of the period, or -1 for a day outside it.
    int RowOf(int year, int month, int day) const;
    CalendarDay DayOfRow(int row) const;
    // The time card keys that bound a user's cards of the period; without a closing day
    // the upper bound uses day 31.
    int64_t FirstKey(int userId) const;
    int64_t LastKey(int userId) const;

  private:
    int m_cutoff;
    long m_start;  // serial day numbers of the first and last day
    long m_end;
    CalendarDay m_first;
    CalendarDay m_last;
};

}  // namespace tokeiya
