#include "shell/CTokeiyaView.hpp"

#include <cstdlib>
#include <memory>

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
    if (m_timerRunning) {
        Window().KillTimer(kMinuteTimer);
    }
}

void CTokeiyaView::OnInitialUpdate() {
    UpdateTitle();
    SetScreen(ScreenId::MonthSchedule);
    m_timerRunning = Window().SetTimer(kMinuteTimer, MinuteTimerPeriod());
}

win::UINT CTokeiyaView::MinuteTimerPeriod() {
    // Tests of the whole program shorten the minute so that an alarm rings while they wait.
    const char* shorter = std::getenv("TOKEIYA_MINUTE_TIMER_MS");
    if (shorter == nullptr) {
        return kMinuteMs;
    }
    const long period = std::strtol(shorter, nullptr, 10);
    return period >= 100 && period < static_cast<long>(kMinuteMs) ? static_cast<win::UINT>(period)
                                                                  : kMinuteMs;
}

void CTokeiyaView::UpdateTitle() {
    m_mainWindow.SetTitle(m_doc.GetTitleText());
}

bool CTokeiyaView::CreateScreen(int code) {
    const ScreenEntry* entry = m_screens != nullptr ? m_screens->Find(code) : nullptr;
    if (entry == nullptr || entry->create == nullptr) {
        return false;
    }
    if (!entry->keepsChosenUser) {
        m_work.userId = 0;
    }
    std::unique_ptr<CCRWin> screen = entry->create(*this);
    if (screen == nullptr) {
        return false;
    }
    m_screenHooks = dynamic_cast<IWorkScreenHooks*>(screen.get());
    ReplaceScreen(std::move(screen));
    m_current = entry;
    return true;
}

bool CTokeiyaView::CanCreateScreen(ScreenId id) const {
    const ScreenEntry* entry = m_screens != nullptr ? m_screens->Find(ScreenCode(id)) : nullptr;
    return entry != nullptr && entry->create != nullptr;
}

void CTokeiyaView::OnOptionsChanged() {
    if (m_current != nullptr && m_current->hearsOptionChanges && m_screenHooks != nullptr) {
        m_screenHooks->OnOptionsChanged();
    }
}

bool CTokeiyaView::LeaveEdit() {
    return m_screenHooks == nullptr || m_screenHooks->LeaveEdit();
}

bool CTokeiyaView::LeaveScreen() {
    return LeaveEdit() && (m_screenHooks == nullptr || m_screenHooks->ConfirmLeave());
}

bool CTokeiyaView::OnMenuCommand(win::UINT id) {
    if (CDosWinView::OnMenuCommand(id)) {
        return true;
    }
    const bool switches = id == command::kChangeConnection || id == command::kGroupSettings ||
                          id == command::kUserSettings || id == command::kCalculation;
    // A refused value keeps the screen, its reason on the title line.
    if (switches && !LeaveScreen()) {
        return true;
    }
    switch (id) {
        case command::kChangeConnection:
            ChangeConnection();
            return true;
        case command::kGroupSettings:
            SetScreen(ScreenId::Groups);
            return true;
        case command::kUserSettings:
            SetScreen(ScreenId::Users);
            return true;
        case command::kCalculation:
            SetScreen(ScreenId::SalaryList);
            return true;
        default:
            return false;
    }
}

void CTokeiyaView::ChangeConnection() {
    // Successful or not, the caption and the start screen are shown afresh: Connect has
    // told any failure, and a failed attempt keeps the previous connection.
    static_cast<void>(m_doc.Connect(false));
    UpdateTitle();
    SetScreen(ScreenId::MonthSchedule);
}

bool CTokeiyaView::OnTimer(win::UINT id) {
    if (id != kMinuteTimer) {
        return CDosWinView::OnTimer(id);
    }
    // Fired inside the wait for a worker that holds the connection: nothing here may use
    // it, and the next minute checks again.
    if (m_doc.ConnectionLent()) {
        return true;
    }
    m_doc.CheckAlarm(Window());
    if (m_current != nullptr && m_current->refreshedEachMinute && m_screenHooks != nullptr) {
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
