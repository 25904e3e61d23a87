#include "engine/CCRWin.hpp"

#include <algorithm>

namespace tokeiya {

using namespace win;

namespace {

// Regions registered in pixels share the list with the cell regions; the otherwise unused
// reserved field tells them apart.
constexpr std::int32_t kPixelRegion = 1;

}  // namespace

CCRWin::CCRWin() = default;

CCRWin::CCRWin(IHostWindow* host, bool standard) {
    if (standard) {
        SetGridAndMargins(80, 25, 0, 0);
    }
    m_keyHost = host;
    m_mouseHost = host;
}

CCRWin::CCRWin(IHostWindow* host, const CRect& rect, int cols, int rows, int edgeWidth, int padding)
    : CCRBase(rect, cols, rows, edgeWidth, padding) {
    m_keyHost = host;
    m_mouseHost = host;
}

CCRWin::~CCRWin() = default;

void CCRWin::Draw(CDC& dc) {
    if (GetHost() == nullptr || !m_shown) {
        return;
    }
    CCRBase::Draw(dc);
    for (const auto& bar : m_scrollBars) {
        bar->Paint(dc);
    }
}

void CCRWin::SetRect(const CRect& rect) {
    CCRBase::SetRect(rect);
    for (const auto& bar : m_scrollBars) {
        bar->Layout();
    }
}

void CCRWin::FreeCells() {
    CCRBase::FreeCells();
    SetHost(nullptr);
}

void CCRWin::DrawCellTexts(CDC& dc) {
    if (GetHost() != nullptr) {
        CCRBase::DrawCellTexts(dc);
    }
}

void CCRWin::DrawCellBackgrounds(CDC& dc) {
    if (GetHost() != nullptr) {
        CCRBase::DrawCellBackgrounds(dc);
    }
}

// The host to send a repaint request to; null when there is none or nothing to paint.
IHostWindow* CCRWin::RepaintHost() const {
    IHostWindow* host = GetHost();
    if (host == nullptr || m_rows <= 0 || m_cols <= 0 || m_rect.right <= 0 || m_rect.bottom <= 0) {
        return nullptr;
    }
    return host;
}

bool CCRWin::InvalidateCells(const CRect& cellRect, bool erase) {
    IHostWindow* host = RepaintHost();
    if (host == nullptr) {
        return false;
    }
    host->InvalidateRect(CellRectToPixels(cellRect), erase);
    return true;
}

bool CCRWin::InvalidateAll(bool erase) {
    IHostWindow* host = RepaintHost();
    if (host == nullptr) {
        return false;
    }
    host->InvalidateRect(m_rect, erase);
    return true;
}

bool CCRWin::Show(bool shown, bool redraw) {
    if (shown != m_shown) {
        m_shown = shown;
        if (redraw) {
            InvalidateAll(false);
        }
    }
    return true;
}

void CCRWin::Activate() {}
void CCRWin::Deactivate() {}
void CCRWin::Close() {}

void CCRWin::CloseAndFree() {
    Close();
    // Also drops the host link: the host is going away.
    FreeCells();
}

void CCRWin::AddMouseRegion(const CRect& cellRect, int id, int subId, int kind) {
    AddRegion(cellRect, id, subId, kind);
}

void CCRWin::AddMouseRegion(int col, int row, int w, int h, int id, int subId, int kind) {
    AddMouseRegion(CRect{col, row, col + w, row + h}, id, subId, kind);
}

void CCRWin::AddMouseRegion(const CRect& cellRect, int id, int subId) {
    AddMouseRegion(cellRect, id, subId, 1);
}

void CCRWin::AddMouseRegion(int col, int row, int w, int h, int id, int subId) {
    AddMouseRegion(col, row, w, h, id, subId, 1);
}

CCRWScrollBar* CCRWin::CreateScrollBar(int col, int row, int length, int id, int extra,
                                       int orientation, bool keyMode) {
    auto bar = std::make_unique<CCRWScrollBar>(*this, col, row, length, id, orientation, keyMode,
                                               orientation == 1 ? extra : 0);
    bar->SetHost(GetHost());
    bar->SetMouseEnabled(MouseEnabled());
    m_scrollBars.push_back(std::move(bar));
    return m_scrollBars.back().get();
}

bool CCRWin::DestroyScrollBar(CCRWScrollBar* bar) {
    if (!OwnsScrollBar(bar)) {
        return false;
    }
    if (win::IHostWindow* host = GetHost(); host != nullptr && !bar->Rect().IsEmpty()) {
        host->InvalidateRect(bar->Rect(), true);
    }
    std::erase_if(m_scrollBars, [bar](const auto& owned) { return owned.get() == bar; });
    return true;
}

bool CCRWin::OnVScroll(int event, int position, CCRWScrollBar* bar) {
    if (!OwnsScrollBar(bar)) {
        return false;
    }
    static constexpr int kKeys[] = {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT};
    if (event >= 0 && event <= 3 && bar->KeyMode()) {
        OnExitKey(kKeys[event], 0);
        return true;
    }
    switch (event) {
        case 0:
            OnLineUp(bar);
            break;
        case 1:
            OnLineDown(bar);
            break;
        case 2:
            OnPageUp(bar);
            break;
        case 3:
            OnPageDown(bar);
            break;
        case 4:
            OnThumbPosition(bar, position);
            break;
        case 5:
            OnThumbTrack(bar, position);
            break;
        case 6:
            OnVScrollTop(bar);
            break;
        case 7:
            OnVScrollBottom(bar);
            break;
        case 8:
            OnVScrollEnd(bar);
            break;
        default:
            return false;
    }
    return true;
}

void CCRWin::OnLineUp(CCRWScrollBar*) {}
void CCRWin::OnLineDown(CCRWScrollBar*) {}
void CCRWin::OnVScrollTop(CCRWScrollBar*) {}
void CCRWin::OnVScrollBottom(CCRWScrollBar*) {}
void CCRWin::OnPageUp(CCRWScrollBar*) {}
void CCRWin::OnPageDown(CCRWScrollBar*) {}
void CCRWin::OnVScrollEnd(CCRWScrollBar*) {}
void CCRWin::OnThumbPosition(CCRWScrollBar*, int) {}
void CCRWin::OnThumbTrack(CCRWScrollBar*, int) {}

bool CCRWin::OnHScroll(int event, int position, CCRWScrollBar* bar) {
    if (!OwnsScrollBar(bar)) {
        return false;
    }
    // Only the line events become keys: the page events have no key of their own here.
    if ((event == 0 || event == 1) && bar->KeyMode()) {
        OnExitKey(event == 0 ? VK_LEFT : VK_RIGHT, 0);
        return true;
    }
    switch (event) {
        case 0:
            OnLineLeft(bar);
            break;
        case 1:
            OnLineRight(bar);
            break;
        case 2:
            OnPageLeft(bar);
            break;
        case 3:
            OnPageRight(bar);
            break;
        case 4:
            OnHThumbPosition(bar, position);
            break;
        case 5:
            OnHThumbTrack(bar, position);
            break;
        case 6:
            OnHScrollLeftEnd(bar);
            break;
        case 7:
            OnHScrollRightEnd(bar);
            break;
        case 8:
            OnHScrollEnd(bar);
            break;
        default:
            return false;
    }
    return true;
}

void CCRWin::OnHScrollLeftEnd(CCRWScrollBar*) {}
void CCRWin::OnHScrollRightEnd(CCRWScrollBar*) {}
void CCRWin::OnLineLeft(CCRWScrollBar*) {}
void CCRWin::OnLineRight(CCRWScrollBar*) {}
void CCRWin::OnPageLeft(CCRWScrollBar*) {}
void CCRWin::OnPageRight(CCRWScrollBar*) {}
void CCRWin::OnHScrollEnd(CCRWScrollBar*) {}
void CCRWin::OnHThumbPosition(CCRWScrollBar*, int) {}
void CCRWin::OnHThumbTrack(CCRWScrollBar*, int) {}

bool CCRWin::OnMenuCommand(UINT) {
    return false;
}
bool CCRWin::OnUpdateCommand(UINT, CommandState&) {
    return false;
}
bool CCRWin::HasEditTarget() {
    return false;
}
bool CCRWin::CanCopy() {
    return false;
}
bool CCRWin::CanPaste() {
    return false;
}
void CCRWin::EditCopy() {}
void CCRWin::EditPaste() {}
void CCRWin::EditCut() {}

bool CCRWin::OnFunctionKey(int, int, int) {
    return false;
}
bool CCRWin::OnFunctionMenuNotify(int) {
    return false;
}

void CCRWin::AddMouseRegionPx(const CRect& rect, int id, int subId) {
    m_regions.push_back(CMouseRect{id, subId, rect, 1, kPixelRegion});
}

bool CCRWin::HasWheelRegion(int id) const {
    return std::any_of(m_regions.begin(), m_regions.end(),
                       [id](const CMouseRect& r) { return r.kind == 1 && r.id == id; });
}

bool CCRWin::WheelToKeys(int, int subId, int delta) {
    if (subId != 0 && subId != 1) {
        return true;
    }
    const bool towardsUser = delta < 1;
    int key = 0;
    if (subId == 0) {
        key = towardsUser ? VK_DOWN : VK_UP;
    } else {
        key = towardsUser ? VK_NEXT : VK_PRIOR;
    }
    OnKeyDown(Message{WM_KEYDOWN, static_cast<WPARAM>(key), kKeyRepeatOnce});
    OnKeyUp(Message{WM_KEYUP, static_cast<WPARAM>(key), kKeyUpFlags});
    return true;
}

bool CCRWin::IsWidthToggleKey(const Message& message) const {
    return message.wParam == static_cast<WPARAM>(VK_OEM_AUTO) ||
           message.wParam == static_cast<WPARAM>(VK_OEM_ENLW);
}

bool CCRWin::OnImeMessage(UINT, WPARAM, LPARAM) {
    return false;
}

bool CCRWin::OnUserMessage(UINT, WPARAM, LPARAM) {
    return false;
}

bool CCRWin::QueryClose() {
    return true;
}

void CCRWin::EnsureInitialized() {}

void CCRWin::OnPopupClosed() {}

void CCRWin::SetCompositionBar(IFunctionKeyBar*) {}

CCRWScrollBar* CCRWin::FindScrollBarBySerial(LPARAM serial) const {
    for (const auto& bar : m_scrollBars) {
        if (bar->Serial() == serial) {
            return bar.get();
        }
    }
    return nullptr;
}

void CCRWin::SetHost(IHostWindow* host) {
    CKeyManager::SetHost(host);
    CMouseManagerH::SetHost(host);
    for (const auto& bar : m_scrollBars) {
        bar->SetHost(host);
    }
}

IHostWindow* CCRWin::GetHost() const {
    return m_keyHost;
}

bool CCRWin::OnReturn(int modifiers, bool down) {
    if (m_popupMode && down) {
        PostExitKey(VK_RETURN, modifiers);
        return true;
    }
    return CKeyManager::OnReturn(modifiers, down);
}

bool CCRWin::OnEsc(int modifiers, bool down) {
    if (m_popupMode && down) {
        PostExitKey(VK_ESCAPE, modifiers);
        return true;
    }
    return CKeyManager::OnEsc(modifiers, down);
}

void CCRWin::PostExitKey(int virtualKey, int modifiers) {
    // A pop-up is gone before whoever receives its exit key runs.
    if (m_popupMode) {
        Show(false, true);
    }
    CKeyManager::PostExitKey(virtualKey, modifiers);
}

bool CCRWin::HitTest(int x, int y, int& id, int& subId, int kind) const {
    CPoint cell{x, y};
    const bool inGrid = PointToCell(cell);
    for (const CMouseRect& region : m_regions) {
        if (region.kind != kind) {
            continue;
        }
        const bool hit = region.reserved == kPixelRegion ? region.rect.Contains(CPoint{x, y})
                                                         : inGrid && region.rect.Contains(cell);
        if (hit) {
            id = region.id;
            subId = region.subId;
            return true;
        }
    }
    return false;
}

void CCRWin::SetMouseEnabled(bool enabled) {
    CMouseManagerH::SetMouseEnabled(enabled);
    for (const auto& bar : m_scrollBars) {
        bar->SetMouseEnabled(enabled);
    }
}

bool CCRWin::OnMouseMessage(const Message& message) {
    for (const auto& bar : m_scrollBars) {
        if (bar->OnMouseMessage(message)) {
            return true;
        }
    }
    return CMouseManagerH::OnMouseMessage(message);
}

bool CCRWin::OnTimer(UINT timerId) {
    for (const auto& bar : m_scrollBars) {
        if (bar->OnTimer(timerId)) {
            return true;
        }
    }
    return CMouseManagerH::OnTimer(timerId);
}

bool CCRWin::OnMouseWheel(int, int delta, int x, int y) {
    if (!m_wheelEnabled || !m_mouseEnabled) {
        return false;
    }
    int id = 0;
    int subId = 0;
    if (!HitTest(x, y, id, subId, 1)) {
        return false;
    }
    return WheelToKeys(id, subId, delta);
}

CCRWScrollBar* CCRWin::FindScrollBar(int id) const {
    for (const auto& bar : m_scrollBars) {
        if (bar->Id() == id) {
            return bar.get();
        }
    }
    return nullptr;
}

bool CCRWin::OwnsScrollBar(const CCRWScrollBar* bar) const {
    return bar != nullptr && std::any_of(m_scrollBars.begin(), m_scrollBars.end(),
                                         [bar](const auto& own) { return own.get() == bar; });
}

}  // namespace tokeiya
