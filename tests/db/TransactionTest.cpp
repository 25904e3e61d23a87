#include <gtest/gtest.h>

#include "platform/odbc/CRecordset.hpp"
#include "platform/odbc/DbException.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace {

using test::Engine;
using test::FaultInjector;
using test::RecordingSink;

// Nested transactions, the error sink, injected faults and lost connections, on a scratch
// table with a primary key.
class Transactions : public ::testing::TestWithParam<Engine> {
  protected:
    Transactions() : m_test(GetParam()) {
        Db().ExecuteSQL("CREATE TABLE scratch (id INTEGER PRIMARY KEY, n INTEGER)");
    }

    CDatabase& Db() { return m_test.Connection().Database(); }

    void Insert(int id) {
        Db().ExecuteSQL("INSERT INTO scratch (id, n) VALUES (?, 0)", {DbValue(id)});
    }

    std::vector<int64_t> Ids() {
        CRecordset set(Db());
        set.Open("SELECT id FROM scratch ORDER BY id", {}, {DbType::Integer});
        std::vector<int64_t> ids;
        for (; !set.IsEOF(); set.MoveNext()) {
            ids.push_back(set.GetField(0).AsInt());
        }
        return ids;
    }

    test::TestDatabase m_test;
};

TEST_P(Transactions, AnInnerTransactionIsASavepointOfTheOuterOne) {
    {
        CTransaction outer(Db());
        Insert(1);
        {
            CTransaction kept(Db());
            Insert(2);
            kept.Commit();
        }
        {
            CTransaction undone(Db());  // ends without commit: only its own row goes
            Insert(3);
        }
        EXPECT_EQ(1, Db().TransactionDepth());
        Insert(4);
        outer.Commit();
    }
    EXPECT_FALSE(Db().InTransaction());
    EXPECT_EQ((std::vector<int64_t>{1, 2, 4}), Ids());

    {
        CTransaction outer(Db());
        Insert(5);
        CTransaction inner(Db());
        Insert(6);
        inner.Commit();
        // The outer one ends without commit: the inner commit goes with it.
    }
    EXPECT_EQ((std::vector<int64_t>{1, 2, 4}), Ids());
}

// On PostgreSQL a failed statement aborts the whole transaction until it is rolled back;
// inside a savepoint only the savepoint is lost.
TEST_P(Transactions, AFailureInsideAnInnerTransactionLeavesTheOuterOneUsable) {
    Insert(1);
    {
        CTransaction outer(Db());
        Insert(2);
        {
            CTransaction inner(Db());
            CDatabase::ExpectedErrors quiet(Db());
            EXPECT_THROW(Insert(1), CDBException);
        }
        Insert(3);
        outer.Commit();
    }
    EXPECT_EQ((std::vector<int64_t>{1, 2, 3}), Ids());
}

TEST_P(Transactions, EveryFailureIsToldOnceUnlessExpected) {
    RecordingSink sink(Db());
    Insert(1);
    try {
        Insert(1);
        FAIL() << "a duplicate key must be refused";
    } catch (const CDBException& e) {
        EXPECT_TRUE(e.Reported());
        Db().ReportError(e);  // a caller further up tries again: still one message
    }
    ASSERT_EQ(1u, sink.messages.size());

    {
        CDatabase::ExpectedErrors quiet(Db());
        EXPECT_THROW(Insert(1), CDBException);
    }
    EXPECT_EQ(1u, sink.messages.size()) << "an expected failure is the caller's to tell";

    CRecordset set(Db());
    EXPECT_THROW(set.Open("SELECT nothing FROM no_such_table"), CDBException);
    EXPECT_EQ(2u, sink.messages.size());
}

TEST_P(Transactions, InjectedFailuresOfStatementsAndCommitsAreToldAndKeepNothing) {
    RecordingSink sink(Db());
    FaultInjector faults(Db());
    faults.FailStatements("INSERT INTO scratch");
    EXPECT_THROW(Insert(1), CDBException);
    ASSERT_EQ(1u, sink.messages.size());
    EXPECT_NE(std::string::npos, sink.messages[0].find(test::kInjectedFailure));
    Insert(2);  // one failure only

    faults.FailCommits();
    try {
        CTransaction transaction(Db());
        Insert(3);
        transaction.Commit();
        FAIL() << "the commit must fail";
    } catch (const CDBException& e) {
        EXPECT_EQ("40001", e.SqlState());
    }
    EXPECT_FALSE(Db().InTransaction());
    EXPECT_EQ(2u, sink.messages.size());
    EXPECT_EQ((std::vector<int64_t>{2}), Ids()) << "a failed commit keeps nothing";
}

TEST_P(Transactions, ALostConnectionIsOpenedAgainOnceBeforeTheStatementIsRepeated) {
    RecordingSink sink(Db());
    FaultInjector faults(Db());
    Insert(1);
    faults.FailStatements("SELECT id", "08S01");
    EXPECT_EQ((std::vector<int64_t>{1}), Ids());
    EXPECT_EQ(1, Db().ReconnectCount());
    EXPECT_TRUE(sink.messages.empty()) << "nothing was lost, so nothing is told";

    // Twice in a row: the repeat fails too, and that is told.
    faults.FailStatements("SELECT id", "08S01", 2);
    EXPECT_THROW(Ids(), CDBException);
    EXPECT_EQ(1u, sink.messages.size());
    EXPECT_EQ((std::vector<int64_t>{1}), Ids());
}

TEST_P(Transactions, AConnectionLostInsideATransactionFailsItAndIsOpenedAgainAfterwards) {
    RecordingSink sink(Db());
    FaultInjector faults(Db());
    faults.FailStatements("INSERT INTO scratch", "08S01");
    try {
        CTransaction transaction(Db());
        Insert(1);
        FAIL() << "the transaction cannot go on without its connection";
    } catch (const CDBException& e) {
        EXPECT_TRUE(e.IsConnectionLost());
    }
    EXPECT_EQ(1u, sink.messages.size());
    EXPECT_EQ(0, Db().ReconnectCount());
    Insert(2);
    EXPECT_EQ(1, Db().ReconnectCount());
    EXPECT_EQ((std::vector<int64_t>{2}), Ids());
}

INSTANTIATE_TEST_SUITE_P(Engines, Transactions,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

// A server that ends the connection for real: the backend is terminated from outside.
TEST(PostgreSQLConnection, ABackendTerminatedByTheServerIsReplacedTransparently) {
    test::TestDatabase test(Engine::PostgreSQL);
    CDatabase& db = test.Connection().Database();
    RecordingSink sink(db);
    CRecordset pid(db);
    pid.Open("SELECT pg_backend_pid()", {}, {DbType::Integer});
    const int64_t backend = pid.GetField(0).AsInt();
    auto admin = test.OpenAnother();
    admin->Database().ExecuteSQL("SELECT pg_terminate_backend(?)", {DbValue(backend)});

    pid.Open("SELECT pg_backend_pid()", {}, {DbType::Integer});
    EXPECT_NE(backend, pid.GetField(0).AsInt());
    EXPECT_EQ(1, db.ReconnectCount());
    EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
}  // namespace tokeiya
