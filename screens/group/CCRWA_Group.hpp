#pragma once

#include <array>
#include <memory>

#include "screens/base/CCRWA_Tokeiya.hpp"
#include "screens/group/GroupList.hpp"

namespace tokeiya {

class CIIDbCodeMenu;

// The pay groups, edited in place: name, pay type, overtime rule, pay unit, rounding mode
// and closing day of each, one row per group and a blank row at the end for a new one.
// A change is stored as soon as the cursor leaves its field, provided the group is
// complete; an unfinished group stays on the screen only. Groups are never deleted here.
class CCRWA_Group : public CCRWA_Tokeiya {
  public:
    static constexpr int kCode = 101;
    static constexpr int kPageRows = 25;
    static constexpr int kFirstLine = 3;
    // Name, pay type, overtime rule, unit, rounding mode, closing day.
    static constexpr int kColumns = 6;

    explicit CCRWA_Group(CTokeiyaView& view);
    ~CCRWA_Group() override;

    void InitScreen() override;
    void Activate() override;
    bool OnFunctionKey(int key, int labelSet, int modifiers) override;
    bool OnExitKey(int virtualKey, int modifiers) override;
    bool OnLButtonDown(int keys, int x, int y) override;
    bool OnRButtonDown(int keys, int x, int y) override;
    void OnThumbPosition(CCRWScrollBar* bar, int position) override;

    // The scroll bar moved to row `position` (absolute): once the edit in progress is
    // stored, that row is made visible and the cursor goes to its first field.
    void OnScroll(int position);

    const CGroupList& List() const { return m_list; }
    int Top() const { return m_top; }
    int Cursor() const { return m_cursor; }
    int Column() const { return m_column; }
    bool MenuOpen() const { return m_menuOpen; }
    CCRWScrollBar* ScrollBar() const { return m_scrollBar; }

  private:
    void CreateItems();
    void LoadList();
    void DrawRows();
    void DrawRow(int screenRow);
    // Closes any editor and opens the field of `column` on screen row `cursor`, or its code
    // list with `menu` (only the code columns have one).
    void Focus(int cursor, int column, bool menu);
    void ShowScrollBar(bool shown);
    // Takes and stores the open editor's value. False when the value was refused: the
    // previous value is back, with a beep, and the field (its list, where it has one) open
    // again.
    bool StoreEdit();
    // The name of the cursor row's code in the edited column, from that code's list; false
    // when the list lacks the code.
    bool TakeCodeName(CUserGroup& group);
    void StoreGroup(CUserGroup& group);
    void MoveByKey(int virtualKey);
    void MoveUp();
    void MoveDown();
    void MakeVisible(int row);
    // The list row and column of a mouse position; false outside the rows of the list.
    bool CellAt(int x, int y, int& screenRow, int& column) const;
    static bool HasMenu(int column);
    CUserGroup& CursorGroup();
    CConnection* Database() const;

    CGroupList m_list;
    int m_top = 0;
    int m_cursor = 0;
    int m_column = 0;
    bool m_menuOpen = false;
    std::array<std::unique_ptr<CIIBase>, kColumns> m_fields;
    // The code lists of the pay type, overtime rule and rounding mode; null elsewhere.
    std::array<std::unique_ptr<CIIDbCodeMenu>, kColumns> m_menus;
    CCRWScrollBar* m_scrollBar = nullptr;  // owned by the window while shown
};

}  // namespace tokeiya
