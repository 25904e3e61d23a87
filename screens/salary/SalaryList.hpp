#pragma once

#include <vector>

#include "data/CConnection.hpp"
#include "data/CSalary.hpp"
#include "rows/SalaryRowText.hpp"

namespace tokeiya {

// The pay results of one month, of every group or of one, as the salary list shows,
// totals and exports them.
class CSalaryList {
  public:
    // The month's rows in group and result order; false when the read failed (the rows
    // loaded before stay).
    bool Load(CConnection& connection, int year, int month, int groupId);
    void Clear();

    const std::vector<CSalary>& Rows() const { return m_rows; }
    int Count() const { return static_cast<int>(m_rows.size()); }
    // The first row of the user, or -1.
    int IndexOfUser(int userId) const;

    // The sums of the rows loaded.
    const CSalaryTotals& Totals() const { return m_totals; }
    float SalarySum() const { return m_totals.salary; }
    float OvertimeSum() const { return m_totals.overtimePay; }
    float TotalSum() const { return m_totals.Total(); }

  private:
    std::vector<CSalary> m_rows;
    CSalaryTotals m_totals;
};

}  // namespace tokeiya
