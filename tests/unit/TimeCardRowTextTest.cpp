#include <gtest/gtest.h>

#include <string>

#include "data/TimeValue.hpp"
#include "platform/Cp932.hpp"
#include "rows/TimeCardRowText.hpp"

namespace tokeiya {
namespace {

std::string U(const std::string& cp932) {
    return cp932::ToUtf8(cp932);
}

TEST(TimeCardRowText, TimesNamesAndMarks) {
    EXPECT_EQ("     ", CardTimeText(CTime()));
    EXPECT_EQ("     ", CardTimeText(CTime(86400 / 2))) << "before 2 January 1970: no time";
    EXPECT_EQ("00:00", CardTimeText(TimeOfDay(0, 0))) << "midnight is a time";
    EXPECT_EQ("09:05", CardTimeText(TimeOfDay(9, 5)));
    const struct {
        int number;
        const char* weekday;
        const char* option;
    } cases[] = {{-1, "土", "  "}, {0, "日", "  "}, {1, "月", "前"},
                 {2, "火", "翌"},  {3, "水", "  "}, {15, "月", "  "}};
    for (const auto& c : cases) {
        EXPECT_EQ(U(c.weekday), U(WeekdayName(c.number))) << c.number;
        EXPECT_EQ(U(c.option), U(OptionLabel(c.number))) << c.number;
        EXPECT_EQ(U(c.number != 0 ? "○" : "  "), U(ErrorMark(c.number))) << c.number;
    }
}

CTimeCard Day(CTime from, CTime to, int lunch, int option, int working, int overtime, float salary,
              float overtimePay, int error) {
    CTimeCard card;
    card.timeFrom = from;
    card.timeTo = to;
    card.nLunchMin = lunch;
    card.flgOption = option;
    card.nWorkingMin = working;
    card.nOvertimeMin = overtime;
    card.fSalary = salary;
    card.fOvertimePay = overtimePay;
    card.flgErr = error;
    return card;
}

TEST(TimeCardRowText, ADayShowsItsTimesHoursAndPayInFixedColumns) {
    const CTime nine = TimeOfDay(9, 0);
    const struct {
        const char* what;
        CTimeCard card;
        const char* text;
    } cases[] = {
        {"overtime and its pay", Day(nine, TimeOfDay(19, 30), 60, 0, 570, 90, 11400, 2400, 0),
         "09:00  19:30  60      9:30    1:30     11400      2400     13800    "},
        {"a missing departure keeps the columns", Day(nine, CTime(), 60, 0, 0, 0, 0, 0, 1),
         "09:00         60      0:00    0:00         0         0         0  ○"},
        {"a night shift", Day(TimeOfDay(22, 0), TimeOfDay(6, 0), 0, 2, 480, 0, 0, 0, 0),
         "22:00  06:00   0 翌   8:00    0:00         0         0         0    "},
        {"the total is the float sum", Day(CTime(), CTime(), 0, 0, 0, 0, 16777216, 1, 0),
         "               0      0:00    0:00  16777216         1  16777216    "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(U(c.text), U(TimeCardRowText(c.card))) << c.what;
    }
}

TEST(TimeCardRowText, TheTitleAndTheDayLabels) {
    CUser user;
    user.strUserName = "山田花子ABCDEFGHIJKLMN";
    user.strGroupName = "営業部";
    EXPECT_EQ(U("2027 年  3 月分 山田花子ABCDEFGHIJKLMN(営業部              )"),
              U(TimeCardTitleText(2027, 3, user)))
        << "names padded to 20 bytes, never cut";

    // A period from Sunday 21 February: the month is named on row 0 and on 1 March.
    const struct {
        int row;
        int month;
        int day;
        const char* label;
    } cases[] = {{0, 2, 21, " 2 21 日"},
                 {1, 2, 22, "   22 月"},
                 {8, 3, 1, " 3  1 月"},
                 {27, 3, 20, "   20 土"}};
    for (const auto& c : cases) {
        CTimeCard card;
        card.nMonth = c.month;
        card.nDay = c.day;
        EXPECT_EQ(U(c.label), U(TimeCardDayLabel(c.row, card, 0))) << "row " << c.row;
        EXPECT_EQ(c.row == 0 || c.day == 1, DayLabelShowsMonth(c.row, card));
    }
}

}  // namespace
}  // namespace tokeiya
