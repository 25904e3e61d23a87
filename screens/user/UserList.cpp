#include "screens/user/UserList.hpp"

#include <cstdio>

#include "data/CTUser.hpp"
#include "platform/TextHelpers.hpp"
#include "rows/TimeCardRowText.hpp"

namespace tokeiya {

namespace {

constexpr int kNameWidth = 20;
constexpr int kPasswordWidth = 10;
constexpr int kGroupNameWidth = 20;
constexpr int kLevelNameWidth = 10;

}  // namespace

bool CUserList::Load(CConnection& connection, int groupId, bool retired) {
    std::vector<CUser> rows;
    if (CTUser(connection, CTUser::Mode::View).LoadList(rows, groupId, retired) == 0) {
        return false;
    }
    m_rows = std::move(rows);
    m_asRead.Loaded(m_rows);
    return true;
}

bool CUserList::AppendBlank(int groupId, const std::string& groupName,
                            const std::string& levelName) {
    if (!CanAppend()) {
        return false;
    }
    CUser user;
    if (groupId != -1) {
        user.idGroup = groupId;
        user.strGroupName = groupName;
    }
    user.strLevel = levelName;
    m_rows.push_back(std::move(user));
    return true;
}

bool CUserList::CanAppend() const {
    return m_rows.empty() || IsComplete(m_rows.back());
}

bool CUserList::IsComplete(const CUser& user) {
    return !user.strUserName.empty() && user.idGroup != 0;
}

std::string CUserList::MaskedPassword(const std::string& passwordHash) {
    return passwordHash.empty() ? std::string() : std::string(8, '*');
}

std::string CUserList::RowText(const CUser& user) {
    char id[16];
    std::snprintf(id, sizeof id, "%4d  ", user.idUser);
    char group[16];
    std::snprintf(group, sizeof group, "%02d:", user.idGroup);
    char level[16];
    std::snprintf(level, sizeof level, "%1d:", user.nLevel);
    char pay[48];
    std::snprintf(pay, sizeof pay, "%8.0f  %8.0f  ", static_cast<double>(user.fSalary),
                  static_cast<double>(user.fOvertimePay));
    return id + FitText(user.strUserName, kNameWidth) + "  " +
           FitText(MaskedPassword(user.strPasswordHash), kPasswordWidth) + "  " + group +
           FitText(user.strGroupName, kGroupNameWidth) + "  " + level +
           FitText(user.strLevel, kLevelNameWidth) + "  " + pay + CardTimeText(user.timeFrom) +
           "  " + CardTimeText(user.timeTo);
}

std::string CUserList::FilterText(int groupId, const std::string& groupName) {
    if (groupId == -1) {
        return "全員" + std::string(20, ' ');
    }
    char code[16];
    std::snprintf(code, sizeof code, "%02d:", groupId);
    return code + FitText(groupName, kGroupNameWidth);
}

}  // namespace tokeiya
