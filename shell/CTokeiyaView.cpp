#include "shell/CTokeiyaView.hpp"

#include <memory>

#include "shell/CTokeiyaDoc.hpp"
#include "shell/MainMenu.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {

CTokeiyaView::CTokeiyaView(win::IMainWindow& window, CTokeiyaDoc& doc)
    : CDosWinView(window), m_mainWindow(window), m_doc(doc) {
    CreateScreen(0);
    if (Screen() != nullptr) {
        Screen()->SetHost(&window);
    }
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
    m_timerRunning = Window().SetTimer(kMinuteTimer, kMinuteMs);
}

void CTokeiyaView::UpdateTitle() {
    m_mainWindow.SetTitle(m_doc.GetTitleText());
}

// The work screens register here as they are built; until then every code is unknown and
// the client area stays empty.
bool CTokeiyaView::CreateScreen(int) {
    return false;
}

bool CTokeiyaView::CanCreateScreen(int) const {
    return false;
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
