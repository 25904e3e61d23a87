#include "engine/CDosWinView.hpp"

#include <algorithm>
#include <utility>

namespace tokeiya {

using namespace win;

namespace {

bool IsImeMessage(UINT message) {
    switch (message) {
        case WM_IME_STARTCOMPOSITION:
        case WM_IME_ENDCOMPOSITION:
        case WM_IME_COMPOSITION:
        case WM_IME_SETCONTEXT:
        case WM_IME_NOTIFY:
        case WM_IME_CONTROL:
        case WM_IME_COMPOSITIONFULL:
        case WM_IME_SELECT:
        case WM_IME_CHAR:
        case WM_IME_REQUEST:
            return true;
        default:
            return false;
    }
}

bool IsButtonDown(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool IsButtonUp(UINT message) {
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

bool IsDoubleClick(UINT message) {
    return message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK ||
           message == WM_MBUTTONDBLCLK;
}

// The bar a scroll notification names, as the screen resolves its serial; null when the
// bar went with its screen, or there is no screen.
CCRWScrollBar* BarOf(const CCRWin* screen, const Message& message) {
    return screen != nullptr ? screen->FindScrollBarBySerial(message.lParam) : nullptr;
}

}  // namespace

CDosWinView::CDosWinView(IHostWindow& window) : m_window(window), m_ime(&window) {}

CDosWinView::~CDosWinView() {
    m_ime.Release();
}

bool CDosWinView::WindowProc(const Message& message) {
    if (Route(message)) {
        return true;
    }
    // The program's own messages go to the screen before the view's handling.
    if (message.message >= WM_USER && m_screen != nullptr &&
        m_screen->OnUserMessage(message.message, message.wParam, message.lParam)) {
        return true;
    }
    return Dispatch(message);
}

bool CDosWinView::Route(const Message& message) {
    bool handled = false;
    if (RouteEngineMessage(message, handled)) {
        return handled;
    }
    CCRWin* screen = m_screen.get();
    if (screen == nullptr) {
        return false;
    }
    const UINT msg = message.message;
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return screen->OnKeyDown(message);
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return screen->OnKeyUp(message);
        case WM_CHAR:
            return screen->OnChar(message);
        case WM_MOUSEWHEEL: {
            // The wheel reports the pointer in screen coordinates.
            const CPoint origin = m_window.ClientOrigin();
            Message client = message;
            client.lParam = MakeLParam(LowWordSigned(message.lParam) - origin.x,
                                       HighWordSigned(message.lParam) - origin.y);
            return screen->OnMouseMessage(client);
        }
        case WM_TIMER:
            return false;  // through the view's own timer handling
        default:
            break;
    }
    if (IsImeMessage(msg)) {
        return screen->OnImeMessage(msg, message.wParam, message.lParam);
    }
    if (IsButtonUp(msg)) {
        // The up that ends a double click is not the screen's business.
        if (m_swallowButtonUp) {
            m_swallowButtonUp = false;
            return true;
        }
        return screen->OnMouseMessage(message);
    }
    if (IsDoubleClick(msg)) {
        m_swallowButtonUp = true;
        return screen->OnMouseMessage(message);
    }
    if (msg == WM_MOUSEMOVE || IsButtonDown(msg)) {
        return screen->OnMouseMessage(message);
    }
    return screen->OnMouseMessage(message);
}

// True when the message is an engine message; `handled` then tells whether it was taken.
// Those meant for the screen are dropped while there is none.
bool CDosWinView::RouteEngineMessage(const Message& message, bool& handled) {
    CCRWin* screen = m_screen.get();
    const int wParam = static_cast<int>(message.wParam);
    switch (message.message) {
        case WM_EXIT_KEY:
            if (screen != nullptr) {
                screen->OnExitKey(wParam, static_cast<int>(message.lParam));
            }
            break;
        case WM_COMMAND_KEY:
            OnCommandKey(wParam);
            break;
        case WM_SWITCH_SCREEN:
            SetScreen(wParam);
            break;
        case WM_VIEW_HOOK:
            OnViewHook();
            break;
        // A bar that posted here may have gone with its screen since: only a bar the screen
        // still has is named.
        case WM_ENGINE_VSCROLL:
            if (CCRWScrollBar* bar = BarOf(screen, message)) {
                screen->OnVScroll(wParam, 0, bar);
            }
            break;
        case WM_ENGINE_HSCROLL:
            if (CCRWScrollBar* bar = BarOf(screen, message)) {
                screen->OnHScroll(wParam, 0, bar);
            }
            break;
        case WM_ENGINE_VTHUMB:
            if (CCRWScrollBar* bar = BarOf(screen, message)) {
                screen->OnVScroll(4, wParam, bar);
            }
            break;
        case WM_ENGINE_HTHUMB:
            if (CCRWScrollBar* bar = BarOf(screen, message)) {
                screen->OnHScroll(4, wParam, bar);
            }
            break;
        case WM_FUNCTION_KEY:
            OnFunctionKey(wParam % 100, wParam / 100, static_cast<int>(message.lParam));
            break;
        case WM_FUNCTION_NOTIFY:
            OnFunctionMenuNotify(wParam);
            break;
        case WM_POPUP_CLOSED:
            OnPopupClosed();
            break;
        default:
            return false;
    }
    handled = true;
    return true;
}

bool CDosWinView::Dispatch(const Message& message) {
    switch (message.message) {
        case WM_TIMER:
            return OnTimer(static_cast<UINT>(message.wParam));
        case WM_SIZE:
            OnSize(message.wParam, LowWord(static_cast<WPARAM>(message.lParam)),
                   LowWord(static_cast<WPARAM>(message.lParam) >> 16));
            return true;
        case WM_SETFOCUS:
            OnSetFocus();
            return true;
        case WM_KILLFOCUS:
            OnKillFocus();
            return true;
        case WM_SHOWWINDOW:
            OnShowWindow(message.wParam != 0);
            return false;  // the frame looks at it too
        case WM_DESTROY:
            OnDestroy();
            return false;
        default:
            return false;
    }
}

void CDosWinView::OnPaint(CDC& dc) {
    const CRect client = m_window.ClientRect();
    if (m_screen == nullptr || client.IsEmpty()) {
        dc.FillSolidRect(client, kBackground);
        return;
    }
    if (m_backBuffer == nullptr || m_backBuffer->Width() != client.Width() ||
        m_backBuffer->Height() != client.Height()) {
        m_backBuffer = std::make_unique<CMemoryDC>(client.Width(), client.Height());
    }
    // Only the damaged part is drawn again and copied: a caret blink or a keystroke must not
    // cost a whole screen.
    const CRect clip = dc.GetClipBox();
    const CRect damage{std::max(clip.left, 0), std::max(clip.top, 0),
                       std::min(clip.right, client.Width() + 1),
                       std::min(clip.bottom, client.Height() + 1)};
    if (damage.IsEmpty()) {
        return;
    }
    m_backBuffer->IntersectClipRect(damage);
    m_backBuffer->FillSolidRect(damage, kBackground);
    m_screen->Draw(*m_backBuffer);
    m_backBuffer->ResetClip();
    dc.BitBlt(damage, *m_backBuffer, CPoint{damage.left, damage.top});
}

bool CDosWinView::OnFunctionKey(int key, int labelSet, int modifiers) {
    return m_screen == nullptr || m_screen->OnFunctionKey(key, labelSet, modifiers);
}

bool CDosWinView::OnFunctionMenuNotify(int value) {
    return m_screen == nullptr || m_screen->OnFunctionMenuNotify(value);
}

void CDosWinView::OnPopupClosed() {
    if (m_screen != nullptr) {
        m_screen->OnPopupClosed();
    }
}

bool CDosWinView::SetScreen(int id) {
    if (!CreateScreen(id)) {
        return false;
    }
    if (m_screen == nullptr) {
        return true;
    }
    m_screen->SetHost(&m_window);
    m_screen->SetRect(m_window.ClientRect());
    m_screen->EnsureInitialized();
    m_screen->Show(true, true);
    m_screen->Activate();
    return true;
}

bool CDosWinView::CreateScreen(int) {
    return false;
}

void CDosWinView::OnViewHook() {}

void CDosWinView::RedrawScreen() {
    m_window.Invalidate(true);
    m_window.UpdateWindow();
}

void CDosWinView::CloseScreen() {
    if (m_screen != nullptr) {
        m_screen->Close();
    }
}

bool CDosWinView::QueryClose() {
    return m_screen == nullptr || m_screen->QueryClose();
}

bool CDosWinView::OnCommandKey(int id) {
    if (m_screen != nullptr) {
        m_screen->OnCommand(id);
    }
    return true;
}

bool CDosWinView::OnMenuCommand(UINT id) {
    if (m_screen == nullptr) {
        return false;
    }
    if (m_screen->OnMenuCommand(id)) {
        return true;
    }
    switch (id) {
        case ID_EDIT_COPY:
            m_screen->EditCopy();
            return true;
        case ID_EDIT_CUT:
            m_screen->EditCut();
            return true;
        case ID_EDIT_PASTE:
            m_screen->EditPaste();
            return true;
        default:
            return false;
    }
}

bool CDosWinView::OnUpdateCommand(UINT id, CommandState& state) {
    if (id == ID_EDIT_COPY || id == ID_EDIT_CUT || id == ID_EDIT_PASTE) {
        if (m_screen == nullptr) {
            state.enabled = false;
            return true;
        }
        if (m_screen->OnUpdateCommand(id, state)) {
            return true;
        }
        const bool target = m_screen->HasEditTarget();
        state.enabled =
            target && (id == ID_EDIT_PASTE ? m_screen->CanPaste() : m_screen->CanCopy());
        return true;
    }
    return m_screen != nullptr && m_screen->OnUpdateCommand(id, state);
}

void CDosWinView::InstallFunctionBar(std::unique_ptr<IFunctionKeyBar> bar) {
    m_functionBar = std::move(bar);
    if (m_functionBar != nullptr) {
        m_functionBar->SetHost(&m_window);
    }
    if (m_screen != nullptr) {
        m_screen->SetCompositionBar(m_functionBar.get());
    }
}

void CDosWinView::LabelImeKeys() {
    if (m_functionBar == nullptr) {
        return;
    }
    static constexpr const char* kLabels[] = {"ひらがな", "カタカナ", "半角", "全角無変換",
                                              "半角無変換"};
    for (int i = 0; i < 5; ++i) {
        m_functionBar->SetLabel(0, 6 + i, kLabels[i], false);
    }
}

void CDosWinView::ReplaceScreen(std::unique_ptr<CCRWin> screen) {
    m_swallowButtonUp = false;
    if (m_window.HasCapture()) {
        m_window.ReleaseCapture();
    }
    m_screen = std::move(screen);
    if (m_screen != nullptr) {
        m_screen->SetCompositionBar(m_functionBar.get());
    }
}

bool CDosWinView::OnTimer(UINT id) {
    return m_screen != nullptr && m_screen->OnTimer(id);
}

void CDosWinView::OnSize(WPARAM kind, int width, int height) {
    // Minimising reports 0 x 0: the screen keeps its layout and the buffer its pixels.
    if (kind == SIZE_MINIMIZED || width <= 0 || height <= 0) {
        return;
    }
    m_backBuffer = std::make_unique<CMemoryDC>(width, height);
    if (m_screen != nullptr) {
        m_screen->SetRect(CRect{0, 0, width, height});
    }
}

void CDosWinView::OnSetFocus() {
    if (m_screen != nullptr) {
        m_screen->EnsureInitialized();
        m_screen->Activate();
    }
}

void CDosWinView::OnKillFocus() {
    if (m_screen != nullptr) {
        m_screen->Deactivate();
    }
}

void CDosWinView::OnShowWindow(bool shown) {
    if (m_screen != nullptr) {
        m_screen->Show(shown, true);
    }
}

void CDosWinView::OnDestroy() {
    if (m_screen != nullptr) {
        m_screen->CloseAndFree();
    }
}

}  // namespace tokeiya
