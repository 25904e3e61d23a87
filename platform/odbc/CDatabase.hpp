#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/odbc/DbErrorSink.hpp"
#include "platform/odbc/DbValue.hpp"
#include "platform/odbc/OdbcHandle.hpp"

namespace tokeiya {

namespace odbc {
class Statement;
}

// One ODBC connection (ANSI API; UTF-8 on the wire, CP932 in the program).
//
// Failures: every statement, fetch and commit that fails is told to the error sink once
// (unless the caller expects it: ExpectedErrors) and thrown as CDBException. A connection
// the server dropped is opened again transparently: a call that finds it lost outside a
// transaction reconnects and is run once more; inside a transaction the transaction is lost
// with it, so the failure is thrown and the connection is opened again before the next
// statement.
class CDatabase {
  public:
    CDatabase();
    ~CDatabase();
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;

    // Connects without any driver prompt; throws CDBException on failure.
    void OpenEx(const std::string& connect);
    void Close();
    bool IsOpen() const { return m_open; }

    // The connection string as the driver completed it (CP932).
    const std::string& GetConnect() const { return m_connect; }
    // The DBMS name the driver reports, e.g. "SQLite", "PostgreSQL", "Microsoft SQL Server".
    const std::string& GetDBMSName() const { return m_dbmsName; }

    // Runs one statement (CP932) with its `?` parameters; returns the rows it affected.
    int64_t ExecuteSQL(const std::string& sql, const std::vector<DbValue>& params = {});

    // Runs `work` on a prepared statement of `sql`, under the rules of the class comment.
    // The statement is new on each run; `work` must not keep it.
    void RunStatement(const std::string& sql, const std::function<void(odbc::Statement&)>& work);

    // Explicit transactions; CTransaction is the usual way in. Nested levels are savepoints.
    bool InTransaction() const { return m_depth > 0; }
    int TransactionDepth() const { return m_depth; }
    void BeginTrans();
    void CommitTrans();
    void Rollback() noexcept;

    // Savepoints of nested transactions; the statements come from the engine's dialect.
    void SetSavepointSyntax(SavepointSyntax syntax) { m_savepoints = std::move(syntax); }
    const SavepointSyntax& GetSavepointSyntax() const { return m_savepoints; }

    // Where failures are told; null tells no one (the caller reports, as at login).
    void SetErrorSink(IDbErrorSink* sink) { m_sink = sink; }
    IDbErrorSink* ErrorSink() const { return m_sink; }
    // Tells the sink about `error` unless it was told already or errors are expected now.
    void ReportError(const CDBException& error) const;

    // While alive, failures are thrown but not told: the caller recovers from them (a
    // conflicting insert retried as an update) and reports what it cannot recover from.
    class ExpectedErrors {
      public:
        explicit ExpectedErrors(CDatabase& db) : m_db(db) { ++m_db.m_expecting; }
        ~ExpectedErrors() { --m_db.m_expecting; }
        ExpectedErrors(const ExpectedErrors&) = delete;
        ExpectedErrors& operator=(const ExpectedErrors&) = delete;

      private:
        CDatabase& m_db;
    };

    void SetFaultInjector(IDbFaultInjector* injector) { m_faults = injector; }
    // How many times a lost connection was opened again.
    int ReconnectCount() const { return m_reconnects; }

    SQLHDBC NativeHandle() const { return m_dbc.get(); }

  private:
    friend class CTransaction;

    void Connect(const std::string& connect);
    void SetAutoCommit(bool on);
    // Opens the connection again with the string it was opened with.
    void Reconnect();
    void EnsureConnected(const std::string& sql);
    void ExecuteSavepoint(const std::string& format, int level);
    void Disconnect() noexcept;
    // `error` with SQLSTATE 08S01 when the driver says the connection is dead.
    CDBException AsLostWhenDead(const CDBException& error) const;

    odbc::EnvHandle m_env;
    odbc::DbcHandle m_dbc;
    bool m_open = false;
    // The connection broke inside a transaction; the next statement opens it again.
    bool m_lost = false;
    int m_depth = 0;
    std::string m_requested;
    std::string m_connect;
    std::string m_dbmsName;
    SavepointSyntax m_savepoints;
    IDbErrorSink* m_sink = nullptr;
    IDbFaultInjector* m_faults = nullptr;
    int m_expecting = 0;
    int m_reconnects = 0;
};

// Rolls back unless committed. Inside another transaction it is a savepoint: committing it
// keeps its work for the outer transaction to commit, leaving it without commit undoes only
// its own work, and a failure inside it (on PostgreSQL, which refuses everything after a
// failed statement until rolled back) leaves the outer transaction usable.
class CTransaction {
  public:
    explicit CTransaction(CDatabase& db);
    ~CTransaction();
    CTransaction(const CTransaction&) = delete;
    CTransaction& operator=(const CTransaction&) = delete;

    void Commit();

  private:
    CDatabase& m_db;
    int m_level = 0;  // 1 for the outermost transaction, 2 and up for savepoints
    bool m_done = false;
};

}  // namespace tokeiya
