#include "platform/CTime.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/support/ScopedTimeZone.hpp"

namespace tokeiya {
namespace {

using test::ScopedTimeZone;

struct Fields {
    int year, month, day, hour, minute, second, dayOfWeek;
};

Fields FieldsOf(const CTime& t) {
    return {t.GetYear(),   t.GetMonth(),  t.GetDay(),      t.GetHour(),
            t.GetMinute(), t.GetSecond(), t.GetDayOfWeek()};
}

std::string Describe(const Fields& f) {
    char text[64];
    snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d dow %d", f.year, f.month, f.day,
             f.hour, f.minute, f.second, f.dayOfWeek);
    return text;
}

TEST(CTimeTest, ReadsFieldsInLocalTime) {
    ScopedTimeZone zone("Asia/Tokyo");
    struct Case {
        int64_t seconds;
        Fields expected;
    };
    const std::vector<Case> cases = {
        {0, {1970, 1, 1, 9, 0, 0, 5}},           // Thursday, UTC+9
        {1709597220, {2024, 3, 5, 9, 7, 0, 3}},  // Tuesday
        {1709597220 + 59, {2024, 3, 5, 9, 7, 59, 3}},
        {946652400, {2000, 1, 1, 0, 0, 0, 7}},            // Saturday
        {1704034800 - 1, {2023, 12, 31, 23, 59, 59, 1}},  // Sunday
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(FieldsOf(CTime(c.seconds))), Describe(c.expected))
            << "seconds " << c.seconds;
        const Fields& e = c.expected;
        EXPECT_EQ(CTime(e.year, e.month, e.day, e.hour, e.minute, e.second).GetTime(), c.seconds);
    }
}

TEST(CTimeTest, ConstructorLetsTheSystemDecideDaylightSaving) {
    ScopedTimeZone zone("America/New_York");
    EXPECT_EQ(CTime(2024, 7, 1, 12, 0, 0).GetTime(), 1719849600);   // EDT, UTC-4
    EXPECT_EQ(CTime(2024, 1, 15, 12, 0, 0).GetTime(), 1705338000);  // EST, UTC-5
    EXPECT_EQ(CTime(2024, 7, 1, 12, 0, 0).GetHour(), 12);
}

TEST(CTimeTest, ConstructorNormalisesFieldsOutOfRange) {
    ScopedTimeZone zone("Asia/Tokyo");
    EXPECT_EQ(CTime(2024, 4, 31, 0, 0, 0), CTime(2024, 5, 1, 0, 0, 0));
    EXPECT_EQ(CTime(2023, 2, 29, 0, 0, 0), CTime(2023, 3, 1, 0, 0, 0));
    EXPECT_EQ(CTime(2024, 1, 1, 24, 0, 0), CTime(2024, 1, 2, 0, 0, 0));
}

TEST(CTimeTest, AddMinutesCrossesMidnightMonthAndYearEnds) {
    ScopedTimeZone zone("Asia/Tokyo");
    struct Case {
        Fields from;
        int64_t minutes;
        Fields to;
    };
    const std::vector<Case> cases = {
        {{2024, 3, 5, 23, 50, 0, 3}, 15, {2024, 3, 6, 0, 5, 0, 4}},
        {{2024, 1, 31, 23, 59, 0, 4}, 1, {2024, 2, 1, 0, 0, 0, 5}},
        {{2024, 2, 28, 23, 30, 0, 4}, 60, {2024, 2, 29, 0, 30, 0, 5}},
        {{2023, 2, 28, 23, 30, 0, 3}, 60, {2023, 3, 1, 0, 30, 0, 4}},
        {{2024, 4, 30, 22, 0, 0, 3}, 180, {2024, 5, 1, 1, 0, 0, 4}},
        {{2024, 12, 31, 23, 59, 30, 3}, 1, {2025, 1, 1, 0, 0, 30, 4}},
        {{2024, 3, 1, 0, 0, 0, 6}, -1, {2024, 2, 29, 23, 59, 0, 5}},
        {{2024, 1, 1, 0, 10, 0, 2}, -20, {2023, 12, 31, 23, 50, 0, 1}},
        {{2024, 3, 5, 9, 0, 0, 3}, 31 * 24 * 60, {2024, 4, 5, 9, 0, 0, 6}},
    };
    for (const Case& c : cases) {
        const Fields& f = c.from;
        const CTime start(f.year, f.month, f.day, f.hour, f.minute, f.second);
        EXPECT_EQ(Describe(FieldsOf(start.AddMinutes(c.minutes))), Describe(c.to))
            << Describe(f) << " + " << c.minutes << " min";
        EXPECT_EQ(start.AddMinutes(c.minutes), start.AddSeconds(c.minutes * 60));
    }
}

TEST(CTimeTest, SaturatesInsteadOfOverflowing) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    EXPECT_EQ(CTime(kMax).AddSeconds(1).GetTime(), kMax);
    EXPECT_EQ(CTime(kMin).AddSeconds(-1).GetTime(), kMin);
    EXPECT_EQ(CTime(0).AddMinutes(kMax / 2).GetTime(), kMax);
    EXPECT_EQ(CTime(0).AddMinutes(kMin / 2).GetTime(), kMin);
    EXPECT_EQ(CTime(100).AddMinutes(-1).GetTime(), 40);
}

TEST(CTimeTest, FormatsAndRefusesWhatCannotBeFormatted) {
    ScopedTimeZone zone("Asia/Tokyo");
    const CTime t(2024, 3, 5, 9, 7, 0);
    EXPECT_EQ(t.Format("%Y/%m/%d %H:%M:%S"), "2024/03/05 09:07:00");
    EXPECT_EQ(t.Format(std::string(127, 'x').c_str()), std::string(127, 'x'));
    EXPECT_EQ(t.Format(std::string(128, 'x').c_str()), "");
    EXPECT_EQ(t.Format(nullptr), "");

    // Seconds whose year does not fit the C library's broken-down time.
    const CTime far(std::numeric_limits<int64_t>::max());
    std::tm fields{};
    EXPECT_FALSE(far.GetLocalTm(fields));
    EXPECT_EQ(far.Format("%Y"), "");
    EXPECT_EQ(Describe(FieldsOf(far)), Describe({0, 0, 0, 0, 0, 0, 0}));
}

TEST(CTimeTest, UnrepresentableLocalTimeIsTheEmptyTime) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    EXPECT_FALSE(CTime::FromLocal(kMax, 12, kMax, 0, 0, 0));  // the year overflows
    EXPECT_EQ(CTime(kMax, 12, kMax, 0, 0, 0), CTime());
    EXPECT_FALSE(CTime::FromLocal(kMin, 1, 1, 0, 0, 0));
    EXPECT_FALSE(CTime::FromLocal(2024, kMin, 1, 0, 0, 0));
    // 1969-12-31 23:59:59 UTC is -1 seconds, the value mktime also uses for failure.
    ScopedTimeZone zone("UTC");
    ASSERT_TRUE(CTime::FromLocal(1969, 12, 31, 23, 59, 59));
    EXPECT_EQ(CTime::FromLocal(1969, 12, 31, 23, 59, 59)->GetTime(), -1);
}

TEST(ClockTest, OverridesNestAndRestore) {
    {
        ScopedClockOverride outer(1000);
        EXPECT_EQ(Clock::Now(), 1000);
        EXPECT_EQ(CTime::GetCurrentTime(), CTime(1000));
        outer.Set(2000);
        EXPECT_EQ(Clock::Now(), 2000);
        {
            ScopedClockOverride inner(3000);
            EXPECT_EQ(Clock::Now(), 3000);
        }
        EXPECT_EQ(Clock::Now(), 2000);
    }
    const int64_t before = static_cast<int64_t>(time(nullptr));
    const int64_t now = Clock::Now();
    const int64_t after = static_cast<int64_t>(time(nullptr));
    EXPECT_GE(now, before);
    EXPECT_LE(now, after);
}

}  // namespace
}  // namespace tokeiya
