#include "engine/CMouseManagerH.hpp"

namespace tokeiya {

using namespace win;

CMouseManagerH::~CMouseManagerH() {
    // A repeat timer outliving its manager would tick on the host for ever.
    StopRepeat();
}

void CMouseManagerH::SetHost(IHostWindow* host) {
    // The timer belongs to the old host; only that one can stop it.
    if (host != m_mouseHost) {
        StopRepeat();
    }
    m_mouseHost = host;
}

IHostWindow* CMouseManagerH::GetHost() const {
    return m_mouseHost;
}

void CMouseManagerH::SetMouseEnabled(bool enabled) {
    m_mouseEnabled = enabled;
}

void CMouseManagerH::AddRegion(const CRect& rect, int id, int subId, int kind) {
    m_regions.push_back(CMouseRect{id, subId, rect, kind, 0});
}

void CMouseManagerH::AddRegion(const CRect& rect, int id, int subId) {
    AddRegion(rect, id, subId, 1);
}

bool CMouseManagerH::HitTest(int x, int y, int& id, int& subId, int kind) const {
    for (const CMouseRect& region : m_regions) {
        if (region.kind == kind && region.rect.Contains(CPoint{x, y})) {
            id = region.id;
            subId = region.subId;
            return true;
        }
    }
    return false;
}

bool CMouseManagerH::OnMouseMessage(const Message& message) {
    const UINT kind = message.message;
    int keys = static_cast<int>(message.wParam);
    int delta = 0;
    if (kind == WM_MOUSEWHEEL) {
        keys = LowWord(message.wParam);
        delta = HighWordSigned(static_cast<std::intptr_t>(message.wParam));
    }
    // The button that started the repeat comes up: the repeat ends even while mouse input
    // is off, so that it never outlives the press.
    if (m_repeatTimer != 0 && kind == static_cast<UINT>(m_repeatKind) + 1) {
        StopRepeat();
    }
    if (!m_mouseEnabled) {
        return false;
    }
    const int x = LowWordSigned(message.lParam);
    const int y = HighWordSigned(message.lParam);
    switch (kind) {
        case WM_MOUSEMOVE:
            return OnMouseMove(keys, x, y);
        case WM_LBUTTONDOWN:
            return OnLButtonDown(keys, x, y);
        case WM_LBUTTONUP:
            return OnLButtonUp(keys, x, y);
        case WM_LBUTTONDBLCLK:
            return OnLButtonDblClk(keys, x, y);
        case WM_RBUTTONDOWN:
            return OnRButtonDown(keys, x, y);
        case WM_RBUTTONUP:
            return OnRButtonUp(keys, x, y);
        case WM_RBUTTONDBLCLK:
            return OnRButtonDblClk(keys, x, y);
        case WM_MBUTTONDOWN:
            return OnMButtonDown(keys, x, y);
        case WM_MBUTTONUP:
            return OnMButtonUp(keys, x, y);
        case WM_MBUTTONDBLCLK:
            return OnMButtonDblClk(keys, x, y);
        case WM_MOUSEWHEEL:
            return OnMouseWheel(keys, delta, x, y);
        default:
            return false;
    }
}

bool CMouseManagerH::OnRButtonDblClk(int, int, int) {
    return false;
}
bool CMouseManagerH::OnRButtonDown(int, int, int) {
    return false;
}
bool CMouseManagerH::OnRButtonUp(int, int, int) {
    return false;
}
bool CMouseManagerH::OnLButtonDown(int, int, int) {
    return false;
}
bool CMouseManagerH::OnLButtonUp(int, int, int) {
    return false;
}
bool CMouseManagerH::OnLButtonDblClk(int, int, int) {
    return false;
}
bool CMouseManagerH::OnMButtonDown(int, int, int) {
    return false;
}
bool CMouseManagerH::OnMButtonUp(int, int, int) {
    return false;
}
bool CMouseManagerH::OnMButtonDblClk(int, int, int) {
    return false;
}
bool CMouseManagerH::OnMouseMove(int, int, int) {
    return false;
}
bool CMouseManagerH::OnMouseWheel(int, int, int, int) {
    return false;
}

bool CMouseManagerH::OnTimer(UINT timerId) {
    if (m_repeatTimer == 0 || timerId != m_repeatTimer) {
        return false;
    }
    switch (m_repeatKind) {
        case static_cast<int>(WM_LBUTTONDOWN):
            OnRepeatLButton();
            break;
        case static_cast<int>(WM_RBUTTONDOWN):
            OnRepeatRButton();
            break;
        case static_cast<int>(WM_MBUTTONDOWN):
            OnRepeatMButton();
            break;
        default:
            break;
    }
    return true;
}

void CMouseManagerH::OnRepeatLButton() {}
void CMouseManagerH::OnRepeatRButton() {}
void CMouseManagerH::OnRepeatMButton() {}

void CMouseManagerH::StartRepeat(int kind, int x, int y, int elapseMs) {
    if (m_mouseHost == nullptr) {
        return;
    }
    // One repeat at a time: a running one is restarted for this button under its id.
    const UINT id = m_repeatTimer != 0 ? m_repeatTimer : m_mouseHost->AllocateTimerId();
    if (!m_mouseHost->SetTimer(id, static_cast<UINT>(elapseMs))) {
        m_repeatTimer = 0;
        m_repeatKind = 0;
        return;
    }
    m_repeatTimer = id;
    m_repeatKind = kind;
    m_repeatX = x;
    m_repeatY = y;
}

void CMouseManagerH::StopRepeat() {
    if (m_repeatTimer != 0 && m_mouseHost != nullptr) {
        m_mouseHost->KillTimer(m_repeatTimer);
    }
    m_repeatTimer = 0;
    m_repeatKind = 0;
}

}  // namespace tokeiya
