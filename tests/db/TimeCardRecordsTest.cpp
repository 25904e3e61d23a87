#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "data/CDaySchedule.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/PayPeriod.hpp"
#include "data/TimeValue.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/support/ScopedTimeZone.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace {

using test::Engine;

class TimeCards : public ::testing::TestWithParam<Engine> {
  protected:
    TimeCards() : m_zone("Asia/Tokyo"), m_db(GetParam()) {
        m_user.idUser = 3;
        m_user.nLunchMin = 45;
    }

    CConnection& Db() { return m_db.Connection(); }

    // The stored card of a day, or nullopt.
    std::optional<CTimeCard> Card(int userId, int year, int month, int day) {
        CTimeCard card = CTimeCard::NewDay(userId, year, month, day, m_user.nLunchMin);
        CTTimeCard set(Db());
        set.m_strFilter = "[idTimeCard]=?";
        set.m_params = {DbValue(card.Key())};
        if (!set.Open() || set.IsEOF()) {
            return std::nullopt;
        }
        return set.ToCard();
    }

    int RowCount() {
        CTTimeCard set(Db());
        EXPECT_TRUE(set.Open());
        int n = 0;
        for (; !set.IsEOF(); set.MoveNext()) {
            ++n;
        }
        return n;
    }

    void At(int year, int month, int day, int hour, int minute) {
        m_clock.Set(CTime(year, month, day, hour, minute, 30).GetTime());
    }

    test::ScopedTimeZone m_zone;
    test::TestDatabase m_db;
    ScopedClockOverride m_clock{0};
    CUser m_user;
};

TEST_P(TimeCards, TheFirstArrivalOfTheDayIsStampedOnTheYear2000) {
    m_user.nStartUpMin = 5;
    At(2024, 4, 3, 8, 3);
    ASSERT_EQ(1, CTTimeCard(Db()).StampArrival(m_user));
    auto card = Card(3, 2024, 4, 3);
    ASSERT_TRUE(card);
    EXPECT_EQ(TimeOfDay(7, 58), card->timeFrom);
    EXPECT_TRUE(IsEmptyTime(card->timeTo));
    EXPECT_EQ(45, card->nLunchMin);
    EXPECT_EQ(TimeCardKey(3, 2024, 4, 3), card->idTimeCard);
    EXPECT_EQ(0, card->flgOption);

    // A second login, later the same day, leaves the arrival as it was.
    At(2024, 4, 3, 13, 0);
    ASSERT_EQ(1, CTTimeCard(Db()).StampArrival(m_user));
    EXPECT_EQ(TimeOfDay(7, 58), Card(3, 2024, 4, 3)->timeFrom);
    EXPECT_EQ(1, RowCount());
}

TEST_P(TimeCards, OffsetsMoveStampsToTheNeighbouringDay) {
    m_user.nStartUpMin = 30;
    m_user.nCoolDownMin = 10;
    At(2024, 3, 1, 0, 20);  // 00:20 minus 30 minutes is the last day of February
    ASSERT_EQ(1, CTTimeCard(Db()).StampArrival(m_user));
    auto february = Card(3, 2024, 2, 29);
    ASSERT_TRUE(february);
    EXPECT_EQ(TimeOfDay(23, 50), february->timeFrom);
    EXPECT_FALSE(Card(3, 2024, 3, 1));

    At(2024, 12, 31, 23, 55);  // 23:55 plus 10 minutes is New Year's Day
    ASSERT_EQ(1, CTTimeCard(Db()).StampDeparture(m_user));
    auto newYear = Card(3, 2025, 1, 1);
    ASSERT_TRUE(newYear);
    EXPECT_EQ(TimeOfDay(0, 5), newYear->timeTo);
    EXPECT_TRUE(IsEmptyTime(newYear->timeFrom)) << "a departure without arrival";
}

TEST_P(TimeCards, StampsTouchNothingElseOfTheRow) {
    CTimeCard card = CTimeCard::NewDay(3, 2024, 4, 3, m_user.nLunchMin);
    card.timeFrom = TimeOfDay(9, 0);
    card.nWorkingMin = 480;
    card.nLunchMin = 30;
    card.nOvertimeMin = 60;
    card.fSalary = 12000.5f;
    card.fOvertimePay = 1500.25f;
    card.flgErr = 1;
    card.flgOption = 0;
    ASSERT_EQ(1, CTTimeCard(Db()).StoreCard(card));

    At(2024, 4, 3, 18, 30);
    ASSERT_EQ(1, CTTimeCard(Db()).StampDeparture(m_user));
    At(2024, 4, 3, 19, 45);
    ASSERT_EQ(1, CTTimeCard(Db()).StampDeparture(m_user));  // a second exit
    At(2024, 4, 3, 7, 0);
    ASSERT_EQ(1, CTTimeCard(Db()).StampArrival(m_user));

    auto stored = Card(3, 2024, 4, 3);
    ASSERT_TRUE(stored);
    EXPECT_EQ(TimeOfDay(9, 0), stored->timeFrom);
    EXPECT_EQ(TimeOfDay(18, 30), stored->timeTo) << "only the first departure stays";
    EXPECT_EQ(480, stored->nWorkingMin);
    EXPECT_EQ(30, stored->nLunchMin);
    EXPECT_EQ(60, stored->nOvertimeMin);
    EXPECT_FLOAT_EQ(12000.5f, stored->fSalary);
    EXPECT_FLOAT_EQ(1500.25f, stored->fOvertimePay);
    EXPECT_EQ(1, stored->flgErr);
}

TEST_P(TimeCards, UsersAboveTwentyOneGetSixtyFourBitKeysTheTimeCardScreenFinds) {
    m_user.idUser = 22;
    m_user.nCutoff = 20;
    At(2024, 3, 10, 8, 0);
    ASSERT_EQ(1, CTTimeCard(Db()).StampArrival(m_user));
    m_user.idUser = 21474;  // far beyond: user x 1e8 overflows 32 bits by far
    ASSERT_EQ(1, CTTimeCard(Db()).StampArrival(m_user));
    m_user.idUser = 22;

    std::array<CTimeCard, 31> rows{};
    ASSERT_EQ(1, CTTimeCard(Db()).LoadPeriod(m_user, 2024, 3, rows));
    // 10 March in the period 21 February .. 20 March (leap year) is row 8 + 10 = 18.
    EXPECT_EQ(TimeCardKey(22, 2024, 3, 10), rows[18].idTimeCard);
    EXPECT_EQ(2220240310LL, rows[18].idTimeCard);
    EXPECT_EQ(TimeOfDay(8, 0), rows[18].timeFrom);
    int loaded = 0;
    for (const CTimeCard& row : rows) {
        loaded += row.idTimeCard != 0 ? 1 : 0;
    }
    EXPECT_EQ(1, loaded) << "another user's card stays out of the period";
}

TEST_P(TimeCards, LoadPeriodPlacesCardsByClosingDay) {
    auto store = [&](int userId, int y, int m, int d) {
        CTimeCard card = CTimeCard::NewDay(userId, y, m, d, m_user.nLunchMin);
        card.nWorkingMin = d;
        ASSERT_EQ(1, CTTimeCard(Db()).StoreCard(card));
    };
    for (auto [y, m, d] : {std::tuple{2023, 12, 20},
                           {2023, 12, 21},
                           {2023, 12, 31},
                           {2024, 1, 1},
                           {2024, 1, 20},
                           {2024, 1, 21},
                           {2024, 1, 31}}) {
        store(3, y, m, d);
    }
    struct Case {
        int cutoff;
        int year, month;
        std::vector<std::pair<int, int>> rowAndDay;  // rows holding a card, with its day
    };
    const Case cases[] = {
        {0, 2024, 1, {{0, 1}, {19, 20}, {20, 21}, {30, 31}}},
        {20, 2024, 1, {{0, 21}, {10, 31}, {11, 1}, {30, 20}}},  // 21 Dec .. 20 Jan
        {20, 2024, 2, {{0, 21}, {10, 31}}},                     // 21 Jan .. 20 Feb
        {0, 2023, 12, {{19, 20}, {20, 21}, {30, 31}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << " cutoff " << c.cutoff);
        m_user.nCutoff = c.cutoff;
        std::array<CTimeCard, 31> rows{};
        ASSERT_EQ(1, CTTimeCard(Db()).LoadPeriod(m_user, c.year, c.month, rows));
        std::vector<std::pair<int, int>> found;
        for (int r = 0; r < 31; ++r) {
            if (rows[static_cast<size_t>(r)].idTimeCard != 0) {
                found.emplace_back(r, rows[static_cast<size_t>(r)].nDay);
                EXPECT_EQ(rows[static_cast<size_t>(r)].nDay,
                          rows[static_cast<size_t>(r)].nWorkingMin);
            }
        }
        EXPECT_EQ(c.rowAndDay, found);
    }
}

TEST_P(TimeCards, StoreCardInsertsThenUpdatesAndDerivesTheOption) {
    CTimeCard card = CTimeCard::NewDay(3, 2024, 5, 7, m_user.nLunchMin);
    card.timeFrom = TimeOfDay(22, 0);
    card.timeTo = TimeOfDay(6, 0);
    ASSERT_EQ(1, CTTimeCard(Db()).StoreCard(card));
    EXPECT_EQ(TimeCardKey(3, 2024, 5, 7), card.idTimeCard);
    EXPECT_EQ(2, card.flgOption);

    card.timeTo = CTime();
    card.nLunchMin = 0;
    ASSERT_EQ(1, CTTimeCard(Db()).StoreCard(card));
    auto stored = Card(3, 2024, 5, 7);
    ASSERT_TRUE(stored);
    EXPECT_EQ(0, stored->flgOption);
    EXPECT_TRUE(IsEmptyTime(stored->timeTo)) << "an emptied time is stored as empty";
    EXPECT_EQ(0, stored->nLunchMin);
    EXPECT_EQ(1, RowCount());

    CTimeCard loaded = CTimeCard::NewDay(3, 2024, 5, 7, m_user.nLunchMin);
    ASSERT_EQ(1, CTTimeCard(Db()).LoadCard(loaded));
    EXPECT_EQ(TimeOfDay(22, 0), loaded.timeFrom);
    CTimeCard missing = CTimeCard::NewDay(3, 2024, 5, 8, m_user.nLunchMin);
    ASSERT_EQ(1, CTTimeCard(Db()).LoadCard(missing)) << "nothing found is not a failure";
    EXPECT_EQ(0, missing.idTimeCard);
    EXPECT_EQ(45, missing.nLunchMin);
}

TEST_P(TimeCards, TwoComputersStampingAtOnceLeaveOneRowAndNoError) {
    At(2024, 6, 3, 8, 30);
    constexpr int kDays = 30;
    std::atomic<int> failures{0};
    auto stampAll = [&](int startUpMinutes) {
        try {
            auto connection = m_db.OpenAnother();
            CUser user = m_user;
            user.nStartUpMin = startUpMinutes;
            for (int day = 0; day < kDays; ++day) {
                user.idUser = 100 + day;  // a fresh row each round, raced for by both
                if (CTTimeCard(*connection).StampArrival(user) != 1) {
                    ++failures;
                }
            }
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
            ++failures;
        }
    };
    std::thread first(stampAll, 0);
    std::thread second(stampAll, 1);
    first.join();
    second.join();
    EXPECT_EQ(0, failures.load());
    EXPECT_EQ(kDays, RowCount());
    for (int day = 0; day < kDays; ++day) {
        auto card = Card(100 + day, 2024, 6, 3);
        ASSERT_TRUE(card);
        EXPECT_TRUE(card->timeFrom == TimeOfDay(8, 30) || card->timeFrom == TimeOfDay(8, 29));
    }
}

TEST_P(TimeCards, MonthSlotsLoadAndStoreOnlyTheirColumns) {
    CTimeCard worked = CTimeCard::NewDay(3, 2024, 4, 3, m_user.nLunchMin);
    worked.timeFrom = TimeOfDay(9, 0);
    worked.nWorkingMin = 480;
    worked.fSalary = 9000;
    ASSERT_EQ(1, CTTimeCard(Db()).StoreCard(worked));
    CTimeCard otherMonth = CTimeCard::NewDay(3, 2024, 5, 3, m_user.nLunchMin);
    ASSERT_EQ(1, CTTimeCard(Db()).StoreCard(otherMonth));

    std::array<CDaySchedule, 31> days{};
    for (int i = 0; i < 31; ++i) {
        days[static_cast<size_t>(i)].Reset(i, m_user.nLunchMin);
    }
    ASSERT_EQ(1, CTTimeCard(Db()).LoadMonthCards(3, 2024, 4, days));
    EXPECT_EQ(worked.idTimeCard, days[2].idTimeCard);
    EXPECT_EQ(TimeOfDay(9, 0), days[2].timeFrom);
    EXPECT_EQ(0, days[3].idTimeCard);

    // The existing day: times, lunch and option change, minutes and pay stay.
    days[2].timeTo = TimeOfDay(7, 0);  // before 8:00 and before the arrival: next day
    days[2].nLunchMin = 50;
    ASSERT_EQ(1, CTTimeCard(Db()).StoreMonthCard(3, 2024, 4, days[2]));
    auto stored = Card(3, 2024, 4, 3);
    ASSERT_TRUE(stored);
    EXPECT_EQ(TimeOfDay(7, 0), stored->timeTo);
    EXPECT_EQ(50, stored->nLunchMin);
    EXPECT_EQ(2, stored->flgOption);
    EXPECT_EQ(480, stored->nWorkingMin);
    EXPECT_FLOAT_EQ(9000, stored->fSalary);

    // A day without a card gets its row and key.
    days[9].timeFrom = TimeOfDay(10, 15);
    ASSERT_EQ(1, CTTimeCard(Db()).StoreMonthCard(3, 2024, 4, days[9]));
    EXPECT_EQ(TimeCardKey(3, 2024, 4, 10), days[9].idTimeCard);
    EXPECT_EQ(TimeOfDay(10, 15), Card(3, 2024, 4, 10)->timeFrom);

    // A day stamped on another computer after the month was shown: the insert becomes an
    // edit of that row instead of an error.
    At(2024, 4, 20, 8, 0);
    ASSERT_EQ(1, CTTimeCard(*m_db.OpenAnother()).StampArrival(m_user));
    ASSERT_EQ(0, days[19].idTimeCard);
    days[19].timeTo = TimeOfDay(17, 0);
    ASSERT_EQ(1, CTTimeCard(Db()).StoreMonthCard(3, 2024, 4, days[19]));
    auto raced = Card(3, 2024, 4, 20);
    ASSERT_TRUE(raced);
    EXPECT_EQ(TimeOfDay(17, 0), raced->timeTo);
}

// Of two computers stamping the same new day, the one whose row reaches the table first
// keeps its time; the other one's insert meets that row and leaves its arrival alone. The
// other computer's stamp is made at the moment this one is about to insert.
TEST_P(TimeCards, TheStampThatReachesTheTableFirstWinsARace) {
    At(2024, 6, 3, 8, 30);
    auto other = m_db.OpenAnother();
    test::RecordingSink sink(Db().Database());
    test::FaultInjector interleave(Db().Database());
    bool raced = false;
    interleave.onStatement = [&](const std::string& sql) {
        if (!raced && sql.find("INSERT") != std::string::npos) {
            raced = true;
            CUser early = m_user;
            early.nStartUpMin = 1;  // 8:29
            EXPECT_EQ(1, CTTimeCard(*other).StampArrival(early));
        }
    };
    ASSERT_EQ(1, CTTimeCard(Db()).StampArrival(m_user));
    ASSERT_TRUE(raced);
    EXPECT_TRUE(sink.messages.empty()) << "the lost race is no error";
    EXPECT_EQ(1, RowCount());
    EXPECT_EQ(TimeOfDay(8, 29), Card(3, 2024, 6, 3)->timeFrom);

    // The other computer's row holds only a departure: the arrival is still written.
    At(2024, 6, 4, 8, 30);
    raced = false;
    interleave.onStatement = [&](const std::string& sql) {
        if (!raced && sql.find("INSERT") != std::string::npos) {
            raced = true;
            At(2024, 6, 4, 7, 0);
            EXPECT_EQ(1, CTTimeCard(*other).StampDeparture(m_user));
            At(2024, 6, 4, 8, 30);
        }
    };
    ASSERT_EQ(1, CTTimeCard(Db()).StampArrival(m_user));
    ASSERT_TRUE(raced);
    auto both = Card(3, 2024, 6, 4);
    ASSERT_TRUE(both);
    EXPECT_EQ(TimeOfDay(8, 30), both->timeFrom);
    EXPECT_EQ(TimeOfDay(7, 0), both->timeTo);
    EXPECT_TRUE(sink.messages.empty());
}

// A screen that stores several rows in one transaction may meet a day another computer
// has just stamped. The clash must cost neither the stamp recovery nor the rest of the
// store (on PostgreSQL a failed statement would otherwise abort the whole transaction).
TEST_P(TimeCards, AConflictingStampInsideALargerStoreLeavesTheLargerStoreIntact) {
    At(2024, 6, 3, 8, 30);
    CDatabase& db = Db().Database();
    test::RecordingSink sink(db);
    test::FaultInjector interleave(db);
    bool armed = false;
    interleave.onStatement = [&](const std::string& sql) {
        // Just before the stamp's insert opens its savepoint, the day's row appears, as
        // when another computer's insert was committed a moment earlier.
        if (armed && sql.rfind("SAVEPOINT", 0) == 0) {
            armed = false;
            db.ExecuteSQL(
                Db().Dialect().Render(
                    "INSERT INTO [dbo].[Tタイムカード] ([idTimeCard], [idUser], "
                    "[timeFrom], [nYear], [nMonth], [nDay]) VALUES (?, 3, ?, 2024, 6, 3)"),
                {DbValue(TimeCardKey(3, 2024, 6, 3)),
                 Db().Dialect().DateTimeParam(TimeOfDay(8, 29))});
        }
    };
    {
        CTransaction store(db);
        CTimeCard before = CTimeCard::NewDay(3, 2024, 6, 2, m_user.nLunchMin);
        before.timeFrom = TimeOfDay(9, 0);
        ASSERT_EQ(1, CTTimeCard(Db()).StoreCard(before));
        armed = true;
        ASSERT_EQ(1, CTTimeCard(Db()).StampArrival(m_user));
        EXPECT_FALSE(armed) << "the clash did not happen";
        CTimeCard after = CTimeCard::NewDay(3, 2024, 6, 4, m_user.nLunchMin);
        after.timeFrom = TimeOfDay(9, 15);
        ASSERT_EQ(1, CTTimeCard(Db()).StoreCard(after));
        store.Commit();
    }
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(3, RowCount());
    EXPECT_EQ(TimeOfDay(9, 0), Card(3, 2024, 6, 2)->timeFrom);
    EXPECT_EQ(TimeOfDay(8, 29), Card(3, 2024, 6, 3)->timeFrom) << "the first stamp stays";
    EXPECT_EQ(TimeOfDay(9, 15), Card(3, 2024, 6, 4)->timeFrom);
}

// A departure kept while the database was away is written later with its own time.
TEST_P(TimeCards, ADepartureKeptFromAnEarlierSessionKeepsItsTimeAndTheFirstStampRule) {
    At(2024, 6, 10, 9, 0);
    ASSERT_EQ(1, CTTimeCard(Db()).StampDepartureAt(3, CTime(2024, 6, 7, 18, 5, 0), 30));
    auto card = Card(3, 2024, 6, 7);
    ASSERT_TRUE(card);
    EXPECT_EQ(TimeOfDay(18, 5), card->timeTo);
    EXPECT_EQ(30, card->nLunchMin);
    ASSERT_EQ(1, CTTimeCard(Db()).StampDepartureAt(3, CTime(2024, 6, 7, 19, 0, 0), 30));
    EXPECT_EQ(TimeOfDay(18, 5), Card(3, 2024, 6, 7)->timeTo) << "written once only";
}

INSTANTIATE_TEST_SUITE_P(Engines, TimeCards, ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
