#include "data/CTUserGroup.hpp"

namespace tokeiya {

CTUserGroup::CTUserGroup(CConnection& connection, Mode mode)
    : CRecordBase(connection), m_mode(mode) {
    SetFieldDefaults();
    m_strSort = "[idGroup]";
}

void CTUserGroup::SetMode(Mode mode) {
    if (IsOpen()) {
        Close();
    }
    m_mode = mode;
}

std::string CTUserGroup::GetDefaultSQL() const {
    return m_mode == Mode::View ? "[dbo].[Qユーザーグループ]" : "[dbo].[Tユーザーグループ]";
}

void CTUserGroup::SetFieldDefaults() {
    const CUserGroup defaults;
    FromGroup(defaults);
    m_strSalary = defaults.strSalary;
    m_strOvertime = defaults.strOvertime;
    m_strRound = defaults.strRound;
}

void CTUserGroup::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("[idGroup]", m_idGroup);
    fx.Text("[strGroupName]", m_strGroupName);
    fx.Long("[typeSalary]", m_typeSalary);
    fx.Long("[typeOvertime]", m_typeOvertime);
    fx.Long("[nTimePerSalary]", m_nTimePerSalary);
    fx.Long("[flgRound]", m_flgRound);
    fx.Long("[nCutoff]", m_nCutoff);
    if (m_mode == Mode::View) {
        fx.Text("[strSalary]", m_strSalary);
        fx.Text("[strOvertime]", m_strOvertime);
        fx.Text("[strRound]", m_strRound);
    }
}

CUserGroup CTUserGroup::ToGroup() const {
    CUserGroup g;
    g.idGroup = m_idGroup;
    g.strGroupName = m_strGroupName;
    g.typeSalary = m_typeSalary;
    g.typeOvertime = m_typeOvertime;
    g.nTimePerSalary = m_nTimePerSalary;
    g.flgRound = m_flgRound;
    g.nCutoff = m_nCutoff;
    g.strSalary = m_strSalary;
    g.strOvertime = m_strOvertime;
    g.strRound = m_strRound;
    return g;
}

void CTUserGroup::FromGroup(const CUserGroup& g) {
    m_idGroup = g.idGroup;
    m_strGroupName = g.strGroupName;
    m_typeSalary = g.typeSalary;
    m_typeOvertime = g.typeOvertime;
    m_nTimePerSalary = g.nTimePerSalary;
    m_flgRound = g.flgRound;
    m_nCutoff = g.nCutoff;
}

int CTUserGroup::LoadAll(std::vector<CUserGroup>& list) {
    SetMode(Mode::View);
    m_strFilter.clear();
    m_params.clear();
    m_strSort = "[idGroup]";
    // A failed read keeps the list the screen shows.
    if (!Open()) {
        return 0;
    }
    list.clear();
    for (; !IsEOF(); MoveNext()) {
        list.push_back(ToGroup());
    }
    return 1;
}

int CTUserGroup::Save(CUserGroup& group, const CUserGroup* asRead) {
    SetMode(Mode::Table);
    std::function<void()> read;
    if (asRead != nullptr) {
        read = [this, asRead] { FromGroup(*asRead); };
    }
    return SaveUnderId(
        "[idGroup]", group.idGroup != 0, group.idGroup, [&] { FromGroup(group); }, read);
}

}  // namespace tokeiya
