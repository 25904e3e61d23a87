#include <gtest/gtest.h>

#include <map>

#include "data/CPayCalculation.hpp"
#include "data/CTSalary.hpp"
#include "data/CTTimeCard.hpp"
#include "data/TimeValue.hpp"
#include "tests/support/PayFixture.hpp"
#include "tests/support/ScopedTimeZone.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace {

using test::Engine;

// The database's monthly calculation against the program's own day arithmetic: on every
// engine, each recomputed day and each user's month must be what the program computes.
class MonthlyPay : public ::testing::TestWithParam<Engine> {
  protected:
    MonthlyPay() : m_zone("Asia/Tokyo"), m_db(GetParam()) {}

    test::ScopedTimeZone m_zone;
    test::TestDatabase m_db;
};

TEST_P(MonthlyPay, TheDatabaseComputesWhatTheProgramComputes) {
    CConnection& db = m_db.Connection();
    test::PayFixture fixture = test::PayFixture::Build(db, 3, 45);

    // The expected month of each user: the program's arithmetic, day by day.
    test::PayFixture::Month month = fixture.Expected(2024, 3);
    std::map<int, CSalary>& expected = month.results;
    const std::map<int64_t, CTimeCard>& expectedDays = month.days;

    // The fixture holds what the result rules are about: error days with both times, and
    // retired users with and without a time in the period.
    int errorDaysWithBothTimes = 0;
    for (const auto& [key, card] : expectedDays) {
        errorDaysWithBothTimes +=
            card.flgErr && !IsEmptyTime(card.timeFrom) && !IsEmptyTime(card.timeTo) ? 1 : 0;
    }
    EXPECT_GT(errorDaysWithBothTimes, 0);
    int retiredListed = 0;
    int retiredLeftOut = 0;
    for (const CUser& user : fixture.users) {
        if (user.nLevel == 0 && expected.count(user.idUser) > 0) {
            ++retiredListed;
        } else if (user.nLevel == 0) {
            ++retiredLeftOut;
        }
    }
    EXPECT_GT(retiredListed, 0);
    EXPECT_GT(retiredLeftOut, 0);

    CPayCalculation calculation(db);
    for (const CUserGroup& group : fixture.groups) {
        std::string error;
        ASSERT_EQ(1, calculation.Run(group.idGroup,
                                     PayCalculationBounds::For(2024, 3, group.nCutoff), error))
            << error;
    }

    std::vector<CSalary> list;
    ASSERT_EQ(1, CTSalary(db).LoadMonth(2024, 3, -1, list));
    ASSERT_EQ(expected.size(), list.size());
    for (const CSalary& got : list) {
        SCOPED_TRACE(got.strUserName);
        ASSERT_EQ(1u, expected.count(got.idUser));
        const CSalary& want = expected[got.idUser];
        EXPECT_EQ(want.idGroup, got.idGroup);
        EXPECT_EQ(2024, got.nYear);
        EXPECT_EQ(3, got.nMonth);
        EXPECT_EQ(want.nWorkingMin, got.nWorkingMin);
        EXPECT_EQ(want.nOvertimeMin, got.nOvertimeMin);
        EXPECT_EQ(want.fSalary, got.fSalary);
        EXPECT_EQ(want.fOvertimePay, got.fOvertimePay);
        EXPECT_EQ(want.nDays, got.nDays);
        EXPECT_EQ(want.nErr, got.nErr);
    }

    // Every recomputed day was stored as the program computes it.
    CTTimeCard set(db);
    ASSERT_TRUE(set.Open());
    int compared = 0;
    for (; !set.IsEOF(); set.MoveNext()) {
        auto it = expectedDays.find(set.m_idTimeCard);
        if (it == expectedDays.end()) {
            continue;
        }
        const CTimeCard& want = it->second;
        SCOPED_TRACE(testing::Message() << "card " << set.m_idTimeCard);
        EXPECT_EQ(want.flgOption, set.m_flgOption);
        EXPECT_EQ(want.flgErr, set.m_flgErr);
        EXPECT_EQ(want.nWorkingMin, set.m_nWorkingMin);
        EXPECT_EQ(want.nOvertimeMin, set.m_nOvertimeMin);
        EXPECT_EQ(want.fSalary, set.m_fSalary);
        EXPECT_EQ(want.fOvertimePay, set.m_fOvertimePay);
        ++compared;
    }
    EXPECT_EQ(expectedDays.size(), static_cast<size_t>(compared));
}

TEST_P(MonthlyPay, AFailingCalculationReportsTheDatabaseAndKeepsTheLastResult) {
    CConnection& db = m_db.Connection();
    test::PayFixture fixture = test::PayFixture::Build(db, 1, 20);
    const CUserGroup& group = fixture.groups[0];
    std::string error;
    PayCalculationBounds bounds = PayCalculationBounds::For(2024, 3, group.nCutoff);
    ASSERT_EQ(1, CPayCalculation(db).Run(group.idGroup, bounds, error)) << error;
    std::vector<CSalary> before;
    ASSERT_EQ(1, CTSalary(db).LoadMonth(2024, 3, group.idGroup, before));
    ASSERT_EQ(1u, before.size());

    // The result table refuses new rows: the calculation must fail as a whole.
    std::string trigger =
        GetParam() == Engine::SQLite
            ? "CREATE TRIGGER refuse BEFORE INSERT ON T給料 BEGIN SELECT RAISE(ABORT, 'pay "
              "table is locked'); END"
            : "CREATE RULE refuse AS ON INSERT TO dbo.T給料 DO INSTEAD SELECT 1/0";
    db.Database().ExecuteSQL(trigger);
    EXPECT_EQ(0, CPayCalculation(db).Run(group.idGroup, bounds, error));
    EXPECT_FALSE(error.empty());
    std::vector<CSalary> after;
    ASSERT_EQ(1, CTSalary(db).LoadMonth(2024, 3, group.idGroup, after));
    ASSERT_EQ(1u, after.size()) << "the earlier result is not lost";
    EXPECT_EQ(before[0].idSalary, after[0].idSalary);
}

INSTANTIATE_TEST_SUITE_P(Engines, MonthlyPay, ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
