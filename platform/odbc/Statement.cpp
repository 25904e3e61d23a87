#include "platform/odbc/Statement.hpp"

#include <algorithm>

#include "platform/Cp932.hpp"
#include "platform/odbc/DbException.hpp"

namespace tokeiya::odbc {

void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const std::string& statement) {
    if (Succeeded(rc) || rc == SQL_NO_DATA) {
        return;
    }
    std::string state = "HY000";
    std::string message;
    int firstNative = 0;
    SQLCHAR sqlState[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR text[1024];
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1; handle != SQL_NULL_HANDLE; ++i) {
        SQLRETURN drc =
            SQLGetDiagRec(type, handle, i, sqlState, &native, text, sizeof text, &length);
        if (!Succeeded(drc)) {
            break;
        }
        if (i == 1) {
            state = reinterpret_cast<const char*>(sqlState);
            firstNative = static_cast<int>(native);
        }
        if (!message.empty()) {
            message += "\n";
        }
        message += reinterpret_cast<const char*>(text);
    }
    if (message.empty()) {
        message = rc == SQL_INVALID_HANDLE ? "invalid ODBC handle" : "ODBC call failed";
    }
    throw CDBException(state, cp932::FromUtf8(message), statement, firstNative);
}

Statement::Statement(SQLHDBC dbc, std::string sql) : m_sql(std::move(sql)), m_stmt(dbc) {
    if (!m_stmt.valid()) {
        Check(SQL_ERROR, SQL_HANDLE_DBC, dbc, m_sql);
    }
    std::string wire = cp932::ToUtf8(m_sql);
    SQLRETURN rc = SQLPrepare(m_stmt.get(), reinterpret_cast<SQLCHAR*>(wire.data()),
                              static_cast<SQLINTEGER>(wire.size()));
    if (!Succeeded(rc)) {
        Fail(rc);
    }
}

void Statement::Fail(SQLRETURN rc) const {
    Check(rc, SQL_HANDLE_STMT, m_stmt.get(), m_sql);
    throw CDBException("HY000", "ODBC call failed", m_sql);  // Check returns only on success
}

void Statement::Execute(const std::vector<DbValue>& params) {
    const size_t n = params.size();
    m_textBuffers.assign(n, {});
    m_indicators.assign(n, 0);
    m_ints.assign(n, 0);
    m_reals.assign(n, 0);
    m_times.assign(n, {});
    for (size_t i = 0; i < n; ++i) {
        const DbValue& p = params[i];
        auto number = static_cast<SQLUSMALLINT>(i + 1);
        SQLSMALLINT cType = SQL_C_CHAR;
        SQLSMALLINT sqlType = SQL_VARCHAR;
        SQLULEN columnSize = 255;
        SQLSMALLINT digits = 0;
        SQLPOINTER buffer = nullptr;
        SQLLEN bufferLength = 0;
        switch (p.Type()) {
            case DbType::Integer:
                cType = SQL_C_SBIGINT;
                sqlType = SQL_BIGINT;
                columnSize = 19;
                m_ints[i] = p.AsInt();
                buffer = &m_ints[i];
                break;
            case DbType::Real:
                cType = SQL_C_DOUBLE;
                sqlType = SQL_DOUBLE;
                columnSize = 15;
                m_reals[i] = p.AsReal();
                buffer = &m_reals[i];
                break;
            case DbType::Text:
                m_textBuffers[i] = cp932::ToUtf8(p.AsText());
                buffer = m_textBuffers[i].data();
                bufferLength = static_cast<SQLLEN>(m_textBuffers[i].size());
                columnSize = std::max<SQLULEN>(1, m_textBuffers[i].size());
                m_indicators[i] = bufferLength;
                break;
            case DbType::Timestamp: {
                cType = SQL_C_TYPE_TIMESTAMP;
                sqlType = SQL_TYPE_TIMESTAMP;
                columnSize = 19;
                if (const DbTimestamp* t = p.AsTimestamp()) {
                    m_times[i] = SQL_TIMESTAMP_STRUCT{static_cast<SQLSMALLINT>(t->year),
                                                      static_cast<SQLUSMALLINT>(t->month),
                                                      static_cast<SQLUSMALLINT>(t->day),
                                                      static_cast<SQLUSMALLINT>(t->hour),
                                                      static_cast<SQLUSMALLINT>(t->minute),
                                                      static_cast<SQLUSMALLINT>(t->second),
                                                      0};
                }
                buffer = &m_times[i];
                break;
            }
        }
        if (p.IsNull()) {
            m_indicators[i] = SQL_NULL_DATA;
        }
        SQLRETURN rc = SQLBindParameter(m_stmt.get(), number, SQL_PARAM_INPUT, cType, sqlType,
                                        columnSize, digits, buffer, bufferLength, &m_indicators[i]);
        if (!Succeeded(rc)) {
            Fail(rc);
        }
    }
    SQLRETURN rc = SQLExecute(m_stmt.get());
    // SQL_NO_DATA: an UPDATE or DELETE that matched no row.
    if (!Succeeded(rc) && rc != SQL_NO_DATA) {
        Fail(rc);
    }
}

SQLLEN Statement::RowCount() const {
    SQLLEN count = 0;
    SQLRowCount(m_stmt.get(), &count);
    return count;
}

std::vector<ColumnInfo> Statement::Columns() const {
    SQLSMALLINT count = 0;
    SQLRETURN rc = SQLNumResultCols(m_stmt.get(), &count);
    if (!Succeeded(rc)) {
        Fail(rc);
    }
    std::vector<ColumnInfo> columns;
    columns.reserve(static_cast<size_t>(count));
    for (SQLSMALLINT i = 1; i <= count; ++i) {
        SQLCHAR name[256] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT dataType = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        rc = SQLDescribeCol(m_stmt.get(), static_cast<SQLUSMALLINT>(i), name, sizeof name,
                            &nameLength, &dataType, &size, &digits, &nullable);
        if (!Succeeded(rc)) {
            Fail(rc);
        }
        ColumnInfo info;
        info.name = cp932::FromUtf8(reinterpret_cast<const char*>(name));
        switch (dataType) {
            case SQL_BIT:
            case SQL_TINYINT:
            case SQL_SMALLINT:
            case SQL_INTEGER:
            case SQL_BIGINT:
                info.type = DbType::Integer;
                break;
            case SQL_REAL:
            case SQL_FLOAT:
            case SQL_DOUBLE:
            case SQL_NUMERIC:
            case SQL_DECIMAL:
                info.type = DbType::Real;
                break;
            case SQL_TYPE_TIMESTAMP:
            case SQL_TIMESTAMP:
            case SQL_TYPE_DATE:
            case SQL_DATE:
                info.type = DbType::Timestamp;
                break;
            default:
                info.type = DbType::Text;
                break;
        }
        columns.push_back(std::move(info));
    }
    return columns;
}

bool Statement::Fetch() {
    SQLRETURN rc = SQLFetch(m_stmt.get());
    if (rc == SQL_NO_DATA) {
        return false;
    }
    if (!Succeeded(rc)) {
        Fail(rc);
    }
    return true;
}

DbValue Statement::Get(SQLUSMALLINT index, DbType type) {
    const SQLUSMALLINT column = index + 1;
    SQLLEN indicator = 0;
    SQLRETURN rc = SQL_SUCCESS;
    switch (type) {
        case DbType::Integer: {
            int64_t value = 0;
            rc = SQLGetData(m_stmt.get(), column, SQL_C_SBIGINT, &value, 0, &indicator);
            if (!Succeeded(rc)) {
                Fail(rc);
            }
            return indicator == SQL_NULL_DATA ? DbValue::Null(type) : DbValue(value);
        }
        case DbType::Real: {
            double value = 0;
            rc = SQLGetData(m_stmt.get(), column, SQL_C_DOUBLE, &value, 0, &indicator);
            if (!Succeeded(rc)) {
                Fail(rc);
            }
            return indicator == SQL_NULL_DATA ? DbValue::Null(type) : DbValue(value);
        }
        case DbType::Timestamp: {
            SQL_TIMESTAMP_STRUCT t{};
            rc = SQLGetData(m_stmt.get(), column, SQL_C_TYPE_TIMESTAMP, &t, sizeof t, &indicator);
            if (!Succeeded(rc)) {
                Fail(rc);
            }
            if (indicator == SQL_NULL_DATA) {
                return DbValue::Null(type);
            }
            return DbValue(
                DbTimestamp{t.year, t.month, t.day, t.hour, t.minute, static_cast<int>(t.second)});
        }
        case DbType::Text:
            break;
    }
    // Text arrives in pieces when it is longer than the buffer.
    std::string utf8;
    char buffer[512];
    for (;;) {
        rc = SQLGetData(m_stmt.get(), column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA) {
            break;
        }
        if (!Succeeded(rc)) {
            Fail(rc);
        }
        if (indicator == SQL_NULL_DATA) {
            return DbValue::Null(type);
        }
        size_t got = (indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof buffer))
                         ? sizeof buffer - 1
                         : static_cast<size_t>(indicator);
        utf8.append(buffer, got);
        if (rc == SQL_SUCCESS) {
            break;
        }
    }
    return DbValue(cp932::FromUtf8(utf8));
}

}  // namespace tokeiya::odbc
