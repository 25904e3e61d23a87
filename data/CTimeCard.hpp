#pragma once

#include <cstdint>

#include "platform/CTime.hpp"

namespace tokeiya {

// Day options: how the departure relates to the arrival's day.
constexpr int kOptionSameDay = 0;
constexpr int kOptionArrivalDayBefore = 1;  // "前": arrival on the previous day
constexpr int kOptionDepartureNextDay = 2;  // "翌": departure on the next day

// The key of a time card day: user id x 100000000 + year x 10000 + month x 100 + day, in
// 64-bit arithmetic (user 22 and above leave the 32-bit range).
constexpr int64_t TimeCardKey(int userId, int year, int month, int day) {
    return static_cast<int64_t>(userId) * 100000000 + static_cast<int64_t>(year) * 10000 +
           month * 100 + day;
}

// The day option a stored card gets: with both times set and the departure earlier than
// the arrival, 2 when the departure is before 8:00, else 1 when the arrival is after
// 18:59, else what the user chose; a departure not earlier than the arrival gives 0, and so
// does a card with either time unset.
int DayOption(const CTime& timeFrom, const CTime& timeTo, int chosen);

// The in-memory form of one time card day.
struct CTimeCard {
    int64_t idTimeCard = 0;  // 0 until first stored
    int idUser = 0;
    CTime timeFrom;  // arrival, a time of day on 2000-01-01; empty when not stamped
    CTime timeTo;    // departure
    int nWorkingMin = 0;
    int nLunchMin = 0;
    int nOvertimeMin = 0;  // part of the working minutes
    int nYear = 0;
    int nMonth = 0;
    int nDay = 0;
    int flgOption = kOptionSameDay;
    float fSalary = 0;
    float fOvertimePay = 0;
    int flgErr = 0;  // 1: the row's times are inconsistent

    // A day not stored yet: both times unset, the user's lunch minutes, all else 0.
    static CTimeCard NewDay(int userId, int year, int month, int day, int lunchMinutes);
    int64_t Key() const { return TimeCardKey(idUser, nYear, nMonth, nDay); }
};

}  // namespace tokeiya
