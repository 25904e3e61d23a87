#include "platform/odbc/CRecordset.hpp"

#include "platform/odbc/DbException.hpp"

namespace tokeiya {

void CRecordset::Open(const std::string& sql, const std::vector<DbValue>& params,
                      std::vector<DbType> types) {
    Close();
    std::vector<odbc::ColumnInfo> columns;
    std::vector<std::vector<DbValue>> rows;
    m_db->RunStatement(sql, [&](odbc::Statement& statement) {
        statement.Execute(params);
        columns = statement.Columns();
        for (size_t i = 0; i < columns.size() && i < types.size(); ++i) {
            columns[i].type = types[i];
        }
        rows.clear();
        while (statement.Fetch()) {
            std::vector<DbValue>& row = rows.emplace_back();
            row.reserve(columns.size());
            for (size_t i = 0; i < columns.size(); ++i) {
                row.push_back(statement.Get(static_cast<SQLUSMALLINT>(i), columns[i].type));
            }
        }
    });
    m_sql = sql;
    m_params = params;
    m_types = std::move(types);
    m_columns = std::move(columns);
    m_rows = std::move(rows);
    m_position = 0;
    m_open = true;
}

void CRecordset::Fail(const char* state, const char* message, const std::string& sql) const {
    CDBException error(state, message, sql);
    m_db->ReportError(error);
    throw error;
}

void CRecordset::Requery() {
    std::string sql = m_sql;
    std::vector<DbValue> params = m_params;
    std::vector<DbType> types = m_types;
    Open(sql, params, std::move(types));
}

void CRecordset::Close() {
    m_open = false;
    m_rows.clear();
    m_columns.clear();
    m_position = 0;
    m_mode = Mode::None;
}

void CRecordset::MoveNext() {
    if (m_position < m_rows.size()) {
        ++m_position;
    }
}

const DbValue& CRecordset::GetField(size_t column) const {
    static const DbValue kNull;
    if (m_mode != Mode::None) {
        return column < m_buffer.size() ? m_buffer[column] : kNull;
    }
    if (IsEOF() || column >= m_rows[m_position].size()) {
        return kNull;
    }
    return m_rows[m_position][column];
}

void CRecordset::AddNew(std::vector<DbValue> values) {
    m_buffer = std::move(values);
    m_dirty.assign(m_buffer.size(), true);
    m_mode = Mode::Adding;
}

void CRecordset::Edit() {
    if (IsEOF()) {
        Fail("24000", "no current row to edit", m_sql);
    }
    m_buffer = m_rows[m_position];
    m_dirty.assign(m_buffer.size(), false);
    m_mode = Mode::Editing;
}

void CRecordset::SetField(size_t column, DbValue value) {
    if (m_mode == Mode::None || column >= m_buffer.size()) {
        Fail("HY010", "the record set is not adding or editing a row", m_sql);
    }
    m_buffer[column] = std::move(value);
    m_dirty[column] = true;
}

void CRecordset::Update() {
    if (m_mode == Mode::None) {
        Fail("HY010", "the record set is not adding or editing a row", m_sql);
    }
    if (m_target.table.empty()) {
        Fail("HY000", "the record set has no table to store into", m_sql);
    }
    if (m_mode == Mode::Adding) {
        Insert();
    } else {
        UpdateEdited();
    }
    m_mode = Mode::None;
}

void CRecordset::Insert() {
    std::string names;
    std::string marks;
    std::vector<DbValue> values;
    for (size_t i = 0; i < m_target.columns.size() && i < m_buffer.size(); ++i) {
        if (i == m_target.keyColumn && m_target.keyAssignedByServer) {
            continue;
        }
        if (!values.empty()) {
            names += ",";
            marks += ",";
        }
        names += m_target.columns[i];
        marks += "?";
        values.push_back(m_buffer[i]);
    }
    std::string sql = "INSERT INTO " + m_target.table + " (" + names + ") VALUES (" + marks + ")";
    CTransaction transaction(*m_db);
    m_db->ExecuteSQL(sql, values);
    transaction.Commit();
}

void CRecordset::UpdateEdited() {
    const std::vector<DbValue>& original = m_rows[m_position];
    std::string assignments;
    std::vector<DbValue> values;
    for (size_t i = 0; i < m_target.columns.size() && i < m_buffer.size(); ++i) {
        if (!m_dirty[i]) {
            continue;
        }
        if (!values.empty()) {
            assignments += ",";
        }
        assignments += m_target.columns[i] + "=?";
        values.push_back(m_buffer[i]);
    }
    if (!values.empty()) {
        values.push_back(original[m_target.keyColumn]);
        std::string sql = "UPDATE " + m_target.table + " SET " + assignments + " WHERE " +
                          m_target.columns[m_target.keyColumn] + "=?";
        CTransaction transaction(*m_db);
        if (m_db->ExecuteSQL(sql, values) == 0) {
            Fail("01001", "the row to update no longer exists", sql);
        }
        transaction.Commit();
    }
    m_rows[m_position] = m_buffer;
}

}  // namespace tokeiya
