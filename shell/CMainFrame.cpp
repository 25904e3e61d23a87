#include "shell/CMainFrame.hpp"

#include "printing/CPrintSetFile.hpp"
#include "shell/AppText.hpp"
#include "shell/COptionChange.hpp"
#include "shell/CPasswordChange.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "shell/MainMenu.hpp"

namespace tokeiya {

using namespace win;

namespace {

// The clipboard accelerators: Ctrl+X / Shift+Delete, Ctrl+C / Ctrl+Insert, Ctrl+V /
// Shift+Insert.
struct Accelerator {
    int key;
    int modifiers;
    UINT command;
};
constexpr Accelerator kAccelerators[] = {
    {'X', kCtrl, command::kEditCut},   {VK_DELETE, kShift, command::kEditCut},
    {'C', kCtrl, command::kEditCopy},  {VK_INSERT, kCtrl, command::kEditCopy},
    {'V', kCtrl, command::kEditPaste}, {VK_INSERT, kShift, command::kEditPaste},
};

// Zoom percentages the window can be shown at; anything else in the settings is taken
// for the default.
int UsableZoom(int percent) {
    return percent >= CDosWinFrame::kMinZoomPercent && percent <= 100 ? percent : 80;
}

}  // namespace

CMainFrame::CMainFrame(IDesktop& desktop, CTokeiyaDoc& doc, CProfileStore& profile,
                       IScreenFactory* screens)
    : m_desktop(desktop), m_doc(doc), m_profile(profile), m_screens(screens) {}

CMainFrame::~CMainFrame() {
    // The window may still deliver messages while it goes: the view and the frame must
    // still be whole then.
    if (m_window != nullptr) {
        m_window->Destroy();
    }
    m_view.reset();
    SetView(nullptr);
    m_window.reset();
}

void CMainFrame::Create(std::function<void()> onDisplayLost) {
    m_window = m_desktop.CreateMainWindow(*this, std::move(onDisplayLost));
    SetWindow(m_window.get());
    m_window->SetMenu(BuildMainMenu());
    m_window->SetTitle(m_doc.GetTitleText());
    m_window->AddTrayIcon(kTrayTip);
    m_view = std::make_unique<CTokeiyaView>(*m_window, m_doc, m_screens);
    SetView(m_view.get());
    m_view->OnInitialUpdate();
}

void CMainFrame::LoadWindowState() {
    m_wasMaximized = m_profile.GetProfileInt("WINDOW", "MaxSize", 0) != 0;
    m_zoomPercent = UsableZoom(m_profile.GetProfileInt("WINDOW", "Size", 80));
    m_keepAspect = m_profile.GetProfileInt("WINDOW", "Wide", 0) != 0;
    m_open = m_profile.GetProfileInt("WINDOW", "Open", 1) != 0;
}

void CMainFrame::SaveWindowState() {
    m_profile.WriteProfileInt("WINDOW", "MaxSize", m_wasMaximized ? 1 : 0);
    m_profile.WriteProfileInt("WINDOW", "Size", m_zoomPercent);
    m_profile.WriteProfileInt("WINDOW", "Wide", m_keepAspect ? 1 : 0);
}

void CMainFrame::ShowInitialWindow() {
    if (m_window == nullptr) {
        return;
    }
    LoadWindowState();
    // The normal size is placed even when the window starts maximised or hidden, so that
    // restoring it later finds it.
    if (m_zoomPercent == 100) {
        m_wasMaximized = true;
    } else {
        ExpectZoomSize();
        m_window->MoveWindow(ZoomRect(m_window->MaximizedSize(), m_zoomPercent, m_keepAspect));
    }
    if (!m_open) {
        m_window->SetTimer(kTrayCheckTimer, kTrayCheckMs);
        return;
    }
    m_window->ShowWindow(m_wasMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

void CMainFrame::Run() {
    if (m_window != nullptr && !m_closed) {
        m_window->RunMessageLoop();
    }
}

void CMainFrame::SetShowRequests(std::function<bool()> taken) {
    m_showRequests = std::move(taken);
    if (m_window != nullptr && m_showRequests) {
        m_window->SetTimer(kShowRequestTimer, kShowRequestMs);
    }
}

void CMainFrame::RestoreFromTray() {
    if (m_window == nullptr) {
        return;
    }
    m_window->ShowWindow(m_wasMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE);
    m_window->SetForeground();
}

bool CMainFrame::WindowProc(const Message& message) {
    if (m_closed && message.message != WM_DESTROY) {
        return false;
    }
    if (message.message == WM_ENDSESSION) {
        // The desktop is going: the window goes the normal way, whatever the screen thinks;
        // an edit that can be stored still is.
        if (message.wParam != 0) {
            m_doc.NoteSessionEnd(ActivityEnd::DesktopEnd);
            if (m_view != nullptr) {
                static_cast<void>(m_view->LeaveEdit());
            }
            CloseWindow();
        }
        return true;
    }
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        if (View() != nullptr && View()->WindowProc(message)) {
            return true;
        }
        return TranslateAccelerator(message);
    }
    return CDosWinFrame::WindowProc(message);
}

void CMainFrame::OnPaint(CDC& dc) {
    CDosWinFrame::OnPaint(dc);
    if (m_firstPaint) {
        auto hook = std::move(m_firstPaint);
        m_firstPaint = nullptr;
        hook();
    }
}

bool CMainFrame::Visible() const {
    return m_window != nullptr && !m_closed && m_window->IsVisible();
}

bool CMainFrame::TranslateAccelerator(const Message& message) {
    const int modifiers = m_window != nullptr ? m_window->ModifierState() : 0;
    for (const Accelerator& accelerator : kAccelerators) {
        if (accelerator.key != static_cast<int>(message.wParam) ||
            accelerator.modifiers != modifiers) {
            continue;
        }
        CommandState state;
        UpdateCommand(accelerator.command, state);
        if (state.enabled) {
            CDosWinFrame::WindowProc(Message{WM_COMMAND, accelerator.command, 0});
        }
        return true;
    }
    return false;
}

bool CMainFrame::OnOtherMessage(const Message& message) {
    if (message.message == WM_TRAY_NOTIFY) {
        OnTrayNotify(static_cast<UINT>(message.lParam));
        return true;
    }
    if (message.message == WM_TIMER && message.wParam == kShowRequestTimer) {
        if (m_showRequests && m_showRequests()) {
            if (!m_window->IsVisible()) {
                RestoreFromTray();
            }
            if (m_window->IsMinimized()) {
                m_window->ShowWindow(SW_RESTORE);
            }
            m_window->SetForeground();
        }
        return true;
    }
    if (message.message == WM_TIMER && message.wParam == kTrayCheckTimer) {
        // Without a notification area a hidden window could never be opened again.
        m_window->KillTimer(kTrayCheckTimer);
        if (!Visible() && !m_window->TrayIconShown()) {
            m_window->ShowWindow(m_wasMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        }
        return true;
    }
    return false;
}

void CMainFrame::OnTrayNotify(UINT mouseMessage) {
    if (Visible() || m_window == nullptr) {
        return;
    }
    if (mouseMessage == WM_RBUTTONUP) {
        m_window->SetForeground();
        m_window->TrackPopupMenu(BuildTrayMenu());
    } else if (mouseMessage == WM_LBUTTONDBLCLK) {
        RestoreFromTray();
    }
}

void CMainFrame::OnSize(WPARAM kind, int width, int height) {
    if (kind == SIZE_MINIMIZED) {
        // Minimising sends the window to the notification area; where the desktop has none,
        // the window stays minimised on the task bar, or it could not be found again.
        if (m_window != nullptr && m_window->TrayIconShown()) {
            m_window->ShowWindow(SW_HIDE);
        }
        return;
    }
    CDosWinFrame::OnSize(kind, width, height);
}

void CMainFrame::OnShowWindow(bool shown, int status) {
    // Status 1: the owner is being minimised.
    if (!shown || status == 1) {
        SaveWindowState();
        m_trackMaximized = false;
    } else {
        m_trackMaximized = true;
    }
}

void CMainFrame::OnClose() {
    if (m_closing || m_window == nullptr) {
        return;
    }
    // A value the screen refuses keeps the window open with the reason shown, brought back
    // from the notification area when it closes from there.
    if (m_view != nullptr && !m_view->LeaveScreen()) {
        if (!Visible()) {
            RestoreFromTray();
        }
        return;
    }
    CloseWindow();
}

void CMainFrame::CloseWindow() {
    if (m_closing || m_window == nullptr) {
        return;
    }
    m_closing = true;
    m_window->KillTimer(kShowRequestTimer);
    // Hidden first, which saves the window state; then the view (its timer stops), then
    // the frame's window with its icon. The session ends after the loop has returned.
    if (m_window->IsVisible()) {
        m_window->ShowWindow(SW_HIDE);
    }
    m_closed = true;
    m_window->Destroy();
    m_view.reset();
    SetView(nullptr);
    m_window->RemoveTrayIcon();
    m_window->Quit();
}

bool CMainFrame::OnFrameCommand(UINT id) {
    switch (id) {
        case command::kZoom90:
            SetZoom(90);
            return true;
        case command::kZoom80:
            SetZoom(80);
            return true;
        case command::kZoom70:
            SetZoom(70);
            return true;
        case command::kFitScreen:
            m_keepAspect = !m_keepAspect;
            if (m_window != nullptr && !m_window->IsMaximized()) {
                SetZoom(m_zoomPercent);
            }
            return true;
        case command::kOpenFromTray:
            RestoreFromTray();
            return true;
        case command::kAbout:
            m_desktop.ShowAboutDialog(text::kAboutText);
            return true;
        case command::kOptions:
            if (COptionChange(m_doc).Run()) {
                m_open = m_profile.GetProfileInt("WINDOW", "Open", 1) != 0;
                if (m_view != nullptr) {
                    m_view->OnOptionsChanged();
                }
            }
            return true;
        case command::kChangePassword:
            CPasswordChange(m_doc).Run();
            return true;
        case command::kPrinterSalary:
        case command::kPrinterCard:
            // The printer and its paper, then the position adjustment and the paper check.
            static_cast<void>(CPrintSetFile().SetupPrinter(
                m_desktop,
                id == command::kPrinterSalary ? CPrintSetFile::kSalary : CPrintSetFile::kCard,
                true));
            return true;
        case command::kExit:
            CDosWinFrame::WindowProc(Message{WM_CLOSE, 0, 0});
            return true;
        default:
            return false;
    }
}

void CMainFrame::OnUpdateFrameCommand(UINT id, CommandState& state) {
    MenuContext context;
    context.userLevel = m_doc.GetLoggedInUser().nLevel;
    context.screen = m_view != nullptr ? m_view->CurrentScreen() : ScreenId::MonthSchedule;
    context.zoomPercent = m_zoomPercent;
    context.maximized = m_window != nullptr && m_window->IsMaximized();
    context.fitScreen = m_keepAspect;
    if (m_view != nullptr) {
        context.canShowScreen = [view = m_view.get()](ScreenId screen) {
            return view->CanCreateScreen(screen);
        };
    }
    context.printSettingsAvailable = m_desktop.Printing() != nullptr;
    if (auto known = MainMenuState(id, context)) {
        state = *known;
    }
}

}  // namespace tokeiya
