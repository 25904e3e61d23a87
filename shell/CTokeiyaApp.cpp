#include "shell/CTokeiyaApp.hpp"

#include "platform/SystemInfo.hpp"
#include "shell/AppText.hpp"
#include "shell/CMainFrame.hpp"

namespace tokeiya {

AppEnvironment AppEnvironment::FromSystem() {
    AppEnvironment environment;
    environment.profilePath = CProfileStore::DefaultPath();
    environment.computerName = ComputerName().value_or("");
    environment.currentFolder = CurrentFolder();
    return environment;
}

CTokeiyaApp::CTokeiyaApp(IDesktop& desktop, AppEnvironment environment, CAppContext& context)
    : m_desktop(desktop), m_environment(std::move(environment)), m_context(context) {}

CTokeiyaApp::~CTokeiyaApp() {
    ExitInstance();
}

bool CTokeiyaApp::InitInstance() {
    m_instanceLock =
        CSingleInstanceLock::Acquire(text::kApplicationTitle, m_environment.lockFolder);
    if (!m_instanceLock) {
        m_exitCode = 0;  // another copy runs in this session: end without a word
        return false;
    }
    // The definition files are looked up in the folder the program was started from.
    const std::string& folder = m_environment.currentFolder;
    m_context.screenDefinitionFile = folder + "Tokeiya.ggd";
    m_context.functionKeyFile = folder + "Tokeiya.gfd";
    m_context.printSettingsFile = folder + "Tokeiya.pst";

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
        CMainFrame frame(m_desktop, *doc, *m_profile);
        frame.Create([doc]() noexcept {
            // The display is gone: no dialog can be shown, but the logout and the departure
            // must still be written.
            try {
                doc->DetachDialogs();
                doc->EndSession();
            } catch (...) {
            }
        });
        frame.SetFirstPaintHook(m_environment.onFirstFrame);
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
