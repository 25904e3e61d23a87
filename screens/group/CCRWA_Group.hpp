#pragma once

#include <array>
#include <memory>

#include "screens/base/CCRWA_List.hpp"
#include "screens/group/GroupList.hpp"

namespace tokeiya {

class CIIDbCodeMenu;

// The pay groups, edited in place: name, pay type, overtime rule, pay unit, rounding mode
// and closing day of each, one row per group and a blank row at the end for a new one.
// A change is stored as soon as the cursor leaves its field, provided the group is
// complete; an unfinished group stays on the screen only. Groups are never deleted here.
class CCRWA_Group : public CCRWA_List {
  public:
    static constexpr int kPageRows = 25;
    static constexpr int kFirstLine = 3;
    // Name, pay type, overtime rule, unit, rounding mode, closing day.
    static constexpr int kColumns = 6;

    explicit CCRWA_Group(CTokeiyaView& view);
    ~CCRWA_Group() override;

    void InitScreen() override;
    bool OnFunctionKey(int key, int labelSet, int modifiers) override;

    const CGroupList& List() const { return m_list; }

  protected:
    int RowCount() const override { return m_list.Count(); }
    std::string RowText(int position) const override;
    bool AppendRow() override { return m_list.AppendNewRow(); }
    bool CheckEdit(int position, int column) override;
    StoreResult StoreRow(int position) override;
    std::string RowMissingText() const override;

  private:
    void CreateItems();
    void LoadList();
    CUserGroup& Row(int position) { return m_list.Rows()[static_cast<size_t>(position)]; }

    CGroupList m_list;
    std::array<std::unique_ptr<CIIBase>, kColumns> m_items;
    // The code lists of the pay type, overtime rule and rounding mode; null elsewhere.
    std::array<std::unique_ptr<CIIDbCodeMenu>, kColumns> m_menus;
};

}  // namespace tokeiya
