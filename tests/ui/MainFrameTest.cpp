#include <gtest/gtest.h>

#include <utility>

#include <memory>
#include <vector>

#include "data/CTLogin.hpp"
#include "data/CTPcActivity.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/TimeValue.hpp"
#include "platform/AppContext.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "shell/CMainFrame.hpp"
#include "shell/CSetOptionDlg.hpp"
#include "shell/CTokeiyaApp.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "shell/MainMenu.hpp"
#include "tests/support/DialogScripts.hpp"
#include "tests/support/TempFolder.hpp"
#include "tests/support/TestDatabase.hpp"
#include "tests/support/TestPasswords.hpp"

namespace tokeiya {
namespace {

using headless::HeadlessHostWindow;
using namespace win;

// A logged-in session on the embedded database with its main window on the headless
// desktop (1600 x 1000 when maximised).
class MainFrameTest : public ::testing::Test {
  protected:
    MainFrameTest()
        : m_db(test::Engine::SQLite),
          m_profilePath(m_folder.Path() + "/Tokeiya.ini"),
          m_profile(m_profilePath) {
        m_profile.WriteProfileString("DATABASE", "Connection", m_db.ConnectString());
        m_dialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        CUser user;
        user.strUserName = "hanako";
        user.strPasswordHash = test::CheapHash("pw");
        user.idGroup = 1;
        user.nLevel = 3;
        EXPECT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::Table).Save(user));
        m_userId = user.idUser;
    }

    void Start() {
        test::QueueLogin(m_dialogs, "hanako", "pw");
        m_doc = std::make_unique<CTokeiyaDoc>(m_profile, m_dialogs, "PC-1");
        ASSERT_TRUE(m_doc->Create());
        m_frame = std::make_unique<CMainFrame>(m_dialogs, *m_doc, m_profile);
        m_frame->Create({});
        m_frame->ShowInitialWindow();
    }

    HeadlessHostWindow& Window() { return *m_dialogs.m_mainWindow; }
    int Stored(const char* key) {
        return CProfileStore(m_profilePath).GetProfileInt("WINDOW", key, -1);
    }

    ScopedAppContext m_context;  // the session's values stay with this test
    test::TempFolder m_folder;
    test::TestDatabase m_db;
    std::string m_profilePath;
    CProfileStore m_profile;
    CScriptedDialogs m_dialogs;
    int m_userId = 0;
    std::unique_ptr<CTokeiyaDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};

TEST_F(MainFrameTest, StartsAt80PercentNotMaximizedAndVisibleWithTheSessionCaption) {
    Start();
    HeadlessHostWindow& window = Window();
    EXPECT_TRUE(window.IsVisible());
    EXPECT_FALSE(window.IsMaximized());
    // Wide is off by default, so the width is not limited by the aspect rule.
    EXPECT_EQ((CRect{160, 100, 1440, 900}), window.WindowRect());
    EXPECT_EQ("とけい屋! hanako", window.Title());
    EXPECT_TRUE(window.HasTrayIcon());
    EXPECT_EQ("とけい屋", window.TrayTip());
    EXPECT_FALSE(window.MenuBar().empty());
    EXPECT_EQ(60000, window.TimerPeriod(13));
    EXPECT_TRUE(m_frame->Visible());
}

TEST_F(MainFrameTest, StoredStateIsAppliedAndOpenZeroShowsOnlyTheIcon) {
    m_profile.WriteProfileInt("WINDOW", "Size", 70);
    m_profile.WriteProfileInt("WINDOW", "Wide", 1);
    m_profile.WriteProfileInt("WINDOW", "Open", 0);
    Start();
    EXPECT_FALSE(Window().IsVisible());
    EXPECT_TRUE(Window().HasTrayIcon());
    EXPECT_EQ(CDosWinFrame::ZoomRect({1600, 1000}, 70, true), Window().WindowRect());

    // Tray events are taken while the window is hidden: a double click opens it normally.
    Window().TrayEvent(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Window().IsVisible());
    EXPECT_FALSE(Window().IsMaximized());
}

TEST_F(MainFrameTest, MinimizingHidesAndSavesAndTheIconBringsItBackMaximized) {
    m_profile.WriteProfileInt("WINDOW", "MaxSize", 1);
    m_profile.WriteProfileInt("WINDOW", "Size", 90);
    Start();
    HeadlessHostWindow& window = Window();
    ASSERT_TRUE(window.IsMaximized());

    window.ShowWindow(SW_SHOWMINIMIZED);
    EXPECT_FALSE(window.IsVisible()) << "minimising sends the window to the notification area";
    EXPECT_FALSE(m_frame->Visible());
    EXPECT_EQ(1, Stored("MaxSize"));
    EXPECT_EQ(90, Stored("Size"));
    EXPECT_EQ(0, Stored("Wide"));

    window.TrayEvent(WM_RBUTTONUP);
    ASSERT_FALSE(window.LastPopupMenu().empty());
    EXPECT_EQ(command::kOpenFromTray, window.LastPopupMenu()[0].id);

    window.TrayEvent(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(window.IsVisible());
    EXPECT_TRUE(window.IsMaximized());
    EXPECT_GE(window.m_foregroundCount, 2);
}

// A desktop without a notification area: minimising must not hide the window, and a window
// that was to start hidden shows itself once it is clear the icon will not be docked.
TEST_F(MainFrameTest, WithoutANotificationAreaTheWindowIsNeverLostFromSight) {
    m_profile.WriteProfileInt("WINDOW", "Open", 0);
    m_dialogs.m_onMainWindowCreated = [](HeadlessHostWindow& window) {
        window.SetNotificationArea(false);
    };
    Start();
    EXPECT_FALSE(Window().IsVisible());
    Window().AdvanceTime(CMainFrame::kTrayCheckMs);
    EXPECT_TRUE(Window().IsVisible());
    EXPECT_FALSE(Window().TimerRunning(CMainFrame::kTrayCheckTimer));

    Window().ShowWindow(SW_SHOWMINIMIZED);
    EXPECT_TRUE(Window().IsVisible());
    EXPECT_TRUE(Window().IsMinimized());
}

// A later start of the program asks for the window: hidden or minimised, it comes back.
TEST_F(MainFrameTest, ALaterStartBringsTheWindowToTheFront) {
    Start();
    int asked = 0;
    m_frame->SetShowRequests([&] { return std::exchange(asked, 0) > 0; });
    const struct {
        const char* name;
        int command;
    } cases[] = {{"hidden", SW_HIDE}, {"minimised", SW_SHOWMINIMIZED}, {"shown", SW_SHOWNORMAL}};
    for (const auto& c : cases) {
        Window().ShowWindow(SW_SHOWNORMAL);
        Window().ShowWindow(c.command);
        const bool visible = Window().IsVisible();
        const bool minimised = Window().IsMinimized();
        Window().AdvanceTime(2 * CMainFrame::kShowRequestMs);
        EXPECT_EQ(visible, Window().IsVisible()) << c.name << ": nobody asked";
        EXPECT_EQ(minimised, Window().IsMinimized()) << c.name << ": nobody asked";
        const int foreground = Window().m_foregroundCount;
        asked = 1;
        Window().AdvanceTime(CMainFrame::kShowRequestMs);
        EXPECT_TRUE(Window().IsVisible()) << c.name;
        EXPECT_FALSE(Window().IsMinimized()) << c.name;
        EXPECT_GT(Window().m_foregroundCount, foreground) << c.name;
    }
    // Without a notification area a minimised window stays on the task bar: restored too.
    Window().SetNotificationArea(false);
    Window().ShowWindow(SW_SHOWMINIMIZED);
    ASSERT_TRUE(Window().IsVisible());
    ASSERT_TRUE(Window().IsMinimized());
    asked = 1;
    Window().AdvanceTime(CMainFrame::kShowRequestMs);
    EXPECT_FALSE(Window().IsMinimized());
}

TEST_F(MainFrameTest, AWindowStartedHiddenStaysHiddenWhenTheIconIsDocked) {
    m_profile.WriteProfileInt("WINDOW", "Open", 0);
    Start();
    Window().AdvanceTime(2 * CMainFrame::kTrayCheckMs);
    EXPECT_FALSE(Window().IsVisible());
}

TEST_F(MainFrameTest, TrayEventsAreIgnoredWhileTheWindowIsVisible) {
    Start();
    Window().TrayEvent(WM_RBUTTONUP);
    EXPECT_TRUE(Window().LastPopupMenu().empty());
    const int foreground = Window().m_foregroundCount;
    Window().TrayEvent(WM_LBUTTONDBLCLK);
    EXPECT_EQ(foreground, Window().m_foregroundCount);
}

TEST_F(MainFrameTest, ZoomCommandsResizeAndTheFitToggleReappliesTheZoom) {
    Start();
    HeadlessHostWindow& window = Window();
    EXPECT_FALSE(window.MenuState(command::kZoom80).enabled);
    EXPECT_TRUE(window.MenuState(command::kZoom80).checked);

    EXPECT_TRUE(window.ChooseCommand(command::kZoom90));
    EXPECT_EQ((CRect{80, 50, 1520, 950}), window.WindowRect());
    EXPECT_TRUE(window.MenuState(command::kZoom80).enabled);
    EXPECT_FALSE(window.ChooseCommand(command::kZoom90)) << "the current zoom is disabled";

    EXPECT_FALSE(window.MenuState(command::kFitScreen).checked);
    window.ChooseCommand(command::kFitScreen);
    EXPECT_TRUE(window.MenuState(command::kFitScreen).checked);
    EXPECT_EQ(CDosWinFrame::ZoomRect({1600, 1000}, 90, true), window.WindowRect());

    window.ShowWindow(SW_SHOWMAXIMIZED);
    EXPECT_TRUE(window.MenuState(command::kZoom90).enabled);
    window.ChooseCommand(command::kZoom70);
    EXPECT_FALSE(window.IsMaximized()) << "a zoom command restores a maximised window";
    EXPECT_EQ(CDosWinFrame::ZoomRect({1600, 1000}, 70, true), window.WindowRect());
}

// The user drags the window to another size: no zoom item claims a size the window does
// not have, and the size stored at exit is the one the window comes back with.
TEST_F(MainFrameTest, AResizedWindowKeepsTheZoomMenuAndTheStoredSizeTrue) {
    Start();
    Window().MoveWindow(CRect{100, 100, 1300, 850});
    for (UINT id : {command::kZoom90, command::kZoom80, command::kZoom70}) {
        EXPECT_FALSE(Window().MenuState(id).checked) << id;
        EXPECT_TRUE(Window().MenuState(id).enabled) << id;
    }
    Window().ChooseCommand(command::kExit);
    EXPECT_EQ(75, Stored("Size"));

    m_frame.reset();
    m_frame = std::make_unique<CMainFrame>(m_dialogs, *m_doc, m_profile);
    m_frame->Create({});
    m_frame->ShowInitialWindow();
    EXPECT_EQ((CRect{200, 125, 1400, 875}), Window().WindowRect());
    EXPECT_EQ(75, m_frame->ZoomPercent());

    // Back to exactly the 90 % size: that item is the current one again.
    Window().MoveWindow(CDosWinFrame::ZoomRect({1600, 1000}, 90, false));
    EXPECT_TRUE(Window().MenuState(command::kZoom90).checked);
    EXPECT_FALSE(Window().MenuState(command::kZoom90).enabled);
}

TEST_F(MainFrameTest, VisibleAnswersWhetherTheWindowIsShown) {
    m_profile.WriteProfileInt("WINDOW", "Open", 0);
    Start();
    EXPECT_FALSE(m_frame->Visible()) << "started in the notification area";
    Window().TrayEvent(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(m_frame->Visible());
    Window().ShowWindow(SW_SHOWMINIMIZED);
    EXPECT_FALSE(m_frame->Visible()) << "minimised into the notification area";
    Window().TrayEvent(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(m_frame->Visible());
    Window().ChooseCommand(command::kExit);
    EXPECT_FALSE(m_frame->Visible()) << "closed";
}

TEST_F(MainFrameTest, MenuFollowsTheLoggedInUsersLevel) {
    Start();
    EXPECT_TRUE(Window().MenuState(command::kOptions).enabled);
    EXPECT_TRUE(Window().MenuState(command::kChangePassword).enabled);
    // Level 3 may open them, but what is not built yet is not offered.
    EXPECT_FALSE(Window().MenuState(command::kGroupSettings).enabled);
    EXPECT_FALSE(Window().MenuState(command::kCalculation).enabled);
    EXPECT_FALSE(Window().MenuState(command::kPrinterCard).enabled);
    EXPECT_FALSE(Window().MenuState(command::kEditCopy).enabled) << "no screen, nothing to copy";
    EXPECT_FALSE(Window().MenuState(command::kHelpIndex).enabled);
    Window().ChooseCommand(command::kAbout);
    EXPECT_EQ(1, m_dialogs.m_aboutShown);
}

TEST_F(MainFrameTest, TheOptionAndPasswordItemsOpenTheirDialogs) {
    Start();
    ASSERT_TRUE(m_frame->OpenAtStart());
    m_dialogs.QueueDialog([](CScriptedDialog& dialog) {
        EXPECT_EQ("オプション設定", dialog.Model().Caption());
        dialog.Check(CSetOptionDlg::kOpen, false);
        dialog.PressOk();
    });
    Window().ChooseCommand(command::kOptions);
    EXPECT_FALSE(m_frame->OpenAtStart()) << "the frame follows the confirmed option";
    EXPECT_EQ(0, Stored("Open"));

    m_dialogs.QueueDialog([](CScriptedDialog& dialog) {
        EXPECT_EQ("パスワード変更", dialog.Model().Caption());
        dialog.PressCancel();
    });
    Window().ChooseCommand(command::kChangePassword);
    EXPECT_EQ(3u, m_dialogs.m_dialogs.size()) << "login, options and password change";
    EXPECT_TRUE(m_dialogs.m_messages.empty());
}

// The session's notice window is made before the main window and runs on its clock; it
// stays, hidden, after the window has gone, until the session ends.
TEST_F(MainFrameTest, TheSessionsNoticeWindowLastsAsLongAsTheSession) {
    Start();
    ASSERT_NE(m_dialogs.m_noticeWindow, nullptr);
    m_doc->Alarms().ShowAlarm("会議", CTime(2024, 3, 5, 10, 0, 0));
    Window().AdvanceTime(30000 - 1);
    EXPECT_TRUE(m_dialogs.m_noticeWindow->IsVisible());
    Window().AdvanceTime(1);
    EXPECT_FALSE(m_dialogs.m_noticeWindow->IsVisible());
    Window().ChooseCommand(command::kExit);
    m_frame.reset();
    EXPECT_NE(m_dialogs.m_noticeWindow, nullptr);
    m_doc.reset();
    EXPECT_EQ(m_dialogs.m_noticeWindow, nullptr);
}

TEST_F(MainFrameTest, TheMinuteTimerKeepsRunningAndStopsWithTheView) {
    Start();
    Window().AdvanceTime(3 * 60000);
    EXPECT_TRUE(Window().TimerRunning(13));
    EXPECT_TRUE(Window().m_unhandled.empty());
    Window().ChooseCommand(command::kExit);
    EXPECT_FALSE(Window().TimerRunning(13));
}

TEST_F(MainFrameTest, ExitHidesSavesAndClosesTheWindowBeforeTheSessionEnds) {
    m_profile.WriteProfileInt("WINDOW", "Size", 70);
    Start();
    HeadlessHostWindow& window = Window();
    window.ChooseCommand(command::kExit);
    EXPECT_TRUE(m_frame->Closed());
    EXPECT_TRUE(window.m_quit);
    EXPECT_TRUE(window.m_destroyed);
    EXPECT_FALSE(window.HasTrayIcon());
    EXPECT_EQ(nullptr, m_frame->GetView());
    EXPECT_EQ(70, Stored("Size"));
    EXPECT_EQ(0, Stored("MaxSize"));
}

TEST_F(MainFrameTest, TheCloseButtonAndTheEndOfTheDesktopSessionCloseTheSameWay) {
    Start();
    Window().Send(WM_CLOSE);
    EXPECT_TRUE(m_frame->Closed());
    EXPECT_EQ(80, Stored("Size"));

    m_frame.reset();
    m_frame = std::make_unique<CMainFrame>(m_dialogs, *m_doc, m_profile);
    m_frame->Create({});
    m_frame->ShowInitialWindow();
    Window().Send(WM_ENDSESSION, 1);
    EXPECT_TRUE(m_frame->Closed());
    EXPECT_TRUE(Window().m_quit);
}

TEST_F(MainFrameTest, ClipboardAcceleratorsOnlyRunEnabledCommands) {
    Start();
    // No screen: the Edit commands are disabled, so Ctrl+C is swallowed without effect.
    EXPECT_TRUE(Window().KeyDown('C', kCtrl));
    EXPECT_FALSE(Window().KeyDown('C', kShift));
    EXPECT_FALSE(Window().m_clipboardSet);
}

// The whole program on the headless desktop: log in, the user chooses 終了, and the logout
// and the departure are in the database afterwards.
TEST_F(MainFrameTest, TheApplicationEndsTheSessionAfterTheUserExits) {
    m_profile.WriteProfileInt("OPTIN", "SetTimeTo", 1);
    AppEnvironment environment;
    environment.profilePath = m_profilePath;
    environment.lockFolder = m_folder.Path();
    environment.currentFolder = m_folder.Path() + "/";
    test::QueueLogin(m_dialogs, "hanako", "pw");
    bool sawWindow = false;
    m_dialogs.m_inMainWindowHost = [&](HeadlessHostWindow& window) {
        sawWindow = window.IsVisible();
        window.PostMessage(WM_COMMAND, command::kExit, 0);
    };
    CTokeiyaApp app(m_dialogs, environment);
    ASSERT_TRUE(app.InitInstance());
    app.Run();
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(nullptr, app.GetDocument());

    CTLogin login(m_db.Connection());
    ASSERT_TRUE(login.Open());
    EXPECT_FALSE(IsEmptyTime(login.m_dateLogout));
    CTTimeCard cards(m_db.Connection());
    cards.m_strFilter = "[idUser]=?";
    cards.m_params = {DbValue(m_userId)};
    ASSERT_TRUE(cards.Open());
    ASSERT_FALSE(cards.IsEOF());
    EXPECT_FALSE(IsEmptyTime(cards.m_timeTo)) << "leaving stamps the departure";
}

// The whole program on the headless desktop as on the real one: the computer's sleep ends
// the span of PC use and waking opens the next; a lock while asleep changes nothing.
TEST_F(MainFrameTest, SleepOnTheDesktopEndsTheSpanAndWakingOpensTheNext) {
    AppEnvironment environment;
    environment.profilePath = m_profilePath;
    environment.lockFolder = m_folder.Path();
    environment.currentFolder = m_folder.Path() + "/";
    test::QueueLogin(m_dialogs, "hanako", "pw");
    m_dialogs.m_inMainWindowHost = [&](HeadlessHostWindow& window) {
        m_dialogs.m_activity.Sleep(true);
        m_dialogs.m_activity.Lock(true);
        m_dialogs.m_activity.Sleep(false);
        m_dialogs.m_activity.Lock(false);
        window.PostMessage(WM_COMMAND, command::kExit, 0);
    };
    {
        CTokeiyaApp app(m_dialogs, environment);
        ASSERT_TRUE(app.InitInstance());
        app.Run();
    }
    EXPECT_EQ(0, m_dialogs.m_activity.Watches()) << "the watch ends with the window";
    std::vector<CActivitySpan> spans;
    ASSERT_EQ(1, CTPcActivity(m_db.Connection())
                     .LoadStarted(CTime(2000, 1, 1, 0, 0, 0), CTime(2100, 1, 1, 0, 0, 0), spans,
                                  m_userId));
    ASSERT_EQ(2u, spans.size());
    // Both may begin within one second: told apart by how they ended.
    if (spans[0].how != ActivityEnd::Sleep) {
        std::swap(spans[0], spans[1]);
    }
    EXPECT_EQ(ActivityEnd::Sleep, spans[0].how);
    EXPECT_EQ(ActivityEnd::Exit, spans[1].how);
    EXPECT_NE(spans[0].idSpan, spans[1].idSpan);
    EXPECT_FALSE(spans[1].start < spans[0].end) << "the next span opens on waking";
}

}  // namespace
}  // namespace tokeiya
