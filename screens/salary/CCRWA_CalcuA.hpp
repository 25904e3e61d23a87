#pragma once

#include <memory>

#include "screens/base/CCRWA_MonthList.hpp"
#include "screens/base/CReportOutput.hpp"
#include "screens/salary/SalaryList.hpp"

namespace tokeiya {

class CIIDbCodeMenu;
struct WorkContext;

// The monthly pay list of every group or of one, for the month of the work context: the
// database recalculates it on request, it is exported as CSV, and a row opens that user's
// time card. The cursor is a bar over one of 25 rows on screen, or the group field's list
// is open.
class CCRWA_CalcuA : public CCRWA_MonthList {
  public:
    explicit CCRWA_CalcuA(CTokeiyaView& view);
    ~CCRWA_CalcuA() override;

    void InitScreen() override;
    bool OnFunctionKey(int key, int labelSet, int modifiers) override;

    void Recalculate();
    void ExportCsv();
    // Key 11 and 12: the month's pay summary and every listed user's time card, on the
    // printer of their setting or, with `toPdf`, into a PDF file.
    void PrintSummary(bool toPdf);
    void PrintTimeCards(bool toPdf);

    const CSalaryList& List() const { return m_list; }
    // 0 while the bar is on the rows, 1 while the group list is open.
    int Mode() const { return OnFilter() ? 1 : 0; }

  protected:
    int RowCount() const override { return m_list.Count(); }
    std::string RowText(int position) const override;
    std::string EmptyListText() const override;
    void DrawFooter() override;
    void OnFilterChosen() override;
    void LoadAndDraw() override;
    // The cursor's user's time card.
    void OpenRow() override;

  private:
    void DrawHeader();

    CSalaryList m_list;
    std::unique_ptr<CIIDbCodeMenu> m_groupMenu;
};

}  // namespace tokeiya
