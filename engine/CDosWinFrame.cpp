#include "engine/CDosWinFrame.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

int CDosWinFrame::PercentForSize(CSize desktop, CSize window) {
    if (desktop.cx <= 0 || desktop.cy <= 0) {
        return kMinZoomPercent;
    }
    const double share = std::max(static_cast<double>(window.cx) / desktop.cx,
                                  static_cast<double>(window.cy) / desktop.cy);
    const long percent = std::lround(share * 100);
    return static_cast<int>(std::clamp<long>(percent, kMinZoomPercent, kMaxNormalZoomPercent));
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
        case kFitAspectMessage:
            FitAspect();
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
    // After the view: a width put back to the aspect limit reaches the view last.
    if (kind == SIZE_RESTORED && width > 0 && height > 0) {
        FollowNormalSize(CSize{width, height});
    }
}

void CDosWinFrame::FollowNormalSize(CSize client) {
    if (m_window == nullptr) {
        return;
    }
    if (m_expectZoomSize) {
        m_expectZoomSize = false;
        m_zoomClient = client;
        const CRect outer = m_window->WindowRect();
        m_chrome =
            CSize{std::max(0, outer.Width() - client.cx), std::max(0, outer.Height() - client.cy)};
        return;
    }
    const CSize outer = OuterSize(client);
    // Also when the size is the zoom's own: the aspect may have been switched on while the
    // window was maximised. The notice of the narrower window follows and is taken like
    // this one.
    if (m_keepAspect && outer.cx > std::lround(kMaxAspect * outer.cy) + kSizeSlack) {
        m_window->PostMessage(kFitAspectMessage, 0, 0);
        return;
    }
    if (std::abs(client.cx - m_zoomClient.cx) <= kSizeSlack &&
        std::abs(client.cy - m_zoomClient.cy) <= kSizeSlack) {
        return;
    }
    m_zoomPercent = PercentForSize(m_window->MaximizedSize(), outer);
    m_zoomClient = client;
}

void CDosWinFrame::FitAspect() {
    if (m_window == nullptr || !m_keepAspect || m_window->IsMaximized() ||
        m_window->IsMinimized()) {
        return;
    }
    const CRect client = m_window->ClientRect();
    const CSize outer = OuterSize(CSize{client.Width(), client.Height()});
    const int widest = static_cast<int>(std::lround(kMaxAspect * outer.cy));
    if (client.IsEmpty() || outer.cx <= widest + kSizeSlack) {
        return;
    }
    const CRect at = m_window->WindowRect();
    m_window->MoveWindow(CRect{at.left, at.top, at.left + widest, at.top + outer.cy});
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
