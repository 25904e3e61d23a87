#pragma once

#include <string>

#include "platform/gdi/LogFont.hpp"
#include "platform/win/IHostWindow.hpp"

namespace tokeiya {

// The input method of the host window, as text entry uses it. The context is taken from
// the window on first use; every operation returns false when the window has none (no
// input method installed) or no window is attached.
class CIME {
  public:
    explicit CIME(win::IHostWindow* window = nullptr) : m_window(window) {}

    bool Attach(win::IHostWindow* window);
    bool SetOpen(bool open);
    bool GetConversionStatus(int& conversion, int& sentence);
    bool SetConversionStatus(int conversion, int sentence);
    bool SetCompositionFont(const LogFont& font);
    // Puts the composition window at the host's caret.
    bool PlaceCompositionAtCaret();
    // Whether a composition string of that kind is there; never for the kinds 128 and 256.
    bool HasComposition(int kind);
    void Release();

  private:
    win::IInputContext* Context();

    win::IHostWindow* m_window;
    win::IInputContext* m_context = nullptr;
};

}  // namespace tokeiya
