#include <gtest/gtest.h>

#include "data/SqlDialect.hpp"
#include "tests/support/ScopedTimeZone.hpp"

namespace tokeiya {
namespace {

using Engine = SqlDialect::Engine;

TEST(SqlDialect, IsChosenFromTheDbmsName) {
    EXPECT_EQ(Engine::SQLite, SqlDialect::ForDbmsName("SQLite")->GetEngine());
    EXPECT_EQ(Engine::PostgreSQL, SqlDialect::ForDbmsName("PostgreSQL")->GetEngine());
    EXPECT_EQ(Engine::SqlServer, SqlDialect::ForDbmsName("Microsoft SQL Server")->GetEngine());
}

TEST(SqlDialect, RendersBracketedNamesPerEngine) {
    struct Case {
        Engine engine;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {Engine::SqlServer, "SELECT [idUser] FROM [dbo].[Tユーザー] WHERE [idUser]=?",
         "SELECT [idUser] FROM [dbo].[Tユーザー] WHERE [idUser]=?"},
        {Engine::PostgreSQL, "SELECT [idUser] FROM [dbo].[Tユーザー] WHERE [idUser]=?",
         "SELECT idUser FROM dbo.Tユーザー WHERE idUser=?"},
        {Engine::SQLite, "SELECT [idUser] FROM [dbo].[Tユーザー] WHERE [idUser]=?",
         "SELECT idUser FROM Tユーザー WHERE idUser=?"},
        // Brackets inside string literals, doubled quotes included, are data.
        {Engine::SQLite, "[a]='[b]''[c]' AND [d]=''", "a='[b]''[c]' AND d=''"},
        // 表 and ソ end in 0x5C and 0x5C/0x5B-free bytes; 】 is 81 79, ー is 81 5B ('[').
        {Engine::PostgreSQL, "[dbo].[Qー表ソ]", "dbo.Qー表ソ"},
        {Engine::SQLite, "[ー]", "ー"},
        {Engine::SQLite, "unclosed [x", "unclosed [x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.out, SqlDialect::For(c.engine)->Render(c.in)) << c.in;
    }
}

TEST(SqlDialect, DateParts) {
    EXPECT_EQ("YEAR([d])", SqlDialect::For(Engine::SqlServer)->Year("[d]"));
    EXPECT_EQ("CAST(EXTRACT(MONTH FROM d) AS INTEGER)",
              SqlDialect::For(Engine::PostgreSQL)->Month("d"));
    EXPECT_EQ("CAST(strftime('%d',d) AS INTEGER)", SqlDialect::For(Engine::SQLite)->Day("d"));
}

TEST(SqlDialect, DateTimeLiteralsAndParameters) {
    test::ScopedTimeZone zone("Asia/Tokyo");
    CTime t(2024, 3, 5, 9, 7, 0);
    EXPECT_EQ("{ts '2024-03-05 09:07:00'}", SqlDialect::For(Engine::SqlServer)->DateTimeLiteral(t));
    EXPECT_EQ("TIMESTAMP '2024-03-05 09:07:00'",
              SqlDialect::For(Engine::PostgreSQL)->DateTimeLiteral(t));
    EXPECT_EQ("'2024-03-05 09:07:00'", SqlDialect::For(Engine::SQLite)->DateTimeLiteral(t));
    for (Engine e : {Engine::SqlServer, Engine::PostgreSQL, Engine::SQLite}) {
        EXPECT_EQ("NULL", SqlDialect::For(e)->DateTimeLiteral(CTime()));
        EXPECT_TRUE(SqlDialect::For(e)->DateTimeParam(CTime()).IsNull());
    }
    // SQLite keeps date-times as text, so they are bound as text of the same form.
    DbValue text = SqlDialect::For(Engine::SQLite)->DateTimeParam(t);
    EXPECT_EQ(DbType::Text, text.Type());
    EXPECT_EQ("2024-03-05 09:07:00", text.AsText());
    DbValue stamp = SqlDialect::For(Engine::PostgreSQL)->DateTimeParam(t);
    ASSERT_NE(nullptr, stamp.AsTimestamp());
    EXPECT_EQ((DbTimestamp{2024, 3, 5, 9, 7, 0}), *stamp.AsTimestamp());
}

TEST(SqlDialect, TimestampsBeforeTheSecondDayOfTheEpochReadAsEmpty) {
    test::ScopedTimeZone zone("Asia/Tokyo");
    EXPECT_EQ(CTime(), FromDbValue(DbValue(DbTimestamp{1900, 1, 1, 0, 0, 0})));
    EXPECT_EQ(CTime(), FromDbValue(DbValue(DbTimestamp{1970, 1, 1, 23, 59, 0})));
    EXPECT_EQ(CTime(1970, 1, 2, 0, 0, 0), FromDbValue(DbValue(DbTimestamp{1970, 1, 2, 0, 0, 0})));
    EXPECT_EQ(CTime(), FromDbValue(DbValue::Null(DbType::Timestamp)));
}

// The reader reuses an hour's conversion for every time within it; it reads what FromDbValue
// reads, also around daylight saving's gaps and repeats and the empty times.
TEST(SqlDialect, TheTimeReaderReadsWhatFromDbValueReads) {
    const DbTimestamp stamps[] = {
        {2024, 3, 5, 9, 7, 0},   {2024, 3, 5, 9, 59, 59}, {2024, 3, 5, 9, 0, 0},
        {2024, 3, 10, 1, 59, 0}, {2024, 3, 10, 2, 30, 0}, {2024, 3, 10, 3, 15, 0},
        {2024, 11, 3, 0, 59, 0}, {2024, 11, 3, 1, 0, 0},  {2024, 11, 3, 1, 30, 0},
        {2024, 11, 3, 2, 0, 0},  {1970, 1, 1, 23, 30, 0}, {1970, 1, 2, 0, 30, 0},
        {1900, 1, 1, 0, 10, 0},  {2000, 1, 1, 9, 30, 0},  {2000, 1, 1, 9, 45, 30},
    };
    for (const char* name : {"Asia/Tokyo", "America/New_York"}) {
        test::ScopedTimeZone zone(name);
        CTimeReader reader;
        for (int pass = 0; pass < 2; ++pass) {  // the second pass reads from the kept hours
            for (const DbTimestamp& ts : stamps) {
                SCOPED_TRACE(std::string(name) + " " + std::to_string(ts.year) + "-" +
                             std::to_string(ts.month) + "-" + std::to_string(ts.day) + " " +
                             std::to_string(ts.hour) + ":" + std::to_string(ts.minute));
                EXPECT_EQ(FromDbValue(DbValue(ts)), reader.From(DbValue(ts)));
            }
        }
        EXPECT_EQ(CTime(), reader.From(DbValue::Null(DbType::Timestamp)));
    }
}

TEST(SqlDialect, ProcedureCalls) {
    EXPECT_EQ("EXECUTE P計算 3,20240321,20240420",
              SqlDialect::For(Engine::SqlServer)->ProcedureCall("P計算", {3, 20240321, 20240420}));
    EXPECT_EQ("CALL dbo.P計算(3,20240321,20240420)",
              SqlDialect::For(Engine::PostgreSQL)->ProcedureCall("P計算", {3, 20240321, 20240420}));
    EXPECT_EQ("INSERT INTO P計算 VALUES (3,20240321,20240420)",
              SqlDialect::For(Engine::SQLite)->ProcedureCall("P計算", {3, 20240321, 20240420}));
}

}  // namespace
}  // namespace tokeiya
