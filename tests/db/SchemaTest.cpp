#include <gtest/gtest.h>

#include "data/CSchemaSetup.hpp"
#include "platform/odbc/CRecordset.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace {

using test::Engine;

class Schema : public ::testing::TestWithParam<Engine> {
  protected:
    Schema() : m_db(GetParam()) {}

    CRecordset Query(const std::string& sql, const std::vector<DbValue>& params = {}) {
        CRecordset set(m_db.Connection().Database());
        set.Open(m_db.Connection().Dialect().Render(sql), params);
        return set;
    }

    std::string CodeName(const std::string& list, int code) {
        CRecordset set = Query("SELECT [name] FROM " + list + " WHERE [code]=?", {DbValue(code)});
        return set.IsEOF() ? "<missing>" : set.GetField(0).AsText();
    }

    test::TestDatabase m_db;
};

TEST_P(Schema, IsAtTheNewestVersionAndUpgradingAgainChangesNothing) {
    CSchemaSetup setup(m_db.Connection());
    EXPECT_GE(setup.LatestVersion(), 1);
    EXPECT_EQ(setup.LatestVersion(), setup.CurrentVersion());
    EXPECT_EQ(setup.LatestVersion(), setup.Upgrade());
    EXPECT_EQ(1u, Query("SELECT [idUser] FROM [dbo].[Tユーザー]").GetRecordCount())
        << "seed rows are not inserted twice";
}

TEST_P(Schema, ViewsHaveTheColumnsTheRecordClassesBind) {
    struct View {
        const char* name;
        size_t columns;
    };
    const View views[] = {
        {"[dbo].[Tタイムカード]", 14},
        {"[dbo].[T日程]", 10},
        {"[dbo].[Tユーザー]", 13},
        {"[dbo].[Tユーザーグループ]", 7},
        {"[dbo].[TLogIn]", 5},
        {"[dbo].[Q月スケジュール]", 6},
        {"[dbo].[Q日程]", 13},
        {"[dbo].[Qアラーム読込用]", 5},
        {"[dbo].[Q給料]", 14},
        {"[dbo].[Qユーザー]", 20},
        {"[dbo].[Qユーザーグループ]", 10},
        {"[dbo].[Qmグループ]", 2},
        {"[dbo].[Qmユーザーレベル]", 2},
        {"[dbo].[Qm給料種類]", 2},
        {"[dbo].[Qm時間外タイプ]", 2},
        {"[dbo].[Qm丸め]", 2},
    };
    for (const View& v : views) {
        // No rows: the user view's column for older copies of the program fails when read.
        CRecordset set = Query(std::string("SELECT * FROM ") + v.name + " WHERE 1=0");
        EXPECT_EQ(v.columns, set.Columns().size()) << v.name;
    }
}

TEST_P(Schema, CodeListsCarryTheirSeedNames) {
    EXPECT_EQ("ユーザー", CodeName("[dbo].[Qmユーザーレベル]", 1));
    for (int level = 0; level <= 4; ++level) {
        EXPECT_NE("<missing>", CodeName("[dbo].[Qmユーザーレベル]", level)) << level;
    }
    EXPECT_EQ("月給", CodeName("[dbo].[Qm給料種類]", 1));
    EXPECT_NE("<missing>", CodeName("[dbo].[Qm給料種類]", 3));
    EXPECT_EQ("なし", CodeName("[dbo].[Qm時間外タイプ]", 0));
    EXPECT_NE("<missing>", CodeName("[dbo].[Qm時間外タイプ]", 4));
    EXPECT_EQ("なし", CodeName("[dbo].[Qm丸め]", 0));
    EXPECT_NE("<missing>", CodeName("[dbo].[Qm丸め]", 3));
}

TEST_P(Schema, TheServerAssignsScheduleAndLoginKeysAndHolidaysBelongToNobody) {
    CDatabase& db = m_db.Connection().Database();
    const SqlDialect& d = m_db.Connection().Dialect();
    db.ExecuteSQL(d.Render("INSERT INTO [dbo].[T日程] ([dateSchedule],[strSubject],[nLevel]) "
                           "VALUES (" +
                           d.DateTimeLiteral(CTime(2024, 1, 1, 0, 0, 0)) + ",?,10)"),
                  {DbValue("元日")});
    db.ExecuteSQL(d.Render("INSERT INTO [dbo].[T日程] ([idUser],[strSubject]) VALUES (5,?)"),
                  {DbValue("x")});
    CRecordset set = Query("SELECT [idSchedule],[idUser] FROM [dbo].[T日程] ORDER BY [idSchedule]");
    ASSERT_EQ(2u, set.GetRecordCount());
    int64_t first = set.GetField(0).AsInt();
    EXPECT_EQ(0, set.GetField(1).AsInt(-1)) << "a holiday row gets user id 0";
    set.MoveNext();
    EXPECT_GT(set.GetField(0).AsInt(), first);
    EXPECT_EQ(5, set.GetField(1).AsInt());
}

INSTANTIATE_TEST_SUITE_P(Engines, Schema, ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
