#pragma once

#include <memory>
#include <string>

#include "platform/CTime.hpp"
#include "platform/Dialogs.hpp"
#include "platform/NoticeWindow.hpp"
#include "platform/ProfileStore.hpp"

namespace tokeiya {

// The session's schedule alarms. It owns the notice window "お知らせ", made hidden with the
// session and kept, however often shown, until the session ends; a due alarm is told
// through it for as long as "ALARM"/"TimeView" says.
class CAlarmService {
  public:
    static constexpr const char* kNoticeCaption = "お知らせ";
    static constexpr int kDefaultSeconds = 30;
    // A notice stays at most a day, whatever the settings file says.
    static constexpr int kLongestSeconds = 24 * 60 * 60;

    CAlarmService(CProfileStore& profile, IDialogs& dialogs);

    // Shows the alarm of `subject` at `time`: "<subject> の時間です。" over the time as
    // "YYYY/MM/DD HH:MM", for the seconds "ALARM"/"TimeView" holds now (30 when unset).
    void ShowAlarm(const std::string& subject, const CTime& time);
    // Seconds a notice stays, as the settings hold them now.
    int NoticeSeconds() const;
    INoticeWindow& Notice() const { return *m_notice; }

  private:
    CProfileStore& m_profile;
    std::unique_ptr<INoticeWindow> m_notice;
};

}  // namespace tokeiya
