#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/CTSchedule.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/ui/WorkSession.hpp"

namespace tokeiya {
namespace {

using Beep = headless::HeadlessHostWindow::BeepRecord;

// The alarms of a session as the minute timer of its main window rings them, on the
// window's virtual clock. hanako (user 1) logs in at 10:00:00 on 5 March 2024.
class ScheduleAlarm : public test::WorkSession {
  protected:
    ScheduleAlarm() {
        FixClock(2024, 3, 5, 10, 0);
        m_profile.WriteProfileInt("ALARM", "TimeView", 5);
    }

    void AddAlarm(int user, const CTime& time, const std::string& subject, int everyDay = 0) {
        CSchedule entry;
        entry.idUser = user;
        entry.dateSchedule = time;
        entry.strSubject = subject;
        entry.flgAlarm = 1;
        entry.flgEveryDay = everyDay;
        CTime latest;
        CTSchedule set(m_db.Connection(), CTSchedule::Mode::Table);
        ASSERT_EQ(1, set.SaveSchedule(7, entry, latest)) << subject;
    }

    const CAlarmData& Pending() { return m_doc->Alarms().Pending(); }
    headless::HeadlessNoticeWindow& Notice() { return *m_dialogs.m_noticeWindow; }
    // Runs the clock on to the next tick of the minute timer.
    void NextMinute() { Window().AdvanceTime(60000); }
};

TEST_F(ScheduleAlarm, ADueAlarmRingsOnceOnTheMinuteTimerWhileTheWindowGoesOn) {
    AddAlarm(1, CTime(2024, 3, 5, 10, 1, 0), "部長会議");
    AddAlarm(1, CTime(2024, 3, 5, 10, 1, 0), "同じ分");
    AddAlarm(0, CTime(2024, 3, 5, 10, 2, 0), "全員朝会");
    AddAlarm(2, CTime(2024, 3, 5, 10, 2, 0), "他人の予定");
    AddAlarm(1, CTime(2000, 1, 1, 10, 3, 0), "毎日の点呼", 1);
    Start("hanako", "pw");
    EXPECT_EQ("部長会議", Pending().strSubject);
    Window().m_beeps.clear();

    // The window is hidden in the notification area: the timer still rings.
    Window().ShowWindow(win::SW_HIDE);
    NextMinute();
    ASSERT_TRUE(Notice().IsVisible());
    EXPECT_EQ("部長会議 の時間です。", Notice().FirstLine());
    EXPECT_EQ("2024/03/05 10:01", Notice().SecondLine());
    // The tones sound on the clock, one after another, while the timer's handler returned.
    EXPECT_EQ(std::vector<Beep>({{3000, 500}}), Window().m_beeps);
    Window().AdvanceTime(4000);
    EXPECT_EQ(std::vector<Beep>({{3000, 500}, {3000, 500}, {3000, 500}, {4000, 1000}}),
              Window().m_beeps);
    EXPECT_TRUE(Notice().IsVisible());
    Window().AdvanceTime(999);
    EXPECT_TRUE(Notice().IsVisible()) << "TimeView is 5 seconds";
    Window().AdvanceTime(1);
    EXPECT_FALSE(Notice().IsVisible());
    // The alarm of the same minute, everyone's without AlarmAll and another user's do not
    // ring; the every-day one is next.
    EXPECT_EQ("毎日の点呼", Pending().strSubject);
    EXPECT_EQ(CTime(2024, 3, 5, 10, 3, 0), Pending().time);

    Window().m_beeps.clear();
    Window().AdvanceTime(55000);  // the tick of 10:02
    EXPECT_FALSE(Notice().IsVisible());
    EXPECT_TRUE(Window().m_beeps.empty());
    NextMinute();
    ASSERT_TRUE(Notice().IsVisible());
    EXPECT_EQ("毎日の点呼 の時間です。", Notice().FirstLine());
    // Rung today, the every-day alarm is next due tomorrow.
    EXPECT_EQ(CTime(2024, 3, 6, 10, 3, 0), Pending().time);
}

TEST_F(ScheduleAlarm, EveryonesAlarmRingsWithAlarmAllAndTheUserQueriedStays) {
    m_context.Context().alarmAll = true;
    AddAlarm(0, CTime(2024, 3, 5, 10, 1, 0), "全員朝会");
    AddAlarm(1, CTime(2024, 3, 5, 10, 2, 0), "自分の予定");
    Start("hanako", "pw");
    NextMinute();
    ASSERT_TRUE(Notice().IsVisible());
    EXPECT_EQ("全員朝会 の時間です。", Notice().FirstLine());
    EXPECT_EQ(1, m_doc->Alarms().QueryUser());
    EXPECT_EQ("自分の予定", Pending().strSubject);

    // Switched off, everyone's alarms are gone from the next reload on.
    m_context.Context().alarmAll = false;
    AddAlarm(0, CTime(2024, 3, 5, 10, 1, 30), "もう鳴らない");
    EXPECT_EQ(1, m_doc->ReloadAlarm());
    EXPECT_EQ("自分の予定", Pending().strSubject);
}

// Missed alarms (a computer that slept) ring one a minute, oldest first.
TEST_F(ScheduleAlarm, MissedAlarmsRingOneAMinuteOldestFirst) {
    AddAlarm(1, CTime(2024, 3, 5, 10, 2, 0), "二番目");
    AddAlarm(1, CTime(2024, 3, 5, 10, 1, 0), "一番目");
    Start("hanako", "pw");
    Window().SetClock(CTime(2024, 3, 5, 11, 0, 0).GetTime());
    NextMinute();
    EXPECT_EQ("一番目 の時間です。", Notice().FirstLine());
    EXPECT_EQ("2024/03/05 10:01", Notice().SecondLine());
    NextMinute();
    EXPECT_EQ("二番目 の時間です。", Notice().FirstLine());
    EXPECT_EQ(0, Pending().idSchedule);
}

// A query that fails says nothing (no message box is scripted) and leaves no alarm
// pending; the next reload tries again.
TEST_F(ScheduleAlarm, AFailedAlarmQueryLeavesNothingPendingUntilTheNextReload) {
    AddAlarm(1, CTime(2024, 3, 5, 10, 1, 0), "部長会議");
    AddAlarm(1, CTime(2024, 3, 5, 10, 3, 0), "来客");
    Start("hanako", "pw");
    test::FaultInjector faults(m_doc->GetDatabase()->Database());
    faults.FailStatements("アラーム");
    EXPECT_EQ(0, m_doc->ReloadAlarm());
    EXPECT_EQ(0, Pending().idSchedule);
    NextMinute();
    EXPECT_FALSE(Notice().IsVisible());

    EXPECT_EQ(1, m_doc->ReloadAlarm());
    EXPECT_EQ("来客", Pending().strSubject);
    // Failing after an alarm rang: it was told, and none is pending after it.
    faults.FailStatements("アラーム");
    NextMinute();
    NextMinute();
    EXPECT_EQ("来客 の時間です。", Notice().FirstLine());
    EXPECT_EQ(0, Pending().idSchedule);
    EXPECT_TRUE(m_dialogs.m_messages.empty());
}

// The minute can pass while a recalculation's worker holds the connection: the timer then
// leaves the connection alone, and the alarm rings on the next minute instead.
TEST_F(ScheduleAlarm, AMinuteThatPassesDuringARecalculationRingsAfterIt) {
    Start("tokeiya", "");
    AddAlarm(m_doc->GetLoggedInUser().idUser, CTime(2024, 3, 5, 10, 1, 0), "締め");
    ASSERT_NE(0, m_doc->ReloadAlarm());
    ASSERT_TRUE(View().SetScreen(ScreenId::SalaryList));
    Window().Pump();
    bool rangWhileBusy = true;
    m_dialogs.m_whileBusy = [&] {
        NextMinute();
        rangWhileBusy = m_dialogs.m_noticeWindow != nullptr && Notice().IsVisible();
    };
    Key(win::VK_F1 + 7);  // recalculate
    ASSERT_EQ(1u, m_dialogs.m_busyNotices.size());
    EXPECT_FALSE(rangWhileBusy);

    m_dialogs.m_whileBusy = nullptr;
    NextMinute();
    ASSERT_NE(nullptr, m_dialogs.m_noticeWindow);
    ASSERT_TRUE(Notice().IsVisible());
    EXPECT_EQ("締め の時間です。", Notice().FirstLine());
}

}  // namespace
}  // namespace tokeiya
