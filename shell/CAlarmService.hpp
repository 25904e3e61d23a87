#pragma once

#include <memory>
#include <string>

#include "data/CAlarmData.hpp"
#include "data/CConnection.hpp"
#include "platform/CTime.hpp"
#include "platform/Dialogs.hpp"
#include "platform/NoticeWindow.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/win/IHostWindow.hpp"

namespace tokeiya {

// The session's schedule alarms: the one alarm pending, the user whose alarms are read, and
// the notice window "お知らせ", made hidden with the session and kept, however often shown,
// until the session ends; a due alarm is told through it for as long as "ALARM"/"TimeView"
// says.
class CAlarmService {
  public:
    static constexpr const char* kNoticeCaption = "お知らせ";
    static constexpr int kDefaultSeconds = 30;
    // A notice stays at most a day, whatever the settings file says.
    static constexpr int kLongestSeconds = 24 * 60 * 60;

    CAlarmService(CProfileStore& profile, IDialogs& dialogs);

    // Whose alarms are read from now on: the logged-in user's. An alarm of everyone's
    // schedules that rings does not change it.
    void SetQueryUser(int idUser) { m_queryUser = idUser; }
    int QueryUser() const { return m_queryUser; }
    // Chooses the first alarm after the current moment afresh on `db`; with `alarmAll`
    // everyone's schedules count too. An alarm at this very minute that already began is
    // not chosen. 0 when the alarms could not be read or there were none: then none is
    // pending, nothing is shown, and the next reload tries again.
    int Reload(CConnection* db, bool alarmAll);
    // Rings the pending alarm when its minute has come: the tone on `speaker`, the notice,
    // and the next alarm after it chosen from `db`.
    void Check(CConnection* db, bool alarmAll, win::IHostWindow& speaker);
    // The alarm pending; idSchedule 0 when none is.
    const CAlarmData& Pending() const { return m_pending; }

    // Shows the alarm of `subject` at `time`: "<subject> の時間です。" over the time as
    // "YYYY/MM/DD HH:MM", for the seconds "ALARM"/"TimeView" holds now (30 when unset).
    void ShowAlarm(const std::string& subject, const CTime& time);
    // Seconds a notice stays, as the settings hold them now.
    int NoticeSeconds() const;
    INoticeWindow& Notice() const { return *m_notice; }

  private:
    // LoadNextAlarm after the pending alarm's time, on `db`.
    int LoadNext(CConnection* db, bool alarmAll);

    CProfileStore& m_profile;
    std::unique_ptr<INoticeWindow> m_notice;
    CAlarmData m_pending;
    int m_queryUser = 0;
};

}  // namespace tokeiya
