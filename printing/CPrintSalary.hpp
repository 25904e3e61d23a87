#pragma once

#include <vector>

#include "data/CSalary.hpp"
#include "printing/CCRPrinter.hpp"
#include "rows/SalaryRowText.hpp"

namespace tokeiya {

// The month's pay summary on paper: 20 rows a page under the month and the page number,
// and the totals after the last row. A last page that is full leaves the totals to a page
// of their own, so that a summary always ends with them.
class CPrintSalary : public CCRPrinter {
  public:
    static constexpr const char* kLayout = "PrintSalary.tgd";
    static constexpr const char* kDocumentName = "給料集計";
    static constexpr int kRowsPerPage = 20;
    static constexpr int kMargin = 150;
    static constexpr int kTotalsLabelColumn = 37;
    static constexpr int kTotalsColumn = 72;

    // Not owned: the rows and the totals, printed in list order.
    CPrintSalary(CPrintDC* printDC, const std::vector<CSalary>& rows, const CSalaryTotals& totals,
                 int year, int month);

    // The whole summary as one document; false when the printer failed.
    bool PrintSummary();
    // The pages, in a document the caller has started.
    void PrintSummaryPages();
    // Fills and prints page `page` (from 1); the next page's number, or -1 after the last.
    int PrintSummaryPage(int page);
    // Fills the cells of page `page` as PrintSummaryPage prints them.
    int FillSummaryPage(int page);
    int PageCount() const;

  private:
    const std::vector<CSalary>& m_rows;
    const CSalaryTotals& m_totals;
    int m_year;
    int m_month;
};

}  // namespace tokeiya
