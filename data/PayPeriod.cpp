#include "data/PayPeriod.hpp"

#include <algorithm>

#include "data/CTimeCard.hpp"

namespace tokeiya {

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

CalendarDay FirstOfMonth(int year, int month, int offset) {
    const int index = year * 12 + (month - 1) + offset;
    return {index / 12, index % 12 + 1, 1};
}

CalendarDay CalendarDay::Next() const {
    if (day < DaysInMonth(year, month)) {
        return {year, month, day + 1};
    }
    return FirstOfMonth(year, month, 1);
}

long CalendarDay::Serial() const {
    // Days from the civil calendar (the proleptic Gregorian algorithm of H. Hinnant).
    long y = month <= 2 ? year - 1 : year;
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long m = month;
    long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + (day - 1);
}

int CalendarDay::Weekday() const {
    // 1 January 1970 was a Thursday.
    return static_cast<int>(((Serial() % 7) + 7 + 4) % 7);
}

CalendarDay CalendarDay::FromSerial(long serial) {
    long z = serial + 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

PayPeriod::PayPeriod(int year, int month, int cutoff)
    : m_cutoff(std::clamp(cutoff, 0, kLatestCutoff)) {
    CalendarDay monthStart{year, month, 1};
    if (m_cutoff == 0) {
        m_start = monthStart.Serial();
        m_end = m_start + DaysInMonth(year, month) - 1;
    } else {
        // Day c + 1 of the previous month; past a short February it is 1 March.
        m_start = FirstOfMonth(year, month, -1).Serial() + m_cutoff;
        m_end = monthStart.Serial() + m_cutoff - 1;
    }
    m_first = CalendarDay::FromSerial(m_start);
    m_last = CalendarDay::FromSerial(m_end);
}

int PayPeriod::RowCount() const {
    // The days of the period's first month: for a closing day, the previous month.
    return static_cast<int>(m_end - m_start + 1);
}

int PayPeriod::RowOf(int year, int month, int day) const {
    if (day < 1 || day > DaysInMonth(year, month)) {
        return -1;
    }
    long n = CalendarDay{year, month, day}.Serial();
    return n >= m_start && n <= m_end ? static_cast<int>(n - m_start) : -1;
}

CalendarDay PayPeriod::DayOfRow(int row) const {
    return CalendarDay::FromSerial(m_start + row);
}

int64_t PayPeriod::FirstKey(int userId) const {
    return TimeCardKey(userId, m_first.year, m_first.month, m_first.day);
}

int64_t PayPeriod::LastKey(int userId) const {
    int day = m_cutoff == 0 ? 31 : m_last.day;
    return TimeCardKey(userId, m_last.year, m_last.month, day);
}

}  // namespace tokeiya
