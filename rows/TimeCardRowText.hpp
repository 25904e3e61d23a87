#pragma once

#include <string>

#include "data/CTimeCard.hpp"
#include "data/CUser.hpp"
#include "platform/CTime.hpp"
#include "rows/SalaryRowText.hpp"

namespace tokeiya {

// "hh:mm", or five blanks for an unset time.
std::string CardTimeText(const CTime& time);
// "日" .. "土" for 0 = Sunday .. 6 = Saturday; any other number counts on modulo 7.
const char* WeekdayName(int weekday);
// The day option as shown: two blanks, "前" or "翌" (blanks for any other value).
const char* OptionLabel(int option);
// "○" for a set flag, else two blanks: how the lists show a yes/no field.
const char* MaruMark(int flag);
// "○" for a day whose times do not add up, else two blanks.
const char* ErrorMark(int flgErr);

// A time card's heading: "yyyy 年 mm 月分 " with the user's and the group's name, each padded
// to 20 bytes (never cut), the group's in parentheses.
std::string TimeCardTitleText(int year, int month, const CUser& user);
// Whether row `row` of a pay period names its month: the first row and the first of a month.
bool DayLabelShowsMonth(int row, const CTimeCard& card);
// The label of row `row` of a period whose first row falls on `firstWeekday`:
// "mm dd w" where the month is named, else "   dd w".
std::string TimeCardDayLabel(int row, const CTimeCard& card, int firstWeekday);
// A day as the time card shows it from the arrival on: times, lunch minutes, option,
// working and overtime hours, base pay, overtime pay, their total and the error mark.
std::string TimeCardRowText(const CTimeCard& card, RowStyle style = RowStyle::Screen);
// The printed card's day row: the day and its weekday name, then the row as above.
std::string TimeCardPrintRowText(const CTimeCard& card, int weekday);
// The printed card's month line under the hours and amounts: the month's working and
// overtime hours, base pay, overtime pay, their total and the days in error.
std::string TimeCardMonthText(const CSalary& month);

}  // namespace tokeiya
