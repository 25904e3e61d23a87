#include "screens/salary/SalaryList.hpp"

#include "data/CTSalary.hpp"

namespace tokeiya {

bool CSalaryList::Load(CConnection& connection, int year, int month, int groupId) {
    std::vector<CSalary> rows;
    if (CTSalary(connection).LoadMonth(year, month, groupId, rows) == 0) {
        return false;
    }
    m_rows = std::move(rows);
    m_totals = CSalaryTotals::Of(m_rows);
    return true;
}

void CSalaryList::Clear() {
    m_rows.clear();
    m_totals = {};
}

int CSalaryList::IndexOfUser(int userId) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].idUser == userId) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace tokeiya
