#include "data/CTSalary.hpp"

namespace tokeiya {

CTSalary::CTSalary(CConnection& connection) : CRecordBase(connection) {
    SetFieldDefaults();
    m_strSort = "[idGroup],[idSalary]";
}

void CTSalary::SetFieldDefaults() {
    m_idSalary = m_idUser = m_idGroup = 0;
    m_nWorkingMin = m_nOvertimeMin = m_nYear = m_nMonth = 0;
    m_fSalary = m_fOvertimePay = 0;
    m_nDays = m_nErr = m_nCutoff = 0;
    m_strUserName.clear();
    m_strGroupName.clear();
}

void CTSalary::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("[idSalary]", m_idSalary);
    fx.Long("[idUser]", m_idUser);
    fx.Long("[idGroup]", m_idGroup);
    fx.Long("[nWorkingMin]", m_nWorkingMin);
    fx.Long("[nOvertimeMin]", m_nOvertimeMin);
    fx.Long("[nYear]", m_nYear);
    fx.Long("[nMonth]", m_nMonth);
    fx.Single("[fSalary]", m_fSalary);
    fx.Single("[fOvertimePay]", m_fOvertimePay);
    fx.Long("[nDays]", m_nDays);
    fx.Long("[nErr]", m_nErr);
    fx.Text("[strUserName]", m_strUserName);
    fx.Text("[strGroupName]", m_strGroupName);
    fx.Long("[nCutoff]", m_nCutoff);
}

CSalary CTSalary::ToSalary() const {
    CSalary s;
    s.idSalary = m_idSalary;
    s.idUser = m_idUser;
    s.idGroup = m_idGroup;
    s.nWorkingMin = m_nWorkingMin;
    s.nOvertimeMin = m_nOvertimeMin;
    s.nYear = m_nYear;
    s.nMonth = m_nMonth;
    s.fSalary = m_fSalary;
    s.fOvertimePay = m_fOvertimePay;
    s.nDays = m_nDays;
    s.nErr = m_nErr;
    s.strUserName = m_strUserName;
    s.strGroupName = m_strGroupName;
    s.nCutoff = m_nCutoff;
    return s;
}

int CTSalary::LoadMonth(int year, int month, int groupId, std::vector<CSalary>& list) {
    Close();
    m_strFilter = "[nYear]=? AND [nMonth]=?";
    m_params = {DbValue(year), DbValue(month)};
    if (groupId != -1) {
        m_strFilter += " AND [idGroup]=?";
        m_params.emplace_back(groupId);
    }
    // A failed read keeps the list the screen shows.
    if (!Open()) {
        return 0;
    }
    list.clear();
    for (; !IsEOF(); MoveNext()) {
        list.push_back(ToSalary());
    }
    return 1;
}

int CTSalary::LoadUserMonth(int userId, int year, int month, CSalary& salary) {
    Close();
    m_strFilter = "[idUser]=? AND [nYear]=? AND [nMonth]=?";
    m_params = {DbValue(userId), DbValue(year), DbValue(month)};
    if (!Open()) {
        return 0;
    }
    salary = IsEOF() ? CSalary{} : ToSalary();
    return 1;
}

}  // namespace tokeiya
