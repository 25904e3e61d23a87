#include "data/CGeneralSet.hpp"

#include "platform/TextHelpers.hpp"

namespace tokeiya {

CGeneralSet::CGeneralSet(CConnection& connection, std::string source)
    : m_connection(connection), m_source(std::move(source)), m_set(connection.Database()) {}

std::string CGeneralSet::StatementFor(const SqlDialect& dialect, const std::string& source,
                                      const std::string& filter) {
    const bool wholeStatement = FindText(UpperText(source), "SELECT") != std::string::npos;
    std::string sql;
    if (!wholeStatement) {
        sql = "SELECT * FROM " + source;
        if (!filter.empty()) {
            sql += " WHERE " + filter;
        }
    } else if (filter.empty()) {
        sql = source;
    } else {
        // A derived table needs a name on SQL Server and PostgreSQL.
        sql = "SELECT * FROM (" + source + ") q WHERE " + filter;
    }
    return dialect.Render(sql);
}

std::string CGeneralSet::Statement() const {
    return StatementFor(m_connection.Dialect(), m_source, m_strFilter);
}

bool CGeneralSet::Open() {
    try {
        m_set.Open(Statement(), m_params);
    } catch (const CDBException& e) {
        m_lastOpenError = e;
        return false;
    }
    m_lastOpenError.reset();
    return true;
}

std::optional<size_t> CGeneralSet::FindColumn(const std::string& name) const {
    // PostgreSQL reports unquoted names folded to lower case.
    const std::string wanted = UpperText(name);
    const std::vector<odbc::ColumnInfo>& columns = m_set.Columns();
    for (size_t i = 0; i < columns.size(); ++i) {
        if (UpperText(columns[i].name) == wanted) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace tokeiya
