#include "platform/odbc/CDatabase.hpp"

#include "platform/Cp932.hpp"
#include "platform/odbc/DbException.hpp"
#include "platform/odbc/Statement.hpp"

namespace tokeiya {

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
    m_dbc = odbc::DbcHandle(m_env.get());
    if (!m_dbc.valid()) {
        odbc::Check(SQL_ERROR, SQL_HANDLE_ENV, m_env.get());
    }
    SQLSetConnectAttr(m_dbc.get(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(15), 0);
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
    m_connect = cp932::FromUtf8(reinterpret_cast<const char*>(out));
    if (m_connect.empty()) {
        m_connect = connect;
    }
    SQLCHAR name[128] = {};
    SQLSMALLINT nameLength = 0;
    SQLGetInfo(m_dbc.get(), SQL_DBMS_NAME, name, sizeof name, &nameLength);
    m_dbmsName = reinterpret_cast<const char*>(name);
}

void CDatabase::Close() {
    if (m_open) {
        if (m_inTransaction) {
            Rollback();
        }
        SQLDisconnect(m_dbc.get());
        m_open = false;
    }
    m_dbc.reset();
}

int64_t CDatabase::ExecuteSQL(const std::string& sql, const std::vector<DbValue>& params) {
    if (!m_open) {
        throw CDBException("08003", "the database connection is not open", sql);
    }
    odbc::Statement statement(m_dbc.get(), sql);
    statement.Execute(params);
    return statement.RowCount();
}

void CDatabase::SetAutoCommit(bool on) {
    SQLRETURN rc = SQLSetConnectAttr(
        m_dbc.get(), SQL_ATTR_AUTOCOMMIT,
        reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), 0);
    odbc::Check(rc, SQL_HANDLE_DBC, m_dbc.get());
}

void CDatabase::BeginTrans() {
    if (!m_open) {
        throw CDBException("08003", "the database connection is not open", {});
    }
    SetAutoCommit(false);
    m_inTransaction = true;
}

void CDatabase::CommitTrans() {
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, m_dbc.get(), SQL_COMMIT);
    if (!odbc::Succeeded(rc)) {
        // The transaction is still open on failure; the caller's CTransaction rolls it back.
        odbc::Check(rc, SQL_HANDLE_DBC, m_dbc.get());
    }
    m_inTransaction = false;
    SetAutoCommit(true);
}

void CDatabase::Rollback() noexcept {
    if (!m_inTransaction) {
        return;
    }
    SQLEndTran(SQL_HANDLE_DBC, m_dbc.get(), SQL_ROLLBACK);
    SQLSetConnectAttr(m_dbc.get(), SQL_ATTR_AUTOCOMMIT,
                      reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    m_inTransaction = false;
}

CTransaction::CTransaction(CDatabase& db) : m_db(db) {
    if (!db.InTransaction()) {
        db.BeginTrans();
        m_owner = true;
    }
}

CTransaction::~CTransaction() {
    if (m_owner && !m_done) {
        m_db.Rollback();
    }
}

void CTransaction::Commit() {
    if (m_owner && !m_done) {
        m_db.CommitTrans();
    }
    m_done = true;
}

}  // namespace tokeiya
