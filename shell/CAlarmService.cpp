#include "shell/CAlarmService.hpp"

#include <algorithm>

namespace tokeiya {

CAlarmService::CAlarmService(CProfileStore& profile, IDialogs& dialogs)
    : m_profile(profile), m_notice(dialogs.CreateNoticeWindow(kNoticeCaption)) {}

int CAlarmService::NoticeSeconds() const {
    return std::clamp(m_profile.GetProfileInt("ALARM", "TimeView", kDefaultSeconds), 0,
                      kLongestSeconds);
}

void CAlarmService::ShowAlarm(const std::string& subject, const CTime& time) {
    m_notice->Show(subject + " の時間です。", time.Format("%Y/%m/%d %H:%M"), NoticeSeconds());
}

}  // namespace tokeiya
