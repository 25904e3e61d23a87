#pragma once

#include <memory>
#include <string>

#include "engine/CCRWin.hpp"
#include "engine/CIME.hpp"
#include "engine/IFunctionKeyBar.hpp"
#include "platform/gdi/CMemoryDC.hpp"
#include "platform/win/IHostWindow.hpp"
#include "platform/win/MenuModel.hpp"

namespace tokeiya {

// Standard Edit menu commands.
inline constexpr win::UINT ID_EDIT_COPY = 57634;
inline constexpr win::UINT ID_EDIT_CUT = 57635;
inline constexpr win::UINT ID_EDIT_PASTE = 57637;

// The client area of the main window: holds the one active screen, paints it through a
// back buffer, gives it the client rectangle and routes every key, input-method, mouse,
// timer and engine message to it. Without a screen everything falls through unhandled.
// It also owns the function-key bar that shows the conversion keys' captions while the
// input method composes; the widget layer installs it.
class CDosWinView : public win::IWindowProc {
  public:
    static constexpr COLORREF kBackground = RGB(255, 255, 255);

    explicit CDosWinView(win::IHostWindow& window);
    ~CDosWinView() override;
    CDosWinView(const CDosWinView&) = delete;
    CDosWinView& operator=(const CDosWinView&) = delete;

    // win::IWindowProc: the screen sees a message first (the routing table), then the
    // view's own handling.
    bool WindowProc(const win::Message& message) override;
    void OnPaint(CDC& dc) override;

    virtual bool OnFunctionKey(int key, int labelSet, int modifiers);
    virtual bool OnFunctionMenuNotify(int value);
    virtual void OnPopupClosed();
    // Builds the screen `id` and lays out, shows and activates it.
    virtual bool SetScreen(int id);
    // Makes `screen` the screen with that id; no screens are known here.
    virtual bool CreateScreen(int id);
    // The view-hook message.
    virtual void OnViewHook();
    // Repaints the whole client area before returning, for a screen that shows a text and
    // then blocks in a long call.
    virtual void RedrawScreen();
    virtual void CloseScreen();
    // Whether the window may close now.
    virtual bool QueryClose();
    virtual bool OnCommandKey(int id);

    // Menu commands and their states: the screen first, then the Edit commands.
    virtual bool OnMenuCommand(win::UINT id);
    virtual bool OnUpdateCommand(win::UINT id, win::CommandState& state);

    // The composition key bar: installed once the widget layer has made one, attached to
    // this view's window; it replaces any bar installed before.
    void InstallFunctionBar(std::unique_ptr<IFunctionKeyBar> bar);
    IFunctionKeyBar* FunctionBar() const { return m_functionBar.get(); }
    // Captions of the conversion keys F6 to F10 in label set 0 of the installed bar;
    // nothing without one.
    void LabelImeKeys();

    CCRWin* Screen() const { return m_screen.get(); }
    win::IHostWindow& Window() const { return m_window; }
    CIME& Ime() { return m_ime; }
    const CMemoryDC* BackBuffer() const { return m_backBuffer.get(); }
    bool SwallowingButtonUp() const { return m_swallowButtonUp; }

  protected:
    // Replaces the active screen, destroying the previous one.
    void ReplaceScreen(std::unique_ptr<CCRWin> screen);

    virtual bool OnTimer(win::UINT id);
    virtual void OnSize(win::WPARAM kind, int width, int height);
    virtual void OnSetFocus();
    virtual void OnKillFocus();
    virtual void OnShowWindow(bool shown);
    virtual void OnDestroy();

  private:
    bool Route(const win::Message& message);
    bool RouteEngineMessage(const win::Message& message, bool& handled);
    bool Dispatch(const win::Message& message);

    win::IHostWindow& m_window;
    std::unique_ptr<CCRWin> m_screen;
    std::unique_ptr<CMemoryDC> m_backBuffer;
    std::unique_ptr<IFunctionKeyBar> m_functionBar;
    CIME m_ime;
    bool m_swallowButtonUp = false;
};

}  // namespace tokeiya
