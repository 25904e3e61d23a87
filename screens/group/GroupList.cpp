#include "screens/group/GroupList.hpp"

#include <cstdio>

#include "data/CTUserGroup.hpp"
#include "platform/TextHelpers.hpp"

namespace tokeiya {

namespace {

// A name in a field of `width` bytes: cut (never inside a character) or padded, so that a
// long name from the database does not push the later values away from their fields.
std::string Field(const std::string& text, int width) {
    return PadText(LeftBytes(text, width, false), width, true);
}

}  // namespace

bool CGroupList::Load(CConnection& connection) {
    std::vector<CUserGroup> rows;
    if (CTUserGroup(connection).LoadAll(rows) == 0) {
        return false;
    }
    m_rows = std::move(rows);
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
                  group.idGroup, Field(group.strGroupName, 20).c_str(), group.typeSalary,
                  Field(group.strSalary, 4).c_str(), group.typeOvertime,
                  Field(group.strOvertime, 10).c_str(), group.nTimePerSalary, group.flgRound,
                  Field(group.strRound, 10).c_str(), group.nCutoff);
    return text;
}

}  // namespace tokeiya
