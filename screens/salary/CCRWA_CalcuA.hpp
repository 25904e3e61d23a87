#pragma once

#include <memory>

#include "screens/base/CCRWA_Tokeiya.hpp"
#include "screens/salary/SalaryList.hpp"

namespace tokeiya {

class CIISelecter;
class CIIDbCodeMenu;
struct WorkContext;

// The monthly pay list of every group or of one, for the month of the work context: the
// database recalculates it on request, it is exported as CSV, and a row opens that user's
// time card. The cursor is a bar over one of 25 rows on screen (mode 0), or the group
// field's list is open (mode 1).
class CCRWA_CalcuA : public CCRWA_Tokeiya {
  public:
    static constexpr int kCode = 103;
    static constexpr int kPageRows = 25;
    static constexpr int kFirstLine = 3;

    // A month not chosen yet becomes the calendar month before today's.
    explicit CCRWA_CalcuA(CTokeiyaView& view);
    ~CCRWA_CalcuA() override;

    void InitScreen() override;
    void Activate() override;
    bool OnFunctionKey(int key, int labelSet, int modifiers) override;
    bool OnExitKey(int virtualKey, int modifiers) override;
    bool OnLButtonDown(int keys, int x, int y) override;
    bool OnRButtonDown(int keys, int x, int y) override;
    bool OnLButtonDblClk(int keys, int x, int y) override;
    void OnThumbPosition(CCRWScrollBar* bar, int position) override;

    // Row `position` (absolute) made visible, the rows redrawn, the bar on it.
    void OnScroll(int position);
    void Recalculate();
    void ExportCsv();

    const CSalaryList& List() const { return m_list; }
    int Top() const { return m_top; }
    int Cursor() const { return m_cursor; }
    int Mode() const { return m_mode; }
    CCRWScrollBar* ScrollBar() const { return m_scrollBar; }

  private:
    static WorkContext& Work();
    void LoadAndDraw();
    void DrawHeader();
    void DrawRows();
    // Closes any editor and opens the row bar (mode 0) or the group list (mode 1).
    void Focus(int cursor, int mode);
    void MakeVisible(int row);
    void ShowScrollBar(bool shown);
    void MoveByKey(int virtualKey);
    // Takes a group chosen in the open list; true when the list was reloaded for it.
    bool CommitGroup();
    void ChangeMonth(int year, int month);
    void OpenTimeCard();
    // The screen row under a mouse position (part 0) or the group field (part 1).
    bool PartAt(int x, int y, int& row, int& part) const;
    CConnection* Database() const;

    CSalaryList m_list;
    int m_top = 0;
    int m_cursor = 0;
    int m_mode = 0;
    std::unique_ptr<CIISelecter> m_rowBar;
    std::unique_ptr<CIIDbCodeMenu> m_groupMenu;
    CCRWScrollBar* m_scrollBar = nullptr;  // owned by the window while shown
};

}  // namespace tokeiya
