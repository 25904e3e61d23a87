#include <gtest/gtest.h>

#include "data/CTSalary.hpp"
#include "data/CTUser.hpp"
#include "data/CTUserGroup.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace {

using test::Engine;

// Rows whose ids the program chooses (groups, users), saved by two computers at once, and
// lists that a failed read must leave as they were.
class ClientChosenIds : public ::testing::TestWithParam<Engine> {
  protected:
    ClientChosenIds() : m_db(GetParam()), m_other(m_db.OpenAnother()), m_sink(Db().Database()) {}

    CConnection& Db() { return m_db.Connection(); }

    // Runs `what` on the other computer just before this one's next INSERT.
    void BeforeNextInsert(std::function<void()> what) {
        m_pending = std::move(what);
        m_faults.onStatement = [this](const std::string& sql) {
            if (m_pending && sql.find("INSERT") != std::string::npos) {
                std::function<void()> now = std::move(m_pending);
                m_pending = nullptr;
                now();
            }
        };
    }

    test::TestDatabase m_db;
    std::unique_ptr<CConnection> m_other;
    test::RecordingSink m_sink;
    test::FaultInjector m_faults{Db().Database()};
    std::function<void()> m_pending;
};

TEST_P(ClientChosenIds, TwoComputersAddingAGroupAtOnceBothKeepTheirGroup) {
    CUserGroup theirs;
    theirs.strGroupName = "営業";
    BeforeNextInsert([&] { EXPECT_EQ(1, CTUserGroup(*m_other).Save(theirs)); });
    CUserGroup ours;
    ours.strGroupName = "事務";
    ASSERT_EQ(1, CTUserGroup(Db()).Save(ours));
    EXPECT_EQ(1, theirs.idGroup);
    EXPECT_EQ(2, ours.idGroup) << "the next id after the other computer's";
    EXPECT_TRUE(m_sink.messages.empty()) << "the clash is not the user's business";

    std::vector<CUserGroup> groups;
    ASSERT_EQ(1, CTUserGroup(Db()).LoadAll(groups));
    ASSERT_EQ(2u, groups.size());
    EXPECT_EQ("営業", groups[0].strGroupName);
    EXPECT_EQ("事務", groups[1].strGroupName);
}

TEST_P(ClientChosenIds, TwoComputersAddingAUserAtOnceBothKeepTheirUser) {
    CUser theirs;
    theirs.strUserName = "taro";
    theirs.idGroup = 1;
    BeforeNextInsert([&] { EXPECT_EQ(1, CTUser(*m_other, CTUser::Mode::Table).Save(theirs)); });
    CUser ours;
    ours.strUserName = "hanako";
    ours.idGroup = 1;
    ASSERT_EQ(1, CTUser(Db(), CTUser::Mode::Table).Save(ours));
    EXPECT_EQ(theirs.idUser + 1, ours.idUser);
    EXPECT_TRUE(m_sink.messages.empty());
    CUser stored;
    ASSERT_EQ(1, CTUser(Db(), CTUser::Mode::View).LoadById(ours.idUser, stored));
    EXPECT_EQ("hanako", stored.strUserName);
    // A new user's contractual hours are 00:00, not an empty time that would be stored
    // as NULL and shown as a time of 1970.
    EXPECT_EQ(TimeOfDay(0, 0), stored.timeFrom);
    EXPECT_EQ(TimeOfDay(0, 0), stored.timeTo);
}

TEST_P(ClientChosenIds, TheNextIdComesFromOneQueryAndASecondClashIsTold) {
    CUserGroup first;
    first.strGroupName = "A";
    ASSERT_EQ(1, CTUserGroup(Db()).Save(first));
    m_faults.statements.clear();
    CUserGroup second;
    second.strGroupName = "B";
    ASSERT_EQ(1, CTUserGroup(Db()).Save(second));
    ASSERT_FALSE(m_faults.statements.empty());
    EXPECT_NE(std::string::npos, m_faults.statements[0].find("MAX(")) << m_faults.statements[0];

    // Both the first try and the retry clash (the next id is taken twice): that is told.
    m_faults.FailStatements("INSERT", "23000", 2);
    CUserGroup third;
    third.strGroupName = "C";
    EXPECT_THROW(static_cast<void>(CTUserGroup(Db()).Save(third)), CDBException);
    EXPECT_EQ(1u, m_sink.messages.size());
    EXPECT_EQ(0, third.idGroup) << "no id for a row that was never stored";
}

TEST_P(ClientChosenIds, AFailedReadKeepsTheListAndIsToldOnce) {
    CUserGroup group;
    group.strGroupName = "事務";
    ASSERT_EQ(1, CTUserGroup(Db()).Save(group));
    std::vector<CUserGroup> groups;
    ASSERT_EQ(1, CTUserGroup(Db()).LoadAll(groups));
    ASSERT_EQ(1u, groups.size());

    m_faults.FailStatements("SELECT");
    EXPECT_EQ(0, CTUserGroup(Db()).LoadAll(groups));
    ASSERT_EQ(1u, groups.size()) << "a failed read is not an empty result";
    EXPECT_EQ("事務", groups[0].strGroupName);
    EXPECT_EQ(1u, m_sink.messages.size());

    std::vector<CUser> users(2);
    users[0].strUserName = "shown";
    m_faults.FailStatements("SELECT");
    EXPECT_EQ(0, CTUser(Db(), CTUser::Mode::View).LoadList(users, -1, false));
    EXPECT_EQ(2u, users.size());
    EXPECT_EQ("shown", users[0].strUserName);

    std::vector<CSalary> pay(1);
    m_faults.FailStatements("SELECT");
    EXPECT_EQ(0, CTSalary(Db()).LoadMonth(2024, 3, -1, pay));
    EXPECT_EQ(1u, pay.size());
    EXPECT_EQ(3u, m_sink.messages.size());
}

INSTANTIATE_TEST_SUITE_P(Engines, ClientChosenIds,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
