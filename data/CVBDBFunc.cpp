#include "data/CVBDBFunc.hpp"

#include <optional>

#include "data/CGeneralSet.hpp"

namespace tokeiya {

int CVBDBFunc::DLookup(DbValue& out, const std::string& column, const std::string& source,
                       const std::string& filter, std::vector<DbValue> params) {
    out = DbValue();
    if (m_connection == nullptr || !m_connection->IsOpen()) {
        return 0;
    }
    CGeneralSet set(*m_connection, source);
    set.m_strFilter = filter;
    set.m_params = std::move(params);
    if (!set.Open() || set.IsEOF()) {
        return 0;
    }
    const std::optional<size_t> index = set.FindColumn(column);
    if (!index) {
        return 0;
    }
    out = set.GetField(*index);
    return 1;
}

int LookupName(CConnection* connection, const std::string& source, int code, std::string& name) {
    DbValue value;
    if (CVBDBFunc(connection).DLookup(value, "name", source, "[code]=?", {DbValue(code)}) == 0) {
        name.clear();
        return 0;
    }
    name = value.IsNull() ? std::string() : value.AsText();
    return 1;
}

}  // namespace tokeiya
