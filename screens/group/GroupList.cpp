#include "screens/group/GroupList.hpp"

#include <cstdio>

#include "data/CTUserGroup.hpp"
#include "platform/TextHelpers.hpp"

namespace tokeiya {

bool CGroupList::Load(CConnection& connection) {
    std::vector<CUserGroup> rows;
    if (CTUserGroup(connection).LoadAll(rows) == 0) {
        return false;
    }
    m_rows = std::move(rows);
    m_asRead.Loaded(m_rows);
    return true;
}

bool CGroupList::AppendNewRow() {
    if (!m_rows.empty() && !IsComplete(m_rows.back())) {
        return false;
    }
    m_rows.emplace_back();
    return true;
}

bool CGroupList::IsComplete(const CUserGroup& group) {
    if (group.strGroupName.empty() || group.typeSalary < kSalaryMonthly ||
        group.typeSalary > kSalaryTimeBased || group.typeOvertime < 0 || group.typeOvertime > 4 ||
        group.flgRound < 0 || group.flgRound > 6 || group.nCutoff < 0 ||
        group.nCutoff > kLastCutoff) {
        return false;
    }
    if (group.typeOvertime == 0 && group.typeSalary != kSalaryTimeBased) {
        return true;
    }
    return group.nTimePerSalary != 0 && group.flgRound != 0;
}

std::string CGroupList::RowText(const CUserGroup& group) {
    char text[160];
    std::snprintf(text, sizeof text, "%02d  %s  %01d:%s  %01d:%s        %2d  %01d:%s    %2d",
                  group.idGroup, FitText(group.strGroupName, 20).c_str(), group.typeSalary,
                  FitText(group.strSalary, 4).c_str(), group.typeOvertime,
                  FitText(group.strOvertime, 10).c_str(), group.nTimePerSalary, group.flgRound,
                  FitText(group.strRound, 10).c_str(), group.nCutoff);
    return text;
}

}  // namespace tokeiya
