#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "data/CQAlarmData.hpp"
#include "data/CQDaySchedule.hpp"
#include "data/CTSchedule.hpp"
#include "data/TimeValue.hpp"
#include "platform/CTime.hpp"
#include "tests/support/ScopedTimeZone.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace {

using test::Engine;

constexpr int kToken = 7;

CSchedule Entry(int user, CTime date, const std::string& subject, int level = 1, int everyDay = 0) {
    CSchedule s;
    s.idUser = user;
    s.dateSchedule = date;
    s.strSubject = subject;
    s.nLevel = level;
    s.flgEveryDay = everyDay;
    return s;
}

// A schedule row as the table holds it.
struct Row {
    CSchedule entry;
    int tmp = 0;
    CTime timeUpdate;
};

class ScheduleRecords : public ::testing::TestWithParam<Engine> {
  protected:
    ScheduleRecords() : m_db(GetParam()) {}

    CConnection& Db() { return m_db.Connection(); }

    CSchedule Save(CSchedule s, int token = kToken, CConnection* connection = nullptr) {
        CTSchedule set(connection != nullptr ? *connection : Db(), CTSchedule::Mode::Table);
        CTime latest;
        EXPECT_EQ(1, set.SaveSchedule(token, s, latest)) << s.strSubject;
        return s;
    }

    std::optional<Row> ReadRow(int64_t id) {
        CTSchedule set(Db(), CTSchedule::Mode::Table);
        set.m_strFilter = "[idSchedule]=?";
        set.m_params = {DbValue(id)};
        if (!set.Open() || set.IsEOF()) {
            return std::nullopt;
        }
        return Row{set.ToSchedule(), set.m_tmp, set.m_timeUpdate};
    }

    int CountRows() {
        CTSchedule set(Db(), CTSchedule::Mode::Table);
        EXPECT_TRUE(set.Open());
        int n = 0;
        for (; !set.IsEOF(); set.MoveNext()) {
            ++n;
        }
        return n;
    }

    // Inserts a row as a save that has not yet found its key leaves it.
    int64_t InsertPending(CConnection& connection, int tmp, const std::string& subject) {
        CTSchedule set(connection, CTSchedule::Mode::Table);
        set.m_strFilter = "[tmp]=?";
        set.m_params = {DbValue(tmp)};
        set.m_strSort = "[idSchedule] DESC";
        EXPECT_TRUE(set.Open());
        set.AddNew();
        set.m_strSubject = subject;
        set.m_tmp = tmp;
        set.Update();
        EXPECT_TRUE(set.Requery());
        return set.IsEOF() ? 0 : set.m_idSchedule;
    }

    test::ScopedTimeZone m_tz{"Asia/Tokyo"};
    ScopedClockOverride m_clock{CTime(2024, 3, 5, 9, 0, 0).GetTime()};
    test::TestDatabase m_db;
};

void ExpectSameEntry(const CSchedule& want, const CSchedule& got) {
    EXPECT_EQ(want.idSchedule, got.idSchedule);
    EXPECT_EQ(want.idUser, got.idUser);
    EXPECT_EQ(want.dateSchedule, got.dateSchedule);
    EXPECT_EQ(want.strSubject, got.strSubject);
    EXPECT_EQ(want.strSchedule, got.strSchedule);
    EXPECT_EQ(want.flgAlarm, got.flgAlarm);
    EXPECT_EQ(want.flgEveryDay, got.flgEveryDay);
    EXPECT_EQ(want.nLevel, got.nLevel);
}

TEST_P(ScheduleRecords, SaveScheduleInsertsAndReturnsTheNewKey) {
    CSchedule s = Entry(3, CTime(2024, 3, 5, 10, 30, 0), "打合せ", 2);
    s.strSchedule = "会議室B";
    s.flgAlarm = 1;
    CTSchedule set(Db(), CTSchedule::Mode::Table);
    CTime latest;
    ASSERT_EQ(1, set.SaveSchedule(kToken, s, latest));
    ASSERT_NE(0, s.idSchedule);
    EXPECT_EQ(CTime(2024, 3, 5, 9, 0, 0), latest);

    std::optional<Row> row = ReadRow(s.idSchedule);
    ASSERT_TRUE(row);
    ExpectSameEntry(s, row->entry);
    EXPECT_EQ(0, row->tmp) << "the token is taken off once the key is known";
    EXPECT_EQ(CTime(2024, 3, 5, 9, 0, 0), row->timeUpdate);

    // A later known update is not lowered; an earlier one is raised.
    m_clock.Set(CTime(2024, 3, 5, 9, 5, 0).GetTime());
    CSchedule second = Entry(3, CTime(2024, 3, 5, 11, 0, 0), "second");
    latest = CTime(2024, 3, 6, 0, 0, 0);
    ASSERT_EQ(1, set.SaveSchedule(kToken, second, latest));
    EXPECT_EQ(CTime(2024, 3, 6, 0, 0, 0), latest);
    EXPECT_NE(s.idSchedule, second.idSchedule);
    EXPECT_EQ(2, CountRows());
}

TEST_P(ScheduleRecords, SaveScheduleUpdatesTheRowOfItsIdAndRefusesMissingIds) {
    CSchedule s = Save(Entry(3, CTime(2024, 3, 5, 10, 0, 0), "before"));
    const int64_t id = s.idSchedule;
    s.idUser = 4;
    s.dateSchedule = CTime(2000, 1, 1, 8, 15, 0);
    s.strSubject = "after";
    s.strSchedule = "details";
    s.flgAlarm = 1;
    s.flgEveryDay = 1;
    s.nLevel = 5;
    m_clock.Set(CTime(2024, 3, 5, 12, 0, 0).GetTime());
    CTSchedule set(Db(), CTSchedule::Mode::Table);
    CTime latest = CTime(2024, 3, 5, 9, 0, 0);
    ASSERT_EQ(1, set.SaveSchedule(kToken, s, latest));
    EXPECT_EQ(id, s.idSchedule);
    EXPECT_EQ(CTime(2024, 3, 5, 12, 0, 0), latest);
    std::optional<Row> row = ReadRow(id);
    ASSERT_TRUE(row);
    ExpectSameEntry(s, row->entry);
    EXPECT_EQ(CTime(2024, 3, 5, 12, 0, 0), row->timeUpdate);

    CSchedule ghost = Entry(3, CTime(2024, 3, 5, 10, 0, 0), "ghost");
    ghost.idSchedule = id + 1000;
    latest = CTime();
    EXPECT_EQ(0, set.SaveSchedule(kToken, ghost, latest));
    EXPECT_EQ(CTime(), latest);
    EXPECT_EQ(1, CountRows()) << "a missing id is never inserted";
}

// Two computers read the same entry; one changes its level, then the other its subject
// with the entry as it read it: both changes stay.
TEST_P(ScheduleRecords, AnUpdateAsReadKeepsAnotherComputersChangeToOtherColumns) {
    const CSchedule read = Save(Entry(3, CTime(2024, 3, 5, 10, 0, 0), "before"));
    CSchedule theirs = read;
    theirs.nLevel = 4;
    CTime latest;
    ASSERT_EQ(1, CTSchedule(Db(), CTSchedule::Mode::Table).SaveSchedule(kToken, theirs, latest));
    CSchedule ours = read;
    ours.strSubject = "after";
    ASSERT_EQ(1,
              CTSchedule(Db(), CTSchedule::Mode::Table).SaveSchedule(kToken, ours, latest, &read));
    std::optional<Row> row = ReadRow(read.idSchedule);
    ASSERT_TRUE(row);
    EXPECT_EQ("after", row->entry.strSubject);
    EXPECT_EQ(4, row->entry.nLevel);
}

TEST_P(ScheduleRecords, TheTokenFindsOnlyTheRowJustInserted) {
    const int64_t leftover = InsertPending(Db(), kToken, "leftover");
    ASSERT_NE(0, leftover);
    // Token 0 would find every saved row: nothing is inserted.
    CSchedule zero = Entry(3, CTime(2024, 3, 5, 10, 0, 0), "zero");
    CTime latest;
    EXPECT_EQ(0, CTSchedule(Db(), CTSchedule::Mode::Table).SaveSchedule(0, zero, latest));
    EXPECT_EQ(1, CountRows());

    CSchedule s = Save(Entry(3, CTime(2024, 3, 5, 10, 0, 0), "new"));
    EXPECT_NE(leftover, s.idSchedule);
    std::optional<Row> mine = ReadRow(s.idSchedule);
    ASSERT_TRUE(mine);
    EXPECT_EQ("new", mine->entry.strSubject);
    EXPECT_EQ(0, mine->tmp);
    std::optional<Row> old = ReadRow(leftover);
    ASSERT_TRUE(old);
    EXPECT_EQ("leftover", old->entry.strSubject);
    EXPECT_EQ(kToken, old->tmp) << "the other row was not touched";
    EXPECT_EQ(CTime(), old->timeUpdate);
}

TEST_P(ScheduleRecords, TwoConnectionsWithTheirOwnTokensGetTheirOwnRows) {
    auto other = m_db.OpenAnother();
    // A third computer is between its insert and its re-query, with the highest key.
    Db().Database().ExecuteSQL(
        Db().Dialect().Render(
            "INSERT INTO [dbo].[T日程] ([idSchedule],[strSubject],[tmp]) VALUES (?,?,?)"),
        {DbValue(int64_t{1000000}), DbValue("third"), DbValue(3)});

    CSchedule a = Save(Entry(1, CTime(2024, 3, 5, 10, 0, 0), "from A"), 1);
    CSchedule b = Save(Entry(2, CTime(2024, 3, 5, 10, 0, 0), "from B"), 2, other.get());
    EXPECT_NE(a.idSchedule, b.idSchedule);
    EXPECT_NE(1000000, a.idSchedule);
    EXPECT_NE(1000000, b.idSchedule);
    for (const CSchedule& s : {a, b}) {
        std::optional<Row> row = ReadRow(s.idSchedule);
        ASSERT_TRUE(row) << s.strSubject;
        EXPECT_EQ(s.strSubject, row->entry.strSubject);
        EXPECT_EQ(0, row->tmp) << s.strSubject;
    }
    std::optional<Row> third = ReadRow(1000000);
    ASSERT_TRUE(third);
    EXPECT_EQ(3, third->tmp);
    EXPECT_EQ("third", third->entry.strSubject);
}

TEST_P(ScheduleRecords, SaveHolidayKeepsOneRowPerDayAndChangesOnlyItsSubject) {
    CSchedule sameDay = Save(Entry(0, CTime(2024, 3, 20, 0, 0, 0), "shared at midnight"));
    CTSchedule set(Db(), CTSchedule::Mode::Table);
    ASSERT_EQ(1, set.SaveHoliday(2024, 3, 20, "春分"));
    EXPECT_EQ(2, CountRows());  // the holiday and the shared entry
    set.m_strFilter = "[nLevel]=10";
    set.m_params.clear();
    ASSERT_TRUE(set.Requery());
    ASSERT_FALSE(set.IsEOF());
    CSchedule first = set.ToSchedule();
    EXPECT_EQ(0, first.idUser);
    EXPECT_EQ(CTime(2024, 3, 20, 0, 0, 0), first.dateSchedule);
    EXPECT_EQ("春分", first.strSubject);

    m_clock.Set(CTime(2024, 3, 1, 8, 30, 0).GetTime());
    ASSERT_EQ(1, set.SaveHoliday(2024, 3, 20, "春分の日"));
    EXPECT_EQ(2, CountRows());
    std::optional<Row> renamed = ReadRow(first.idSchedule);
    ASSERT_TRUE(renamed);
    first.strSubject = "春分の日";
    ExpectSameEntry(first, renamed->entry);
    EXPECT_EQ(0, renamed->tmp);
    // Stamped, so that the other computers' month schedules offer their latest state.
    EXPECT_EQ(CTime(2024, 3, 1, 8, 30, 0), renamed->timeUpdate);
    std::optional<Row> untouched = ReadRow(sameDay.idSchedule);
    ASSERT_TRUE(untouched);
    ExpectSameEntry(sameDay, untouched->entry);

    ASSERT_EQ(1, set.SaveHoliday(2024, 3, 21, "other"));
    EXPECT_EQ(3, CountRows());
}

TEST_P(ScheduleRecords, HolidayNamesAreDataNotSqlAndBadDatesAreRefused) {
    CTSchedule set(Db(), CTSchedule::Mode::Table);
    const std::string name = "O'Brien's day' OR '1'='1";
    ASSERT_EQ(1, set.SaveHoliday(2024, 3, 20, name));
    ASSERT_EQ(1, set.SaveHoliday(2024, 3, 20, name));
    EXPECT_EQ(1, CountRows());

    std::array<CDaySchedule, 31> days;
    for (int i = 0; i < 31; ++i) {
        days[i].Reset(i, 60);
    }
    CQDaySchedule month(Db());
    ASSERT_EQ(1, month.LoadMonthTexts(1, 2024, 3, days));
    EXPECT_EQ(name, days[19].strHoliday);

    EXPECT_EQ(0, set.SaveHoliday(2024, 2, 30, "no such day"));
    EXPECT_EQ(0, set.SaveHoliday(2024, 13, 1, "no such month"));
    EXPECT_EQ(1, CountRows());
}

TEST_P(ScheduleRecords, LoadDayListsTheUsersDayAndEveryDayEntries) {
    const CTime day(2024, 3, 5, 0, 0, 0);
    CSchedule low = Save(Entry(1, CTime(2024, 3, 5, 9, 0, 0), "low", 1));
    CSchedule high = Save(Entry(1, CTime(2024, 3, 5, 15, 0, 0), "high", 3));
    CSchedule daily = Save(Entry(1, CTime(2000, 1, 1, 8, 30, 0), "daily", 1, 1));
    Save(Entry(1, CTime(2024, 3, 6, 9, 0, 0), "next day"));
    Save(Entry(1, CTime(2023, 3, 5, 9, 0, 0), "last year"));
    Save(Entry(2, CTime(2024, 3, 5, 9, 0, 0), "another user's"));
    Save(Entry(2, CTime(2000, 1, 1, 7, 0, 0), "another user's daily", 1, 1));
    Save(Entry(0, CTime(2024, 3, 5, 9, 0, 0), "shared"));
    Save(Entry(1, CTime(2024, 3, 5, 9, 0, 0), "deleted", 0));
    ASSERT_EQ(1, CTSchedule(Db(), CTSchedule::Mode::Table).SaveHoliday(2024, 3, 5, "holiday"));

    CTSchedule set(Db(), CTSchedule::Mode::Table);
    std::vector<CSchedule> list{Entry(1, day, "already there")};
    ASSERT_EQ(1, set.LoadDay(1, 2024, 3, 5, list));
    ASSERT_EQ(4u, list.size());
    EXPECT_EQ("already there", list[0].strSubject);
    // Dated entries first, higher levels first; every-day entries (dated 2000) last.
    ExpectSameEntry(high, list[1]);
    ExpectSameEntry(low, list[2]);
    ExpectSameEntry(daily, list[3]);

    std::vector<CSchedule> shared;
    ASSERT_EQ(1, set.LoadDay(0, 2024, 3, 5, shared));
    ASSERT_EQ(2u, shared.size());
    EXPECT_EQ("holiday", shared[0].strSubject);
    EXPECT_EQ("shared", shared[1].strSubject);
}

TEST_P(ScheduleRecords, LatestUpdateIsTheNewestStampOfTheMonthOrDay) {
    CTSchedule set(Db(), CTSchedule::Mode::View);
    EXPECT_EQ(CTime(), set.LatestUpdateOfMonth(2024, 3));
    EXPECT_EQ(CTime(), set.LatestUpdateOfDay(2024, 3, 5));

    m_clock.Set(CTime(2024, 3, 5, 9, 0, 0).GetTime());
    Save(Entry(1, CTime(2024, 3, 5, 10, 0, 0), "5th"));
    m_clock.Set(CTime(2024, 3, 6, 9, 0, 0).GetTime());
    Save(Entry(2, CTime(2024, 3, 6, 10, 0, 0), "6th"));
    m_clock.Set(CTime(2024, 3, 7, 9, 0, 0).GetTime());
    Save(Entry(1, CTime(2024, 4, 5, 10, 0, 0), "April"));
    Save(Entry(1, CTime(2023, 3, 5, 10, 0, 0), "a year earlier"));
    // A row never stamped (as holidays named before they were stamped) must not hide the
    // stamped ones; a holiday named now is an update of its day and month.
    Db().Database().ExecuteSQL(
        Db().Dialect().Render("INSERT INTO [dbo].[T日程] ([idSchedule], [idUser], "
                              "[dateSchedule], [strSubject], [nLevel]) VALUES (?, 0, ?, ?, 10)"),
        {DbValue(900), Db().Dialect().DateTimeParam(CTime(2024, 3, 5, 0, 0, 0)),
         DbValue("old holiday")});
    m_clock.Set(CTime(2024, 3, 6, 8, 0, 0).GetTime());
    ASSERT_EQ(1, set.SaveHoliday(2024, 3, 20, "holiday"));

    struct Case {
        int year, month, day;  // day 0: the whole month
        CTime want;
    };
    const Case cases[] = {
        {2024, 3, 0, CTime(2024, 3, 6, 9, 0, 0)}, {2024, 3, 5, CTime(2024, 3, 5, 9, 0, 0)},
        {2024, 3, 6, CTime(2024, 3, 6, 9, 0, 0)}, {2024, 3, 20, CTime(2024, 3, 6, 8, 0, 0)},
        {2024, 4, 0, CTime(2024, 3, 7, 9, 0, 0)}, {2024, 5, 0, CTime()},
    };
    for (const Case& c : cases) {
        CTime got = c.day == 0 ? set.LatestUpdateOfMonth(c.year, c.month)
                               : set.LatestUpdateOfDay(c.year, c.month, c.day);
        EXPECT_EQ(c.want, got) << c.year << "-" << c.month << "-" << c.day << ": got "
                               << got.Format("%Y-%m-%d %H:%M:%S");
    }
}

TEST_P(ScheduleRecords, LatestUpdateCountsRowsDatedFromTheFirstSecondToTheLastOfTheRange) {
    CTSchedule set(Db(), CTSchedule::Mode::Table);
    // Each entry is stamped a minute after the one before, so each stamp names its entry.
    const CTime dates[] = {
        CTime(2024, 11, 30, 23, 59, 59), CTime(2024, 12, 1, 0, 0, 0),
        CTime(2024, 12, 30, 23, 59, 59), CTime(2024, 12, 31, 0, 0, 0),
        CTime(2024, 12, 31, 23, 59, 59), CTime(2025, 1, 1, 0, 0, 0),
    };
    std::vector<CTime> stamps;
    for (const CTime& date : dates) {
        stamps.push_back(CTime(2024, 10, 1, 9, static_cast<int>(stamps.size()), 0));
        m_clock.Set(stamps.back().GetTime());
        Save(Entry(1, date, "entry"));
    }
    // A holiday named later on the first of December is the newest of that day and month.
    m_clock.Set(CTime(2024, 10, 2, 9, 0, 0).GetTime());
    CTime stamped;
    ASSERT_EQ(1, set.SaveHoliday(2024, 12, 1, "holiday", &stamped));
    EXPECT_EQ(CTime(2024, 10, 2, 9, 0, 0), stamped) << "the stamp the row was given";

    struct Case {
        int year, month, day;  // day 0: the whole month
        CTime want;
    };
    const Case cases[] = {
        {2024, 11, 0, stamps[0]},  {2024, 12, 0, stamped},    {2025, 1, 0, stamps[5]},
        {2024, 11, 30, stamps[0]}, {2024, 12, 30, stamps[2]}, {2024, 12, 31, stamps[4]},
        {2025, 1, 1, stamps[5]},   {2025, 1, 2, CTime()},     {2024, 12, 1, stamped},
    };
    for (const Case& c : cases) {
        const CTime got = c.day == 0 ? set.LatestUpdateOfMonth(c.year, c.month)
                                     : set.LatestUpdateOfDay(c.year, c.month, c.day);
        EXPECT_EQ(c.want, got) << c.year << "-" << c.month << "-" << c.day << ": got "
                               << got.Format("%Y-%m-%d %H:%M:%S");
    }
}

TEST_P(ScheduleRecords, LoadMonthTextsBuildsTheDayTextsOfTheMonth) {
    const std::string s30(30, 'a');
    const std::string t30(30, 'b');
    const std::string u28(28, 'c');
    // On the 4th the levels fix the order: 30 bytes fit, the next 30 do not, 28 still do.
    Save(Entry(1, CTime(2024, 3, 4, 9, 0, 0), s30, 5));
    Save(Entry(1, CTime(2024, 3, 4, 9, 0, 0), t30, 4));
    Save(Entry(1, CTime(2024, 3, 4, 9, 0, 0), u28, 3));
    Save(Entry(1, CTime(2000, 1, 1, 8, 30, 0), "朝礼", 2, 1));
    // 20 March 2024 is a Wednesday.
    ASSERT_EQ(1, CTSchedule(Db(), CTSchedule::Mode::Table).SaveHoliday(2024, 3, 20, "春分の日"));
    Save(Entry(0, CTime(2024, 3, 20, 10, 0, 0), "当番"));
    Save(Entry(2, CTime(2024, 3, 20, 10, 0, 0), "someone else's"));
    Save(Entry(1, CTime(2024, 3, 20, 9, 0, 0), "deleted", 0));
    Save(Entry(1, CTime(2024, 4, 1, 9, 0, 0), "April"));

    std::array<CDaySchedule, 31> days;
    for (int i = 0; i < 31; ++i) {
        days[i].Reset(i, 60);
    }
    days[0].idTimeCard = 5;
    days[0].strSubjects = "stale";
    CQDaySchedule month(Db());
    ASSERT_EQ(1, month.LoadMonthTexts(1, 2024, 3, days));

    EXPECT_EQ(s30 + " " + u28, days[3].strSubjects);
    EXPECT_EQ(59u, days[3].strSubjects.size());
    EXPECT_EQ("朝礼", days[0].strSubjects) << "reloading replaces the texts";
    EXPECT_EQ(5, days[0].idTimeCard) << "and leaves the card alone";
    EXPECT_EQ("朝礼", days[30].strSubjects);
    EXPECT_EQ("春分の日", days[19].strHoliday);
    EXPECT_EQ("当番", days[19].strSharedSubjects);
    EXPECT_EQ("朝礼", days[19].strSubjects);
    for (int i = 0; i < 31; ++i) {
        if (i != 19) {
            EXPECT_EQ("", days[i].strHoliday) << "day " << i + 1;
            EXPECT_EQ("", days[i].strSharedSubjects) << "day " << i + 1;
        }
    }
}

TEST_P(ScheduleRecords, ChangingTheModeClosesTheOpenSet) {
    Save(Entry(1, CTime(2024, 3, 5, 9, 0, 0), "row"));
    CTSchedule set(Db(), CTSchedule::Mode::View);
    ASSERT_TRUE(set.Open());
    EXPECT_EQ(2024, set.m_nYear);
    set.SetMode(CTSchedule::Mode::Table);
    EXPECT_FALSE(set.IsOpen());
    ASSERT_TRUE(set.Open());
    EXPECT_EQ("row", set.m_strSubject);
    set.SetMode(CTSchedule::Mode::View);
    EXPECT_FALSE(set.IsOpen());
}

TEST_P(ScheduleRecords, AlarmRowsConvertInKeyOrder) {
    CSchedule first = Entry(1, CTime(2024, 3, 5, 10, 0, 0), "first");
    first.flgAlarm = 1;
    first = Save(first);
    Save(Entry(1, CTime(2024, 3, 5, 10, 0, 0), "no alarm"));
    CSchedule daily = Entry(0, CTime(2000, 1, 1, 8, 30, 0), "daily", 1, 1);
    daily.flgAlarm = 1;
    daily = Save(daily);

    CQAlarmData set(Db());
    ASSERT_TRUE(set.Open());
    std::vector<CAlarmData> alarms;
    for (; !set.IsEOF(); set.MoveNext()) {
        alarms.push_back(set.ToAlarmData());
    }
    ASSERT_EQ(2u, alarms.size());
    EXPECT_EQ(first.idSchedule, alarms[0].idSchedule);
    EXPECT_EQ(1, alarms[0].idUser);
    EXPECT_EQ(CTime(2024, 3, 5, 10, 0, 0), alarms[0].time);
    EXPECT_EQ("first", alarms[0].strSubject);
    EXPECT_EQ(0, alarms[0].flgEveryDay);
    EXPECT_EQ(daily.idSchedule, alarms[1].idSchedule);
    EXPECT_EQ(0, alarms[1].idUser);
    EXPECT_EQ(CTime(2000, 1, 1, 8, 30, 0), alarms[1].time);
    EXPECT_EQ(1, alarms[1].flgEveryDay);
}

// The alarm chosen after a reference moment, from rows stored in key order.
TEST_P(ScheduleRecords, TheNextAlarmIsTheFirstStrictlyAfterTheReference) {
    struct Alarm {
        int user;
        CTime date;
        const char* subject;
        int everyDay = 0;
        int level = 1;
    };
    struct Case {
        const char* name;
        std::vector<Alarm> rows;
        CTime reference;
        bool alarmAll;
        int result;
        const char* subject;  // nullptr: none pending
        CTime time;
    };
    const CTime nine(2024, 3, 5, 9, 0, 0);
    const Case cases[] = {
        {"every-day alarm already past today rings tomorrow",
         {{1, CTime(2000, 1, 1, 8, 30, 0), "daily", 1}},
         nine,
         false,
         1,
         "daily",
         CTime(2024, 3, 6, 8, 30, 0)},
        {"every-day alarm later today rings today",
         {{1, CTime(2000, 1, 1, 17, 45, 0), "daily", 1}},
         nine,
         false,
         1,
         "daily",
         CTime(2024, 3, 5, 17, 45, 0)},
        {"every-day alarm at the month's end rolls into the next month",
         {{1, CTime(2000, 1, 1, 8, 0, 0), "daily", 1}},
         CTime(2024, 2, 29, 23, 0, 0),
         false,
         1,
         "daily",
         CTime(2024, 3, 1, 8, 0, 0)},
        {"an alarm of the minute that began is not chosen",
         {{1, CTime(2024, 3, 5, 10, 0, 0), "now"}, {1, CTime(2024, 3, 5, 10, 1, 0), "next"}},
         CTime(2024, 3, 5, 10, 0, 30),
         false,
         1,
         "next",
         CTime(2024, 3, 5, 10, 1, 0)},
        {"the alarm that just rang is not chosen again",
         {{1, CTime(2024, 3, 5, 10, 0, 0), "rang"}},
         CTime(2024, 3, 5, 10, 0, 0),
         false,
         0,
         "kept",
         CTime(2024, 3, 5, 10, 0, 0)},
        {"of two at the same minute the first stored wins",
         {{1, CTime(2024, 3, 5, 10, 0, 0), "first"}, {1, CTime(2024, 3, 5, 10, 0, 0), "second"}},
         nine,
         false,
         1,
         "first",
         CTime(2024, 3, 5, 10, 0, 0)},
        {"the earliest wins whatever its key",
         {{1, CTime(2024, 3, 5, 11, 0, 0), "late"}, {1, CTime(2024, 3, 5, 9, 30, 0), "early"}},
         nine,
         false,
         1,
         "early",
         CTime(2024, 3, 5, 9, 30, 0)},
        {"everyone's alarms are left out without AlarmAll",
         {{0, CTime(2024, 3, 5, 9, 30, 0), "shared"}, {2, CTime(2024, 3, 5, 9, 40, 0), "other"}},
         nine,
         false,
         0,
         "kept",
         CTime(2024, 3, 5, 9, 0, 0)},
        {"everyone's alarms count with AlarmAll, another user's never",
         {{2, CTime(2024, 3, 5, 9, 20, 0), "other"},
          {0, CTime(2024, 3, 5, 9, 30, 0), "shared"},
          {1, CTime(2024, 3, 5, 9, 40, 0), "own"}},
         nine,
         true,
         1,
         "shared",
         CTime(2024, 3, 5, 9, 30, 0)},
        {"a deleted entry does not ring",
         {{1, CTime(2024, 3, 5, 9, 30, 0), "deleted", 0, 0}},
         nine,
         false,
         0,
         "kept",
         CTime(2024, 3, 5, 9, 0, 0)},
        {"alarms only in the past are not even read",
         {{1, CTime(2024, 3, 4, 9, 30, 0), "yesterday"}},
         nine,
         false,
         0,
         "kept",
         nine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        static_cast<void>(
            Db().Database().ExecuteSQL(Db().Dialect().Render("DELETE FROM [dbo].[T日程]")));
        for (const Alarm& a : c.rows) {
            CSchedule s = Entry(a.user, a.date, a.subject, a.level, a.everyDay);
            s.flgAlarm = 1;
            Save(s);
        }
        CAlarmData pending;
        pending.idSchedule = 99;
        pending.strSubject = "kept";
        pending.time = c.reference;
        CQAlarmData set(Db());
        EXPECT_EQ(c.result, set.LoadNextAlarm(pending, 1, c.alarmAll));
        if (c.subject == nullptr) {
            EXPECT_EQ(0, pending.idSchedule);
            EXPECT_EQ("", pending.strSubject);
            continue;
        }
        EXPECT_EQ(c.subject, pending.strSubject);
        EXPECT_EQ(c.time, pending.time) << pending.time.Format("%Y/%m/%d %H:%M:%S");
        EXPECT_NE(0, pending.idSchedule);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ScheduleRecords,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
