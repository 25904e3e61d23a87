#include "data/CQAlarmData.hpp"

#include <ctime>
#include <optional>
#include <string>

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

int CQAlarmData::LoadNextAlarm(CAlarmData& pending, int idUser, bool alarmAll) {
    Close();
    const CTime reference = pending.time;
    // Of the dated alarms only those of the first moment after the reference can be
    // chosen: the others, past ones above all, stay unread. Every-day alarms are all read,
    // since each one's next occurrence depends on the reference.
    const std::string owners = alarmAll ? "([idUser]=? OR [idUser]=0)" : "[idUser]=?";
    m_strFilter = owners +
                  " AND ([flgEveryDay]<>0 OR [dateSchedule]=(SELECT MIN([dateSchedule])"
                  " FROM " +
                  GetDefaultSQL() + " WHERE " + owners +
                  " AND [flgEveryDay]=0 AND [dateSchedule]>?))";
    m_params = {DbValue(idUser), DbValue(idUser), Dialect().DateTimeParam(reference)};
    std::tm referenceDay{};
    static_cast<void>(reference.GetLocalTm(referenceDay));
    std::optional<CAlarmData> best;
    try {
        CDatabase::ExpectedErrors quiet(Connection().Database());
        if (!Open() || IsEOF()) {
            return 0;
        }
        for (; !IsEOF(); MoveNext()) {
            CAlarmData row = ToAlarmData();
            row.time = row.OccurrenceAfter(reference, referenceDay);
            // Strictly later: the alarm that just rang, or one at the same moment, is not
            // chosen again. Not earlier than the best: the first in key order keeps a tie.
            if (row.time <= reference || (best && row.time >= best->time)) {
                continue;
            }
            best = std::move(row);
        }
    } catch (const CDBException&) {
        Close();
        return 0;
    }
    Close();
    pending = best ? *best : CAlarmData{};
    return 1;
}

}  // namespace tokeiya
