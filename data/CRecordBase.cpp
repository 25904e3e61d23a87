#include "data/CRecordBase.hpp"

namespace tokeiya {

CRecordBase::CRecordBase(CConnection& connection)
    : m_connection(connection), m_set(connection.Database()) {}

CFieldExchange CRecordBase::Describe() {
    CFieldExchange fx(CFieldExchange::Operation::Describe, Dialect());
    DoFieldExchange(fx);
    return fx;
}

std::string CRecordBase::SelectStatement() {
    return SelectStatement(Describe());
}

std::string CRecordBase::SelectStatement(const CFieldExchange& fx) const {
    std::string sql = "SELECT ";
    for (size_t i = 0; i < fx.m_columns.size(); ++i) {
        if (i > 0) {
            sql += ",";
        }
        sql += fx.m_columns[i];
    }
    sql += " FROM " + GetDefaultSQL();
    if (!m_strFilter.empty()) {
        sql += " WHERE " + m_strFilter;
    }
    if (!m_strSort.empty()) {
        sql += " ORDER BY " + m_strSort;
    }
    return Dialect().Render(sql);
}

bool CRecordBase::Open() {
    const CFieldExchange fx = Describe();
    try {
        m_set.Open(SelectStatement(fx), m_params, fx.m_types);
    } catch (const CDBException& e) {
        m_lastOpenError = e;
        return false;
    }
    m_lastOpenError.reset();
    m_set.SetUpdateTarget(MakeUpdateTarget(fx));
    LoadCurrentRow();
    return true;
}

UpdateTarget CRecordBase::MakeUpdateTarget(const CFieldExchange& fx) const {
    UpdateTarget target;
    target.table = Dialect().Render(GetDefaultSQL());
    for (const std::string& column : fx.m_columns) {
        target.columns.push_back(Dialect().Render(column));
    }
    target.keyColumn = 0;
    target.keyAssignedByServer = KeyAssignedByServer();
    return target;
}

bool CRecordBase::Requery() {
    Close();
    return Open();
}

void CRecordBase::Close() {
    m_set.Close();
}

void CRecordBase::MoveNext() {
    m_set.MoveNext();
    LoadCurrentRow();
}

void CRecordBase::LoadCurrentRow() {
    if (m_set.IsEOF()) {
        return;
    }
    CFieldExchange fx(CFieldExchange::Operation::Load, Dialect());
    fx.SetRow(&m_set);
    DoFieldExchange(fx);
}

std::vector<DbValue> CRecordBase::StoredValues() {
    CFieldExchange fx(CFieldExchange::Operation::Store, Dialect());
    DoFieldExchange(fx);
    return std::move(fx.m_values);
}

void CRecordBase::AddNew() {
    SetFieldDefaults();
    m_set.AddNew(StoredValues());
}

void CRecordBase::Edit() {
    m_set.Edit();
    m_editSnapshot = StoredValues();
}

void CRecordBase::EditAsRead(const std::function<void()>& asRead) {
    m_set.Edit();
    asRead();
    m_editSnapshot = StoredValues();
}

void CRecordBase::AddNewUnread() {
    m_set.SetUpdateTarget(MakeUpdateTarget(Describe()));
    AddNew();
}

void CRecordBase::Update() {
    std::vector<DbValue> values = StoredValues();
    if (m_set.IsAdding()) {
        for (size_t i = 0; i < values.size(); ++i) {
            m_set.SetField(i, values[i]);
        }
    } else if (m_set.IsEditing()) {
        // Only what the caller changed is written, so a concurrent change to another
        // column of the row by another computer survives.
        for (size_t i = 0; i < values.size() && i < m_editSnapshot.size(); ++i) {
            if (!(values[i] == m_editSnapshot[i])) {
                m_set.SetField(i, values[i]);
            }
        }
    }
    m_set.Update();
}

void CRecordBase::CancelUpdate() {
    m_set.CancelUpdate();
}

bool CRecordBase::HighestId(const char* keyColumn, int& highest) {
    CRecordset max(m_connection.Database());
    try {
        max.Open(
            Dialect().Render("SELECT MAX(" + std::string(keyColumn) + ") FROM " + GetDefaultSQL()),
            {}, {DbType::Integer});
    } catch (const CDBException& e) {
        m_lastOpenError = e;
        return false;
    }
    m_lastOpenError.reset();
    highest = static_cast<int>(max.GetField(0).AsInt(0));
    return true;
}

int CRecordBase::SaveUnderId(const char* keyColumn, bool update, int& id,
                             const std::function<void()>& write,
                             const std::function<void()>& asRead) {
    Close();
    m_strSort.clear();
    if (update) {
        m_strFilter = std::string(keyColumn) + "=?";
        m_params = {DbValue(id)};
        if (!Open() || IsEOF()) {
            return 0;
        }
        if (asRead) {
            EditAsRead(asRead);
        } else {
            Edit();
        }
        write();
        Update();
        return 1;
    }
    m_strFilter.clear();
    m_params.clear();
    // The new id is the caller's only once the row is stored.
    const int original = id;
    for (int attempt = 0;; ++attempt) {
        int highest = 0;
        if (!HighestId(keyColumn, highest)) {
            id = original;
            return 0;
        }
        id = highest + 1;
        AddNewUnread();
        write();
        try {
            // The first clash is another computer's row under the same id: taken quietly.
            std::optional<CDatabase::ExpectedErrors> quiet;
            if (attempt == 0) {
                quiet.emplace(m_connection.Database());
            }
            Update();
            return 1;
        } catch (const CDBException& e) {
            CancelUpdate();
            if (attempt == 0 && e.IsConstraintViolation()) {
                continue;
            }
            id = original;
            m_connection.Database().ReportError(e);
            throw;
        }
    }
}

const DbValue* CFieldExchange::Next(const char* column, DbType type) {
    size_t index = m_index++;
    if (m_operation == Operation::Describe) {
        m_columns.emplace_back(column);
        m_types.push_back(type);
        return nullptr;
    }
    if (m_operation == Operation::Load) {
        return &m_set->GetField(index);
    }
    return nullptr;
}

void CFieldExchange::BigInt(const char* column, int64_t& value) {
    if (const DbValue* v = Next(column, DbType::Integer)) {
        value = v->AsInt(0);
    } else if (m_operation == Operation::Store) {
        m_values.emplace_back(value);
    }
}

void CFieldExchange::Long(const char* column, int& value) {
    if (const DbValue* v = Next(column, DbType::Integer)) {
        value = static_cast<int>(v->AsInt(0));
    } else if (m_operation == Operation::Store) {
        m_values.emplace_back(value);
    }
}

void CFieldExchange::Bit(const char* column, int& value) {
    if (const DbValue* v = Next(column, DbType::Integer)) {
        value = v->AsInt(0) != 0 ? 1 : 0;
    } else if (m_operation == Operation::Store) {
        m_values.emplace_back(value != 0 ? 1 : 0);
    }
}

void CFieldExchange::Date(const char* column, CTime& value) {
    if (const DbValue* v = Next(column, DbType::Timestamp)) {
        value = FromDbValue(*v);
    } else if (m_operation == Operation::Store) {
        m_values.push_back(m_dialect.DateTimeParam(value));
    }
}

void CFieldExchange::Single(const char* column, float& value) {
    if (const DbValue* v = Next(column, DbType::Real)) {
        value = static_cast<float>(v->AsReal(0));
    } else if (m_operation == Operation::Store) {
        m_values.emplace_back(static_cast<double>(value));
    }
}

void CFieldExchange::Text(const char* column, std::string& value) {
    if (const DbValue* v = Next(column, DbType::Text)) {
        value = v->AsText();
    } else if (m_operation == Operation::Store) {
        m_values.emplace_back(value);
    }
}

}  // namespace tokeiya
