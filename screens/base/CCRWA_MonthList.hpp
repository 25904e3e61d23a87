#pragma once

#include <memory>
#include <string>

#include "screens/base/CCRWA_List.hpp"

namespace tokeiya {

class CIISelecter;

// A list of the work context's month and group that is read, not edited: a bar over one
// row at a time, keys 2, 3 and 4 for the month before, this month and the next, Enter and a
// double click opening the row, and the names of the files it saves. A month not chosen
// yet becomes the pay month before today's.
class CCRWA_MonthList : public CCRWA_List {
  public:
    static constexpr int kPageRows = 25;
    static constexpr int kFirstLine = 3;
    // Where a month list of rows `rowWidth` cells wide stands: a page of 25 rows from line
    // 3, from column 1, with the scroll bar in column 107.
    static constexpr ListLayout LayoutOf(int rowWidth) {
        return {kFirstLine, kPageRows, 1, rowWidth, 107};
    }

    CCRWA_MonthList(CTokeiyaView& view, const std::string& drawingName, const std::string& menuName,
                    const ListLayout& layout);
    ~CCRWA_MonthList() override;

    bool OnExitKey(int virtualKey, int modifiers) override;
    bool OnLButtonDblClk(int keys, int x, int y) override;

  protected:
    // The bar over the rows, with `filter` above the list where it has one.
    void SetRowBar(ListFilter filter = {});
    // Reads the list of the work context's month and group and draws it.
    virtual void LoadAndDraw() = 0;
    // Enter or a double click on the cursor's row.
    virtual void OpenRow() = 0;
    // Keys 2, 3 and 4 change the month and read the list again; false for other keys.
    bool StepMonth(int key);
    // The bar back on the cursor's row.
    void FocusRow() { Focus(Cursor(), 0, false); }
    // "yyyy 年 mm 月分" and `what` on the title line.
    void DrawMonthTitle(const std::string& what);
    // "yyyy年mm月" with the group's name and `what`: the name proposed for a saved file.
    std::string MonthFileName(const std::string& what) const;

  private:
    ListLayout m_layout;
    std::unique_ptr<CIISelecter> m_rowBar;
};

}  // namespace tokeiya
