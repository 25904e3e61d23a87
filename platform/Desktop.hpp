#pragma once

#include <functional>
#include <string>

#include "platform/Dialogs.hpp"

namespace tokeiya {

// The desktop the program runs on: its dialogs and its main window.
class IDesktop : public IDialogs {
  public:
    // Shows the main window captioned `title` (CP932) and runs the event loop until the
    // window is closed or the desktop session ends (SIGTERM, SIGHUP, SIGINT). When the
    // display connection breaks, onDisplayLost runs and the process exits right after it,
    // so that callback must finish the session on its own.
    virtual void RunMainWindow(const std::string& title, std::function<void()> onDisplayLost) = 0;
};

}  // namespace tokeiya
