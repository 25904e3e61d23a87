#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Desktop.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/SingleInstance.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "shell/IScreenFactory.hpp"

namespace tokeiya {

// Where the application finds its surroundings; the real values come from the system,
// tests put everything in a temporary folder.
struct AppEnvironment {
    std::string profilePath;    // the settings file
    std::string lockFolder;     // where the single-instance lock lives ("" = the default)
    std::string computerName;   // "" = the system cannot tell
    std::string currentFolder;  // ends in "/", or "" when unreadable
    // Where the program's own files are looked for after the current folder: beside the
    // executable, then the installed data folder (each ending in "/", "" = none).
    std::string executableFolder;
    std::string dataFolder;
    // Where session ends the database could not take are kept ("" = none kept).
    std::string attendanceJournalFile;
    // Runs once, after the main window's first paint (start-up measurements).
    std::function<void()> onFirstFrame;
    // Builds the work screens; without it the main window stays empty.
    std::shared_ptr<IScreenFactory> screens;

    static AppEnvironment FromSystem();

    // The first of current folder, executable folder and data folder that holds `name`;
    // the current folder's path when none does (`found` then false).
    std::string LocateProgramFile(const std::string& name, bool& found) const;
};

// The application: one copy per desktop session, the settings store, the session document
// and the main window, started and ended in a fixed order.
class CTokeiyaApp {
  public:
    // `context` is where the program's shared values live for the life of the application.
    CTokeiyaApp(IDesktop& desktop, AppEnvironment environment,
                CAppContext& context = CAppContext::Current());
    ~CTokeiyaApp();
    CTokeiyaApp(const CTokeiyaApp&) = delete;
    CTokeiyaApp& operator=(const CTokeiyaApp&) = delete;

    // Start-up up to a logged-in session; false when the program must end now, with
    // ExitCode() as its status (0 for a second copy, 1 when connecting or logging in failed).
    bool InitInstance();
    // Shows the main window until it is closed or the desktop session ends, then ends the
    // session: logout recorded, connection closed.
    void Run();
    int ExitInstance();

    int ExitCode() const { return m_exitCode; }
    CTokeiyaDoc* GetDocument() const { return m_doc.get(); }
    CProfileStore* GetProfile() const { return m_profile.get(); }
    CAppContext& Context() const { return m_context; }

  private:
    IDesktop& m_desktop;
    AppEnvironment m_environment;
    CAppContext& m_context;
    std::unique_ptr<CSingleInstanceLock> m_instanceLock;
    std::unique_ptr<CProfileStore> m_profile;
    std::unique_ptr<CTokeiyaDoc> m_doc;
    int m_exitCode = 0;
};

}  // namespace tokeiya
