#include "data/CTLogin.hpp"

namespace tokeiya {

CTLogin::CTLogin(CConnection& connection) : CRecordBase(connection) {
    SetFieldDefaults();
}

void CTLogin::SetFieldDefaults() {
    m_idLogin = 0;
    m_idUser = 0;
    m_strPCName.clear();
    m_dateLogin = CTime();
    m_dateLogout = CTime();
}

void CTLogin::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("[idLogin]", m_idLogin);
    fx.Long("[idUser]", m_idUser);
    fx.Text("[strPCName]", m_strPCName);
    fx.Date("[dateLogin]", m_dateLogin);
    fx.Date("[dateLogout]", m_dateLogout);
}

int CTLogin::RecordLogin(int userId, const std::string& computerName) {
    Close();
    m_strFilter = "[idUser]=? AND [strPCName]=?";
    m_params = {DbValue(userId), DbValue(computerName)};
    if (!Open()) {
        return 0;
    }
    if (IsEOF()) {
        AddNew();
        m_idUser = userId;
        m_strPCName = computerName;
        try {
            CDatabase::ExpectedErrors quiet(Connection().Database());
            Update();
        } catch (const CDBException& e) {
            // Another copy on this computer created the row first; use that one.
            if (!e.IsConstraintViolation()) {
                Connection().Database().ReportError(e);
                throw;
            }
            CancelUpdate();
        }
        if (!Requery() || IsEOF()) {
            return 0;
        }
    }
    int loginId = m_idLogin;
    Edit();
    m_dateLogin = CTime::GetCurrentTime();
    Update();
    return loginId;
}

int CTLogin::RecordLogout(int loginId) {
    return RecordLogout(loginId, CTime::GetCurrentTime());
}

int CTLogin::RecordLogout(int loginId, const CTime& at) {
    Close();
    m_strFilter = "[idLogin]=?";
    m_params = {DbValue(loginId)};
    if (!Open() || IsEOF()) {
        return 0;
    }
    Edit();
    m_dateLogout = at;
    Update();
    return 1;
}

}  // namespace tokeiya
