#include "data/TimeValue.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/support/ScopedTimeZone.hpp"

namespace tokeiya {
namespace {

using test::ScopedTimeZone;

TEST(TimeValueTest, EmptyTimeEndsAtTheLocalStartOfTheSecondDay) {
    struct Zone {
        const char* name;
        int64_t boundary;  // 1970-01-02 00:00 local, in seconds since the epoch
    };
    const std::vector<Zone> zones = {
        {"Asia/Tokyo", 86400 - 9 * 3600},
        {"UTC", 86400},
        {"Europe/London", 86400 - 3600},  // British Standard Time, UTC+1 through 1970
        {"America/New_York", 86400 + 5 * 3600},
        // The zones furthest from UTC: the boundary is never more than a day away from it.
        {"Pacific/Kiritimati", 86400 + 10 * 3600 + 40 * 60},  // UTC-10:40 in 1970
        {"Etc/GMT+12", 86400 + 12 * 3600},
        {"Etc/GMT-14", 86400 - 14 * 3600},
    };
    for (const Zone& zone : zones) {
        SCOPED_TRACE(zone.name);
        ScopedTimeZone scoped(zone.name);
        EXPECT_TRUE(IsEmptyTime(CTime()));
        EXPECT_TRUE(IsEmptyTime(CTime(-86400)));
        EXPECT_TRUE(IsEmptyTime(CTime(std::numeric_limits<int64_t>::min())));
        EXPECT_TRUE(IsEmptyTime(CTime(zone.boundary - 1)));
        EXPECT_FALSE(IsEmptyTime(CTime(zone.boundary)));
        EXPECT_TRUE(IsEmptyTime(CTime(1970, 1, 1, 23, 59, 0)));
        EXPECT_TRUE(IsEmptyTime(CTime(1970, 1, 1, 23, 59, 59)));
        EXPECT_FALSE(IsEmptyTime(CTime(1970, 1, 2, 0, 0, 0)));
        EXPECT_FALSE(IsEmptyTime(TimeOfDay(0, 0)));
        EXPECT_FALSE(IsEmptyTime(CTime(std::numeric_limits<int64_t>::max())));
    }
}

TEST(TimeValueTest, SqlLiteralsByServerVersion) {
    ScopedTimeZone zone("Asia/Tokyo");
    struct Case {
        CTime time;
        int version;
        std::string literal;
    };
    const std::vector<Case> cases = {
        {CTime(), 2005, "NULL"},
        {CTime(), 2000, "NULL"},
        {CTime(1970, 1, 1, 23, 59, 59), 2005, "NULL"},
        {CTime(2024, 3, 5, 9, 7, 0), 2005, "{ts '2024-03-05 09:07:00'}"},
        {CTime(2024, 3, 5, 9, 7, 0), 2019, "{ts '2024-03-05 09:07:00'}"},
        {CTime(2024, 3, 5, 9, 7, 0), 2004, "CONVERT(DATETIME,'2024/03/05 09:07:00',111)"},
        {CTime(2024, 3, 5, 9, 7, 0), 2000, "CONVERT(DATETIME,'2024/03/05 09:07:00',111)"},
        {CTime(1970, 1, 2, 0, 0, 0), 2005, "{ts '1970-01-02 00:00:00'}"},
        {TimeOfDay(18, 45), 2005, "{ts '2000-01-01 18:45:00'}"},
        // Not convertible to local time: nothing that could pass for a date is written.
        {CTime(std::numeric_limits<int64_t>::max()), 2005, ""},
        {CTime(std::numeric_limits<int64_t>::max()), 2000, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SqlDateTimeLiteral(c.time, c.version), c.literal)
            << "seconds " << c.time.GetTime() << ", version " << c.version;
    }
}

TEST(TimeValueTest, TimesOfDayLieOnTheFirstOfJanuary2000) {
    for (const char* name : {"Asia/Tokyo", "America/New_York"}) {
        ScopedTimeZone zone(name);
        const CTime t = TimeOfDay(8, 30);
        EXPECT_EQ(t.Format("%Y-%m-%d %H:%M:%S"), "2000-01-01 08:30:00") << name;
        EXPECT_EQ(TimeOfDay(23, 59).AddMinutes(1).GetDay(), 2) << name;
    }
}

}  // namespace
}  // namespace tokeiya
