#pragma once

#include <string>
#include <vector>

#include "data/CSalary.hpp"

namespace tokeiya {

// The month's pay totals: the base pay and the overtime pay summed row by row (each
// addition in extended precision, kept as float), and their total in single precision, as
// the list shows it and the summary prints it.
struct CSalaryTotals {
    float salary = 0;
    float overtimePay = 0;

    void Add(const CSalary& row);
    float Total() const { return salary + overtimePay; }
    static CSalaryTotals Of(const std::vector<CSalary>& rows);
};

// How a row gives its amounts: the list shows whole numbers in 9 columns, paper shows them
// with digit groups ("1,234") in 11.
enum class RowStyle { Screen, Printed };

// Three amounts, one blank between them, in the style's columns.
std::string AmountsText(double first, double second, double third, RowStyle style);
// Minutes as hours and minutes, "hhh:mm".
std::string HoursText(int minutes);

// A pay row as the salary list shows it: user and group name, closing day, days, working
// and overtime hours, base pay, overtime pay, total and error count. 106 columns for names
// of up to 20 bytes; a longer name is kept whole and pushes the rest right.
std::string SalaryRowText(const CSalary& row);
// The same row on paper: group name before user name, grouped amounts, no blank around it.
std::string SalaryPrintRowText(const CSalary& row);
// The list's first line when the month has no results, 106 columns.
std::string SalaryEmptyText();
// Base pay, overtime pay and total under the list's amount columns.
std::string SalaryTotalsText(const CSalaryTotals& totals, RowStyle style = RowStyle::Screen);

// The export of a pay list: "氏名,グループ,..." and one line per row, CP932 with CR LF. A name
// holding a comma, a double quote or a line break is enclosed in double quotes with its
// quotes doubled, so that spreadsheets keep the columns; a name starting with "=", "+", "-"
// or "@" gets a leading "'" so that it is never run as a formula. Amounts are plain numbers.
std::string SalaryCsvText(const std::vector<CSalary>& rows);
// One field of such a file.
std::string CsvField(const std::string& text);

}  // namespace tokeiya
