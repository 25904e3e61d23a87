#include <gtest/gtest.h>

#include "data/CTSalary.hpp"
#include "data/CTUser.hpp"
#include "data/CTUserGroup.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace {

using test::Engine;

class PayRecords : public ::testing::TestWithParam<Engine> {
  protected:
    PayRecords() : m_db(GetParam()) {}

    CConnection& Db() { return m_db.Connection(); }

    CUserGroup AddGroup(const std::string& name, int type, int cutoff) {
        CUserGroup group;
        group.strGroupName = name;
        group.typeSalary = type;
        group.nCutoff = cutoff;
        EXPECT_EQ(1, CTUserGroup(Db()).Save(group));
        return group;
    }

    void AddPay(int user, int group, int year, int month, double pay) {
        Db().Database().ExecuteSQL(
            Db().Dialect().Render("INSERT INTO [dbo].[T給料] ([idUser],[idGroup],[nYear],[nMonth],"
                                  "[fSalary],[fOvertimePay],[nDays]) VALUES (?,?,?,?,?,?,?)"),
            {DbValue(user), DbValue(group), DbValue(year), DbValue(month), DbValue(pay),
             DbValue(pay / 10), DbValue(20)});
    }

    test::TestDatabase m_db;
};

TEST_P(PayRecords, GroupsGetTheNextIdAndUpdateInPlace) {
    CUserGroup office = AddGroup("事務", 1, 0);
    CUserGroup shop = AddGroup("O'Shop", 3, 20);
    EXPECT_EQ(1, office.idGroup);
    EXPECT_EQ(2, shop.idGroup);

    shop.nTimePerSalary = 15;
    shop.flgRound = 2;
    ASSERT_EQ(1, CTUserGroup(Db()).Save(shop));
    EXPECT_EQ(2, shop.idGroup);
    CUserGroup ghost;
    ghost.idGroup = 9;
    EXPECT_EQ(0, CTUserGroup(Db()).Save(ghost)) << "a group that is gone is not re-created";

    std::vector<CUserGroup> list{CUserGroup{}, CUserGroup{}, CUserGroup{}};
    ASSERT_EQ(1, CTUserGroup(Db()).LoadAll(list));
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ("事務", list[0].strGroupName);
    EXPECT_EQ("月給", list[0].strSalary);
    EXPECT_EQ("なし", list[0].strOvertime);
    EXPECT_EQ("O'Shop", list[1].strGroupName);
    EXPECT_EQ(3, list[1].typeSalary);
    EXPECT_EQ(15, list[1].nTimePerSalary);
    EXPECT_EQ(20, list[1].nCutoff);
    EXPECT_FALSE(list[1].strSalary.empty());
    EXPECT_NE(list[0].strSalary, list[1].strSalary);
    EXPECT_FALSE(list[1].strRound.empty());
}

TEST_P(PayRecords, TheUserViewJoinsTheGroupsSettings) {
    CUserGroup shop = AddGroup("店舗", 2, 25);
    CUser user;
    user.strUserName = "jiro";
    user.idGroup = shop.idGroup;
    ASSERT_EQ(1, CTUser(Db(), CTUser::Mode::Table).Save(user));
    CUser loaded;
    ASSERT_EQ(1, CTUser(Db(), CTUser::Mode::View).LoadById(user.idUser, loaded));
    EXPECT_EQ("店舗", loaded.strGroupName);
    EXPECT_EQ(2, loaded.typeSalary);
    EXPECT_EQ(25, loaded.nCutoff);
    EXPECT_EQ("ユーザー", loaded.strLevel);
}

TEST_P(PayRecords, MonthResultsByGroupAndByUser) {
    CUserGroup a = AddGroup("A", 1, 0);
    CUserGroup b = AddGroup("B", 1, 20);
    CUser user;
    user.strUserName = "花子";
    user.idGroup = b.idGroup;
    ASSERT_EQ(1, CTUser(Db(), CTUser::Mode::Table).Save(user));
    AddPay(user.idUser, b.idGroup, 2024, 3, 200000);
    AddPay(99, a.idGroup, 2024, 3, 100000);
    AddPay(user.idUser, b.idGroup, 2024, 4, 210000);

    std::vector<CSalary> list{CSalary{}};
    ASSERT_EQ(1, CTSalary(Db()).LoadMonth(2024, 3, -1, list));
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ(a.idGroup, list[0].idGroup) << "sorted by group";
    ASSERT_EQ(1, CTSalary(Db()).LoadMonth(2024, 3, b.idGroup, list));
    ASSERT_EQ(1u, list.size());
    EXPECT_EQ("花子", list[0].strUserName);
    EXPECT_EQ("B", list[0].strGroupName);
    EXPECT_EQ(20, list[0].nCutoff);
    EXPECT_FLOAT_EQ(220000.0f, list[0].Total());

    CSalary one;
    ASSERT_EQ(1, CTSalary(Db()).LoadUserMonth(user.idUser, 2024, 4, one));
    EXPECT_FLOAT_EQ(210000.0f, one.fSalary);
    CSalary none;
    none.fSalary = 5;
    none.strUserName = "stale";
    ASSERT_EQ(1, CTSalary(Db()).LoadUserMonth(user.idUser, 2024, 5, none));
    EXPECT_EQ(0, none.idSalary);
    EXPECT_EQ(0.0f, none.fSalary);
    EXPECT_EQ("", none.strUserName);
    EXPECT_EQ("", none.strGroupName);
}

INSTANTIATE_TEST_SUITE_P(Engines, PayRecords, ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
