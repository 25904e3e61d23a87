#include "shell/CTokeiyaView.hpp"

#include <memory>

#include "platform/AppContext.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "shell/MainMenu.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {

CTokeiyaView::CTokeiyaView(win::IMainWindow& window, CTokeiyaDoc& doc, IScreenFactory* screens)
    : CDosWinView(window), m_mainWindow(window), m_doc(doc), m_screens(screens) {
    // The bar that shows the conversion keys while the input method composes.
    InstallFunctionBar(std::make_unique<CFunctionMenu>(&window, true));
    LabelImeKeys();
}

CTokeiyaView::~CTokeiyaView() {
    m_doc.SetView(nullptr);
    if (m_timerRunning) {
        Window().KillTimer(kMinuteTimer);
    }
}

void CTokeiyaView::OnInitialUpdate() {
    m_doc.SetView(this);
    UpdateTitle();
    SetScreen(0);
    m_timerRunning = Window().SetTimer(kMinuteTimer, kMinuteMs);
}

void CTokeiyaView::UpdateTitle() {
    m_mainWindow.SetTitle(m_doc.GetTitleText());
}

// A code the factory does not know leaves the current screen in place.
bool CTokeiyaView::CreateScreen(int code) {
    if (!CanCreateScreen(code)) {
        return false;
    }
    // Only the salary list and the time card keep the user chosen on the list.
    if (code < 103) {
        CAppContext::Current().work.userId = 0;
    }
    std::unique_ptr<CCRWin> screen = m_screens->Create(code, *this);
    if (screen == nullptr) {
        return false;
    }
    m_screenHooks = dynamic_cast<IWorkScreenHooks*>(screen.get());
    ReplaceScreen(std::move(screen));
    m_screenCode = code;
    return true;
}

bool CTokeiyaView::CanCreateScreen(int code) const {
    return m_screens != nullptr && m_screens->Knows(code, *this);
}

void CTokeiyaView::OnOptionsChanged() {
    if (m_screenCode < 100 && m_screenHooks != nullptr) {
        m_screenHooks->OnOptionsChanged();
    }
}

bool CTokeiyaView::OnMenuCommand(win::UINT id) {
    if (CDosWinView::OnMenuCommand(id)) {
        return true;
    }
    switch (id) {
        case command::kChangeConnection:
            ChangeConnection();
            return true;
        case command::kGroupSettings:
            SetScreen(101);
            return true;
        case command::kUserSettings:
            SetScreen(102);
            return true;
        case command::kCalculation:
            SetScreen(103);
            return true;
        default:
            return false;
    }
}

void CTokeiyaView::ChangeConnection() {
    // Successful or not, the caption and the start screen are shown afresh; a failed
    // attempt keeps the previous connection.
    m_doc.Connect(0);
    UpdateTitle();
    SetScreen(0);
}

bool CTokeiyaView::OnTimer(win::UINT id) {
    if (id != kMinuteTimer) {
        return CDosWinView::OnTimer(id);
    }
    m_doc.CheckAlarm();
    // The schedule screens look for changes other computers made.
    if ((m_screenCode == 0 || m_screenCode == 2) && m_screenHooks != nullptr) {
        m_screenHooks->OnPeriodicRefresh();
    }
    return true;
}

void CTokeiyaView::OnDestroy() {
    if (m_timerRunning) {
        Window().KillTimer(kMinuteTimer);
        m_timerRunning = false;
    }
    CDosWinView::OnDestroy();
}

}  // namespace tokeiya
