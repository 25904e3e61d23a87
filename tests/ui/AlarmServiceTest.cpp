#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/ProfileStore.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "shell/CAlarmService.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

// A main window that takes no message: it is there for the desktop's clock.
class IdleProc : public win::IFrameProc {
  public:
    bool WindowProc(const win::Message&) override { return false; }
    void OnPaint(CDC&) override {}
    void UpdateCommand(win::UINT, win::CommandState&) override {}
};

// The service is made before the desktop has a main window, as the session is made before
// the main frame; the notice's time then runs on the clock of the window made later.
class AlarmService : public testing::Test {
  protected:
    AlarmService() : m_profile(m_folder.Path() + "/Tokeiya.ini"), m_service(m_profile, m_desktop) {
        m_window = m_desktop.CreateMainWindow(m_proc, {});
    }

    headless::HeadlessHostWindow& Clock() { return *m_desktop.m_mainWindow; }
    headless::HeadlessNoticeWindow& Notice() { return *m_desktop.m_noticeWindow; }

    test::TempFolder m_folder;
    CProfileStore m_profile;
    CScriptedDialogs m_desktop;
    IdleProc m_proc;
    CAlarmService m_service;
    std::unique_ptr<win::IMainWindow> m_window;
};

TEST_F(AlarmService, TheNoticeTellsTheSubjectAndTheMinuteOfTheAlarm) {
    ASSERT_EQ(&Notice(), &m_service.Notice());
    EXPECT_EQ("お知らせ", Notice().Caption());
    EXPECT_FALSE(Notice().IsVisible()) << "made hidden";
    m_service.ShowAlarm("部長会議", CTime(2024, 3, 5, 8, 7, 59));
    EXPECT_TRUE(Notice().IsVisible());
    EXPECT_EQ("部長会議 の時間です。", Notice().FirstLine());
    EXPECT_EQ("2024/03/05 08:07", Notice().SecondLine()) << "seconds are not shown";
}

// "ALARM"/"TimeView" is read when the notice is shown; an unset one is 30 seconds, and what
// a hand-edited file holds is kept within 0 seconds and a day.
TEST_F(AlarmService, TheNoticeStaysForTheSecondsSetWhenItIsShown) {
    struct Case {
        std::optional<int> timeView;
        int staysMs;
    };
    const Case cases[] = {
        {std::nullopt, 30000}, {5, 5000}, {0, 0}, {-3, 0}, {999999, 24 * 60 * 60 * 1000},
    };
    for (const Case& c : cases) {
        const std::string name = c.timeView ? std::to_string(*c.timeView) : "unset";
        if (c.timeView) {
            m_profile.WriteProfileInt("ALARM", "TimeView", *c.timeView);
        }
        m_service.ShowAlarm("朝会", CTime(2024, 3, 5, 9, 0, 0));
        EXPECT_TRUE(Notice().IsVisible()) << name;
        if (c.staysMs > 0) {
            Clock().AdvanceTime(c.staysMs - 1);
            EXPECT_TRUE(Notice().IsVisible()) << name << ": hidden before its time";
        }
        Clock().AdvanceTime(1);
        EXPECT_FALSE(Notice().IsVisible()) << name << ": still shown after its time";
    }
}

}  // namespace
}  // namespace tokeiya
