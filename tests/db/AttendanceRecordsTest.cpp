#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "data/CDaySchedule.hpp"
#include "data/CTCardHistory.hpp"
#include "data/CTOfficeSettings.hpp"
#include "data/CTPcActivity.hpp"
#include "data/CTTimeCard.hpp"
#include "data/TimeValue.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/support/ScopedTimeZone.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace {

using test::Engine;

constexpr int kOwner = 3;
constexpr int kAdmin = 0;

class AttendanceRecords : public ::testing::TestWithParam<Engine> {
  protected:
    AttendanceRecords() : m_zone("Asia/Tokyo"), m_db(GetParam()) {}

    CConnection& Db() { return m_db.Connection(); }

    std::vector<CCardChange> History() {
        std::vector<CCardChange> rows;
        EXPECT_EQ(1, CTCardHistory(Db()).LoadKeys(0, INT64_MAX, rows));
        return rows;
    }

    CTimeCard Stored(int day) {
        CTimeCard card = CTimeCard::NewDay(kOwner, 2024, 6, day, 60);
        EXPECT_EQ(1, CTTimeCard(Db()).LoadCard(card));
        return card;
    }

    // A card of 3 June stored before the test's change, without history of its own.
    void StoreStartingCard() {
        CTimeCard card = CTimeCard::NewDay(kOwner, 2024, 6, 3, 60);
        card.timeFrom = TimeOfDay(9, 0);
        card.timeTo = TimeOfDay(18, 0);
        ASSERT_EQ(1, CTTimeCard(Db()).StoreCard(card));
        m_before = History().size();
    }

    test::ScopedTimeZone m_zone;
    test::TestDatabase m_db;
    ScopedClockOverride m_clock{CTime(2024, 6, 3, 8, 10, 0).GetTime()};
    size_t m_before = 0;
};

struct PathCase {
    const char* name;
    ChangeHow how;
    // Changes the card of 3 June (arrival 09:00, departure 18:00, lunch 60) through one path.
    std::function<int(CConnection&, const ChangeSource&)> change;
    CardValues after;
};

const CTime kEmpty;

// Every path that changes a card, with what it leaves in the card.
const std::vector<PathCase>& Paths() {
    static const std::vector<PathCase> paths = {
        {"time card screen",
         ChangeHow::TimeCardScreen,
         [](CConnection& db, const ChangeSource& source) {
             CTimeCard card = CTimeCard::NewDay(kOwner, 2024, 6, 3, 60);
             EXPECT_EQ(1, CTTimeCard(db).LoadCard(card));
             const CTimeCard read = card;
             card.timeFrom = TimeOfDay(8, 30);
             card.nWorkingMin = 510;
             return CTTimeCard(db, source).StoreCard(card, &read);
         },
         {TimeOfDay(8, 30), TimeOfDay(18, 0), 60, 0}},
        {"day schedule",
         ChangeHow::DaySchedule,
         [](CConnection& db, const ChangeSource& source) {
             CTimeCard card = CTimeCard::NewDay(kOwner, 2024, 6, 3, 60);
             EXPECT_EQ(1, CTTimeCard(db).LoadCard(card));
             const CTimeCard read = card;
             card.nLunchMin = 45;
             return CTTimeCard(db, source).StoreCard(card, &read);
         },
         {TimeOfDay(9, 0), TimeOfDay(18, 0), 45, 0}},
        {"month schedule",
         ChangeHow::MonthSchedule,
         [](CConnection& db, const ChangeSource& source) {
             CDaySchedule slot;
             slot.nDay = 3;
             slot.idTimeCard = TimeCardKey(kOwner, 2024, 6, 3);
             slot.timeFrom = TimeOfDay(9, 0);
             slot.timeTo = TimeOfDay(18, 0);
             slot.nLunchMin = 60;
             const CDaySchedule read = slot;
             slot.timeTo = TimeOfDay(7, 0);  // the next morning: the option follows
             return CTTimeCard(db, source).StoreMonthCard(kOwner, 2024, 6, slot, &read);
         },
         {TimeOfDay(9, 0), TimeOfDay(7, 0), 60, kOptionDepartureNextDay}},
    };
    return paths;
}

TEST_P(AttendanceRecords, EveryEditingPathLeavesOneHistoryRowAndNoneWithoutAChange) {
    for (const PathCase& path : Paths()) {
        SCOPED_TRACE(path.name);
        m_db.Connection().Database().ExecuteSQL(
            Db().Dialect().Render("DELETE FROM [dbo].[Tタイムカード]"));
        StoreStartingCard();
        const ChangeSource source{kAdmin, "PC-ADMIN", path.how};
        m_clock.Set(CTime(2024, 6, 4, 10, 0, 0).GetTime());
        ASSERT_EQ(1, path.change(Db(), source));
        std::vector<CCardChange> rows = History();
        ASSERT_EQ(m_before + 1, rows.size());
        const CCardChange& row = rows.back();
        EXPECT_EQ(path.how, row.how);
        EXPECT_EQ(kAdmin, row.byUser);
        EXPECT_EQ("PC-ADMIN", row.computer);
        EXPECT_EQ(CTime(2024, 6, 4, 10, 0, 0), row.at);
        EXPECT_EQ(TimeCardKey(kOwner, 2024, 6, 3), row.idTimeCard);
        EXPECT_EQ(3, row.nDay);
        EXPECT_FALSE(row.newCard);
        EXPECT_EQ((CardValues{TimeOfDay(9, 0), TimeOfDay(18, 0), 60, 0}), row.before);
        EXPECT_EQ(path.after, row.after);
        // The same values once more: the card does not change, and no row is added.
        ASSERT_EQ(1, path.change(Db(), source));
        EXPECT_EQ(m_before + 1, History().size());
    }
}

TEST_P(AttendanceRecords, StampsKeepTheirHowAndOnlyTheFirstStampIsHistory) {
    const ChangeSource login{kOwner, "PC-7", ChangeHow::LoginStamp};
    CUser user;
    user.idUser = kOwner;
    user.nLunchMin = 60;
    ASSERT_EQ(1, CTTimeCard(Db(), login).StampArrival(user));
    ASSERT_EQ(1, CTTimeCard(Db(), login).StampArrival(user));  // a second login: no change
    m_clock.Set(CTime(2024, 6, 3, 18, 2, 0).GetTime());
    ASSERT_EQ(1, CTTimeCard(Db(), {kOwner, "PC-7", ChangeHow::ExitStamp}).StampDeparture(user));
    ASSERT_EQ(1, CTTimeCard(Db(), {kOwner, "PC-7", ChangeHow::JournalExit})
                     .StampDepartureAt(kOwner, CTime(2024, 6, 4, 17, 0, 0), 60));
    std::vector<CCardChange> rows = History();
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(ChangeHow::LoginStamp, rows[0].how);
    EXPECT_TRUE(rows[0].newCard);
    EXPECT_EQ(TimeOfDay(8, 10), rows[0].after.timeFrom);
    EXPECT_EQ(ChangeHow::ExitStamp, rows[1].how);
    EXPECT_EQ(TimeOfDay(8, 10), rows[1].before.timeFrom);
    EXPECT_EQ(kEmpty, rows[1].before.timeTo);
    EXPECT_EQ(TimeOfDay(18, 2), rows[1].after.timeTo);
    EXPECT_EQ(ChangeHow::JournalExit, rows[2].how);
    EXPECT_EQ(4, rows[2].nDay);
}

TEST_P(AttendanceRecords, TheLastExitRuleReplacesAnEarlierDepartureOnly) {
    CUser user;
    user.idUser = kOwner;
    user.nLunchMin = 60;
    const ChangeSource exit{kOwner, "PC-7", ChangeHow::ExitStamp};
    m_clock.Set(CTime(2024, 6, 3, 12, 0, 0).GetTime());
    ASSERT_EQ(1, CTTimeCard(Db(), exit).StampDeparture(user));
    m_clock.Set(CTime(2024, 6, 3, 18, 30, 0).GetTime());
    ASSERT_EQ(1, CTTimeCard(Db(), exit).StampDeparture(user));
    EXPECT_EQ(TimeOfDay(12, 0), Stored(3).timeTo) << "first exit by default";

    OfficeSettings office;
    ASSERT_EQ(1, CTOfficeSettings(Db()).Load(office));
    EXPECT_EQ(30, office.nGapMin);
    EXPECT_FALSE(office.lastExit);
    OfficeSettings changed = office;
    changed.lastExit = true;
    ASSERT_EQ(1, CTOfficeSettings(Db()).Save(changed, office));
    ASSERT_EQ(1, CTOfficeSettings(Db()).Load(office));
    EXPECT_TRUE(office.lastExit);

    CTTimeCard last(Db(), exit);
    last.SetLastExitRule(true);
    ASSERT_EQ(1, last.StampDeparture(user));
    EXPECT_EQ(TimeOfDay(18, 30), Stored(3).timeTo);
    // A departure kept from earlier in the day never takes the place of a later one.
    CTTimeCard kept(Db(), {kOwner, "PC-7", ChangeHow::JournalExit});
    kept.SetLastExitRule(true);
    ASSERT_EQ(1, kept.StampDepartureAt(kOwner, CTime(2024, 6, 3, 15, 0, 0), 60));
    EXPECT_EQ(TimeOfDay(18, 30), Stored(3).timeTo);
    EXPECT_EQ(2u, History().size());
}

TEST_P(AttendanceRecords, AStoreWhoseHistoryFailsLeavesTheCardAsItWas) {
    StoreStartingCard();
    CTimeCard card = Stored(3);
    const CTimeCard read = card;
    card.timeFrom = TimeOfDay(7, 0);
    test::ScriptedFaults faults;
    faults.FailStatements("T勤怠修正履歴", "HY000");
    Db().Database().SetFaultInjector(&faults);
    EXPECT_THROW(
        static_cast<void>(
            CTTimeCard(Db(), {kAdmin, "PC", ChangeHow::TimeCardScreen}).StoreCard(card, &read)),
        CDBException);
    Db().Database().SetFaultInjector(nullptr);
    EXPECT_EQ(TimeOfDay(9, 0), Stored(3).timeFrom);
    EXPECT_EQ(m_before, History().size());
    EXPECT_FALSE(Db().Database().InTransaction());
}

TEST_P(AttendanceRecords, AMissingHistoryTableFailsTheStoreNamingTheUpgradeCommand) {
    StoreStartingCard();
    Db().Database().ExecuteSQL(Db().Dialect().Render("DROP TABLE [dbo].[T勤怠修正履歴]"));
    test::RecordingSink sink(Db().Database());
    CUser user;
    user.idUser = kOwner;
    m_clock.Set(CTime(2024, 6, 5, 8, 0, 0).GetTime());
    try {
        static_cast<void>(
            CTTimeCard(Db(), {kOwner, "PC", ChangeHow::LoginStamp}).StampArrival(user));
        ADD_FAILURE() << "the stamp went through without its history";
    } catch (const CDBException& e) {
        EXPECT_NE(std::string::npos, e.DriverMessage().find("tokeiya-dbsetup"));
    }
    ASSERT_EQ(1u, sink.messages.size()) << "told once";
    EXPECT_NE(std::string::npos, sink.messages[0].find("tokeiya-dbsetup"));
    CTimeCard fifth = CTimeCard::NewDay(kOwner, 2024, 6, 5, 60);
    ASSERT_EQ(1, CTTimeCard(Db()).LoadCard(fifth));
    EXPECT_TRUE(IsEmptyTime(fifth.timeFrom)) << "no card without its history";
}

TEST_P(AttendanceRecords, HistoryAndActivityRowsCannotBeChangedOrRemoved) {
    StoreStartingCard();
    CTimeCard card = Stored(3);
    card.timeTo = TimeOfDay(20, 0);
    ASSERT_EQ(1, CTTimeCard(Db(), {kAdmin, "PC", ChangeHow::Other}).StoreCard(card));
    CTPcActivity(Db()).Begin(77, kOwner, "PC-7", CTime(2024, 6, 3, 8, 0, 0));
    CDatabase& db = Db().Database();
    CDatabase::ExpectedErrors quiet(db);
    for (const char* sql :
         {"UPDATE [dbo].[T勤怠修正履歴] SET [idChangedBy]=5", "DELETE FROM [dbo].[T勤怠修正履歴]",
          "UPDATE [dbo].[T端末利用] SET [idUser]=5", "DELETE FROM [dbo].[T端末利用]"}) {
        SCOPED_TRACE(sql);
        EXPECT_THROW(db.ExecuteSQL(Db().Dialect().Render(sql)), CDBException);
    }
    EXPECT_EQ(m_before + 1, History().size());
}

TEST_P(AttendanceRecords, SpansPairTheirOpeningAndClosingRows) {
    CTPcActivity activity(Db());
    activity.Begin(1, kOwner, "PC-7", CTime(2024, 6, 3, 8, 10, 0));
    activity.Begin(2, kOwner, "PC-8", CTime(2024, 6, 3, 9, 0, 0));  // two computers at once
    activity.End(1, kOwner, "PC-7", CTime(2024, 6, 3, 12, 0, 0), ActivityEnd::Sleep);
    activity.End(1, kOwner, "PC-7", CTime(2024, 6, 3, 12, 5, 0), ActivityEnd::Journal);
    activity.Begin(3, kOwner, "PC-7", CTime(2024, 6, 3, 13, 0, 0));
    activity.End(3, kOwner, "PC-7", CTime(2024, 6, 3, 12, 50, 0), ActivityEnd::Exit);
    activity.Begin(4, kOwner, "PC-7", CTime(2024, 7, 1, 8, 0, 0));
    std::vector<CActivitySpan> spans;
    ASSERT_EQ(1,
              activity.LoadStarted(CTime(2024, 6, 1, 0, 0, 0), CTime(2024, 7, 1, 0, 0, 0), spans));
    ASSERT_EQ(3u, spans.size());
    EXPECT_EQ(CTime(2024, 6, 3, 12, 0, 0), spans[0].end) << "a second end changes nothing";
    EXPECT_EQ(ActivityEnd::Sleep, spans[0].how);
    EXPECT_EQ("PC-8", spans[1].computer);
    EXPECT_EQ(ActivityEnd::None, spans[1].how);
    EXPECT_FALSE(spans[1].Backwards());
    EXPECT_TRUE(spans[2].Backwards()) << "a clock set back";
}

TEST_P(AttendanceRecords, TheDaysSummedUpByTheDatabaseAreTheDaysOfTheSpans) {
    CTPcActivity activity(Db());
    const struct {
        int user;
        CTime start;
        CTime end;  // empty: the span never ended
    } spans[] = {
        {kOwner, CTime(2024, 6, 3, 8, 10, 0), CTime(2024, 6, 3, 12, 0, 0)},
        {kOwner, CTime(2024, 6, 3, 13, 0, 0), CTime(2024, 6, 3, 19, 30, 0)},
        {kOwner, CTime(2024, 6, 3, 20, 0, 0), CTime(2024, 6, 3, 18, 0, 0)},   // clock set back
        {kOwner, CTime(2024, 6, 3, 23, 50, 0), CTime(2024, 6, 4, 1, 15, 0)},  // past midnight
        {kOwner, CTime(2024, 6, 4, 9, 0, 0), CTime()},
        {kOwner, CTime(2024, 6, 4, 8, 0, 0), CTime()},   // a day of open spans only
        {kOwner, CTime(2024, 6, 3, 7, 45, 0), CTime()},  // open, before the day's ended ones
        {kOwner + 1, CTime(2024, 6, 3, 7, 0, 0), CTime(2024, 6, 3, 7, 30, 0)},
        {kOwner + 1, CTime(2024, 6, 30, 23, 59, 59), CTime(2024, 7, 1, 0, 30, 0)},
        {kOwner + 1, CTime(2024, 7, 1, 0, 0, 0), CTime(2024, 7, 1, 1, 0, 0)},    // next month
        {kOwner + 1, CTime(2024, 5, 31, 23, 0, 0), CTime(2024, 6, 1, 1, 0, 0)},  // last month
    };
    int64_t id = 1;
    for (const auto& span : spans) {
        activity.Begin(id, span.user, "PC-7", span.start);
        if (!IsEmptyTime(span.end)) {
            activity.End(id, span.user, "PC-7", span.end, ActivityEnd::Exit);
        }
        ++id;
    }
    const CTime from(2024, 6, 1, 0, 0, 0);
    const CTime to(2024, 7, 1, 0, 0, 0);
    // kOwner + 1's spans all ended: the open ones are not looked for.
    for (int user : {0, kOwner, kOwner + 1}) {
        SCOPED_TRACE(user);
        std::vector<CActivitySpan> read;
        ASSERT_EQ(1, activity.LoadStarted(from, to, read, user));
        std::vector<CActivityDay> days;
        ASSERT_EQ(1, activity.LoadDays(from, to, days, user));
        std::sort(days.begin(), days.end(), [](const CActivityDay& a, const CActivityDay& b) {
            return std::tie(a.idUser, a.nYear, a.nMonth, a.nDay) <
                   std::tie(b.idUser, b.nYear, b.nMonth, b.nDay);
        });
        EXPECT_EQ(SummarizeActivityDays(read), days);
    }
    std::vector<CActivityDay> days;
    ASSERT_EQ(1, activity.LoadDays(from, to, days, kOwner));
    ASSERT_EQ(2u, days.size());
    const CActivityDay& third = days[0].nDay == 3 ? days[0] : days[1];
    EXPECT_EQ(CTime(2024, 6, 3, 7, 45, 0), third.firstStart) << "an open span starts the day";
    EXPECT_EQ(CTime(2024, 6, 4, 1, 15, 0), third.lastEnd) << "the backward span adds no end";
    EXPECT_TRUE(third.backwards);
    EXPECT_EQ(5, third.spans);
    const CActivityDay& fourth = days[0].nDay == 4 ? days[0] : days[1];
    EXPECT_EQ(CTime(2024, 6, 4, 8, 0, 0), fourth.firstStart);
    EXPECT_EQ(2, fourth.spans);
    EXPECT_TRUE(IsEmptyTime(fourth.lastEnd)) << "spans that never ended";
    EXPECT_FALSE(fourth.backwards);
}

INSTANTIATE_TEST_SUITE_P(Engines, AttendanceRecords,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
