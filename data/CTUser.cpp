#include "data/CTUser.hpp"

#include "data/CPasswordHash.hpp"
#include "data/TimeValue.hpp"

namespace tokeiya {

CTUser::CTUser(CConnection& connection, Mode mode) : CRecordBase(connection), m_mode(mode) {
    SetFieldDefaults();
    m_strSort = "[idUser]";
}

void CTUser::SetMode(Mode mode) {
    if (IsOpen()) {
        Close();
    }
    m_mode = mode;
}

std::string CTUser::GetDefaultSQL() const {
    return m_mode == Mode::View ? "[dbo].[Qユーザー]" : "[dbo].[Tユーザー]";
}

void CTUser::SetFieldDefaults() {
    m_idUser = 0;
    m_strUserName.clear();
    m_strPasswordHash.clear();
    m_idGroup = 0;
    m_nLevel = 1;
    m_fSalary = 0;
    m_fOvertimePay = 0;
    m_timeFrom = TimeOfDay(0, 0);
    m_timeTo = TimeOfDay(0, 0);
    m_nLunchMin = 60;
    m_nStartUpMin = 0;
    m_nCoolDownMin = 0;
    m_strGroupName.clear();
    m_typeSalary = 0;
    m_typeOvertime = 0;
    m_nTimePerSalary = 0;
    m_flgRound = 0;
    m_nCutoff = 0;
    m_strLevel = "ユーザー";
}

void CTUser::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("[idUser]", m_idUser);
    fx.Text("[strUserName]", m_strUserName);
    // The table keeps the column of the scrambled passwords empty; the view's column of
    // that name refuses copies of the program from before the hashes (see db/).
    fx.Text("[strPasswordHash]", m_strPasswordHash);
    fx.Long("[idGroup]", m_idGroup);
    fx.Long("[nLevel]", m_nLevel);
    fx.Single("[fSalary]", m_fSalary);
    fx.Single("[fOvertimePay]", m_fOvertimePay);
    fx.Date("[timeFrom]", m_timeFrom);
    fx.Date("[timeTo]", m_timeTo);
    fx.Long("[nLunchMin]", m_nLunchMin);
    fx.Long("[nStartUpMin]", m_nStartUpMin);
    fx.Long("[nCoolDownMin]", m_nCoolDownMin);
    if (m_mode == Mode::View) {
        fx.Text("[strGroupName]", m_strGroupName);
        fx.Long("[typeSalary]", m_typeSalary);
        fx.Long("[typeOvertime]", m_typeOvertime);
        fx.Long("[nTimePerSalary]", m_nTimePerSalary);
        fx.Long("[flgRound]", m_flgRound);
        fx.Long("[nCutoff]", m_nCutoff);
        fx.Text("[strLevel]", m_strLevel);
    }
}

CUser CTUser::ToUser() const {
    CUser user;
    user.idUser = m_idUser;
    user.strUserName = m_strUserName;
    user.strPasswordHash = m_strPasswordHash;
    user.idGroup = m_idGroup;
    user.nLevel = m_nLevel;
    user.fSalary = m_fSalary;
    user.fOvertimePay = m_fOvertimePay;
    user.timeFrom = m_timeFrom;
    user.timeTo = m_timeTo;
    user.nLunchMin = m_nLunchMin;
    user.nStartUpMin = m_nStartUpMin;
    user.nCoolDownMin = m_nCoolDownMin;
    user.strGroupName = m_strGroupName;
    user.typeSalary = m_typeSalary;
    user.typeOvertime = m_typeOvertime;
    user.nTimePerSalary = m_nTimePerSalary;
    user.flgRound = m_flgRound;
    user.nCutoff = m_nCutoff;
    user.strLevel = m_strLevel;
    return user;
}

void CTUser::FromUser(const CUser& user) {
    m_idUser = user.idUser;
    m_strUserName = user.strUserName;
    m_strPasswordHash = user.strPasswordHash;
    m_idGroup = user.idGroup;
    m_nLevel = user.nLevel;
    m_fSalary = user.fSalary;
    m_fOvertimePay = user.fOvertimePay;
    m_timeFrom = user.timeFrom;
    m_timeTo = user.timeTo;
    m_nLunchMin = user.nLunchMin;
    m_nStartUpMin = user.nStartUpMin;
    m_nCoolDownMin = user.nCoolDownMin;
}

CTUser::Login CTUser::VerifyLogin(const std::string& userName, const std::string& password,
                                  CUser& out) {
    SetMode(Mode::View);
    m_strFilter = "[strUserName]=?";
    m_params = {DbValue(userName)};
    // Names taken twice before they were refused: the oldest user keeps the login.
    m_strSort = "[idUser]";
    if (!Open()) {
        return Login::Unreadable;
    }
    if (IsEOF()) {
        return Login::UnknownUser;
    }
    CUser user = ToUser();
    if (!CPasswordHash::Verify(user.strPasswordHash, password)) {
        return Login::WrongPassword;
    }
    // Told only to whoever knows the password.
    if (user.nLevel == 0) {
        return Login::Retired;
    }
    out = std::move(user);
    return Login::Verified;
}

int CTUser::Save(CUser& user, const CUser* asRead) {
    SetMode(Mode::Table);
    std::function<void()> read;
    if (asRead != nullptr) {
        read = [this, asRead] { FromUser(*asRead); };
    }
    // The administration account keeps id 0: it is always updated, never added.
    return SaveUnderId(
        "[idUser]", user.idUser != 0 || user.nLevel > 3, user.idUser, [&] { FromUser(user); },
        read);
}

int CTUser::LoadList(std::vector<CUser>& list, int groupId, bool retired) {
    SetMode(Mode::View);
    m_strSort = "[idUser]";
    if (groupId == -1) {
        m_strFilter = "[idGroup]>0";
        m_params.clear();
    } else {
        m_strFilter = "[idGroup]=?";
        m_params = {DbValue(groupId)};
    }
    m_strFilter += retired ? " AND [nLevel]=0" : " AND [nLevel]<4 AND [nLevel]>0";
    // A failed read keeps the list the screen shows.
    if (!Open()) {
        return 0;
    }
    list.clear();
    for (; !IsEOF(); MoveNext()) {
        list.push_back(ToUser());
    }
    return 1;
}

int CTUser::LoadById(int userId, CUser& out) {
    SetMode(Mode::View);
    m_strSort = "[idUser]";
    m_strFilter = "[idUser]=?";
    m_params = {DbValue(userId)};
    if (!Open() || IsEOF()) {
        return 0;
    }
    out = ToUser();
    return 1;
}

bool CTUser::IsNameTaken(const std::string& userName, int exceptUserId, bool& taken) {
    SetMode(Mode::Table);
    m_strSort.clear();
    m_strFilter = "[strUserName]=? AND [idUser]<>?";
    m_params = {DbValue(userName), DbValue(exceptUserId)};
    if (!Open()) {
        return false;
    }
    taken = !IsEOF();
    return true;
}

}  // namespace tokeiya
