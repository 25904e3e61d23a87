#include <gtest/gtest.h>

#include "platform/odbc/CRecordset.hpp"
#include "platform/odbc/DbException.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace {

using test::Engine;

// The record set and transactions on a scratch table of their own.
class Recordset : public ::testing::TestWithParam<Engine> {
  protected:
    Recordset() : m_test(GetParam()) {
        Db().ExecuteSQL(
            "CREATE TABLE scratch (id INTEGER PRIMARY KEY, name VARCHAR(255), n INTEGER, "
            "r REAL, t TIMESTAMP)");
    }

    CDatabase& Db() { return m_test.Connection().Database(); }

    CRecordset OpenAll() {
        CRecordset set(Db());
        set.Open("SELECT id, name, n, r, t FROM scratch ORDER BY id", {},
                 {DbType::Integer, DbType::Text, DbType::Integer, DbType::Real, DbType::Timestamp});
        set.SetUpdateTarget({"scratch", {"id", "name", "n", "r", "t"}, 0, false});
        return set;
    }

    void Insert(int id, const std::string& name, int n) {
        CRecordset set = OpenAll();
        set.AddNew({DbValue(id), DbValue(name), DbValue(n), DbValue(0.5),
                    DbValue::Null(DbType::Timestamp)});
        set.Update();
    }

    test::TestDatabase m_test;
};

TEST_P(Recordset, ReadsTypedValuesAndExplicitNulls) {
    Db().ExecuteSQL("INSERT INTO scratch (id, name, n, r, t) VALUES (?, ?, ?, ?, ?)",
                    {DbValue(1), DbValue("全員"), DbValue::Null(DbType::Integer), DbValue(2.5),
                     DbValue(DbTimestamp{2024, 4, 3, 8, 3, 0})});
    CRecordset set = OpenAll();
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(1, set.GetField(0).AsInt());
    EXPECT_EQ("全員", set.GetField(1).AsText());
    EXPECT_TRUE(set.GetField(2).IsNull());
    EXPECT_EQ(-1, set.GetField(2).AsInt(-1));
    EXPECT_DOUBLE_EQ(2.5, set.GetField(3).AsReal());
    ASSERT_NE(nullptr, set.GetField(4).AsTimestamp());
    EXPECT_EQ((DbTimestamp{2024, 4, 3, 8, 3, 0}), *set.GetField(4).AsTimestamp());
    set.MoveNext();
    EXPECT_TRUE(set.IsEOF());
    EXPECT_TRUE(set.GetField(0).IsNull()) << "past the end nothing is read";
}

TEST_P(Recordset, LongTextsArriveWhole) {
    std::string text;
    for (int i = 0; i < 120; ++i) {
        text += "日程";  // 480 bytes in CP932, 720 in UTF-8: more than one read buffer
    }
    Db().ExecuteSQL("CREATE TABLE longtext (v TEXT)");
    Db().ExecuteSQL("INSERT INTO longtext (v) VALUES (?)", {DbValue(text)});
    CRecordset set(Db());
    set.Open("SELECT v FROM longtext");
    ASSERT_FALSE(set.IsEOF());
    EXPECT_EQ(text, set.GetField(0).AsText());
}

TEST_P(Recordset, EditWritesOnlyTheColumnsItSet) {
    Insert(1, "a", 10);
    CRecordset mine = OpenAll();
    // Another computer changes n after this one read the row.
    auto other = m_test.OpenAnother();
    other->Database().ExecuteSQL("UPDATE scratch SET n=99 WHERE id=1");
    mine.Edit();
    mine.SetField(1, DbValue("b"));
    mine.Update();
    CRecordset check = OpenAll();
    EXPECT_EQ("b", check.GetField(1).AsText());
    EXPECT_EQ(99, check.GetField(2).AsInt()) << "the other computer's change survives";
}

TEST_P(Recordset, UpdatingAVanishedRowFailsLoudly) {
    Insert(1, "a", 10);
    CRecordset set = OpenAll();
    Db().ExecuteSQL("DELETE FROM scratch");
    set.Edit();
    set.SetField(2, DbValue(5));
    try {
        set.Update();
        FAIL() << "an update of no row must not pass for a success";
    } catch (const CDBException& e) {
        EXPECT_EQ("01001", e.SqlState());
    }
}

TEST_P(Recordset, ADuplicateKeyIsAConstraintViolationAndLeavesNothingBehind) {
    Insert(1, "a", 10);
    try {
        Insert(1, "again", 11);
        FAIL() << "a duplicate key must be refused";
    } catch (const CDBException& e) {
        EXPECT_TRUE(e.IsConstraintViolation()) << e.SqlState() << " " << e.DriverMessage();
        EXPECT_NE(std::string::npos, e.Statement().find("INSERT INTO scratch"));
    }
    EXPECT_FALSE(Db().InTransaction());
    // The connection is usable after the failure.
    Insert(2, "b", 12);
    CRecordset set = OpenAll();
    EXPECT_EQ(2u, set.GetRecordCount());
}

TEST_P(Recordset, TransactionsRollBackUnlessCommitted) {
    {
        CTransaction transaction(Db());
        Db().ExecuteSQL("INSERT INTO scratch (id, n) VALUES (1, 1)");
        {
            CTransaction inner(Db());  // a savepoint of the outer one
            Db().ExecuteSQL("INSERT INTO scratch (id, n) VALUES (2, 2)");
            inner.Commit();
        }
        EXPECT_TRUE(Db().InTransaction()) << "an inner commit does not end the outer one";
    }
    EXPECT_EQ(0u, OpenAll().GetRecordCount());
    {
        CTransaction transaction(Db());
        Db().ExecuteSQL("INSERT INTO scratch (id, n) VALUES (3, 3)");
        transaction.Commit();
    }
    EXPECT_EQ(1u, OpenAll().GetRecordCount());
}

TEST_P(Recordset, ErrorsCarryStateMessageAndStatement) {
    try {
        CRecordset set(Db());
        set.Open("SELECT nothing FROM no_such_table");
        FAIL();
    } catch (const CDBException& e) {
        EXPECT_EQ(5u, e.SqlState().size());
        EXPECT_FALSE(e.DriverMessage().empty());
        EXPECT_EQ("SELECT nothing FROM no_such_table", e.Statement());
    }
    CDatabase closed;
    EXPECT_THROW(closed.ExecuteSQL("SELECT 1"), CDBException);
    EXPECT_THROW(closed.OpenEx("DRIVER=NoSuchDriver;"), CDBException);
}

INSTANTIATE_TEST_SUITE_P(Engines, Recordset, ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
