#include "screens/month/MonthScheduleDays.hpp"

#include <algorithm>
#include <cstdio>

#include "data/CQDaySchedule.hpp"
#include "data/CTSchedule.hpp"
#include "data/CTTimeCard.hpp"
#include "data/PayPeriod.hpp"
#include "platform/TextHelpers.hpp"
#include "rows/TimeCardRowText.hpp"

namespace tokeiya {

namespace {}  // namespace

CMonthScheduleDays::CMonthScheduleDays() {
    Reset(m_year, m_month, 0);
}

size_t CMonthScheduleDays::Index(int day) {
    return static_cast<size_t>(std::clamp(day, 1, 31) - 1);
}

void CMonthScheduleDays::Reset(int year, int month, int lunchMinutes) {
    m_year = year;
    m_month = std::clamp(month, 1, 12);
    m_dayCount = DaysInMonth(m_year, m_month);
    m_firstWeekday = CalendarDay{m_year, m_month, 1}.Weekday();
    for (size_t i = 0; i < m_days.size(); ++i) {
        m_days[i].Reset(static_cast<int>(i), lunchMinutes);
    }
    m_asRead = m_days;
    m_latestUpdate = CTime();
}

bool CMonthScheduleDays::Load(CConnection& connection, int userId) {
    bool texts = ReloadTexts(connection, userId);
    bool cards = CTTimeCard(connection).LoadMonthCards(userId, m_year, m_month, m_days) != 0;
    m_asRead = m_days;
    m_latestUpdate = ReadLatestUpdate(connection);
    return texts && cards;
}

bool CMonthScheduleDays::ReloadTexts(CConnection& connection, int userId) {
    return CQDaySchedule(connection).LoadMonthTexts(userId, m_year, m_month, m_days) != 0;
}

CTime CMonthScheduleDays::ReadLatestUpdate(CConnection& connection) const {
    return CTSchedule(connection, CTSchedule::Mode::Table).LatestUpdateOfMonth(m_year, m_month);
}

bool CMonthScheduleDays::StoreCard(CConnection& connection, int userId, int day,
                                   const ChangeSource& source) {
    CDaySchedule& read = m_asRead[Index(day)];
    if (CTTimeCard(connection, source).StoreMonthCard(userId, m_year, m_month, Day(day), &read) ==
        0) {
        return false;
    }
    read = Day(day);
    return true;
}

void CMonthScheduleDays::SetHoliday(int day, const std::string& name) {
    CDaySchedule& entry = Day(day);
    entry.strHoliday = name;
    // The name and one blank before the subjects share the column.
    const int room =
        static_cast<int>(CDaySchedule::kSharedColumnBytes - 1) - static_cast<int>(name.size());
    entry.strSharedSubjects = LeftBytes(entry.strSharedSubjects, room, false);
}

void CMonthScheduleDays::TakeDefaultLunch(int minutes) {
    for (size_t i = 0; i < m_days.size(); ++i) {
        if (m_days[i].idTimeCard == 0) {
            m_days[i].nLunchMin = minutes;
            m_asRead[i].nLunchMin = minutes;
        }
    }
}

std::string CMonthScheduleDays::Title() const {
    char text[32];
    std::snprintf(text, sizeof text, "%4d 年 %2d 月", m_year, m_month);
    return text;
}

std::string CMonthScheduleDays::Label(int day) const {
    char text[16];
    std::snprintf(text, sizeof text, "%2d %s", day, WeekdayName(WeekdayOf(day)));
    return text;
}

COLORREF CMonthScheduleDays::LabelColor(int day) const {
    return WeekdayOf(day) == 0 || !Day(day).strHoliday.empty() ? kRed : kBlue;
}

std::string CMonthScheduleDays::CardText(int day) const {
    const CDaySchedule& entry = Day(day);
    char text[64];
    std::snprintf(text, sizeof text, "%s  %s %3d %s", CardTimeText(entry.timeFrom).c_str(),
                  CardTimeText(entry.timeTo).c_str(), entry.nLunchMin,
                  OptionLabel(entry.flgOption));
    return text;
}

}  // namespace tokeiya
