#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/CConnection.hpp"
#include "platform/CTime.hpp"
#include "platform/odbc/CRecordset.hpp"
#include "platform/odbc/DbException.hpp"

namespace tokeiya {

class CFieldExchange;

// The base of every record class: a record set bound column by column to member fields,
// opened with a filter and a sort, walked row by row, and used for inserts and updates.
//
// The filter and sort are written as SQL Server writes them (bracketed names) and rendered
// for the engine. Values reach the SQL only as `?` parameters in m_params.
class CRecordBase {
  public:
    explicit CRecordBase(CConnection& connection);
    virtual ~CRecordBase() = default;
    CRecordBase(const CRecordBase&) = delete;
    CRecordBase& operator=(const CRecordBase&) = delete;

    std::string m_strFilter;
    std::string m_strSort;
    std::vector<DbValue> m_params;

    // Opens with the current filter and sort and loads the first row into the members.
    // False when the query fails; LastOpenError() then tells why.
    [[nodiscard]] bool Open();
    [[nodiscard]] bool Requery();
    void Close();
    bool IsOpen() const { return m_set.IsOpen(); }
    bool IsEOF() const { return m_set.IsEOF(); }
    bool IsBOF() const { return m_set.IsOpen() && m_set.GetRecordCount() == 0; }
    void MoveNext();

    // AddNew resets the members to the column defaults; Edit starts from the current row.
    // Update stores what the members hold: every column of a new row, the changed columns
    // of an edited one. Database errors while storing are thrown as CDBException.
    void AddNew();
    void Edit();
    // Edits the current row as the caller read it earlier: `asRead` puts into the members
    // what the row held then. Update then writes only the columns changed since that read,
    // so that what another computer stored meanwhile in the other columns stays.
    void EditAsRead(const std::function<void()>& asRead);
    // Starts a new row without reading the table first, for rows only ever added: the
    // members take their defaults, and Update inserts them.
    void AddNewUnread();
    void Update();
    void CancelUpdate();

    // Stores a row of a table whose ids the client chooses. With `update` the row of `id`
    // is edited (0 when it is missing); otherwise a new row is added under the highest id + 1
    // (1 for an empty table), written into `id` before `write` runs. `write` sets the
    // members to store, the key among them. When another computer took the same id in the
    // meantime, the row is added once more under the next id. The key is the first bound
    // column, written as `keyColumn` (e.g. "[idUser]"). 1 when stored; 0 when a read failed.
    // Failures while storing are thrown, as by Update; `id` then keeps the value it came
    // with, so that no caller takes a key that was never stored. With `asRead` an update
    // writes only what differs from the row as the caller read it (EditAsRead).
    [[nodiscard]] int SaveUnderId(const char* keyColumn, bool update, int& id,
                                  const std::function<void()>& write,
                                  const std::function<void()>& asRead = {});

    const std::optional<CDBException>& LastOpenError() const { return m_lastOpenError; }
    CConnection& Connection() const { return m_connection; }
    const SqlDialect& Dialect() const { return m_connection.Dialect(); }

    // The SELECT that Open sends, rendered for the engine.
    std::string SelectStatement();

  protected:
    // The source object, e.g. "[dbo].[Tユーザー]".
    virtual std::string GetDefaultSQL() const = 0;
    virtual void DoFieldExchange(CFieldExchange& fx) = 0;
    // Sets every bound member to its column default.
    virtual void SetFieldDefaults() = 0;
    // True when the server assigns the first column's value on insert.
    virtual bool KeyAssignedByServer() const { return false; }

  private:
    std::vector<DbValue> StoredValues();
    // The bound columns and their types, as DoFieldExchange names them.
    CFieldExchange Describe();
    std::string SelectStatement(const CFieldExchange& fx) const;
    UpdateTarget MakeUpdateTarget(const CFieldExchange& fx) const;
    // The highest value of `keyColumn` in the table (0 when empty); false when unreadable.
    [[nodiscard]] bool HighestId(const char* keyColumn, int& highest);
    void LoadCurrentRow();

    CConnection& m_connection;
    CRecordset m_set;
    std::optional<CDBException> m_lastOpenError;
    std::vector<DbValue> m_editSnapshot;
};

// Visits the bound members of a record class in column order: to describe the columns, to
// load them from the current row, or to collect their values for storing.
class CFieldExchange {
  public:
    enum class Operation { Describe, Load, Store };

    CFieldExchange(Operation operation, const SqlDialect& dialect)
        : m_operation(operation), m_dialect(dialect) {}

    void BigInt(const char* column, int64_t& value);
    void Long(const char* column, int& value);
    void Bit(const char* column, int& value);  // a Boolean held as 0/1
    void Date(const char* column, CTime& value);
    void Single(const char* column, float& value);
    void Text(const char* column, std::string& value);

    void SetRow(const CRecordset* set) { m_set = set; }

    std::vector<std::string> m_columns;  // as written, e.g. "[idUser]"
    std::vector<DbType> m_types;
    std::vector<DbValue> m_values;

  private:
    // Returns the loaded value of the next column in Load, records it otherwise.
    const DbValue* Next(const char* column, DbType type);

    Operation m_operation;
    const SqlDialect& m_dialect;
    const CRecordset* m_set = nullptr;
    size_t m_index = 0;
};

}  // namespace tokeiya
