#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "screens/base/CCRWA_List.hpp"
#include "screens/user/UserList.hpp"

namespace tokeiya {

class CIIBase;
class CIIDbCodeMenu;

// The users edited in place, one line each: name, password, group, level, pay rates and
// contractual hours, with a blank line at the end for a new user. The list shows every
// group or one (the filter on line 1), and either the active users or, while key 5 is on,
// the retired ones. Users are never deleted here; a user given level 0 leaves the active
// list at the next reload.
class CCRWA_User : public CCRWA_List {
  public:
    static constexpr int kPageRows = 25;
    static constexpr int kFirstLine = 3;
    // Columns 0..7 edit the cursor row's fields; column 8 is the group filter.
    static constexpr int kColumns = 8;
    static constexpr int kFilterColumn = 8;

    explicit CCRWA_User(CTokeiyaView& view);
    ~CCRWA_User() override;

    void InitScreen() override;
    bool OnFunctionKey(int key, int labelSet, int modifiers) override;

    const CUserList& List() const { return m_list; }
    int FilterId() const { return m_filterId; }
    const std::string& FilterName() const { return m_filterName; }
    bool ShowsRetired() const { return m_retired; }

    // Told when a new user would need the administration level, which is not added here.
    static constexpr const char* kNoNewAdministrator = "レベル4以上のユーザーは追加できません。";
    // Told when a pay amount would not be stored as typed.
    static constexpr const char* kAmountNotExact =
        "この金額は正確に保存できません。16777216 以下にしてください。";
    // Told on the title line when a user is refused a value.
    static constexpr const char* kNoAdministrator = "レベル4以上には変更できません。";
    static constexpr const char* kNameTaken = "同じ名前のユーザーがすでにいます。";
    static constexpr const char* kNameUnchecked = "名前を確かめられませんでした。";
    static constexpr const char* kNoTime = "時刻を入力してください。";

  protected:
    int RowCount() const override { return m_list.Count(); }
    std::string RowText(int position) const override;
    bool AppendRow() override;
    bool CheckEdit(int position, int column) override;
    StoreResult StoreRow(int position) override;
    void OnFilterChosen() override;

  private:
    void CreateItems();
    // Reads the list of the filter and the key 5 choice again and shows it.
    void Reload();
    void DrawFilter();
    void BindField(int column, CIIBase& item, CUser& user);
    // False, with the reason, when another user has the row's name.
    bool CheckName(const CUser& user);

    CUserList m_list;
    int m_filterId = -1;
    std::string m_filterName;
    bool m_retired = false;
    // The password editor's text: it opens empty, and what is typed replaces the row's
    // password (hashed at once), nothing typed keeps it.
    std::string m_typedPassword;
    // The password typed for the row being stored, for the remembered login.
    std::optional<std::string> m_newPassword;
    std::array<std::unique_ptr<CIIBase>, kColumns> m_items;
    std::unique_ptr<CIIDbCodeMenu> m_groupMenu;
    std::unique_ptr<CIIDbCodeMenu> m_levelMenu;
    std::unique_ptr<CIIDbCodeMenu> m_filterMenu;
};

}  // namespace tokeiya
