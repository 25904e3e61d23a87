#include "platform/odbc/CDatabase.hpp"

#include <cstdio>

#include "platform/Cp932.hpp"
#include "platform/odbc/DbException.hpp"
#include "platform/odbc/Statement.hpp"

namespace tokeiya {
namespace {

// Seconds a connection attempt may take; a reconnection at the end of a session must not
// hold the exit for long.
constexpr SQLULEN kLoginTimeoutSeconds = 8;

}  // namespace

CDatabase::CDatabase() : m_env(SQL_NULL_HANDLE) {
    if (!m_env.valid()) {
        throw CDBException("HY001", "cannot allocate an ODBC environment", {});
    }
    SQLSetEnvAttr(m_env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                  0);
}

CDatabase::~CDatabase() {
    Close();
}

void CDatabase::OpenEx(const std::string& connect) {
    Close();
    Connect(connect);
    m_requested = connect;
}

void CDatabase::Connect(const std::string& connect) {
    m_dbc = odbc::DbcHandle(m_env.get());
    if (!m_dbc.valid()) {
        odbc::Check(SQL_ERROR, SQL_HANDLE_ENV, m_env.get());
    }
    SQLSetConnectAttr(m_dbc.get(), SQL_ATTR_LOGIN_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0);
    std::string in = cp932::ToUtf8(connect);
    SQLCHAR out[2048] = {};
    SQLSMALLINT outLength = 0;
    SQLRETURN rc = SQLDriverConnect(m_dbc.get(), nullptr, reinterpret_cast<SQLCHAR*>(in.data()),
                                    static_cast<SQLSMALLINT>(in.size()), out, sizeof out,
                                    &outLength, SQL_DRIVER_NOPROMPT);
    if (!odbc::Succeeded(rc)) {
        try {
            odbc::Check(rc, SQL_HANDLE_DBC, m_dbc.get());
        } catch (...) {
            m_dbc.reset();
            throw;
        }
    }
    m_open = true;
    m_lost = false;
    m_connect = cp932::FromUtf8(reinterpret_cast<const char*>(out));
    if (m_connect.empty()) {
        m_connect = connect;
    }
    SQLCHAR name[128] = {};
    SQLSMALLINT nameLength = 0;
    SQLGetInfo(m_dbc.get(), SQL_DBMS_NAME, name, sizeof name, &nameLength);
    m_dbmsName = reinterpret_cast<const char*>(name);
}

void CDatabase::Disconnect() noexcept {
    if (m_open) {
        SQLDisconnect(m_dbc.get());
        m_open = false;
    }
    m_dbc.reset();
}

void CDatabase::Close() {
    if (m_open && m_depth > 0) {
        SQLEndTran(SQL_HANDLE_DBC, m_dbc.get(), SQL_ROLLBACK);
    }
    m_depth = 0;
    m_lost = false;
    Disconnect();
}

void CDatabase::Reconnect() {
    Disconnect();
    m_depth = 0;
    Connect(m_requested);
    ++m_reconnects;
}

void CDatabase::ReportError(const CDBException& error) const {
    if (error.Reported() || m_expecting > 0 || m_sink == nullptr) {
        return;
    }
    error.MarkReported();
    m_sink->OnDatabaseError(error);
}

void CDatabase::EnsureConnected(const std::string& sql) {
    if (!m_open && !m_lost) {
        CDBException error("08003", "the database connection is not open", sql);
        ReportError(error);
        throw error;
    }
    if (m_lost && m_depth == 0) {
        try {
            Reconnect();
        } catch (const CDBException& e) {
            m_lost = true;
            ReportError(e);
            throw;
        }
    }
}

void CDatabase::RunStatement(const std::string& sql,
                             const std::function<void(odbc::Statement&)>& work) {
    EnsureConnected(sql);
    for (int attempt = 0;; ++attempt) {
        try {
            if (m_lost) {
                // Lost inside a transaction that has not been rolled back yet.
                throw CDBException("08003", "the connection to the database was lost", sql);
            }
            if (m_faults != nullptr) {
                m_faults->BeforeStatement(sql);
            }
            odbc::Statement statement(m_dbc.get(), sql);
            work(statement);
            return;
        } catch (const CDBException& failure) {
            const CDBException e = AsLostWhenDead(failure);
            if (e.IsConnectionLost() && attempt == 0 && m_depth == 0) {
                // Nothing of a transaction is lost: open the connection again and repeat.
                try {
                    Reconnect();
                    continue;
                } catch (const CDBException& again) {
                    m_lost = true;
                    ReportError(again);
                    throw;
                }
            }
            if (e.IsConnectionLost()) {
                m_lost = true;
            }
            ReportError(e);
            throw e;
        }
    }
}

CDBException CDatabase::AsLostWhenDead(const CDBException& error) const {
    if (error.IsConnectionLost() || !m_dbc.valid()) {
        return error;
    }
    // Some drivers (psqlODBC) report a dropped connection with a general SQLSTATE; the
    // connection itself knows.
    SQLUINTEGER dead = SQL_CD_FALSE;
    SQLRETURN rc =
        SQLGetConnectAttr(m_dbc.get(), SQL_ATTR_CONNECTION_DEAD, &dead, SQL_IS_UINTEGER, nullptr);
    if (odbc::Succeeded(rc) && dead == SQL_CD_TRUE) {
        return CDBException("08S01", error.DriverMessage(), error.Statement(), error.NativeError());
    }
    return error;
}

int64_t CDatabase::ExecuteSQL(const std::string& sql, const std::vector<DbValue>& params) {
    int64_t rows = 0;
    RunStatement(sql, [&](odbc::Statement& statement) {
        statement.Execute(params);
        rows = statement.RowCount();
    });
    return rows;
}

void CDatabase::SetAutoCommit(bool on) {
    SQLRETURN rc = SQLSetConnectAttr(
        m_dbc.get(), SQL_ATTR_AUTOCOMMIT,
        reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), 0);
    odbc::Check(rc, SQL_HANDLE_DBC, m_dbc.get());
}

void CDatabase::BeginTrans() {
    EnsureConnected({});
    if (m_depth == 0) {
        try {
            SetAutoCommit(false);
        } catch (const CDBException& e) {
            ReportError(e);
            throw;
        }
    }
    ++m_depth;
}

void CDatabase::CommitTrans() {
    if (m_depth == 0) {
        return;
    }
    if (m_depth > 1) {
        --m_depth;
        return;
    }
    try {
        if (m_lost) {
            throw CDBException("08003", "the connection to the database was lost", {});
        }
        if (m_faults != nullptr) {
            m_faults->BeforeCommit();
        }
        // The transaction is still open on failure; the caller's CTransaction rolls it back.
        odbc::Check(SQLEndTran(SQL_HANDLE_DBC, m_dbc.get(), SQL_COMMIT), SQL_HANDLE_DBC,
                    m_dbc.get());
    } catch (const CDBException& e) {
        if (e.IsConnectionLost()) {
            m_lost = true;
        }
        ReportError(e);
        throw;
    }
    m_depth = 0;
    SetAutoCommit(true);
}

void CDatabase::Rollback() noexcept {
    if (m_depth == 0) {
        return;
    }
    m_depth = 0;
    if (m_open && !m_lost) {
        SQLEndTran(SQL_HANDLE_DBC, m_dbc.get(), SQL_ROLLBACK);
        SQLSetConnectAttr(m_dbc.get(), SQL_ATTR_AUTOCOMMIT,
                          reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    }
}

void CDatabase::ExecuteSavepoint(const std::string& format, int level) {
    if (format.empty()) {
        return;
    }
    char name[32];
    std::snprintf(name, sizeof name, "tokeiya_sp%d", level);
    std::string sql = format;
    if (std::size_t mark = sql.find("%s"); mark != std::string::npos) {
        sql.replace(mark, 2, name);
    }
    ExecuteSQL(sql);
}

CTransaction::CTransaction(CDatabase& db) : m_db(db) {
    if (!db.InTransaction()) {
        db.BeginTrans();
        m_level = 1;
        return;
    }
    m_level = db.m_depth + 1;
    db.ExecuteSavepoint(db.m_savepoints.create, m_level);
    ++db.m_depth;
}

CTransaction::~CTransaction() {
    if (m_done) {
        return;
    }
    if (m_level == 1) {
        m_db.Rollback();
        return;
    }
    // Only the savepoint's own work goes; the outer transaction carries on.
    if (m_db.m_depth >= m_level) {
        try {
            CDatabase::ExpectedErrors quiet(m_db);
            m_db.ExecuteSavepoint(m_db.m_savepoints.rollback, m_level);
            m_db.ExecuteSavepoint(m_db.m_savepoints.release, m_level);
        } catch (...) {
            // The outer transaction fails on its own at its next statement or commit.
        }
        m_db.m_depth = m_level - 1;
    }
}

void CTransaction::Commit() {
    if (m_done) {
        return;
    }
    if (m_level == 1) {
        m_db.CommitTrans();
    } else if (m_db.m_depth >= m_level) {
        m_db.ExecuteSavepoint(m_db.m_savepoints.release, m_level);
        m_db.m_depth = m_level - 1;
    }
    m_done = true;
}

}  // namespace tokeiya
