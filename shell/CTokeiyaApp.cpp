#include "shell/CTokeiyaApp.hpp"

#include <glib.h>

#include "platform/SystemInfo.hpp"
#include "shell/AppText.hpp"
#include "shell/CAttendanceJournal.hpp"
#include "shell/CMainFrame.hpp"
#include "widgets/WidgetColors.hpp"

namespace tokeiya {

AppEnvironment AppEnvironment::FromSystem() {
    AppEnvironment environment;
    environment.profilePath = CProfileStore::DefaultPath();
    environment.computerName = ComputerName().value_or("");
    environment.currentFolder = CurrentFolder();
    environment.executableFolder = ExecutableFolder();
    environment.dataFolder = TOKEIYA_DATA_DIR "/";
    environment.attendanceJournalFile = CAttendanceJournal::DefaultPath();
    return environment;
}

std::string AppEnvironment::LocateProgramFile(const std::string& name, bool& found) const {
    for (const std::string* folder : {&currentFolder, &executableFolder, &dataFolder}) {
        if (folder->empty()) {
            continue;
        }
        std::string path = *folder + name;
        if (g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR)) {
            found = true;
            return path;
        }
    }
    found = false;
    return currentFolder + name;
}

CTokeiyaApp::CTokeiyaApp(IDesktop& desktop, AppEnvironment environment, CAppContext& context)
    : m_desktop(desktop), m_environment(std::move(environment)), m_context(context) {
    // The colours of the forms' editors and of the pop-up lists, for every screen: the
    // program's own, whatever an earlier application in this process set.
    EditorColors::Global() = EditorColors{};
    MenuColors::Global() = MenuColors{};
}

CTokeiyaApp::~CTokeiyaApp() {
    ExitInstance();
}

bool CTokeiyaApp::InitInstance() {
    m_instanceLock =
        CSingleInstanceLock::Acquire(text::kApplicationTitle, m_environment.lockFolder);
    if (!m_instanceLock) {
        // Another copy runs in this session: its window comes to the front instead (it may
        // be hidden or minimised), and this start ends without a word.
        static_cast<void>(CSingleInstanceLock::AskRunningCopyToShow(text::kApplicationTitle,
                                                                    m_environment.lockFolder));
        m_exitCode = 0;
        return false;
    }
    // Without the socket a later start cannot reach this copy; it runs all the same.
    static_cast<void>(m_instanceLock->Listen());
    // The definition packages: in the folder the program was started from, else the
    // program's own. Without the screen package every screen would silently take the look
    // its code gives it, so its absence is told once, here.
    bool found = false;
    m_context.screenDefinitionFile = m_environment.LocateProgramFile("Tokeiya.ggd", found);
    if (!found) {
        m_desktop.MessageBox(text::kScreenPackageMissing, MessageButtons::Ok);
    }
    m_context.functionKeyFile = m_environment.LocateProgramFile("Tokeiya.gfd", found);
    // The print settings are the user's own, kept beside the settings file: a program
    // started at login has no start folder of its own. One left in the start folder by an
    // earlier version is taken over once.
    m_context.printSettingsFile = CProfileStore::Beside(m_environment.profilePath, "Tokeiya.pst");
    if (!m_environment.currentFolder.empty()) {
        m_context.formerPrintSettingsFile = m_environment.currentFolder + "Tokeiya.pst";
    }
    m_context.attendanceJournalFile = m_environment.attendanceJournalFile;

    m_profile = std::make_unique<CProfileStore>(m_environment.profilePath);
    m_context.alarmAll = m_profile->GetProfileInt("ALARM", "AlarmAll", 0) != 0;

    m_doc =
        std::make_unique<CTokeiyaDoc>(*m_profile, m_desktop, m_environment.computerName, m_context);
    if (!m_doc->Create()) {
        m_doc.reset();
        m_exitCode = 1;
        return false;
    }
    return true;
}

void CTokeiyaApp::Run() {
    if (!m_doc) {
        return;
    }
    CTokeiyaDoc* doc = m_doc.get();
    {
        CMainFrame frame(m_desktop, *doc, *m_profile, m_environment.screens.get());
        frame.Create([doc]() noexcept {
            // The display is gone: no dialog can be shown, but the logout and the departure
            // must still be written.
            try {
                doc->DetachDialogs();
                doc->NoteSessionEnd(ActivityEnd::DisplayLost);
                doc->EndSession();
            } catch (...) {
            }
        });
        frame.SetFirstPaintHook(m_environment.onFirstFrame);
        // Sleep and a locked screen end the span of PC activity; waking and unlocking
        // open the next, so that a computer left on overnight is no night of work.
        const std::unique_ptr<IActivityWatch> activity = m_desktop.WatchActivity(
            {.paused =
                 [doc](DesktopPause why) {
                     static_cast<void>(doc->PauseActivity(
                         why == DesktopPause::Sleep ? ActivityEnd::Sleep : ActivityEnd::Lock));
                 },
             .resumed = [doc] { static_cast<void>(doc->ResumeActivity()); }});
        CSingleInstanceLock* lock = m_instanceLock.get();
        frame.SetShowRequests([lock] { return lock->TakeShowRequest(); });
        frame.ShowInitialWindow();
        frame.Run();
    }
    m_doc.reset();  // ends the session
}

int CTokeiyaApp::ExitInstance() {
    m_doc.reset();
    m_instanceLock.reset();
    return m_exitCode;
}

}  // namespace tokeiya
