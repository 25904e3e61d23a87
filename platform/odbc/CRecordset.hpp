#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/odbc/CDatabase.hpp"
#include "platform/odbc/DbValue.hpp"
#include "platform/odbc/Statement.hpp"

namespace tokeiya {

// The table behind a record set's columns, so that rows can be added and edited. Names are
// already rendered for the engine; column i of the result is columns[i].
struct UpdateTarget {
    std::string table;
    std::vector<std::string> columns;
    size_t keyColumn = 0;
    bool keyAssignedByServer = false;
};

// A query's rows read into memory on open, walked one at a time, and edited or added through
// the update target. Move-only: a copy would alias one open query.
class CRecordset {
  public:
    explicit CRecordset(CDatabase& db) : m_db(&db) {}
    CRecordset(CRecordset&&) noexcept = default;
    CRecordset& operator=(CRecordset&&) noexcept = default;
    CRecordset(const CRecordset&) = delete;
    CRecordset& operator=(const CRecordset&) = delete;

    // Runs `sql` with its parameters; `types` gives the type to read each column as (empty:
    // the driver's description decides). Throws CDBException; the set is then closed.
    void Open(const std::string& sql, const std::vector<DbValue>& params = {},
              std::vector<DbType> types = {});
    // Runs the last query again and moves to its first row.
    void Requery();
    void Close();
    bool IsOpen() const { return m_open; }

    bool IsEOF() const { return !m_open || m_position >= m_rows.size(); }
    void MoveFirst() { m_position = 0; }
    void MoveNext();
    size_t GetRecordCount() const { return m_rows.size(); }

    const std::vector<odbc::ColumnInfo>& Columns() const { return m_columns; }
    // Column `column` of the current row, or of the row being added or edited.
    const DbValue& GetField(size_t column) const;

    void SetUpdateTarget(UpdateTarget target) { m_target = std::move(target); }
    // Starts a new row with these values (one per column).
    void AddNew(std::vector<DbValue> values);
    // Starts editing the current row.
    void Edit();
    void SetField(size_t column, DbValue value);
    bool IsAdding() const { return m_mode == Mode::Adding; }
    bool IsEditing() const { return m_mode == Mode::Editing; }
    void CancelUpdate() { m_mode = Mode::None; }
    // Stores the row in a transaction: an insert of every column but a server-assigned key,
    // or an update of the columns set since Edit (none set: nothing is sent). An update
    // that finds its row gone throws with SQLSTATE 01001. Throws CDBException and keeps
    // the row being stored, so the caller may retry or cancel.
    void Update();

    CDatabase& Database() const { return *m_db; }

  private:
    enum class Mode { None, Adding, Editing };

    void Insert();
    void UpdateEdited();
    // Tells the connection's sink and throws: a store that cannot be made is a failure the
    // user must hear of, like a driver's.
    [[noreturn]] void Fail(const char* state, const char* message, const std::string& sql) const;

    CDatabase* m_db;
    bool m_open = false;
    std::string m_sql;
    std::vector<DbValue> m_params;
    std::vector<DbType> m_types;
    std::vector<odbc::ColumnInfo> m_columns;
    std::vector<std::vector<DbValue>> m_rows;
    size_t m_position = 0;

    UpdateTarget m_target;
    Mode m_mode = Mode::None;
    std::vector<DbValue> m_buffer;
    std::vector<bool> m_dirty;
};

}  // namespace tokeiya
