#pragma once

#include <array>
#include <memory>
#include <string>

#include "screens/base/CCRWA_Tokeiya.hpp"
#include "screens/user/UserList.hpp"

namespace tokeiya {

class CIIBase;
class CIIDbCodeMenu;

// The users edited in place, one line each: name, password, group, level, pay rates and
// contractual hours, with a blank line at the end for a new user. The list shows every
// group or one (the filter on line 1), and either the active users or, while key 5 is on,
// the retired ones. Users are never deleted here; a user given level 0 leaves the active
// list at the next reload.
class CCRWA_User : public CCRWA_Tokeiya {
  public:
    static constexpr int kCode = 102;
    static constexpr int kPageRows = 25;
    static constexpr int kFirstLine = 3;
    // Columns 0..7 edit the cursor row's fields; column 8 is the group filter.
    static constexpr int kColumns = 8;
    static constexpr int kFilterColumn = 8;

    explicit CCRWA_User(CTokeiyaView& view);
    ~CCRWA_User() override;

    void InitScreen() override;
    void Activate() override;
    bool OnFunctionKey(int key, int labelSet, int modifiers) override;
    bool OnExitKey(int virtualKey, int modifiers) override;
    bool OnLButtonDown(int keys, int x, int y) override;
    bool OnRButtonDown(int keys, int x, int y) override;
    void OnThumbPosition(CCRWScrollBar* bar, int position) override;

    // Row `position` (absolute) made visible and column 0 of it focused, once the edit in
    // progress is stored.
    void OnScroll(int position);

    const CUserList& List() const { return m_list; }
    int Top() const { return m_top; }
    int Cursor() const { return m_cursor; }
    int Column() const { return m_column; }
    bool MenuOpen() const { return m_menuOpen; }
    int FilterId() const { return m_filterId; }
    const std::string& FilterName() const { return m_filterName; }
    bool ShowsRetired() const { return m_retired; }
    CCRWScrollBar* ScrollBar() const { return m_scrollBar; }

    // Told when a new user would need the administration level, which is not added here.
    static constexpr const char* kNoNewAdministrator = "レベル4以上のユーザーは追加できません。";

  private:
    void CreateItems();
    void Load();
    void AppendBlank();
    void DrawFilter();
    void DrawRows();
    void DrawRow(int index);
    void MakeVisible(int row);
    void ShowScrollBar(bool shown);
    // Closes any editor and opens the field of `column` on screen row `cursor` (its code
    // list when `menu`), or the filter for column 8.
    void Focus(int cursor, int column, bool menu);
    // The field of `column` placed on `line` and bound to `user`.
    CIIBase* PlaceItem(int column, bool menu, int line, CUser& user);
    // Takes and checks the open editor's value and stores the row when it changed. False
    // when the value was refused: it is back as before, with a beep, and the field (or its
    // code list) open again.
    bool StoreEdit();
    bool CheckRowValue(CUser& user);
    void StoreRow(CUser& user);
    void ApplyFilter();
    void MoveByKey(int virtualKey);
    // One row down (a new blank row first when on the last) or up; false when there is
    // none.
    bool MoveDown();
    bool MoveUp();
    // The screen row and column under a mouse position; false outside the regions.
    bool CellAt(int x, int y, int& row, int& column) const;
    bool Click(int x, int y, bool right);
    int Position() const { return m_top + m_cursor; }
    CConnection* Database() const;

    CUserList m_list;
    int m_filterId = -1;
    std::string m_filterName;
    bool m_retired = false;
    int m_top = 0;
    int m_cursor = 0;
    int m_column = 0;
    bool m_menuOpen = false;
    std::array<std::unique_ptr<CIIBase>, kColumns> m_items;
    std::unique_ptr<CIIDbCodeMenu> m_groupMenu;
    std::unique_ptr<CIIDbCodeMenu> m_levelMenu;
    std::unique_ptr<CIIDbCodeMenu> m_filterMenu;
    CCRWScrollBar* m_scrollBar = nullptr;  // owned by the window while shown
};

}  // namespace tokeiya
