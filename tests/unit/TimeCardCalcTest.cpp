#include <gtest/gtest.h>

#include "data/CPayCalculation.hpp"
#include "data/PayPeriod.hpp"
#include "data/TimeValue.hpp"
#include "screens/paycalc/TimeCardCalc.hpp"
#include "screens/paycalc/TimeCardPeriod.hpp"
#include "tests/support/ScopedTimeZone.hpp"

namespace tokeiya {
namespace {

// "hh:mm" as a stored time of day, "" for an unset time.
CTime At(const char* text) {
    int h = 0;
    int m = 0;
    if (std::sscanf(text, "%d:%d", &h, &m) != 2) {
        return CTime();
    }
    return TimeOfDay(h, m);
}

struct Settings {
    int typeSalary = 1;
    int typeOvertime = 0;
    int unit = 0;
    int round = 0;
    float salary = 0;
    float overtimePay = 0;
    const char* start = "09:00";
    const char* end = "18:00";
};

struct Case {
    const char* name;
    Settings settings;
    const char* from;
    const char* to;
    int lunch;
    int option;  // as chosen before
    // expected
    int working;
    int overtime;
    int flgOption;
    int flgErr;
    float pay;
    float overtimePay;
};

CUser UserOf(const Settings& s) {
    CUser user;
    user.typeSalary = s.typeSalary;
    user.typeOvertime = s.typeOvertime;
    user.nTimePerSalary = s.unit;
    user.flgRound = s.round;
    user.fSalary = s.salary;
    user.fOvertimePay = s.overtimePay;
    user.timeFrom = At(s.start);
    user.timeTo = At(s.end);
    return user;
}

TEST(RecomputeRow, FollowsThePayRules) {
    test::ScopedTimeZone zone("Asia/Tokyo");
    Settings rule4;
    rule4.typeOvertime = 4;
    Settings both;
    both.typeOvertime = 3;
    Settings hourly{3, 4, 60, 2, 1200, 1500};
    Settings quarter{3, 0, 15, 3, 300, 0};
    Settings daily{2, 4, 15, 1, 9000, 400};
    Settings dailyNoUnit{2, 4, 0, 1, 9000, 400};
    Settings monthly{1, 4, 30, 1, 250000, 2000};
    Settings noStart{1, 1, 0, 0, 0, 0, "", "18:00"};
    const float kept = 777;  // what the row held before the recompute
    const Case cases[] = {
        {"day shift", rule4, "09:00", "18:00", 60, 0, 480, 0, 0, 0, kept, kept},
        {"day shift with overtime", rule4, "09:00", "19:30", 60, 0, 570, 90, 0, 0, kept, kept},
        {"night shift to the next day", rule4, "22:00", "06:00", 0, 0, 480, 0, 2, 0, kept, kept},
        {"arrived the day before", rule4, "20:00", "10:00", 60, 0, 780, 300, 1, 0, kept, kept},
        {"neither hour rule, option kept", rule4, "12:00", "11:00", 0, 0, 0, 0, 0, 1, 0, 0},
        {"neither hour rule, user chose next day", rule4, "12:00", "11:00", 0, 2, 1380, 900, 2, 0,
         kept, kept},
        {"only the arrival", rule4, "09:00", "", 60, 0, 0, 0, 0, 1, 0, 0},
        {"only the departure", rule4, "", "18:00", 60, 0, 0, 0, 0, 1, 0, 0},
        {"empty day", rule4, "", "", 60, 0, 0, 0, 0, 0, 0, 0},
        {"lunch longer than the day", rule4, "09:00", "09:30", 60, 0, 0, 0, 0, 1, 0, 0},
        {"early and late", both, "08:30", "18:45", 60, 0, 555, 75, 0, 0, kept, kept},
        {"late departure over midnight", both, "09:00", "01:00", 60, 0, 900, 420, 2, 0, kept, kept},
        {"early arrival the day before", both, "23:00", "18:00", 60, 1, 1080, 600, 1, 0, kept,
         kept},
        {"overtime capped at the working time", both, "03:00", "04:00", 0, 0, 60, 60, 0, 0, kept,
         kept},
        {"quarter hours, 487 rounds down", quarter, "09:00", "17:07", 0, 0, 480, 0, 0, 0, 9600, 0},
        {"quarter hours, 488 rounds up", quarter, "09:00", "17:08", 0, 0, 495, 0, 0, 0, 9900, 0},
        {"hourly, round down", hourly, "09:00", "19:50", 60, 0, 540, 60, 0, 0, 10800, 1500},
        {"daily pay with round up", daily, "09:00", "18:01", 60, 0, 495, 15, 0, 0, 9000, 400},
        {"daily pay without unit keeps the old pay", dailyNoUnit, "09:00", "18:01", 60, 0, 481, 1,
         0, 0, kept, kept},
        {"an unset contractual start counts as midnight", noStart, "08:00", "17:00", 60, 0, 480, 0,
         0, 0, kept, kept},
        {"monthly pay keeps the day's pay, pays overtime", monthly, "09:00", "20:10", 60, 0, 630,
         150, 0, 0, kept, 10000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTimeCard card = CTimeCard::NewDay(1, 2024, 4, 3, 60);
        card.timeFrom = At(c.from);
        card.timeTo = At(c.to);
        card.nLunchMin = c.lunch;
        card.flgOption = c.option;
        card.fSalary = kept;
        card.fOvertimePay = kept;
        card.nWorkingMin = 999;
        RecomputeRow(UserOf(c.settings), card);
        EXPECT_EQ(c.working, card.nWorkingMin);
        EXPECT_EQ(c.overtime, card.nOvertimeMin);
        EXPECT_EQ(c.flgOption, card.flgOption);
        EXPECT_EQ(c.flgErr, card.flgErr);
        EXPECT_EQ(c.pay, card.fSalary);
        EXPECT_EQ(c.overtimePay, card.fOvertimePay);
    }
}

TEST(RecomputeRow, AmountsRoundHalvesAwayFromZero) {
    EXPECT_EQ(3.0f, WholeAmount(2.5L));
    EXPECT_EQ(2.0f, WholeAmount(2.4999L));
    EXPECT_EQ(-3.0f, WholeAmount(-2.5L));
    // 100 yen an hour for 7 quarter hours: 175 exactly; for 5 minutes: 8.333 -> 8.
    test::ScopedTimeZone zone("Asia/Tokyo");
    Settings s{3, 0, 60, 2, 100, 0};
    CUser user = UserOf(s);
    user.nTimePerSalary = 4;
    user.fSalary = 2.5f;  // per 4 minutes: 6 minutes round down to 4 -> 2.5 -> 3
    CTimeCard card = CTimeCard::NewDay(1, 2024, 4, 3, 60);
    card.timeFrom = At("09:00");
    card.timeTo = At("09:06");
    card.nLunchMin = 0;
    RecomputeRow(user, card);
    EXPECT_EQ(4, card.nWorkingMin);
    EXPECT_EQ(3.0f, card.fSalary);
}

TEST(TimeCardPeriod, LaysOutRowsByClosingDay) {
    struct PeriodCase {
        int year, month, cutoff;
        int rows;
        int weekday;  // of row 0, 0 = Sunday
        CalendarDay row0;
    };
    const PeriodCase cases[] = {
        {2024, 3, 0, 31, 5, {2024, 3, 1}},    // 1 March 2024 was a Friday
        {2024, 3, 20, 29, 3, {2024, 2, 21}},  // 21 February 2024, a Wednesday; leap year
        {2023, 3, 20, 28, 2, {2023, 2, 21}},
        {2024, 1, 20, 31, 4, {2023, 12, 21}},  // January starts in December
        {2023, 3, 28, 28, 3, {2023, 3, 1}},    // closing day 28 after a 28-day February
    };
    for (const PeriodCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << " cutoff " << c.cutoff);
        CUser user;
        user.idUser = 5;
        user.nCutoff = c.cutoff;
        CTimeCardPeriod period(user, c.year, c.month);
        EXPECT_EQ(c.rows, period.RowsInUse());
        EXPECT_EQ(c.weekday, period.FirstWeekday());
        const CTimeCard& first = period.Rows()[0];
        EXPECT_EQ(c.row0.Code(), first.nYear * 10000 + first.nMonth * 100 + first.nDay);
        EXPECT_EQ(5, first.idUser);
        // Rows run on consecutive days, also beyond the rows in use.
        for (size_t r = 1; r < period.Rows().size(); ++r) {
            const CTimeCard& a = period.Rows()[r - 1];
            const CTimeCard& b = period.Rows()[r];
            EXPECT_EQ(CalendarDay({a.nYear, a.nMonth, a.nDay}).Next().Code(),
                      b.nYear * 10000 + b.nMonth * 100 + b.nDay);
        }
    }
}

TEST(PayCalculationBounds, AreFormedAsTheSalaryListFormsThem) {
    struct BoundsCase {
        int year, month, cutoff, from, to;
    };
    const BoundsCase cases[] = {
        {2024, 3, 20, 20240221, 20240320},
        {2024, 3, 0, 20240301, 20240331},
        {2024, 4, 0, 20240401, 20240431},  // day 31 whatever the month's length
        {2024, 1, 20, 20231221, 20240120},
        {2023, 3, 28, 20230229, 20230328},  // no 29 February: only compared, never a date
    };
    for (const BoundsCase& c : cases) {
        PayCalculationBounds b = PayCalculationBounds::For(c.year, c.month, c.cutoff);
        EXPECT_EQ(c.from, b.from) << c.year << "-" << c.month << " cutoff " << c.cutoff;
        EXPECT_EQ(c.to, b.to) << c.year << "-" << c.month << " cutoff " << c.cutoff;
    }
}

// The database calculation and the time card rows must cover the same days, for every
// closing day a group may carry, 29 to 31 included.
TEST(PayCalculationBounds, CoverExactlyTheDaysOfThePayPeriod) {
    for (int cutoff = 0; cutoff <= 31; ++cutoff) {
        for (int month = 1; month <= 12; ++month) {
            const PayPeriod period(2024, month, cutoff);
            const PayCalculationBounds bounds = PayCalculationBounds::For(2024, month, cutoff);
            // Every real day from the previous December to the next January.
            const long last = CalendarDay{2025, 1, 31}.Serial();
            for (long serial = CalendarDay{2023, 12, 1}.Serial(); serial <= last; ++serial) {
                const CalendarDay day = CalendarDay::FromSerial(serial);
                const bool inBounds = day.Code() >= bounds.from && day.Code() <= bounds.to;
                const bool inPeriod = period.RowOf(day.year, day.month, day.day) >= 0;
                ASSERT_EQ(inPeriod, inBounds)
                    << "2024-" << month << " cutoff " << cutoff << ", day " << day.Code();
            }
        }
    }
}

}  // namespace
}  // namespace tokeiya
