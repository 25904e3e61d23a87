#pragma once

#include <vector>

#include "data/CRecordBase.hpp"
#include "data/CUserGroup.hpp"

namespace tokeiya {

// The pay groups: view mode reads [dbo].[Qユーザーグループ] (with the code names), table
// mode reads and writes [dbo].[Tユーザーグループ].
class CTUserGroup : public CRecordBase {
  public:
    enum class Mode { View, Table };

    explicit CTUserGroup(CConnection& connection, Mode mode = Mode::Table);

    Mode GetMode() const { return m_mode; }
    // Changing the mode closes the record set first.
    void SetMode(Mode mode);

    // Every group; the list is emptied first.
    [[nodiscard]] int LoadAll(std::vector<CUserGroup>& list);
    // Updates the group's row, or inserts it under the next free id (written back into
    // `group`) when it has none yet. 0 when the row to update is missing. With `asRead`, the
    // row as the caller read it, an update writes only the columns in which `group` differs
    // from it.
    [[nodiscard]] int Save(CUserGroup& group, const CUserGroup* asRead = nullptr);

    CUserGroup ToGroup() const;
    void FromGroup(const CUserGroup& group);

    int m_idGroup;
    std::string m_strGroupName;
    int m_typeSalary;
    int m_typeOvertime;
    int m_nTimePerSalary;
    int m_flgRound;
    int m_nCutoff;
    std::string m_strSalary;
    std::string m_strOvertime;
    std::string m_strRound;

  protected:
    std::string GetDefaultSQL() const override;
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;

  private:
    Mode m_mode;
};

}  // namespace tokeiya
