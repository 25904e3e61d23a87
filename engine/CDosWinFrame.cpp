#include "engine/CDosWinFrame.hpp"

#include <cmath>

namespace tokeiya {

using namespace win;

CRect CDosWinFrame::ZoomRect(CSize desktop, int percent, bool keepAspect) {
    int width = percent * desktop.cx / 100;
    int height = percent * desktop.cy / 100;
    if (keepAspect) {
        if (width > kMaxAspect * height) {
            width = static_cast<int>(std::lround(kMaxAspect * height));
        } else {
            height = static_cast<int>(std::lround(width / kMaxAspect));
        }
    }
    const int left = (desktop.cx - width) / 2;
    const int top = (desktop.cy - height) / 2;
    return CRect{left, top, left + width, top + height};
}

void CDosWinFrame::SetZoom(int percent) {
    if (m_window == nullptr) {
        return;
    }
    if (percent == 100) {
        m_window->ShowWindow(SW_SHOWMAXIMIZED);
        return;
    }
    m_zoomPercent = percent;
    const CRect rect = ZoomRect(m_window->MaximizedSize(), percent, m_keepAspect);
    if (m_window->IsMaximized()) {
        m_window->ShowWindow(SW_RESTORE);
    }
    m_window->MoveWindow(rect);
}

bool CDosWinFrame::WindowProc(const Message& message) {
    switch (message.message) {
        case WM_SIZE:
            OnSize(message.wParam, LowWord(static_cast<WPARAM>(message.lParam)),
                   LowWord(static_cast<WPARAM>(message.lParam) >> 16));
            return true;
        case WM_CLOSE:
            // A screen in the middle of something may refuse (not while previewing a print).
            if (!m_previewMode && m_view != nullptr && !m_view->QueryClose()) {
                return true;
            }
            OnClose();
            return true;
        case WM_SHOWWINDOW:
            OnShowWindow(message.wParam != 0, static_cast<int>(message.lParam));
            if (m_view != nullptr) {
                m_view->WindowProc(message);
            }
            return true;
        case WM_COMMAND: {
            const UINT id = static_cast<UINT>(LowWord(message.wParam));
            if (m_view != nullptr && m_view->OnMenuCommand(id)) {
                return true;
            }
            return OnFrameCommand(id);
        }
        default:
            break;
    }
    if (OnOtherMessage(message)) {
        return true;
    }
    return m_view != nullptr && m_view->WindowProc(message);
}

void CDosWinFrame::OnPaint(CDC& dc) {
    if (m_view != nullptr) {
        m_view->OnPaint(dc);
    }
}

void CDosWinFrame::UpdateCommand(UINT id, CommandState& state) {
    if (m_view != nullptr && m_view->OnUpdateCommand(id, state)) {
        return;
    }
    OnUpdateFrameCommand(id, state);
}

void CDosWinFrame::OnSize(WPARAM kind, int width, int height) {
    if (m_trackMaximized) {
        if (kind == SIZE_MAXIMIZED) {
            m_wasMaximized = true;
        } else if (kind == SIZE_RESTORED) {
            m_wasMaximized = false;
        }
    }
    if (m_view != nullptr) {
        m_view->WindowProc(Message{WM_SIZE, kind, MakeLParam(width, height)});
    }
}

void CDosWinFrame::OnClose() {
    if (m_window != nullptr) {
        m_window->Destroy();
        m_window->Quit();
    }
}

void CDosWinFrame::OnShowWindow(bool, int) {}

bool CDosWinFrame::OnFrameCommand(UINT) {
    return false;
}

void CDosWinFrame::OnUpdateFrameCommand(UINT, CommandState&) {}

bool CDosWinFrame::OnOtherMessage(const Message&) {
    return false;
}

}  // namespace tokeiya
