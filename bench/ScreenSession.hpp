#pragma once

// A session of the program on the headless desktop for the screen benchmarks: a fresh
// embedded database, the program's screen and label packages, the screens, and a clock
// fixed at `now`. Fill the database through Database(), then Start logs a user in.
#include <memory>
#include <string>

#include "platform/AppContext.hpp"
#include "platform/CTime.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "screens/CTokeiyaScreens.hpp"
#include "shell/CMainFrame.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "tests/support/DialogScripts.hpp"
#include "tests/support/TempFolder.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya::bench {

class ScreenSession {
  public:
    explicit ScreenSession(const CTime& now)
        : m_clock(now.GetTime()),
          m_db(test::Engine::SQLite),
          m_profile(m_folder.Path() + "/Tokeiya.ini") {
        m_context.Context().screenDefinitionFile = TOKEIYA_BINARY_DIR "/Tokeiya.ggd";
        m_context.Context().functionKeyFile = TOKEIYA_BINARY_DIR "/Tokeiya.gfd";
        m_profile.WriteProfileString("DATABASE", "Connection", m_db.ConnectString());
    }

    // The database to fill before the session starts.
    CConnection& Database() { return m_db.Connection(); }

    // Logs the user in and opens the main window on the start screen; false when the login
    // failed.
    bool Start(const std::string& userName, const std::string& password) {
        test::QueueLogin(m_dialogs, userName, password);
        m_doc = std::make_unique<CTokeiyaDoc>(m_profile, m_dialogs, "PC-1");
        if (!m_doc->Create()) {
            return false;
        }
        m_frame = std::make_unique<CMainFrame>(m_dialogs, *m_doc, m_profile, &m_screens);
        m_frame->Create({});
        m_frame->ShowInitialWindow();
        Window().Pump();
        Window().UpdateWindow();
        return true;
    }

    CTokeiyaView& View() { return *m_frame->GetView(); }
    headless::HeadlessHostWindow& Window() { return *m_dialogs.m_mainWindow; }
    // The session's own connection.
    CConnection& SessionDatabase() { return *m_doc->GetDatabase(); }

  private:
    ScopedClockOverride m_clock;
    ScopedAppContext m_context;
    test::TempFolder m_folder;
    test::TestDatabase m_db;
    CProfileStore m_profile;
    CScriptedDialogs m_dialogs;
    CTokeiyaScreens m_screens;
    std::unique_ptr<CTokeiyaDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace tokeiya::bench
