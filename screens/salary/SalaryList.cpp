#include "screens/salary/SalaryList.hpp"

#include <cstdio>

#include "data/CTSalary.hpp"

namespace tokeiya {

namespace {

// Wide enough for any row: two names of any length are cut by the screen, not here.
std::string Format(const char* format, auto... values) {
    const int n = std::snprintf(nullptr, 0, format, values...);
    if (n <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, values...);
    text.resize(static_cast<size_t>(n));
    return text;
}

}  // namespace

bool CSalaryList::Load(CConnection& connection, int year, int month, int groupId) {
    std::vector<CSalary> rows;
    if (CTSalary(connection).LoadMonth(year, month, groupId, rows) == 0) {
        return false;
    }
    Clear();
    m_rows = std::move(rows);
    for (const CSalary& row : m_rows) {
        AddToTotals(row);
    }
    return true;
}

void CSalaryList::Clear() {
    m_rows.clear();
    m_salarySum = 0;
    m_overtimeSum = 0;
}

void CSalaryList::AddToTotals(const CSalary& row) {
    m_salarySum = static_cast<float>(static_cast<long double>(m_salarySum) + row.fSalary);
    m_overtimeSum = static_cast<float>(static_cast<long double>(m_overtimeSum) + row.fOvertimePay);
}

int CSalaryList::IndexOfUser(int userId) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].idUser == userId) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string CSalaryList::RowText(const CSalary& row) {
    return Format(" %-20s  %-20s  %2d日  %2d日  %3d:%02d  %3d:%02d %9.0f %9.0f %9.0f  %2d ",
                  row.strUserName.c_str(), row.strGroupName.c_str(), row.nCutoff, row.nDays,
                  row.nWorkingMin / 60, row.nWorkingMin % 60, row.nOvertimeMin / 60,
                  row.nOvertimeMin % 60, static_cast<double>(row.fSalary),
                  static_cast<double>(row.fOvertimePay), static_cast<double>(row.Total()),
                  row.nErr);
}

std::string CSalaryList::EmptyText() {
    return Format(" %-105s", "計算されたデータが有りません。");
}

std::string CSalaryList::TotalsText() const {
    return Format("%9.0f %9.0f %9.0f", static_cast<double>(m_salarySum),
                  static_cast<double>(m_overtimeSum), static_cast<double>(TotalSum()));
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string SalaryCsvText(const std::vector<CSalary>& rows) {
    std::string text =
        "氏名,グループ,締日,日数,勤務時間(時),勤務時間(分),時間外(時),時間外(分),基本給,"
        "時間外給,合計,Er\r\n";
    for (const CSalary& row : rows) {
        text += CsvField(row.strUserName) + "," + CsvField(row.strGroupName) + ",";
        text += Format("%d,%d,%d,%d,%d,%d,%1.0f,%1.0f,%1.0f,%d\r\n", row.nCutoff, row.nDays,
                       row.nWorkingMin / 60, row.nWorkingMin % 60, row.nOvertimeMin / 60,
                       row.nOvertimeMin % 60, static_cast<double>(row.fSalary),
                       static_cast<double>(row.fOvertimePay), static_cast<double>(row.Total()),
                       row.nErr);
    }
    return text;
}

}  // namespace tokeiya
