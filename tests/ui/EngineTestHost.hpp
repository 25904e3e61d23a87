#pragma once

#include "engine/CCRWin.hpp"
#include "platform/win/IHostWindow.hpp"

namespace tokeiya::test {

// The part of the host view that the engine tests need: every message of the host window
// goes to one screen, the way the view routes it. Owns neither the window nor the screen.
class EngineTestHost : public win::IWindowProc {
  public:
    explicit EngineTestHost(win::IHostWindow& window) : m_window(window) {}

    void SetScreen(CCRWin* screen) { m_screen = screen; }

    bool WindowProc(const win::Message& m) override {
        using namespace win;
        if (m_screen == nullptr) {
            return false;
        }
        auto* bar = reinterpret_cast<CCRWScrollBar*>(m.lParam);
        switch (m.message) {
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                return m_screen->OnKeyDown(m);
            case WM_KEYUP:
            case WM_SYSKEYUP:
                return m_screen->OnKeyUp(m);
            case WM_CHAR:
                return m_screen->OnChar(m);
            case WM_MOUSEWHEEL: {
                const CPoint origin = m_window.ClientOrigin();
                const int x = LowWordSigned(m.lParam) - origin.x;
                const int y = HighWordSigned(m.lParam) - origin.y;
                return m_screen->OnMouseMessage(Message{m.message, m.wParam, MakeLParam(x, y)});
            }
            case WM_TIMER:
                return m_screen->OnTimer(static_cast<UINT>(m.wParam));
            case WM_EXIT_KEY:
                return m_screen->OnExitKey(static_cast<int>(m.wParam), static_cast<int>(m.lParam));
            case WM_COMMAND_KEY:
                return m_screen->OnCommand(static_cast<int>(m.wParam));
            case WM_ENGINE_VSCROLL:
                return m_screen->OnVScroll(static_cast<int>(m.wParam), 0, bar);
            case WM_ENGINE_VTHUMB:
                return m_screen->OnVScroll(4, static_cast<int>(m.wParam), bar);
            case WM_ENGINE_HSCROLL:
                return m_screen->OnHScroll(static_cast<int>(m.wParam), 0, bar);
            case WM_ENGINE_HTHUMB:
                return m_screen->OnHScroll(4, static_cast<int>(m.wParam), bar);
            default:
                return m_screen->OnMouseMessage(m);
        }
    }

    void OnPaint(CDC& dc) override {
        if (m_screen != nullptr) {
            m_screen->Draw(dc);
        }
    }

  private:
    win::IHostWindow& m_window;
    CCRWin* m_screen = nullptr;
};

}  // namespace tokeiya::test
