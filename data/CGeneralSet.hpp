#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/CConnection.hpp"
#include "platform/odbc/CRecordset.hpp"
#include "platform/odbc/DbException.hpp"

namespace tokeiya {

// A read-only record set over any source: an object name, or a whole statement when the
// source contains SELECT in any letter case. It binds nothing; after opening, columns are
// found by the names the driver reports.
//
// The filter is written with bracketed names and `?` marks for the values in m_params. On
// an object it becomes the WHERE condition; a whole statement is wrapped as
// "SELECT * FROM (statement) q WHERE filter", so the statement must be one that may stand
// in a FROM clause (on SQL Server: no ORDER BY without TOP).
class CGeneralSet {
  public:
    CGeneralSet(CConnection& connection, std::string source);

    std::string m_strFilter;
    std::vector<DbValue> m_params;

    // The statement Open sends, rendered for the connection's engine.
    std::string Statement() const;
    // The same for any dialect, so that the SQL of every engine can be checked.
    static std::string StatementFor(const SqlDialect& dialect, const std::string& source,
                                    const std::string& filter);

    // False when the connection is closed or the query fails; LastOpenError() tells why.
    [[nodiscard]] bool Open();
    void Close() { m_set.Close(); }
    bool IsOpen() const { return m_set.IsOpen(); }
    bool IsEOF() const { return m_set.IsEOF(); }
    void MoveNext() { m_set.MoveNext(); }

    const std::vector<odbc::ColumnInfo>& Columns() const { return m_set.Columns(); }
    // The first column named `name` in any letter case, or nullopt.
    std::optional<size_t> FindColumn(const std::string& name) const;
    // Column `column` of the current row; NULL past the end.
    const DbValue& GetField(size_t column) const { return m_set.GetField(column); }

    const std::optional<CDBException>& LastOpenError() const { return m_lastOpenError; }

  private:
    CConnection& m_connection;
    std::string m_source;
    CRecordset m_set;
    std::optional<CDBException> m_lastOpenError;
};

}  // namespace tokeiya
