#pragma once

#include <memory>
#include <vector>

#include "engine/CCRBase.hpp"
#include "engine/CCRWScrollBar.hpp"
#include "engine/CKeyManager.hpp"
#include "engine/CMouseManagerH.hpp"
#include "platform/win/MenuModel.hpp"

namespace tokeiya {

class IFunctionKeyBar;

// A cell surface made interactive: linked to the host window it paints into, shown or
// hidden, fed keys through its key manager and mouse messages through its mouse manager,
// owning the scroll bars drawn on it. It has no system window: every window of the program
// is an area of the one host window's client area. Mouse regions are in cells.
class CCRWin : public CCRBase, public CKeyManager, public CMouseManagerH {
  public:
    CCRWin();
    // An 80 x 25 grid when `standard`, else an empty one; edge and padding 0.
    CCRWin(win::IHostWindow* host, bool standard);
    CCRWin(win::IHostWindow* host, const CRect& rect, int cols, int rows, int edgeWidth,
           int padding);
    ~CCRWin() override;

    // The surface, only while attached and shown, then the scroll bars.
    void Draw(CDC& dc) override;
    void SetRect(const CRect& rect) override;
    void FreeCells() override;
    void DrawCellTexts(CDC& dc) override;
    void DrawCellBackgrounds(CDC& dc) override;
    // False without host or grid; otherwise the cells' pixels are invalidated on the host.
    bool InvalidateCells(const CRect& cellRect, bool erase) override;
    bool InvalidateAll(bool erase) override;

    virtual bool Show(bool shown, bool redraw);
    virtual void Activate();
    virtual void Deactivate();
    virtual void Close();
    // Releases what the window holds when its host goes away.
    virtual void CloseAndFree();

    virtual void AddMouseRegion(const CRect& cellRect, int id, int subId, int kind);
    virtual void AddMouseRegion(int col, int row, int w, int h, int id, int subId, int kind);
    virtual void AddMouseRegion(const CRect& cellRect, int id, int subId);
    virtual void AddMouseRegion(int col, int row, int w, int h, int id, int subId);
    virtual CCRWScrollBar* CreateScrollBar(int col, int row, int length, int id, int extra,
                                           int orientation, bool keyMode);
    // Takes one of this window's bars off it and deletes it; its area is repainted. False for
    // a bar the window does not own.
    virtual bool DestroyScrollBar(CCRWScrollBar* bar);

    // Scroll notifications of this window's bars (false for any other bar).
    virtual bool OnVScroll(int event, int position, CCRWScrollBar* bar);
    virtual void OnLineUp(CCRWScrollBar* bar);
    virtual void OnLineDown(CCRWScrollBar* bar);
    virtual void OnVScrollTop(CCRWScrollBar* bar);
    virtual void OnVScrollBottom(CCRWScrollBar* bar);
    virtual void OnPageUp(CCRWScrollBar* bar);
    virtual void OnPageDown(CCRWScrollBar* bar);
    virtual void OnVScrollEnd(CCRWScrollBar* bar);
    virtual void OnThumbPosition(CCRWScrollBar* bar, int position);
    virtual void OnThumbTrack(CCRWScrollBar* bar, int position);
    virtual bool OnHScroll(int event, int position, CCRWScrollBar* bar);
    virtual void OnHScrollLeftEnd(CCRWScrollBar* bar);
    virtual void OnHScrollRightEnd(CCRWScrollBar* bar);
    virtual void OnLineLeft(CCRWScrollBar* bar);
    virtual void OnLineRight(CCRWScrollBar* bar);
    virtual void OnPageLeft(CCRWScrollBar* bar);
    virtual void OnPageRight(CCRWScrollBar* bar);
    virtual void OnHScrollEnd(CCRWScrollBar* bar);
    virtual void OnHThumbPosition(CCRWScrollBar* bar, int position);
    virtual void OnHThumbTrack(CCRWScrollBar* bar, int position);
    using CKeyManager::OnPageDown;
    using CKeyManager::OnPageUp;

    // Menu commands and their states, offered to the screen before the program's own
    // handling; false = not handled.
    virtual bool OnMenuCommand(win::UINT id);
    virtual bool OnUpdateCommand(win::UINT id, win::CommandState& state);
    // The Edit menu: Copy and Cut are enabled when HasEditTarget and CanCopy, Paste when
    // HasEditTarget and CanPaste.
    virtual bool HasEditTarget();
    virtual bool CanCopy();
    virtual bool CanPaste();
    virtual void EditCopy();
    virtual void EditPaste();
    virtual void EditCut();

    virtual bool OnFunctionKey(int key, int labelSet, int modifiers);
    virtual bool OnFunctionMenuNotify(int value);
    virtual void AddMouseRegionPx(const CRect& rect, int id, int subId);
    virtual bool HasWheelRegion(int id) const;
    // subId 0: line keys, 1: page keys; delta below 1 scrolls down. The key goes through
    // this window's own key dispatch as a key-down and a key-up.
    virtual bool WheelToKeys(int id, int subId, int delta);
    // The half-width/full-width keys (243, 244).
    virtual bool IsWidthToggleKey(const win::Message& message) const;
    virtual bool OnImeMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    // Window messages from WM_USER up that the host view does not route itself, offered
    // here before the view's own handling; false = not handled.
    virtual bool OnUserMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    // What the host view asks of its screen: whether the window may close, the screen's
    // one-time set-up before it is first shown or focused, the pop-up-closed notification,
    // and the view's composition key bar (not owned), which a form shows while the input
    // method composes. Nothing to do for a plain window.
    virtual bool QueryClose();
    virtual void EnsureInitialized();
    virtual void OnPopupClosed();
    virtual void SetCompositionBar(IFunctionKeyBar* bar);
    // The bar a scroll notification names by its serial: one of this window's, or null.
    // A window that shows other windows' bars (a form's editor) answers for those too.
    virtual CCRWScrollBar* FindScrollBarBySerial(win::LPARAM serial) const;

    // Key manager: the host of both parts; pop-up behaviour for Return and Escape.
    void SetHost(win::IHostWindow* host) override;
    win::IHostWindow* GetHost() const override;
    bool OnReturn(int modifiers, bool down) override;
    bool OnEsc(int modifiers, bool down) override;
    void PostExitKey(int virtualKey, int modifiers) override;

    // Mouse manager: cell regions, scroll bars first, wheel regions.
    bool HitTest(int x, int y, int& id, int& subId, int kind) const override;
    void SetMouseEnabled(bool enabled) override;
    bool OnMouseMessage(const win::Message& message) override;
    bool OnTimer(win::UINT timerId) override;
    bool OnMouseWheel(int keys, int delta, int x, int y) override;

    bool Shown() const { return m_shown; }
    bool PopupMode() const { return m_popupMode; }
    void SetPopupMode(bool popup) { m_popupMode = popup; }
    bool ImeAllowed() const { return m_imeAllowed; }
    void SetImeAllowed(bool allowed) { m_imeAllowed = allowed; }
    bool WheelEnabled() const { return m_wheelEnabled; }
    void SetWheelEnabled(bool enabled) { m_wheelEnabled = enabled; }
    const std::vector<std::unique_ptr<CCRWScrollBar>>& ScrollBars() const { return m_scrollBars; }
    CCRWScrollBar* FindScrollBar(int id) const;
    bool OwnsScrollBar(const CCRWScrollBar* bar) const;

  protected:
    win::IHostWindow* RepaintHost() const;

    bool m_shown = false;
    bool m_popupMode = false;
    bool m_imeAllowed = false;
    bool m_wheelEnabled = false;
    std::vector<std::unique_ptr<CCRWScrollBar>> m_scrollBars;
};

}  // namespace tokeiya
