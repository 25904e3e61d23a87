#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/CTUser.hpp"
#include "platform/AppContext.hpp"
#include "platform/CTime.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "screens/CTokeiyaScreens.hpp"
#include "shell/CMainFrame.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "tests/support/DialogScripts.hpp"
#include "tests/support/ScreenText.hpp"
#include "tests/support/TempFolder.hpp"
#include "tests/support/TestDatabase.hpp"
#include "tests/support/TestPasswords.hpp"

namespace tokeiya::test {

// A session on the embedded database with its main window and the program's screens,
// reading the packages the build made. The database has the administration account and the
// user "hanako" (id 1, password "pw").
class WorkSession : public ::testing::Test {
  protected:
    WorkSession()
        : m_db(Engine::SQLite),
          m_profilePath(m_folder.Path() + "/Tokeiya.ini"),
          m_profile(m_profilePath) {
        m_context.Context().screenDefinitionFile = TOKEIYA_BINARY_DIR "/Tokeiya.ggd";
        m_context.Context().functionKeyFile = TOKEIYA_BINARY_DIR "/Tokeiya.gfd";
        m_context.Context().printSettingsFile = m_folder.Path() + "/Tokeiya.pst";
        m_profile.WriteProfileString("DATABASE", "Connection", m_db.ConnectString());
        m_dialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        CUser user;
        user.strUserName = "hanako";
        user.strPasswordHash = test::CheapHash("pw");
        user.idGroup = 1;
        user.nLevel = 3;
        EXPECT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::Table).Save(user));
    }

    // The program's screens unless `screens` is given. The administration account, still
    // without a password, puts off setting one.
    void Start(const char* name, const char* password, IScreenFactory* screens = nullptr) {
        QueueLogin(m_dialogs, name, password);
        if (std::string(name) == "tokeiya" && std::string(password).empty()) {
            QueuePasswordPutOff(m_dialogs);
        }
        m_doc = std::make_unique<CTokeiyaDoc>(m_profile, m_dialogs, "PC-1");
        m_doc->SetPasswordHash(CPasswordHash(kCheapLimits));
        ASSERT_TRUE(m_doc->Create());
        m_frame = std::make_unique<CMainFrame>(m_dialogs, *m_doc, m_profile,
                                               screens != nullptr ? screens : &m_screens);
        m_frame->Create({});
        m_frame->ShowInitialWindow();
        // A screen that gives way to another does so through a posted message.
        Window().Pump();
        Window().UpdateWindow();
    }

    // What CTime reads from now on, until the main window's virtual clock takes over.
    void FixClock(int year, int month, int day, int hour, int minute) {
        m_fixedClock = std::make_unique<ScopedClockOverride>(
            CTime::FromLocal(year, month, day, hour, minute, 0)->GetTime());
    }

    headless::HeadlessHostWindow& Window() { return *m_dialogs.m_mainWindow; }
    // Where the remembered login's password is kept here (no secret service).
    std::string PasswordFile() const { return m_folder.Path() + "/Tokeiya-passwords"; }
    CTokeiyaView& View() { return *m_frame->GetView(); }
    // The screen's cells as UTF-8 text.
    std::string Shown() { return ScreenText(*View().Screen()); }

    // What a person does on the screen, each followed by what it posted.
    void Key(int virtualKey, int times = 1) {
        for (int i = 0; i < times; ++i) {
            Window().Press(virtualKey);
            Window().Pump();
        }
    }
    void TypeAndEnter(const std::string& text) {
        Window().Type(text);
        Key(win::VK_RETURN);
    }
    // The middle of a cell of the screen in client pixels.
    CPoint CellCentre(int col, int row) {
        CRect px = View().Screen()->CellRectToPixels(CRect{col, row, col + 1, row + 1});
        return {(px.left + px.right) / 2, (px.top + px.bottom) / 2};
    }
    void ClickCell(int col, int row) {
        const CPoint at = CellCentre(col, row);
        Window().Click(headless::HeadlessHostWindow::Button::Left, at.x, at.y);
        Window().Pump();
    }

    std::unique_ptr<ScopedClockOverride> m_fixedClock;  // first made, last gone
    NoSecretService m_noSecretService;
    ScopedAppContext m_context;
    TempFolder m_folder;
    TestDatabase m_db;
    std::string m_profilePath;
    CProfileStore m_profile;
    CScriptedDialogs m_dialogs;
    CTokeiyaScreens m_screens;
    std::unique_ptr<CTokeiyaDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace tokeiya::test
