#pragma once

#include <string>
#include <vector>

#include "data/CConnection.hpp"
#include "data/CSalary.hpp"

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

    // Sums of the base pay and the overtime pay (each addition in extended precision, kept
    // as float) and their total in single precision.
    float SalarySum() const { return m_salarySum; }
    float OvertimeSum() const { return m_overtimeSum; }
    float TotalSum() const { return m_salarySum + m_overtimeSum; }

    // A row as the list shows it, 106 columns for ordinary names.
    static std::string RowText(const CSalary& row);
    // What the first line shows when there is no row.
    static std::string EmptyText();
    std::string TotalsText() const;

  private:
    void AddToTotals(const CSalary& row);

    std::vector<CSalary> m_rows;
    float m_salarySum = 0;
    float m_overtimeSum = 0;
};

// The export of the list: "氏名,グループ,..." and one line per row, CP932 with CR LF. A name
// holding a comma, a double quote or a line break is enclosed in double quotes with its
// quotes doubled, so that spreadsheets keep the columns; every other field is written as
// it is.
std::string SalaryCsvText(const std::vector<CSalary>& rows);
// One field of such a file.
std::string CsvField(const std::string& text);

}  // namespace tokeiya
