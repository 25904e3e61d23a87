#include <gtest/gtest.h>

#include "platform/Cp932.hpp"
#include "screens/login/CCRWA_LoginSystem.hpp"
#include "screens/month/CCRWA_MonthSchedule.hpp"
#include "shell/MainMenu.hpp"
#include "tests/ui/WorkSession.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {
namespace {

using namespace win;

using WorkScreenTest = test::WorkSession;

TEST_F(WorkScreenTest, TheAdministrationAccountStartsOnItsHomeScreen) {
    Start("tokeiya", "");
    // The start screen, the month schedule, gives way to the home screen.
    auto* screen = dynamic_cast<CCRWA_LoginSystem*>(View().Screen());
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(ScreenId::AdminHome, View().CurrentScreen());
    EXPECT_TRUE(screen->Initialized());
    EXPECT_NE(std::string::npos, Shown().find(cp932::ToUtf8("管理用アカウント")))
        << "its drawing from the screen package";
    ASSERT_NE(nullptr, screen->FunctionMenu());
    EXPECT_EQ("画面を隠す", screen->FunctionMenu()->GetLabel(0, 12));
    EXPECT_FALSE(screen->FunctionMenu()->HasLabel(0, 1));

    // Key 12 hides the main window; the program goes on.
    Window().Press(VK_F1 + 11);
    EXPECT_FALSE(Window().IsVisible());
    EXPECT_EQ(screen, View().Screen());
}

// A desktop without a notification area could never bring a hidden window back.
TEST_F(WorkScreenTest, KeyTwelveMinimisesWhereNoNotificationIconIsShown) {
    m_dialogs.m_onMainWindowCreated = [](headless::HeadlessHostWindow& window) {
        window.SetNotificationArea(false);
    };
    Start("tokeiya", "");
    ASSERT_TRUE(Window().IsVisible());
    Window().Press(VK_F1 + 11);
    EXPECT_TRUE(Window().IsVisible());
    EXPECT_TRUE(Window().IsMinimized());
}

TEST_F(WorkScreenTest, AUserStartsOnTheMonthSchedule) {
    Start("hanako", "pw");
    auto* screen = dynamic_cast<CCRWA_MonthSchedule*>(View().Screen());
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(ScreenId::MonthSchedule, View().CurrentScreen());
    EXPECT_FALSE(screen->HandedOver());
    EXPECT_TRUE(View().CanCreateScreen(ScreenId::PersonalDay));
    EXPECT_TRUE(View().CanCreateScreen(ScreenId::AdminHome));
}

TEST_F(WorkScreenTest, AnUnknownCodeLeavesTheScreenAndBuiltCodesClearTheChosenUser) {
    Start("tokeiya", "");
    CCRWin* home = View().Screen();
    ASSERT_NE(nullptr, home);
    EXPECT_FALSE(View().SetScreen(106));
    EXPECT_EQ(home, View().Screen()) << "a code not in the table leaves the screen in place";

    View().Work().userId = 9;
    ASSERT_TRUE(View().SetScreen(ScreenId::AdminHome));
    EXPECT_EQ(0, View().Work().userId);
    EXPECT_NE(home, View().Screen()) << "a new screen object";
    EXPECT_EQ(ScreenId::AdminHome, View().CurrentScreen());
}

}  // namespace
}  // namespace tokeiya
