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

std::string TimeCardRowText(const CTimeCard& card) {
    // The day's total is the sum as the amounts are stored, in single precision.
    const float total = card.fSalary + card.fOvertimePay;
    return FormatText("%s  %s %3d %s %3d:%02d  %3d:%02d %9.0f %9.0f %9.0f  %s",
                      CardTimeText(card.timeFrom).c_str(), CardTimeText(card.timeTo).c_str(),
                      card.nLunchMin, OptionLabel(card.flgOption), card.nWorkingMin / 60,
                      card.nWorkingMin % 60, card.nOvertimeMin / 60, card.nOvertimeMin % 60,
                      static_cast<double>(card.fSalary), static_cast<double>(card.fOvertimePay),
                      static_cast<double>(total), ErrorMark(card.flgErr));
}

}  // namespace tokeiya
