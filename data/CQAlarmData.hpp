#pragma once

#include <cstdint>
#include <string>

#include "data/CAlarmData.hpp"
#include "data/CRecordBase.hpp"

namespace tokeiya {

// The alarm view [dbo].[Qアラーム読込用]: the live schedule rows that want an alarm.
class CQAlarmData : public CRecordBase {
  public:
    explicit CQAlarmData(CConnection& connection);

    // The current row as an alarm at its stored date and time.
    CAlarmData ToAlarmData() const;

    // Makes `pending` the alarm that rings first after its own time, among the alarms of
    // `idUser` and, with `alarmAll`, everyone's (user 0); of alarms at the same moment the
    // first in key order. 0 when the query failed or found neither an every-day alarm nor
    // one dated after that time, and `pending` is left as it was; a failure is not told
    // (the caller decides). Otherwise 1, and `pending` is cleared (no alarm pending) when
    // none of the alarms found rings after that time.
    [[nodiscard]] int LoadNextAlarm(CAlarmData& pending, int idUser, bool alarmAll);

    int64_t m_idSchedule;
    int m_idUser;
    CTime m_dateSchedule;
    std::string m_strSubject;
    int m_flgEveryDay;

  protected:
    std::string GetDefaultSQL() const override { return "[dbo].[Qアラーム読込用]"; }
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;
};

}  // namespace tokeiya
