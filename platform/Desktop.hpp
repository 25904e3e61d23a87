#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ActivityWatch.hpp"
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

    // Watches for the computer's sleep and the screen lock while the result lives; none
    // where the desktop cannot tell them.
    virtual std::unique_ptr<IActivityWatch> WatchActivity(const ActivityHandlers& /*handlers*/) {
        return nullptr;
    }

    // The program's about box with its text (CP932); a desktop without a dialog of its own
    // shows a message box.
    virtual void ShowAboutDialog(const std::string& text) { MessageBox(text, MessageButtons::Ok); }
};

}  // namespace tokeiya
