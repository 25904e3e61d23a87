#include <gtest/gtest.h>

#include <memory>

#include "data/CGeneralSet.hpp"
#include "data/CVBDBFunc.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace {

using test::Engine;

TEST(GeneralSetStatement, ObjectsAreSelectedFromAndStatementsWrapped) {
    struct Case {
        SqlDialect::Engine engine;
        std::string source;
        std::string filter;
        std::string expected;
    };
    using E = SqlDialect::Engine;
    const Case cases[] = {
        {E::SqlServer, "[dbo].[Qmグループ]", "", "SELECT * FROM [dbo].[Qmグループ]"},
        {E::PostgreSQL, "[dbo].[Qmグループ]", "", "SELECT * FROM dbo.Qmグループ"},
        {E::SQLite, "[dbo].[Qmグループ]", "[code]=?", "SELECT * FROM Qmグループ WHERE code=?"},
        {E::SqlServer, "sElEcT [name] FROM [dbo].[Qm丸め]", "",
         "sElEcT [name] FROM [dbo].[Qm丸め]"},
        {E::PostgreSQL, "select [name] from [dbo].[Qm丸め]", "[name]=?",
         "SELECT * FROM (select name from dbo.Qm丸め) q WHERE name=?"},
        // Ｔ is 82 73: its trail byte 's' does not start a SELECT.
        {E::SQLite, "[dbo].[Ｔelect]", "", "SELECT * FROM Ｔelect"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected,
                  CGeneralSet::StatementFor(*SqlDialect::For(c.engine), c.source, c.filter))
            << c.source << " / " << c.filter;
    }
}

class Lookup : public ::testing::TestWithParam<Engine> {
  protected:
    Lookup() : m_db(GetParam()) {}

    CConnection& Db() { return m_db.Connection(); }

    void AddGroup(int id, const DbValue& name) {
        Db().Database().ExecuteSQL(
            Db().Dialect().Render(
                "INSERT INTO [dbo].[Tユーザーグループ] ([idGroup],[strGroupName]) VALUES (?,?)"),
            {DbValue(id), name});
    }

    test::TestDatabase m_db;
};

TEST_P(Lookup, CodeListsGiveTheNameOfACode) {
    AddGroup(7, DbValue("営業部"));
    struct Case {
        const char* source;
        int code;
        int result;
        std::string name;
    };
    const Case cases[] = {
        {"[dbo].[Qmユーザーレベル]", 1, 1, "ユーザー"},
        {"[dbo].[Qmユーザーレベル]", 0, 1, "退職者"},
        {"[dbo].[Qmユーザーレベル]", 9, 0, ""},
        {"[dbo].[Qmグループ]", 7, 1, "営業部"},
        {"[dbo].[Qmグループ]", 8, 0, ""},
        {"[dbo].[Qm給料種類]", 3, 1, "時給"},
        {"[dbo].[Qm給料種類]", 0, 0, ""},
        {"[dbo].[Qm時間外タイプ]", 4, 1, "8時間超過"},
        {"[dbo].[Qm丸め]", 3, 1, "四捨五入"},
        {"[dbo].[Qm丸め]", -1, 0, ""},
    };
    for (const Case& c : cases) {
        std::string name = "stale";
        EXPECT_EQ(c.result, LookupName(&Db(), c.source, c.code, name)) << c.source << c.code;
        EXPECT_EQ(c.name, name) << c.source << c.code;
    }
}

TEST_P(Lookup, ANullNameIsFoundAndEmpty) {
    AddGroup(6, DbValue::Null(DbType::Text));
    std::string name = "stale";
    EXPECT_EQ(1, LookupName(&Db(), "[dbo].[Qmグループ]", 6, name));
    EXPECT_EQ("", name);
}

TEST_P(Lookup, ColumnsMatchByNameInAnyCaseAndTheFirstWins) {
    CVBDBFunc func(&Db());
    DbValue out(5);
    ASSERT_EQ(1, func.DLookup(out, "code", "[dbo].[Qm丸め]", "[name]=?", {DbValue("切り捨て")}));
    EXPECT_EQ(2, out.AsInt(-1));
    // PostgreSQL folds unquoted names to lower case; the program writes them as declared.
    ASSERT_EQ(1, func.DLookup(out, "CODE", "[dbo].[Qm丸め]", "[name]=?", {DbValue("切り捨て")}));
    EXPECT_EQ(2, out.AsInt(-1));
    ASSERT_EQ(1, func.DLookup(out, "strUserName", "[dbo].[Tユーザー]", "[idUser]=0"));
    EXPECT_EQ("tokeiya", out.AsText());

    struct Case {
        const char* column;
        const char* source;
    };
    const Case absent[] = {
        {"nam", "[dbo].[Qm丸め]"},
        {"names", "[dbo].[Qm丸め]"},
        {"name", "[dbo].[Qm存在しない]"},
    };
    for (const Case& c : absent) {
        out = DbValue(5);
        EXPECT_EQ(0, func.DLookup(out, c.column, c.source, "")) << c.column << " " << c.source;
        EXPECT_TRUE(out.IsNull()) << c.column << " " << c.source;
    }

    ASSERT_EQ(
        1, func.DLookup(out, "name",
                        "select [code] AS [name], [name] from [dbo].[Qm丸め] where [code]=1", ""));
    EXPECT_EQ(1, out.AsInt(-1)) << "the first column called name is the code";
}

TEST_P(Lookup, ALowerCaseSelectIsTheWholeStatementAndFiltersWrapIt) {
    CVBDBFunc func(&Db());
    DbValue out;
    ASSERT_EQ(1, func.DLookup(out, "name", "select [name] from [dbo].[Qm丸め] where [code]=3", ""));
    EXPECT_EQ("四捨五入", out.AsText());
    ASSERT_EQ(1, func.DLookup(out, "name", "select [code]*10 AS [tens], [name] from [dbo].[Qm丸め]",
                              "[tens]=?", {DbValue(20)}));
    EXPECT_EQ("切り捨て", out.AsText());
}

TEST_P(Lookup, QuotesInParametersAreData) {
    AddGroup(5, DbValue("O'Brien's 部"));
    CVBDBFunc func(&Db());
    DbValue out;
    ASSERT_EQ(
        1, func.DLookup(out, "code", "[dbo].[Qmグループ]", "[name]=?", {DbValue("O'Brien's 部")}));
    EXPECT_EQ(5, out.AsInt(-1));
    EXPECT_EQ(
        0, func.DLookup(out, "code", "[dbo].[Qmグループ]", "[name]=?", {DbValue("x' OR '1'='1")}));
}

TEST_P(Lookup, AFailedOrClosedConnectionFindsNothing) {
    CGeneralSet set(Db(), "[dbo].[Qm存在しない]");
    EXPECT_FALSE(set.Open());
    EXPECT_TRUE(set.LastOpenError().has_value());

    std::unique_ptr<CConnection> other = m_db.OpenAnother();
    std::string name;
    ASSERT_EQ(1, LookupName(other.get(), "[dbo].[Qm丸め]", 1, name));
    other->Close();
    EXPECT_EQ(0, LookupName(other.get(), "[dbo].[Qm丸め]", 1, name));
    EXPECT_EQ("", name);
    DbValue out(1);
    EXPECT_EQ(0, CVBDBFunc(nullptr).DLookup(out, "name", "[dbo].[Qm丸め]", ""));
    EXPECT_TRUE(out.IsNull());
}

INSTANTIATE_TEST_SUITE_P(Engines, Lookup, ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
