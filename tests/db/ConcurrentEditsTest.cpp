#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/CDaySchedule.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/CTUserGroup.hpp"
#include "data/TimeValue.hpp"
#include "tests/support/ScopedTimeZone.hpp"
#include "tests/support/TestDatabase.hpp"
#include "tests/support/TestPasswords.hpp"

namespace tokeiya {
namespace {

using test::Engine;

// Two computers on one database: each reads a row, changes what its user changed and
// stores it from the copy it read, the second one after the first has stored.
class ConcurrentEdits : public ::testing::TestWithParam<Engine> {
  protected:
    ConcurrentEdits() : m_zone("Asia/Tokyo"), m_db(GetParam()), m_other(m_db.OpenAnother()) {}

    CConnection& First() { return m_db.Connection(); }
    CConnection& Second() { return *m_other; }

    CUser ReadUser(CConnection& db, int id) {
        CUser user;
        EXPECT_EQ(1, CTUser(db, CTUser::Mode::View).LoadById(id, user));
        return user;
    }
    CUserGroup ReadGroup(CConnection& db, int id) {
        std::vector<CUserGroup> groups;
        EXPECT_EQ(1, CTUserGroup(db).LoadAll(groups));
        for (const CUserGroup& group : groups) {
            if (group.idGroup == id) {
                return group;
            }
        }
        ADD_FAILURE() << "no group " << id;
        return {};
    }
    CTimeCard ReadCard(CConnection& db, int day) {
        CTimeCard card = CTimeCard::NewDay(kUser, 2024, 5, day, 60);
        EXPECT_EQ(1, CTTimeCard(db).LoadCard(card));
        return card;
    }
    void AddCard(int day) {
        CTimeCard card = CTimeCard::NewDay(kUser, 2024, 5, day, 60);
        card.timeFrom = TimeOfDay(9, 0);
        card.timeTo = TimeOfDay(17, 0);
        card.nWorkingMin = 420;
        ASSERT_EQ(1, CTTimeCard(First()).StoreCard(card));
    }

    static constexpr int kUser = 1;
    test::ScopedTimeZone m_zone;
    test::TestDatabase m_db;
    std::unique_ptr<CConnection> m_other;
};

struct UserEdit {
    const char* what;
    std::function<void(CUser&)> first;   // e.g. an administrator on the user screen
    std::function<void(CUser&)> second;  // e.g. the employee in the option dialog
    std::function<void(const CUser&)> check;
};

TEST_P(ConcurrentEdits, UserRowsKeepTheChangesOfBothComputers) {
    const std::vector<UserEdit> cases = {
        {"pay and group, then lunch minutes",
         [](CUser& u) {
             u.fSalary = 1500;
             u.idGroup = 2;
         },
         [](CUser& u) { u.nLunchMin = 45; },
         [](const CUser& u) {
             EXPECT_EQ(1500, u.fSalary);
             EXPECT_EQ(2, u.idGroup);
             EXPECT_EQ(45, u.nLunchMin);
         }},
        {"level, then a new password", [](CUser& u) { u.nLevel = 2; },
         [](CUser& u) { u.strPasswordHash = test::CheapHash("new"); },
         [](const CUser& u) {
             EXPECT_EQ(2, u.nLevel);
             EXPECT_TRUE(test::HasPassword(u, "new"));
         }},
        {"pay, then nothing changed", [](CUser& u) { u.fSalary = 2000; }, [](CUser&) {},
         [](const CUser& u) { EXPECT_EQ(2000, u.fSalary); }},
        {"the same field: the later store wins", [](CUser& u) { u.nStartUpMin = 5; },
         [](CUser& u) { u.nStartUpMin = 10; },
         [](const CUser& u) { EXPECT_EQ(10, u.nStartUpMin); }},
    };
    for (const UserEdit& c : cases) {
        SCOPED_TRACE(c.what);
        CUser user;
        user.strUserName = c.what;
        user.strPasswordHash = test::CheapHash("pw");
        user.idGroup = 1;
        ASSERT_EQ(1, CTUser(First(), CTUser::Mode::Table).Save(user));

        const CUser firstRead = ReadUser(First(), user.idUser);
        const CUser secondRead = ReadUser(Second(), user.idUser);
        CUser firstEdit = firstRead;
        c.first(firstEdit);
        ASSERT_EQ(1, CTUser(First(), CTUser::Mode::Table).Save(firstEdit, &firstRead));
        CUser secondEdit = secondRead;
        c.second(secondEdit);
        ASSERT_EQ(1, CTUser(Second(), CTUser::Mode::Table).Save(secondEdit, &secondRead));

        c.check(ReadUser(First(), user.idUser));
    }
}

TEST_P(ConcurrentEdits, GroupRowsKeepTheChangesOfBothComputers) {
    CUserGroup group;
    group.strGroupName = "営業部";
    ASSERT_EQ(1, CTUserGroup(First()).Save(group));
    const CUserGroup firstRead = ReadGroup(First(), group.idGroup);
    const CUserGroup secondRead = ReadGroup(Second(), group.idGroup);

    CUserGroup renamed = firstRead;
    renamed.strGroupName = "販売部";
    renamed.typeOvertime = 4;
    ASSERT_EQ(1, CTUserGroup(First()).Save(renamed, &firstRead));
    CUserGroup closing = secondRead;
    closing.nCutoff = 20;
    closing.typeOvertime = 1;
    ASSERT_EQ(1, CTUserGroup(Second()).Save(closing, &secondRead));

    const CUserGroup stored = ReadGroup(First(), group.idGroup);
    EXPECT_EQ("販売部", stored.strGroupName);
    EXPECT_EQ(20, stored.nCutoff);
    EXPECT_EQ(1, stored.typeOvertime) << "the same field: the later store wins";
}

TEST_P(ConcurrentEdits, TimeCardStoresOfBothScreensKeepEachOthersCorrections) {
    AddCard(7);
    // The month schedule reads its slots on the first computer, the time card screen the
    // card on the second.
    std::array<CDaySchedule, 31> days{};
    for (size_t i = 0; i < days.size(); ++i) {
        days[i].Reset(static_cast<int>(i), 60);
    }
    ASSERT_EQ(1, CTTimeCard(First()).LoadMonthCards(kUser, 2024, 5, days));
    const std::array<CDaySchedule, 31> daysRead = days;
    const CTimeCard cardRead = ReadCard(Second(), 7);

    CDaySchedule& slot = days[6];
    slot.timeFrom = TimeOfDay(8, 30);
    slot.nLunchMin = 45;
    ASSERT_EQ(1, CTTimeCard(First()).StoreMonthCard(kUser, 2024, 5, slot, &daysRead[6]));

    CTimeCard card = cardRead;
    card.timeTo = TimeOfDay(18, 30);
    card.nWorkingMin = 510;
    ASSERT_EQ(1, CTTimeCard(Second()).StoreCard(card, &cardRead));

    CTimeCard stored = ReadCard(First(), 7);
    EXPECT_EQ(8, stored.timeFrom.GetHour());
    EXPECT_EQ(30, stored.timeFrom.GetMinute());
    EXPECT_EQ(45, stored.nLunchMin);
    EXPECT_EQ(18, stored.timeTo.GetHour());
    EXPECT_EQ(510, stored.nWorkingMin);

    // And the other way round, the time card screen first, both on the stored row now.
    const CTimeCard again = ReadCard(Second(), 7);
    std::array<CDaySchedule, 31> month = daysRead;
    ASSERT_EQ(1, CTTimeCard(First()).LoadMonthCards(kUser, 2024, 5, month));
    const CDaySchedule monthRead = month[6];
    card = again;
    card.nLunchMin = 30;
    ASSERT_EQ(1, CTTimeCard(Second()).StoreCard(card, &again));
    month[6].timeTo = TimeOfDay(19, 0);
    ASSERT_EQ(1, CTTimeCard(First()).StoreMonthCard(kUser, 2024, 5, month[6], &monthRead));
    stored = ReadCard(First(), 7);
    EXPECT_EQ(30, stored.nLunchMin);
    EXPECT_EQ(19, stored.timeTo.GetHour());
    EXPECT_EQ(8, stored.timeFrom.GetHour());
}

TEST_P(ConcurrentEdits, ADayStoredElsewhereSinceItWasReadEmptyKeepsWhatWasStored) {
    // Both computers show the day without a card; the first stores an arrival.
    const CTimeCard firstRead = ReadCard(First(), 8);
    const CTimeCard secondRead = ReadCard(Second(), 8);
    ASSERT_EQ(0, firstRead.idTimeCard) << "no row yet";
    CTimeCard arrival = firstRead;
    arrival.timeFrom = TimeOfDay(8, 15);
    ASSERT_EQ(1, CTTimeCard(First()).StoreCard(arrival, &firstRead));

    CTimeCard departure = secondRead;
    departure.timeTo = TimeOfDay(17, 0);
    ASSERT_EQ(1, CTTimeCard(Second()).StoreCard(departure, &secondRead));

    const CTimeCard stored = ReadCard(First(), 8);
    EXPECT_EQ(TimeOfDay(8, 15), stored.timeFrom) << "the arrival stored first stays";
    EXPECT_EQ(17, stored.timeTo.GetHour());
}

INSTANTIATE_TEST_SUITE_P(Engines, ConcurrentEdits,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
