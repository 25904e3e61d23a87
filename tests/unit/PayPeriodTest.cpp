#include <gtest/gtest.h>

#include "data/CTimeCard.hpp"
#include "data/PayPeriod.hpp"
#include "data/TimeValue.hpp"
#include "tests/support/ScopedTimeZone.hpp"

namespace tokeiya {
namespace {

TEST(PayPeriod, DaysInMonthFollowsTheGregorianCalendar) {
    struct Case {
        int year, month, days;
    };
    const Case cases[] = {{2024, 2, 29}, {2023, 2, 28},  {1900, 2, 28}, {2000, 2, 29},
                          {2024, 4, 30}, {2024, 12, 31}, {2024, 13, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.days, DaysInMonth(c.year, c.month)) << c.year << "-" << c.month;
    }
}

TEST(PayPeriod, BoundsRowsAndKeys) {
    struct Case {
        int year, month, cutoff;
        CalendarDay first, last;
        int rows;
    };
    const Case cases[] = {
        {2024, 3, 0, {2024, 3, 1}, {2024, 3, 31}, 31},
        {2024, 3, 20, {2024, 2, 21}, {2024, 3, 20}, 29},   // February of a leap year
        {2024, 1, 20, {2023, 12, 21}, {2024, 1, 20}, 31},  // January starts in December
        {2023, 3, 28, {2023, 3, 1}, {2023, 3, 28}, 28},    // day 29 of a short February
        {2024, 4, 45, {2024, 3, 29}, {2024, 4, 28}, 31},   // closing days above 28 act as 28
    };
    for (const Case& c : cases) {
        PayPeriod p(c.year, c.month, c.cutoff);
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << " cutoff " << c.cutoff);
        EXPECT_EQ(c.first.Code(), p.First().Code());
        EXPECT_EQ(c.last.Code(), p.Last().Code());
        EXPECT_EQ(c.rows, p.RowCount());
        // Every day of the period has its own row, in order, and the rows run to the end.
        CalendarDay day = p.First();
        int row = 0;
        for (;; ++row, day = day.Next()) {
            if (day.day <= DaysInMonth(day.year, day.month)) {
                EXPECT_EQ(row, p.RowOf(day.year, day.month, day.day)) << day.Code();
                EXPECT_EQ(day.Code(), p.DayOfRow(row).Code());
            }
            if (day == p.Last() || row > 40) {
                break;
            }
        }
        EXPECT_EQ(c.rows - 1, row) << "the period has as many days as rows";
    }
}

TEST(PayPeriod, RowNumbersOfBothMonthsAndOutsiders) {
    PayPeriod p(2024, 3, 20);
    EXPECT_EQ(0, p.RowOf(2024, 2, 21));
    EXPECT_EQ(8, p.RowOf(2024, 2, 29));
    EXPECT_EQ(9, p.RowOf(2024, 3, 1));
    EXPECT_EQ(28, p.RowOf(2024, 3, 20));
    EXPECT_EQ(-1, p.RowOf(2024, 3, 21));
    EXPECT_EQ(-1, p.RowOf(2024, 2, 20));
    EXPECT_EQ(-1, p.RowOf(2023, 3, 1));
    EXPECT_EQ(TimeCardKey(7, 2024, 2, 21), p.FirstKey(7));
    EXPECT_EQ(TimeCardKey(7, 2024, 3, 20), p.LastKey(7));
    PayPeriod month(2024, 4, 0);
    EXPECT_EQ(TimeCardKey(7, 2024, 4, 31), month.LastKey(7)) << "without closing day: day 31";
}

TEST(TimeCardKey, IsSixtyFourBit) {
    EXPECT_EQ(2520240403LL, TimeCardKey(25, 2024, 4, 3));
    EXPECT_EQ(2220241231LL, TimeCardKey(22, 2024, 12, 31));
    EXPECT_GT(TimeCardKey(22, 2024, 1, 1), static_cast<int64_t>(INT32_MAX));
    EXPECT_EQ(20240101LL, TimeCardKey(0, 2024, 1, 1));
}

TEST(DayOption, FollowsTheOrderOfTheTimes) {
    test::ScopedTimeZone zone("Asia/Tokyo");
    struct Case {
        int fromH, fromM, toH, toM, chosen, expected;
    };
    const Case cases[] = {
        {9, 0, 18, 0, 2, 0},   // departure after arrival: same day whatever was chosen
        {9, 0, 9, 0, 1, 0},    // equal times are not "earlier"
        {22, 0, 6, 0, 0, 2},   // night shift ending before 8:00: departure next day
        {22, 0, 7, 59, 1, 2},  // the departure's hour decides first
        {19, 0, 9, 0, 0, 1},   // arrival after 18:59: arrived the day before
        {18, 59, 9, 0, 0, 0},  // 18:xx is not after 18: the user's choice stays
        {18, 59, 9, 0, 2, 2}, {12, 0, 8, 0, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected,
                  DayOption(TimeOfDay(c.fromH, c.fromM), TimeOfDay(c.toH, c.toM), c.chosen))
            << c.fromH << ":" << c.fromM << " - " << c.toH << ":" << c.toM << " chosen "
            << c.chosen;
    }
    EXPECT_EQ(0, DayOption(CTime(), TimeOfDay(6, 0), 2)) << "an unset time clears the option";
    EXPECT_EQ(0, DayOption(TimeOfDay(22, 0), CTime(), 1));
}

}  // namespace
}  // namespace tokeiya
