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
