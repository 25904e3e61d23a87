#include "rows/SalaryRowText.hpp"

#include <string_view>

#include "platform/TextHelpers.hpp"
#include "rows/FormatText.hpp"

namespace tokeiya {

using rows::FormatText;

void CSalaryTotals::Add(const CSalary& row) {
    salary = static_cast<float>(static_cast<long double>(salary) + row.fSalary);
    overtimePay = static_cast<float>(static_cast<long double>(overtimePay) + row.fOvertimePay);
}

CSalaryTotals CSalaryTotals::Of(const std::vector<CSalary>& rows) {
    CSalaryTotals totals;
    for (const CSalary& row : rows) {
        totals.Add(row);
    }
    return totals;
}

std::string AmountsText(double first, double second, double third, RowStyle style) {
    if (style == RowStyle::Screen) {
        return FormatText("%9.0f %9.0f %9.0f", first, second, third);
    }
    return FormatText("%11s %11s %11s", FormatNumber(first, 0).c_str(),
                      FormatNumber(second, 0).c_str(), FormatNumber(third, 0).c_str());
}

std::string HoursText(int minutes) {
    return FormatText("%3d:%02d", minutes / 60, minutes % 60);
}

namespace {

// The columns a pay row has on screen and on paper, from the two names to the error count.
std::string SalaryColumns(const std::string& first, const std::string& second, const CSalary& row,
                          RowStyle style) {
    return FormatText(
        "%-20s  %-20s  %2d日  %2d日  %s  %s %s  %2d", first.c_str(), second.c_str(), row.nCutoff,
        row.nDays, HoursText(row.nWorkingMin).c_str(), HoursText(row.nOvertimeMin).c_str(),
        AmountsText(row.fSalary, row.fOvertimePay, row.Total(), style).c_str(), row.nErr);
}

}  // namespace

std::string SalaryRowText(const CSalary& row) {
    return " " + SalaryColumns(row.strUserName, row.strGroupName, row, RowStyle::Screen) + " ";
}

std::string SalaryPrintRowText(const CSalary& row) {
    return SalaryColumns(row.strGroupName, row.strUserName, row, RowStyle::Printed);
}

std::string SalaryEmptyText() {
    return FormatText(" %-105s", "計算されたデータが有りません。");
}

std::string SalaryTotalsText(const CSalaryTotals& totals, RowStyle style) {
    return AmountsText(totals.salary, totals.overtimePay, totals.Total(), style);
}

std::string CsvField(const std::string& text) {
    // Spreadsheets run a cell that starts with one of these as a formula; a leading
    // apostrophe makes them show it as text.
    std::string cell =
        !text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos
            ? "'" + text
            : text;
    if (cell.find_first_of(",\"\r\n") == std::string::npos) {
        return cell;
    }
    std::string quoted = "\"";
    for (char c : cell) {
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
        text += FormatText("%d,%d,%d,%d,%d,%d,%1.0f,%1.0f,%1.0f,%d\r\n", row.nCutoff, row.nDays,
                           row.nWorkingMin / 60, row.nWorkingMin % 60, row.nOvertimeMin / 60,
                           row.nOvertimeMin % 60, static_cast<double>(row.fSalary),
                           static_cast<double>(row.fOvertimePay), static_cast<double>(row.Total()),
                           row.nErr);
    }
    return text;
}

}  // namespace tokeiya
