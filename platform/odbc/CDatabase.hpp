#pragma once

#include <string>
#include <vector>

#include "platform/odbc/DbValue.hpp"
#include "platform/odbc/OdbcHandle.hpp"

namespace tokeiya {

// One ODBC connection (ANSI API; UTF-8 on the wire, CP932 in the program).
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

    // Explicit transactions; CTransaction is the usual way in.
    bool InTransaction() const { return m_inTransaction; }
    void BeginTrans();
    void CommitTrans();
    void Rollback() noexcept;

    SQLHDBC NativeHandle() const { return m_dbc.get(); }

  private:
    void SetAutoCommit(bool on);

    odbc::EnvHandle m_env;
    odbc::DbcHandle m_dbc;
    bool m_open = false;
    bool m_inTransaction = false;
    std::string m_connect;
    std::string m_dbmsName;
};

// Rolls back unless committed. Nested use joins the transaction already running, so a
// store inside a larger operation commits with that operation.
class CTransaction {
  public:
    explicit CTransaction(CDatabase& db);
    ~CTransaction();
    CTransaction(const CTransaction&) = delete;
    CTransaction& operator=(const CTransaction&) = delete;

    void Commit();

  private:
    CDatabase& m_db;
    bool m_owner = false;
    bool m_done = false;
};

}  // namespace tokeiya
