#include "shell/CAlarmService.hpp"

#include <algorithm>
#include <vector>

#include "data/CQAlarmData.hpp"

namespace tokeiya {
namespace {

// Three short high tones and a long higher one.
const std::vector<win::Tone> kAlarmTones = {
    {3000, 500, 500}, {3000, 500, 500}, {3000, 500, 500}, {4000, 1000, 0}};

}  // namespace

CAlarmService::CAlarmService(CProfileStore& profile, IDialogs& dialogs)
    : m_profile(profile), m_notice(dialogs.CreateNoticeWindow(kNoticeCaption)) {}

int CAlarmService::NoticeSeconds() const {
    return std::clamp(m_profile.GetProfileInt("ALARM", "TimeView", kDefaultSeconds), 0,
                      kLongestSeconds);
}

void CAlarmService::ShowAlarm(const std::string& subject, const CTime& time) {
    m_notice->Show(subject + " の時間です。", time.Format("%Y/%m/%d %H:%M"), NoticeSeconds());
}

int CAlarmService::LoadNext(CConnection* db, bool alarmAll) {
    if (db == nullptr) {
        return 0;
    }
    return CQAlarmData(*db).LoadNextAlarm(m_pending, m_queryUser, alarmAll);
}

int CAlarmService::Reload(CConnection* db, bool alarmAll) {
    m_pending = CAlarmData{};
    m_pending.time = CTime::GetCurrentTime();
    return LoadNext(db, alarmAll);
}

void CAlarmService::Check(CConnection* db, bool alarmAll, win::IHostWindow& speaker) {
    if (m_pending.idSchedule == 0) {
        return;
    }
    const CTime now = CTime::GetCurrentTime();
    const CTime minute(now.GetYear(), now.GetMonth(), now.GetDay(), now.GetHour(), now.GetMinute(),
                       0);
    if (m_pending.time > minute) {
        return;
    }
    speaker.PlayTones(kAlarmTones);
    ShowAlarm(m_pending.strSubject, m_pending.time);
    // The alarm that rang is the reference: the next one strictly after it, so that missed
    // alarms ring one a minute, oldest first.
    if (LoadNext(db, alarmAll) == 0) {
        m_pending = CAlarmData{};
    }
}

}  // namespace tokeiya
