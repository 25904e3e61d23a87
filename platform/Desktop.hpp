#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Dialogs.hpp"
#include "platform/win/IMainWindow.hpp"

namespace tokeiya {

// The desktop the program runs on: its dialogs and its main window.
class IDesktop : public IDialogs {
  public:
    // Creates the main window, hidden, with its messages going to `proc`. When the desktop
    // session ends the proc receives WM_ENDSESSION and the message loop returns. When the
    // display connection breaks, onDisplayLost runs and the process exits right after it,
    // so that callback must finish the session on its own.
    virtual std::unique_ptr<win::IMainWindow> CreateMainWindow(
        win::IFrameProc& proc, std::function<void()> onDisplayLost) = 0;

    // The program's about box; a desktop without a dialog of its own shows a message box.
    virtual void ShowAboutDialog() { MessageBox(kAboutText, MessageButtons::Ok); }

    static constexpr const char* kAboutText =
        "とけい屋 Tokeiya Version 0.1\n勤怠・スケジュール・給与管理";
};

}  // namespace tokeiya
