#pragma once

#include <string>
#include <vector>

#include "platform/odbc/DbValue.hpp"
#include "platform/odbc/OdbcHandle.hpp"

namespace tokeiya::odbc {

// Describes one result column as the driver reports it; the name is CP932.
struct ColumnInfo {
    std::string name;
    DbType type = DbType::Text;
};

// One executed statement: parameters bound from DbValues (texts sent as UTF-8), results read
// back as DbValues (texts returned as CP932). Errors throw CDBException with the statement.
class Statement {
  public:
    Statement(SQLHDBC dbc, std::string sql);

    void Execute(const std::vector<DbValue>& params);
    SQLLEN RowCount() const;

    // The result columns; reading requires a prior Execute.
    std::vector<ColumnInfo> Columns() const;
    // Moves to the next row; false at the end.
    bool Fetch();
    // Reads column `index` (0-based) of the current row as `type`.
    DbValue Get(SQLUSMALLINT index, DbType type);

  private:
    [[noreturn]] void Fail(SQLRETURN rc) const;

    std::string m_sql;  // CP932, kept for error reports
    StmtHandle m_stmt;
    // Parameter buffers must live until execution ends.
    std::vector<std::string> m_textBuffers;
    std::vector<SQLLEN> m_indicators;
    std::vector<int64_t> m_ints;
    std::vector<double> m_reals;
    std::vector<SQL_TIMESTAMP_STRUCT> m_times;
};

}  // namespace tokeiya::odbc
