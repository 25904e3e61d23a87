#include "printing/CPrintSalary.hpp"

#include <algorithm>

#include "rows/FormatText.hpp"

namespace tokeiya {

using rows::FormatText;

CPrintSalary::CPrintSalary(CPrintDC* printDC, const std::vector<CSalary>& rows,
                           const CSalaryTotals& totals, int year, int month)
    : CCRPrinter(printDC), m_rows(rows), m_totals(totals), m_year(year), m_month(month) {
    LoadFromPackage(kLayout);
    SetMargins(kMargin, kMargin, kMargin, kMargin, true);
}

int CPrintSalary::PageCount() const {
    // A full last page is followed by one for the totals alone.
    return static_cast<int>(m_rows.size()) / kRowsPerPage + 1;
}

int CPrintSalary::FillSummaryPage(int page) {
    ClearCells(1, false);
    PutText(FormatText("%4d 年 %2d 月分給料", m_year, m_month), 1, 0, false);
    const std::string number = FormatText("Page-%d", page);
    PutText(number, Cols() - static_cast<int>(number.size()) - 1, 0, false);
    const auto first = static_cast<size_t>(page - 1) * kRowsPerPage;
    int n = 0;
    for (; n < kRowsPerPage && first + static_cast<size_t>(n) < m_rows.size(); ++n) {
        PutText(SalaryPrintRowText(m_rows[first + static_cast<size_t>(n)]), 1, n + 2, false);
    }
    if (first + static_cast<size_t>(n) < m_rows.size() || n == kRowsPerPage) {
        return page + 1;
    }
    PutText("合  計", kTotalsLabelColumn, n + 2, false);
    PutText(SalaryTotalsText(m_totals, RowStyle::Printed), kTotalsColumn, n + 2, false);
    return -1;
}

int CPrintSalary::PrintSummaryPage(int page) {
    const int next = FillSummaryPage(page);
    PrintWholePage();
    return next;
}

void CPrintSalary::PrintSummaryPages() {
    for (int page = 1; page != -1;) {
        page = PrintSummaryPage(page);
    }
}

bool CPrintSalary::PrintSummary() {
    if (PrintDC() == nullptr || !PrintDC()->StartDoc(kDocumentName)) {
        return false;
    }
    PrintSummaryPages();
    return PrintDC()->EndDoc();
}

}  // namespace tokeiya
