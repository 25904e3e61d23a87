#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/CTUser.hpp"
#include "platform/AppContext.hpp"
#include "platform/Cp932.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "screens/CTokeiyaScreens.hpp"
#include "screens/login/CCRWA_LoginSystem.hpp"
#include "shell/CMainFrame.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "shell/MainMenu.hpp"
#include "tests/support/DialogScripts.hpp"
#include "tests/support/ScreenText.hpp"
#include "tests/support/TempFolder.hpp"
#include "tests/support/TestDatabase.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {
namespace {

using headless::HeadlessHostWindow;
using namespace win;

// A session on the embedded database with its main window and the program's screens,
// reading the packages the build made.
class WorkScreenTest : public ::testing::Test {
  protected:
    WorkScreenTest()
        : m_db(test::Engine::SQLite),
          m_profilePath(m_folder.Path() + "/Tokeiya.ini"),
          m_profile(m_profilePath) {
        m_context.Context().screenDefinitionFile = TOKEIYA_BINARY_DIR "/Tokeiya.ggd";
        m_context.Context().functionKeyFile = TOKEIYA_BINARY_DIR "/Tokeiya.gfd";
        m_profile.WriteProfileString("DATABASE", "Connection", m_db.ConnectString());
        m_dialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        CUser user;
        user.strUserName = "hanako";
        user.strPassword = "pw";
        user.idGroup = 1;
        user.nLevel = 3;
        CTUser(m_db.Connection(), CTUser::Mode::Table).Save(user);
    }

    void Start(const char* name, const char* password) {
        test::QueueLogin(m_dialogs, name, password);
        m_doc = std::make_unique<CTokeiyaDoc>(m_profile, m_dialogs, "PC-1");
        ASSERT_TRUE(m_doc->Create());
        m_frame = std::make_unique<CMainFrame>(m_dialogs, *m_doc, m_profile, &m_screens);
        m_frame->Create({});
        m_frame->ShowInitialWindow();
        Window().UpdateWindow();
    }

    HeadlessHostWindow& Window() { return *m_dialogs.m_mainWindow; }
    CTokeiyaView& View() { return *m_frame->GetView(); }
    // The screen's cells as UTF-8 text.
    std::string Shown() { return test::ScreenText(*View().Screen()); }

    ScopedAppContext m_context;
    test::TempFolder m_folder;
    test::TestDatabase m_db;
    std::string m_profilePath;
    CProfileStore m_profile;
    CScriptedDialogs m_dialogs;
    CTokeiyaScreens m_screens;
    std::unique_ptr<CTokeiyaDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};

TEST_F(WorkScreenTest, TheAdministrationAccountStartsOnItsHomeScreen) {
    Start("tokeiya", "");
    auto* screen = dynamic_cast<CCRWA_LoginSystem*>(View().Screen());
    ASSERT_NE(nullptr, screen);
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

TEST_F(WorkScreenTest, AUserWithoutABuiltStartScreenKeepsAnEmptyWindow) {
    Start("hanako", "pw");
    EXPECT_EQ(nullptr, View().Screen());
    EXPECT_FALSE(View().CanCreateScreen(0));
    EXPECT_TRUE(View().CanCreateScreen(100));
}

TEST_F(WorkScreenTest, AnUnknownCodeLeavesTheScreenAndBuiltCodesClearTheChosenUser) {
    Start("tokeiya", "");
    CCRWin* home = View().Screen();
    ASSERT_NE(nullptr, home);
    EXPECT_FALSE(View().SetScreen(104));
    EXPECT_EQ(home, View().Screen()) << "a code not built leaves the screen in place";

    CAppContext::Current().work.userId = 9;
    ASSERT_TRUE(View().SetScreen(100));
    EXPECT_EQ(0, CAppContext::Current().work.userId);
    EXPECT_NE(home, View().Screen()) << "a new screen object";
    EXPECT_EQ(100, View().ScreenCode());
}

}  // namespace
}  // namespace tokeiya
