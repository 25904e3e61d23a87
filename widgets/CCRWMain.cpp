#include "widgets/CCRWMain.hpp"

#include "engine/CIME.hpp"
#include "widgets/WidgetColors.hpp"

namespace tokeiya {

using namespace win;

namespace {

bool IsKeyUpMessage(const Message& message) {
    return message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
}

}  // namespace

CCRWMain::CCRWMain(IHostWindow* host)
    : CCRWin(host, true),
      m_editorText(EditorColors::Global().text),
      m_editorBack(EditorColors::Global().back) {
    SetGridAndMargins(80, 25, 0, 4);
    SetExitKeys(nullptr, true);
    SetImeAllowed(true);
}

CCRWMain::~CCRWMain() {
    DestroyChildren();
}

// --- What screens call ---

bool CCRWMain::ActivateItem(CIIBase* item) {
    CloseEditor();
    m_currentItem = item;
    if (item == nullptr) {
        return false;
    }
    item->SaveValue();
    return item->OpenEditor(*this);
}

void CCRWMain::CloseEditor() {
    m_currentItem = nullptr;
    if (m_activeEditor != nullptr) {
        DiscardEditor();
        m_hasPlacement = false;
    }
}

void CCRWMain::DiscardEditor() {
    if (m_activeEditor == nullptr) {
        return;
    }
    // Hidden while it still has its host, so that its area is repainted; its caret and input
    // method go with it.
    m_activeEditor->Show(false, true);
    m_activeEditor->Deactivate();
    m_activeEditor->Close();
    m_activeEditor.reset();
}

bool CCRWMain::TakeCurrentResult(int* changed) {
    if (m_currentItem == nullptr) {
        return false;
    }
    if (m_activeEditor == nullptr) {
        if (changed != nullptr) {
            *changed = 0;
        }
        return false;
    }
    const bool taken = m_currentItem->TakeResult(*m_activeEditor);
    if (changed != nullptr) {
        *changed = taken && m_currentItem->Changed() ? 1 : 0;
    }
    return taken;
}

bool CCRWMain::RejectEdit(int* changed, bool beep) {
    if (m_currentItem == nullptr) {
        return false;
    }
    if (beep && GetHost() != nullptr) {
        GetHost()->Beep(kRejectHertz, kRejectMilliseconds);
    }
    return m_currentItem->CancelEdit(changed);
}

void CCRWMain::SwitchScreen(int code) {
    IHostWindow* host = GetHost();
    if (host == nullptr) {
        return;
    }
    CIME ime(host);
    ime.SetOpen(false);
    ime.Release();
    host->PostMessage(WM_SWITCH_SCREEN, static_cast<WPARAM>(code), 0);
    Show(false, true);
    Close();
}

void CCRWMain::EnsureInitialized() {
    if (!m_initialized) {
        InitScreen();
    }
}

void CCRWMain::InitScreen() {
    m_initialized = true;
}

void CCRWMain::Start() {
    InitScreen();
    Show(true, true);
    Activate();
}

void CCRWMain::SetFunctionMenu(std::unique_ptr<IFunctionKeyBar> bar) {
    m_functionMenu = std::move(bar);
    if (m_functionMenu != nullptr) {
        m_functionMenu->SetHost(GetHost());
    }
}

void CCRWMain::DestroyChildren() {
    CCRWin::Show(false, false);
    CloseEditor();
    m_functionMenu.reset();
}

// --- IEditorForm ---

bool CCRWMain::PlaceEditor(const EditorPlacement& placement, CRect& rect) {
    if (!PlaceEditorRect(*this, placement, rect)) {
        return false;
    }
    m_editorPlacement = placement;
    m_hasPlacement = true;
    return true;
}

void CCRWMain::SetActiveEditor(std::unique_ptr<CCRWin> editor) {
    // The placement the item just recorded belongs to the new editor: it stays.
    DiscardEditor();
    m_activeEditor = std::move(editor);
    if (m_activeEditor != nullptr) {
        m_activeEditor->SetHost(GetHost());
        if (Shown()) {
            m_activeEditor->Activate();
        }
    }
}

// --- Input method ---

bool CCRWMain::OnImeNotify(WPARAM, LPARAM) {
    if (m_activeEditor != nullptr && !m_activeEditor->ImeAllowed()) {
        return true;
    }
    return !ImeAllowed();
}

bool CCRWMain::OnImeComposition(WPARAM, LPARAM) {
    return false;
}

bool CCRWMain::OnImeStartComposition() {
    m_composing = true;
    if (m_compositionBar != nullptr) {
        m_compositionBar->RedrawBar();
    }
    return false;
}

bool CCRWMain::OnImeEndComposition() {
    m_composing = false;
    if (m_functionMenu != nullptr) {
        m_functionMenu->RedrawBar();
    }
    return false;
}

bool CCRWMain::OnImeMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_activeEditor != nullptr && m_activeEditor->OnImeMessage(message, wParam, lParam)) {
        return true;
    }
    switch (message) {
        case WM_IME_STARTCOMPOSITION:
            return OnImeStartComposition();
        case WM_IME_ENDCOMPOSITION:
            return OnImeEndComposition();
        case WM_IME_COMPOSITION:
            return OnImeComposition(wParam, lParam);
        case WM_IME_NOTIFY:
            return OnImeNotify(wParam, lParam);
        default:
            return false;
    }
}

bool CCRWMain::IsComposing() const {
    return m_activeEditor != nullptr && m_activeEditor->IsComposing();
}

IFunctionKeyBar* CCRWMain::ShownBar() const {
    if (m_composing && m_compositionBar != nullptr) {
        return m_compositionBar;
    }
    return m_functionMenu.get();
}

// --- Keys, characters, mouse ---

bool CCRWMain::OnKey(const Message& message, bool down) {
    if (m_activeEditor != nullptr && m_activeEditor->OnKey(message, down)) {
        return true;
    }
    const bool composing = IsComposing();
    if (IsWidthToggleKey(message)) {
        if (!ImeAllowed()) {
            return true;
        }
        if (composing && IsKeyUpMessage(message)) {
            OnImeEndComposition();
        }
    }
    // The input method's own keys reach it through the default handling.
    if (composing) {
        return false;
    }
    if (IFunctionKeyBar* bar = ShownBar(); bar != nullptr && bar->OfferKey(message)) {
        return true;
    }
    return CCRWin::OnKey(message, down);
}

bool CCRWMain::OnChar(const Message& message) {
    return m_activeEditor != nullptr && m_activeEditor->OnChar(message);
}

bool CCRWMain::OnMouseMessage(const Message& message) {
    if (IsComposing()) {
        return false;
    }
    if (m_functionMenu != nullptr && m_functionMenu->OfferMouse(message)) {
        return true;
    }
    if (m_activeEditor != nullptr && m_activeEditor->OnMouseMessage(message)) {
        return true;
    }
    return CCRWin::OnMouseMessage(message);
}

bool CCRWMain::OnTimer(UINT timerId) {
    if (m_activeEditor != nullptr && m_activeEditor->OnTimer(timerId)) {
        return true;
    }
    return CCRWin::OnTimer(timerId);
}

bool CCRWMain::OnVScroll(int event, int position, CCRWScrollBar* bar) {
    if (m_activeEditor != nullptr && m_activeEditor->OnVScroll(event, position, bar)) {
        return true;
    }
    return CCRWin::OnVScroll(event, position, bar);
}

bool CCRWMain::OnHScroll(int event, int position, CCRWScrollBar* bar) {
    if (m_activeEditor != nullptr && m_activeEditor->OnHScroll(event, position, bar)) {
        return true;
    }
    return CCRWin::OnHScroll(event, position, bar);
}

CCRWScrollBar* CCRWMain::FindScrollBarBySerial(LPARAM serial) const {
    if (m_activeEditor != nullptr) {
        if (CCRWScrollBar* bar = m_activeEditor->FindScrollBarBySerial(serial)) {
            return bar;
        }
    }
    return CCRWin::FindScrollBarBySerial(serial);
}

// --- Clipboard and commands ---

bool CCRWMain::HasEditTarget() {
    return m_activeEditor != nullptr && m_activeEditor->HasEditTarget();
}

bool CCRWMain::CanCopy() {
    return m_activeEditor != nullptr && m_activeEditor->CanCopy();
}

bool CCRWMain::CanPaste() {
    return m_activeEditor != nullptr && m_activeEditor->CanPaste();
}

void CCRWMain::EditCopy() {
    if (m_activeEditor != nullptr) {
        m_activeEditor->EditCopy();
    }
}

void CCRWMain::EditPaste() {
    if (m_activeEditor != nullptr) {
        m_activeEditor->EditPaste();
    }
}

void CCRWMain::EditCut() {
    if (m_activeEditor != nullptr) {
        m_activeEditor->EditCut();
    }
}

bool CCRWMain::OnUpdateCommand(UINT id, CommandState& state) {
    const bool compositionBarShown = m_composing && m_compositionBar != nullptr;
    return m_activeEditor != nullptr && !compositionBarShown &&
           m_activeEditor->OnUpdateCommand(id, state);
}

// --- Window ---

void CCRWMain::Draw(CDC& dc) {
    if (!Shown()) {
        return;
    }
    CCRWin::Draw(dc);
    if (IFunctionKeyBar* bar = ShownBar()) {
        bar->Paint(dc);
    }
    if (m_activeEditor != nullptr) {
        m_activeEditor->Draw(dc);
    }
}

void CCRWMain::SetRect(const CRect& rect) {
    CCRWin::SetRect(rect);
    if (m_activeEditor != nullptr && m_hasPlacement) {
        CRect editorRect;
        if (PlaceEditorRect(*this, m_editorPlacement, editorRect)) {
            m_activeEditor->SetRect(editorRect);
        }
    }
}

bool CCRWMain::Show(bool shown, bool redraw) {
    CCRWin::Show(shown, redraw);
    if (m_activeEditor != nullptr) {
        m_activeEditor->Show(shown, redraw);
    }
    if (IFunctionKeyBar* bar = ShownBar()) {
        bar->SetVisible(shown);
    }
    return true;
}

void CCRWMain::Activate() {
    SetMouseEnabled(true);
    if (m_activeEditor != nullptr) {
        m_activeEditor->Activate();
    }
}

void CCRWMain::Deactivate() {
    if (m_activeEditor != nullptr) {
        m_activeEditor->Deactivate();
    }
}

void CCRWMain::Close() {
    CloseEditor();
    m_functionMenu.reset();
}

void CCRWMain::CloseAndFree() {
    Close();
    CCRWin::CloseAndFree();
}

void CCRWMain::SetCompositionBar(IFunctionKeyBar* bar) {
    m_compositionBar = bar;
}

void CCRWMain::SetHost(IHostWindow* host) {
    CCRWin::SetHost(host);
    if (m_activeEditor != nullptr) {
        m_activeEditor->SetHost(host);
    }
    if (m_functionMenu != nullptr) {
        m_functionMenu->SetHost(host);
    }
}

}  // namespace tokeiya
