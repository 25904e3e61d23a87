#include "screens/base/CCRWA_Tokeiya.hpp"

#include <algorithm>
#include <memory>

#include "platform/TextHelpers.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CCRWTTime.hpp"
#include "widgets/CFunctionMenu.hpp"
#include "widgets/CIITime.hpp"

namespace tokeiya {

namespace {

// The title line is blank on every screen: a notice there hides nothing.
constexpr int kNoticeLine = 0;
constexpr int kNoticeColumn = 2;
constexpr COLORREF kNoticeColor = RGB(0xC0, 0, 0);

}  // namespace

CCRWA_Tokeiya::CCRWA_Tokeiya(CTokeiyaView& view, const std::string& drawingName,
                             const std::string& menuName)
    : CCRWMain(&view.Window()), m_view(view) {
    if (!menuName.empty()) {
        auto bar = std::make_unique<CFunctionMenu>(&view.Window(), true);
        // A package without the screen's record leaves the keys unlabelled; they still work.
        bar->LoadLabels(menuName, "", false);
        SetFunctionMenu(std::move(bar));
    }
    if (!drawingName.empty()) {
        LoadFromPackage(drawingName);
    }
}

CCRWA_Tokeiya::~CCRWA_Tokeiya() {
    StopNoticeTimer();
}

void CCRWA_Tokeiya::OnOptionsChanged() {}

void CCRWA_Tokeiya::OnPeriodicRefresh() {}

bool CCRWA_Tokeiya::LeaveEdit() {
    CloseEditor();
    return true;
}

CConnection* CCRWA_Tokeiya::Database() const {
    return m_view.Document().GetDatabase();
}

CFunctionMenu* CCRWA_Tokeiya::FunctionMenu() const {
    return dynamic_cast<CFunctionMenu*>(GetFunctionMenu());
}

CCRWA_Tokeiya::Taken CCRWA_Tokeiya::TakeEdit() {
    CIIBase* item = CurrentItem();
    if (ActiveEditor() == nullptr || item == nullptr) {
        return Taken::Unchanged;
    }
    int changed = 0;
    if (!TakeCurrentResult(&changed)) {
        RejectEdit(&changed, true);
        ShowNotice(InvalidValueText(*item));
        ActivateItem(item);
        return Taken::Refused;
    }
    return changed != 0 ? Taken::Changed : Taken::Unchanged;
}

bool CCRWA_Tokeiya::SwitchScreen(ScreenId id) {
    if (!m_view.CanCreateScreen(id) || !ConfirmLeave()) {
        return false;
    }
    CCRWMain::SwitchScreen(ScreenCode(id));
    return true;
}

bool CCRWA_Tokeiya::StoreOpenEdit(const std::function<void()>& store,
                                  const std::function<void()>& redraw) {
    if (ActiveEditor() == nullptr) {
        return true;
    }
    const Taken taken = TakeEdit();
    if (taken == Taken::Refused) {
        return false;
    }
    if (taken == Taken::Changed) {
        store();
    }
    redraw();
    CloseEditor();
    return true;
}

std::string CCRWA_Tokeiya::InvalidValueText(const CIIBase& item) const {
    if (dynamic_cast<const CIITime*>(&item) != nullptr) {
        return "時刻は 00:00 から 23:59 までです。";
    }
    return "この値は入力できません。";
}

void CCRWA_Tokeiya::ShowNotice(const std::string& text) {
    ClearNotice();
    win::IHostWindow* host = GetHost();
    if (text.empty() || host == nullptr) {
        return;
    }
    const int width = Cols() - 2 * kNoticeColumn;
    m_notice = LeftBytes(text, width, true);
    PutText(m_notice, kNoticeColumn, kNoticeLine, kNoticeColor, true);
    m_noticeTimer = host->AllocateTimerId();
    if (!host->SetTimer(m_noticeTimer, kNoticeMs)) {
        m_noticeTimer = 0;
    }
}

void CCRWA_Tokeiya::StopNoticeTimer() {
    if (m_noticeTimer != 0 && GetHost() != nullptr) {
        GetHost()->KillTimer(m_noticeTimer);
    }
    m_noticeTimer = 0;
}

void CCRWA_Tokeiya::ClearNotice() {
    StopNoticeTimer();
    if (m_notice.empty()) {
        return;
    }
    const int width = static_cast<int>(m_notice.size());
    PutText(std::string(static_cast<size_t>(width), ' '), kNoticeColumn, kNoticeLine, true);
    SetTextColor(DefaultTextColor(), kNoticeColumn, kNoticeLine, width, 1, true);
    m_notice.clear();
}

bool CCRWA_Tokeiya::OnTimer(win::UINT timerId) {
    if (timerId != 0 && timerId == m_noticeTimer) {
        ClearNotice();
        return true;
    }
    return CCRWMain::OnTimer(timerId);
}

bool CCRWA_Tokeiya::OnUserMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    if (message != win::WM_INPUT_CUT) {
        return CCRWMain::OnUserMessage(message, wParam, lParam);
    }
    if (GetHost() != nullptr) {
        GetHost()->Beep(kRejectHertz, kRejectMilliseconds);
    }
    ShowNotice(FullFieldText(static_cast<int>(wParam)));
    return true;
}

std::string CCRWA_Tokeiya::FullFieldText(int bytes) {
    return "ここには半角 " + std::to_string(bytes) + " 文字 (全角 " + std::to_string(bytes / 2) +
           " 文字) までしか入りません。";
}

void CCRWA_Tokeiya::SetKeyLabel(int key, const std::string& label) {
    CFunctionMenu* bar = FunctionMenu();
    if (bar == nullptr || bar->GetLabel(0, key) == label) {
        return;
    }
    bar->SetLabels(key, label);
    bar->RedrawKey(key);
}

void CCRWA_Tokeiya::LabelNews(const CTime& known,
                              const std::function<CTime(CConnection&)>& newest) {
    CFunctionMenu* bar = FunctionMenu();
    CConnection* db = Database();
    if (db == nullptr || bar == nullptr || bar->HasLabel(0, 1)) {
        return;
    }
    if (newest(*db) > known) {
        SetKeyLabel(1, kLatestLabel);
    }
}

bool CCRWA_Tokeiya::PutPresentTimeInEditor() {
    CFunctionMenu* bar = FunctionMenu();
    auto* editor = dynamic_cast<CCRWTTime*>(ActiveEditor());
    if (bar == nullptr || bar->GetLabel(0, 6) != kPresentLabel || editor == nullptr) {
        return false;
    }
    editor->Start(CTime::GetCurrentTime(), true);
    return true;
}

void CCRWA_Tokeiya::HideMainWindow() {
    win::IMainWindow& window = m_view.MainWindow();
    // Only the notification icon brings a hidden window back: without one shown, the
    // window goes to the task bar instead, or it could never be found again.
    window.ShowWindow(window.TrayIconShown() ? win::SW_HIDE : win::SW_SHOWMINIMIZED);
}

}  // namespace tokeiya
