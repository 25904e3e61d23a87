#include <gtest/gtest.h>

#include <map>

#include "data/CPayCalculation.hpp"
#include "data/CTSalary.hpp"
#include "data/CTTimeCard.hpp"
#include "data/TimeValue.hpp"
#include "screens/paycalc/TimeCardCalc.hpp"
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
    std::map<int, CSalary> expected;
    std::map<int64_t, CTimeCard> expectedDays;
    for (const CUser& user : fixture.users) {
        PayCalculationBounds bounds = PayCalculationBounds::For(2024, 3, user.nCutoff);
        CSalary s;
        s.idUser = user.idUser;
        s.idGroup = user.idGroup;
        int cards = 0;
        long double pay = 0;
        for (CTimeCard card : fixture.cards) {
            int code = card.nYear * 10000 + card.nMonth * 100 + card.nDay;
            if (card.idUser != user.idUser || code < bounds.from || code > bounds.to) {
                continue;
            }
            ++cards;
            RecomputeRow(user, card);
            card.flgOption = DayOption(card.timeFrom, card.timeTo, card.flgOption);
            expectedDays[card.idTimeCard] = card;
            s.nWorkingMin += card.nWorkingMin;
            s.nOvertimeMin += card.nOvertimeMin;
            pay += card.fSalary;
            s.fOvertimePay += card.fOvertimePay;
            s.nDays += !IsEmptyTime(card.timeFrom) && !IsEmptyTime(card.timeTo) ? 1 : 0;
            s.nErr += card.flgErr;
        }
        s.fSalary = user.typeSalary == kSalaryMonthly ? user.fSalary : static_cast<float>(pay);
        if (user.nLevel > 0 || cards > 0) {
            expected[user.idUser] = s;
        }
    }

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
