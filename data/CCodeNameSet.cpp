#include "data/CCodeNameSet.hpp"

#include <utility>

namespace tokeiya {

CCodeNameSet::CCodeNameSet(CConnection& connection, std::string table, std::string codeColumn,
                           std::string nameColumn)
    : CRecordBase(connection),
      m_table(std::move(table)),
      m_codeColumn(codeColumn.empty() ? "[code]" : std::move(codeColumn)),
      m_nameColumn(nameColumn.empty() ? "[name]" : std::move(nameColumn)) {
    m_strSort = m_codeColumn;
}

void CCodeNameSet::DoFieldExchange(CFieldExchange& fx) {
    fx.Long(m_codeColumn.c_str(), m_code);
    fx.Text(m_nameColumn.c_str(), m_name);
}

void CCodeNameSet::SetFieldDefaults() {
    m_code = 0;
    m_name.clear();
}

bool CCodeNameSet::OpenWith(std::string filter, std::vector<DbValue> params) {
    Close();
    m_strFilter = std::move(filter);
    m_params = std::move(params);
    m_strSort = m_codeColumn;
    // A failed open has been told to the user by the connection already.
    return Open();
}

bool CCodeNameSet::Load(std::vector<CCodeName>& out, const std::string& filter,
                        std::vector<DbValue> params) {
    if (!OpenWith(filter, std::move(params))) {
        return false;
    }
    out.clear();
    for (; !IsEOF(); MoveNext()) {
        out.push_back(CCodeName{m_code, m_name, 0});
    }
    return true;
}

int CCodeNameSet::FindName(int code, const std::string& extraFilter, std::string& name,
                           std::vector<DbValue> extraParams) {
    name.clear();
    // The extra filter is parenthesised so that an OR inside it cannot widen the match, and
    // comes first so that its `?` marks take the first parameters.
    std::string filter = m_codeColumn + "=?";
    if (!extraFilter.empty()) {
        filter = "(" + extraFilter + ") AND " + filter;
    }
    extraParams.emplace_back(code);
    if (!OpenWith(std::move(filter), std::move(extraParams)) || IsEOF()) {
        return 0;
    }
    name = m_name;
    return 1;
}

}  // namespace tokeiya
