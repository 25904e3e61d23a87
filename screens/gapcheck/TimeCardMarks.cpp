#include "screens/gapcheck/TimeCardMarks.hpp"

#include "data/PayPeriod.hpp"
#include "screens/gapcheck/GapCheckText.hpp"

namespace tokeiya {

bool CTimeCardMarks::Load(CConnection& connection, const CUser& user, int firstYear, int firstMonth,
                          int lastYear, int lastMonth) {
    m_months.clear();
    m_userId = user.idUser;
    m_groupId = user.idGroup;
    for (CalendarDay day{firstYear, firstMonth, 1};
         day.year * 100 + day.month <= lastYear * 100 + lastMonth;
         day = FirstOfMonth(day.year, day.month, 1)) {
        Month month{day.year, day.month, CGapCheck()};
        if (!month.check.Load(connection, day.year, day.month, user.idGroup, user.idUser)) {
            m_months.clear();
            return false;
        }
        m_months.push_back(std::move(month));
    }
    return true;
}

bool CTimeCardMarks::Reload(CConnection& connection, int year, int month) {
    for (Month& m : m_months) {
        if (m.year == year && m.month == month) {
            m.check = CGapCheck();
            return m.check.Load(connection, year, month, m_groupId, m_userId);
        }
    }
    return false;
}

const CGapCheck* CTimeCardMarks::MonthOf(int year, int month) const {
    for (const Month& m : m_months) {
        if (m.year == year && m.month == month) {
            return &m.check;
        }
    }
    return nullptr;
}

std::string CTimeCardMarks::MarkOf(int year, int month, int day) const {
    const CGapCheck* check = MonthOf(year, month);
    if (check == nullptr) {
        return "  ";
    }
    const GapCheckRow* row = check->Listed(m_userId, year, month, day);
    if (row != nullptr && (row->early || row->late || row->noCard)) {
        return kGapMark;
    }
    return check->CorrectionsOf(m_userId, year, month, day) > 0 ? kCorrectedMark : "  ";
}

std::string CTimeCardMarks::DetailOf(CConnection& connection, int year, int month, int day) const {
    const CGapCheck* check = MonthOf(year, month);
    std::vector<CActivitySpan> spans;
    if (check == nullptr ||
        !CGapCheck::LoadSpansOf(connection, m_userId, year, month, day, spans)) {
        return {};
    }
    return GapDayDetailText(*check, spans, m_userId, year, month, day);
}

}  // namespace tokeiya
