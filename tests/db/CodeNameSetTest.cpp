#include <gtest/gtest.h>

#include "data/CCodeNameSet.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace {

using test::Engine;
using Rows = std::vector<std::pair<int, std::string>>;

class CodeNameSet : public ::testing::TestWithParam<Engine> {
  protected:
    CodeNameSet() : m_db(GetParam()) {
        // Ids rise against the cut-off days, so that only a sort by the cut-off day gives
        // the order 2, 3, 1.
        AddGroup(1, DbValue("営業部"), 25);
        AddGroup(2, DbValue("O'Neil"), 10);
        AddGroup(3, DbValue::Null(DbType::Text), 20);
    }

    CConnection& Db() { return m_db.Connection(); }

    void AddGroup(int id, const DbValue& name, int cutoff) {
        Db().Database().ExecuteSQL(Db().Dialect().Render("INSERT INTO [dbo].[Tユーザーグループ] "
                                                         "([idGroup],[strGroupName],[nCutoff]) "
                                                         "VALUES (?,?,?)"),
                                   {DbValue(id), name, DbValue(cutoff)});
    }

    static Rows RowsOf(const std::vector<CCodeName>& list) {
        Rows rows;
        for (const CCodeName& c : list) {
            EXPECT_EQ(0, c.value) << c.code;
            rows.emplace_back(c.code, c.name);
        }
        return rows;
    }

    test::TestDatabase m_db;
};

TEST_P(CodeNameSet, ListsComeInCodeOrderWithTheirFilter) {
    struct Case {
        const char* table;
        const char* codeColumn;
        const char* nameColumn;
        const char* filter;
        std::vector<DbValue> params;
        Rows expected;
    };
    const Case cases[] = {
        {"[dbo].[Qm丸め]",
         "",
         "",
         "",
         {},
         {{0, "なし"}, {1, "切り上げ"}, {2, "切り捨て"}, {3, "四捨五入"}}},
        {"[dbo].[Qmグループ]", "", "", "", {}, {{1, "営業部"}, {2, "O'Neil"}, {3, ""}}},
        {"[dbo].[Tユーザーグループ]",
         "[nCutoff]",
         "[strGroupName]",
         "",
         {},
         {{10, "O'Neil"}, {20, ""}, {25, "営業部"}}},
        {"[dbo].[Qm給料種類]",
         "",
         "",
         "[code]>=? AND [code]<?",
         {DbValue(2), DbValue(9)},
         {{2, "日給"}, {3, "時給"}}},
        {"[dbo].[Qmグループ]", "", "", "[name]=?", {DbValue("O'Neil")}, {{2, "O'Neil"}}},
        {"[dbo].[Qmユーザーレベル]", "", "", "[code]>?", {DbValue(4)}, {}},
    };
    for (const Case& c : cases) {
        CCodeNameSet set(Db(), c.table, c.codeColumn, c.nameColumn);
        std::vector<CCodeName> list = {{99, "stale", 5}};
        ASSERT_TRUE(set.Load(list, c.filter, c.params)) << c.table << " " << c.filter;
        EXPECT_EQ(c.expected, RowsOf(list)) << c.table << " " << c.filter;
    }
}

TEST_P(CodeNameSet, FindNameMatchesTheCodeWithinTheExtraFilter) {
    struct Case {
        const char* table;
        int code;
        const char* extraFilter;
        std::vector<DbValue> extraParams;
        int result;
        std::string name;
    };
    const Case cases[] = {
        {"[dbo].[Qm丸め]", 3, "", {}, 1, "四捨五入"},
        {"[dbo].[Qm丸め]", 9, "", {}, 0, ""},
        {"[dbo].[Qm丸め]", 3, "[code]<?", {DbValue(3)}, 0, ""},
        {"[dbo].[Qm丸め]", 3, "[code]<?", {DbValue(4)}, 1, "四捨五入"},
        // Unbracketed, the OR would let code 0 through for any code asked.
        {"[dbo].[Qm丸め]", 3, "[code]=? OR [code]=?", {DbValue(0), DbValue(1)}, 0, ""},
        {"[dbo].[Qm丸め]", 1, "[code]=? OR [code]=?", {DbValue(0), DbValue(1)}, 1, "切り上げ"},
        {"[dbo].[Qmグループ]", 2, "[name]=?", {DbValue("O'Neil")}, 1, "O'Neil"},
        {"[dbo].[Qmグループ]", 1, "[name]<>'O''Neil'", {}, 1, "営業部"},
        {"[dbo].[Qmグループ]", 3, "", {}, 1, ""},
    };
    for (const Case& c : cases) {
        CCodeNameSet set(Db(), c.table);
        std::string name = "stale";
        EXPECT_EQ(c.result, set.FindName(c.code, c.extraFilter, name, c.extraParams))
            << c.table << " " << c.code << " " << c.extraFilter;
        EXPECT_EQ(c.name, name) << c.table << " " << c.code << " " << c.extraFilter;
    }
}

TEST_P(CodeNameSet, AQueryThatCannotBeOpenedKeepsTheListAndIsToldOnce) {
    test::RecordingSink sink(Db().Database());
    const std::vector<std::pair<const char*, const char*>> broken = {
        {"[dbo].[Qm存在しない]", ""},
        {"[dbo].[Qm丸め]", "[nosuch]"},
    };
    for (const auto& [table, codeColumn] : broken) {
        sink.messages.clear();
        CCodeNameSet set(Db(), table, codeColumn);
        std::vector<CCodeName> list = {{7, "残す", 2}};
        EXPECT_FALSE(set.Load(list)) << table << codeColumn;
        ASSERT_EQ(1u, list.size());
        EXPECT_EQ(7, list[0].code);
        EXPECT_EQ("残す", list[0].name);
        EXPECT_EQ(2, list[0].value);
        EXPECT_EQ(1u, sink.messages.size()) << table << codeColumn;

        std::string name = "stale";
        EXPECT_EQ(0, set.FindName(1, "", name)) << table << codeColumn;
        EXPECT_EQ("", name);
        EXPECT_EQ(2u, sink.messages.size()) << table << codeColumn;
    }
    std::vector<CCodeName> list;
    EXPECT_TRUE(CCodeNameSet(Db(), "[dbo].[Qm丸め]").Load(list)) << "the connection still works";
    EXPECT_EQ(4u, list.size());
}

INSTANTIATE_TEST_SUITE_P(Engines, CodeNameSet,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
