#include "data/CQDaySchedule.hpp"

namespace tokeiya {

CQDaySchedule::CQDaySchedule(CConnection& connection) : CRecordBase(connection) {
    SetFieldDefaults();
    // The day texts depend on this order: a day's holiday comes before its other rows.
    m_strSort = "[nDay], [nLevel] DESC";
}

void CQDaySchedule::SetFieldDefaults() {
    m_idUser = 0;
    m_nYear = 0;
    m_nMonth = 0;
    m_nDay = 0;
    m_strSubject.clear();
    m_nLevel = 0;
}

void CQDaySchedule::DoFieldExchange(CFieldExchange& fx) {
    fx.Long("[idUser]", m_idUser);
    fx.Long("[nYear]", m_nYear);
    fx.Long("[nMonth]", m_nMonth);
    fx.Long("[nDay]", m_nDay);
    fx.Text("[strSubject]", m_strSubject);
    fx.Long("[nLevel]", m_nLevel);
}

int CQDaySchedule::LoadMonthTexts(int userId, int year, int month,
                                  std::array<CDaySchedule, 31>& days) {
    Close();
    m_strFilter = "([idUser]=0 OR [idUser]=?) AND [nYear]=? AND [nMonth]=?";
    m_params = {DbValue(userId), DbValue(year), DbValue(month)};
    if (!Open()) {
        return 0;
    }
    for (CDaySchedule& day : days) {
        day.ClearTexts();
    }
    for (; !IsEOF(); MoveNext()) {
        if (m_nDay >= 1 && m_nDay <= static_cast<int>(days.size())) {
            days[m_nDay - 1].AddScheduleRow(m_idUser, m_nLevel, m_strSubject);
        }
    }
    return 1;
}

}  // namespace tokeiya
