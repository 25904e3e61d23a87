#include "data/CQAlarmData.hpp"

namespace tokeiya {

CQAlarmData::CQAlarmData(CConnection& connection) : CRecordBase(connection) {
    SetFieldDefaults();
    // Of two alarms at the same minute the older entry rings; a view's own ORDER BY is not
    // kept by every engine once it is filtered.
    m_strSort = "[idSchedule]";
}

void CQAlarmData::SetFieldDefaults() {
    m_idSchedule = 0;
    m_idUser = 0;
    m_dateSchedule = CTime();
    m_strSubject.clear();
    m_flgEveryDay = 0;
}

void CQAlarmData::DoFieldExchange(CFieldExchange& fx) {
    fx.BigInt("[idSchedule]", m_idSchedule);
    fx.Long("[idUser]", m_idUser);
    fx.Date("[dateSchedule]", m_dateSchedule);
    fx.Text("[strSubject]", m_strSubject);
    fx.Bit("[flgEveryDay]", m_flgEveryDay);
}

CAlarmData CQAlarmData::ToAlarmData() const {
    CAlarmData alarm;
    alarm.idSchedule = m_idSchedule;
    alarm.idUser = m_idUser;
    alarm.time = m_dateSchedule;
    alarm.strSubject = m_strSubject;
    alarm.flgEveryDay = m_flgEveryDay;
    return alarm;
}

}  // namespace tokeiya
