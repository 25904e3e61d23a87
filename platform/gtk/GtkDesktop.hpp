#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "platform/Desktop.hpp"
#include "platform/gtk/GtkDisplayWatch.hpp"
#include "platform/gtk/GtkModalRunner.hpp"

namespace tokeiya::gtk {

// The GTK 3 desktop: message boxes, the login and connection dialogs, and the main window.
//
// The program calls gtk_init before constructing it; the constructor takes over Xlib's I/O
// error handler and the SIGTERM, SIGHUP and SIGINT handling, which are process-wide, so
// there is one desktop per process. Once one of those signals has arrived, the running
// dialog answers Cancel (No), RunMainWindow returns, and dialogs shown afterwards return
// Cancel (No, or Ok for a box that has only OK) at once, so that the caller ends the session
// in its normal way.
class CGtkDesktop : public IDesktop {
  public:
    CGtkDesktop();
    ~CGtkDesktop() override;
    CGtkDesktop(const CGtkDesktop&) = delete;
    CGtkDesktop& operator=(const CGtkDesktop&) = delete;

    MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) override;
    bool ShowLoginDialog(LoginForm& form) override;
    bool ShowConnectionDialog(ConnectionForm& form) override;
    void RunMainWindow(const std::string& title, std::function<void()> onDisplayLost) override;

  private:
    CGtkDisplayWatch m_displayWatch;
    CGtkModalRunner m_runner;
    GtkWindow* m_mainWindow = nullptr;  // parent of the dialogs while the main window runs
};

}  // namespace tokeiya::gtk
