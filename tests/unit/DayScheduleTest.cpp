#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/CDaySchedule.hpp"

namespace tokeiya {
namespace {

struct Feed {
    int idUser;
    int nLevel;
    std::string subject;
};

struct TextsCase {
    const char* name;
    std::vector<Feed> rows;
    std::string holiday;
    std::string own;
    std::string shared;
};

std::string Bytes(size_t n, char c = 'x') {
    return std::string(n, c);
}

TEST(DaySchedule, ScheduleRowsBuildTheDayTexts) {
    const std::string kanji = "会議";  // 4 bytes
    const TextsCase cases[] = {
        {"own subjects joined by one blank", {{1, 1, "a"}, {1, 1, "bc"}}, "", "a bc", ""},
        {"own subject of exactly 59 bytes", {{1, 1, Bytes(59)}}, "", Bytes(59), ""},
        {"the blank counts: 30 + 1 + 28 fits",
         {{1, 1, Bytes(30)}, {1, 1, Bytes(28, 'y')}},
         "",
         Bytes(30) + " " + Bytes(28, 'y'),
         ""},
        {"the blank counts: 30 + 1 + 29 does not",
         {{1, 1, Bytes(30)}, {1, 1, Bytes(29, 'y')}},
         "",
         Bytes(30),
         ""},
        {"a double-byte subject that does not fit is dropped whole, a later one fits",
         {{1, 1, Bytes(55)}, {1, 1, kanji}, {1, 1, "z"}},
         "",
         Bytes(55) + " z",
         ""},
        {"a later holiday replaces the earlier", {{0, 10, "a"}, {0, 10, "b"}}, "b", "", ""},
        {"own level 10 is an own subject", {{1, 10, "mine"}}, "", "mine", ""},
        {"shared alone: 59 bytes fit", {{0, 1, Bytes(59)}}, "", "", Bytes(59)},
        {"shared alone: 60 bytes do not", {{0, 1, Bytes(60)}}, "", "", ""},
        {"after a holiday of 8 bytes: 50 fit",
         {{0, 10, Bytes(8, 'h')}, {0, 1, Bytes(50)}},
         Bytes(8, 'h'),
         "",
         Bytes(50)},
        {"after a holiday of 8 bytes: 51 do not",
         {{0, 10, Bytes(8, 'h')}, {0, 1, Bytes(51)}},
         Bytes(8, 'h'),
         "",
         ""},
        {"second shared subject: 20 + 1 + 39 fills the column",
         {{0, 1, Bytes(20)}, {0, 1, Bytes(39, 'y')}},
         "",
         "",
         Bytes(20) + " " + Bytes(39, 'y')},
        {"second shared subject: one byte too many",
         {{0, 1, Bytes(20)}, {0, 1, Bytes(40, 'y')}},
         "",
         "",
         Bytes(20)},
        {"a holiday longer than the column leaves no room",
         {{0, 10, Bytes(70, 'h')}, {0, 1, "a"}},
         Bytes(70, 'h'),
         "",
         ""},
    };
    for (const TextsCase& c : cases) {
        CDaySchedule day;
        day.Reset(0, 60);
        for (const Feed& row : c.rows) {
            day.AddScheduleRow(row.idUser, row.nLevel, row.subject);
        }
        EXPECT_EQ(c.holiday, day.strHoliday) << c.name;
        EXPECT_EQ(c.own, day.strSubjects) << c.name;
        EXPECT_EQ(c.shared, day.strSharedSubjects) << c.name;
    }
}

TEST(DaySchedule, ResetEmptiesTheDayWithTheDefaultLunchMinutes) {
    CDaySchedule day;
    day.nDay = 9;
    day.strHoliday = "h";
    day.strSubjects = "s";
    day.strSharedSubjects = "t";
    day.idTimeCard = 100000000LL * 3 + 20240305;
    day.timeFrom = CTime(1000);
    day.timeTo = CTime(2000);
    day.nLunchMin = 30;
    day.flgOption = 2;
    day.Reset(14, 45);
    EXPECT_EQ(15, day.nDay);
    EXPECT_EQ("", day.strHoliday);
    EXPECT_EQ("", day.strSubjects);
    EXPECT_EQ("", day.strSharedSubjects);
    EXPECT_EQ(0, day.idTimeCard);
    EXPECT_EQ(CTime(), day.timeFrom);
    EXPECT_EQ(CTime(), day.timeTo);
    EXPECT_EQ(45, day.nLunchMin);
    EXPECT_EQ(0, day.flgOption);
}

}  // namespace
}  // namespace tokeiya
