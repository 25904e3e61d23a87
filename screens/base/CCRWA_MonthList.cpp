#include "screens/base/CCRWA_MonthList.hpp"

#include <cstdio>

#include "screens/base/MonthKeys.hpp"
#include "widgets/CIISelecter.hpp"

namespace tokeiya {

using namespace win;

CCRWA_MonthList::CCRWA_MonthList(CTokeiyaView& view, const std::string& drawingName,
                                 const std::string& menuName, const ListLayout& layout)
    : CCRWA_List(view, drawingName, menuName, layout), m_layout(layout) {
    const CTime today = CTime::GetCurrentTime();
    Work().ChooseSalaryMonth(today.GetYear(), today.GetMonth());
}

CCRWA_MonthList::~CCRWA_MonthList() {
    CloseEditor();
}

void CCRWA_MonthList::SetRowBar(ListFilter filter) {
    m_rowBar = std::make_unique<CIISelecter>(m_layout.rowColumn, m_layout.firstLine,
                                             m_layout.rowWidth, false);
    SetFields({{m_layout.rowColumn,
                m_layout.rowColumn,
                m_layout.rowWidth,
                m_rowBar.get(),
                nullptr,
                0,
                {}}},
              filter);
}

bool CCRWA_MonthList::StepMonth(int key) {
    if (!StepWorkMonth(key, Work())) {
        return false;
    }
    CloseEditor();
    LoadAndDraw();
    FocusRow();
    return true;
}

void CCRWA_MonthList::DrawMonthTitle(const std::string& what) {
    char month[32];
    std::snprintf(month, sizeof month, "%4d 年 %2d 月分", Work().year, Work().month);
    PutText(what.empty() ? std::string(month) : month + (" " + what), 2, 1, true);
}

std::string CCRWA_MonthList::MonthFileName(const std::string& what) const {
    return tokeiya::MonthFileName(Work().year, Work().month, Work().groupName + what);
}

bool CCRWA_MonthList::OnExitKey(int virtualKey, int modifiers) {
    if (virtualKey == VK_RETURN && !OnFilter()) {
        if (Position() < RowCount()) {
            OpenRow();
        } else {
            FocusRow();
        }
        return true;
    }
    return CCRWA_List::OnExitKey(virtualKey, modifiers);
}

bool CCRWA_MonthList::OnLButtonDblClk(int, int x, int y) {
    int row = 0;
    int column = 0;
    if (OnFilter() || !FieldAt(x, y, row, column) || column != 0) {
        return OnFilter();
    }
    if (Top() + row < RowCount()) {
        Focus(row, 0, false);
        OpenRow();
    }
    return true;
}

}  // namespace tokeiya
