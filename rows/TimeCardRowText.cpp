#include "rows/TimeCardRowText.hpp"

#include "platform/TextHelpers.hpp"
#include "rows/FormatText.hpp"

namespace tokeiya {

using rows::FormatText;

std::string CardTimeText(const CTime& time) {
    if (IsEmptyTime(time)) {
        return "     ";
    }
    return FormatText("%02d:%02d", time.GetHour() % 100, time.GetMinute());
}

const char* WeekdayName(int weekday) {
    static constexpr const char* kNames[] = {"日", "月", "火", "水", "木", "金", "土"};
    return kNames[((weekday % 7) + 7) % 7];
}

const char* OptionLabel(int option) {
    static constexpr const char* kLabels[] = {"  ", "前", "翌"};
    return option >= 0 && option <= 2 ? kLabels[option] : kLabels[0];
}

const char* MaruMark(int flag) {
    return flag != 0 ? "○" : "  ";
}

const char* ErrorMark(int flgErr) {
    return MaruMark(flgErr);
}

std::string TimeCardTitleText(int year, int month, const CUser& user) {
    return FormatText("%4d 年 %2d 月分 ", year, month) + PadText(user.strUserName, 20, true) + "(" +
           PadText(user.strGroupName, 20, true) + ")";
}

bool DayLabelShowsMonth(int row, const CTimeCard& card) {
    return row == 0 || card.nDay == 1;
}

std::string TimeCardDayLabel(int row, const CTimeCard& card, int firstWeekday) {
    const char* weekday = WeekdayName(firstWeekday + row);
    if (DayLabelShowsMonth(row, card)) {
        return FormatText("%2d %2d %s", card.nMonth, card.nDay, weekday);
    }
    return FormatText("   %2d %s", card.nDay, weekday);
}

std::string TimeCardRowText(const CTimeCard& card, RowStyle style) {
    // The day's total is the sum as the amounts are stored, in single precision.
    const float total = card.fSalary + card.fOvertimePay;
    return FormatText(
        "%s  %s %3d %s %s  %s %s  %s", CardTimeText(card.timeFrom).c_str(),
        CardTimeText(card.timeTo).c_str(), card.nLunchMin, OptionLabel(card.flgOption),
        HoursText(card.nWorkingMin).c_str(), HoursText(card.nOvertimeMin).c_str(),
        AmountsText(card.fSalary, card.fOvertimePay, total, style).c_str(), ErrorMark(card.flgErr));
}

std::string TimeCardPrintRowText(const CTimeCard& card, int weekday) {
    return FormatText("%2d %s ", card.nDay, WeekdayName(weekday)) +
           TimeCardRowText(card, RowStyle::Printed);
}

std::string TimeCardMonthText(const CSalary& month) {
    return FormatText(
        " %s  %s %s  %2d", HoursText(month.nWorkingMin).c_str(),
        HoursText(month.nOvertimeMin).c_str(),
        AmountsText(month.fSalary, month.fOvertimePay, month.Total(), RowStyle::Printed).c_str(),
        month.nErr);
}

}  // namespace tokeiya
