#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/Desktop.hpp"
#include "platform/gtk/GtkDisplayWatch.hpp"
#include "platform/gtk/GtkMainWindow.hpp"
#include "platform/gtk/GtkModalRunner.hpp"
#include "platform/gtk/GtkPrinting.hpp"

namespace tokeiya::gtk {

// The GTK 3 desktop: message boxes, the dialogs drawn from dialog models, and the main window.
//
// The program calls gtk_init before constructing it; the constructor takes over Xlib's I/O
// error handler and the SIGTERM, SIGHUP and SIGINT handling, which are process-wide, so
// there is one desktop per process. Once one of those signals has arrived, the running
// dialog answers Cancel (No), the main window's message loop returns after WM_ENDSESSION,
// and dialogs shown afterwards return Cancel (No, or Ok for a box that has
// only OK) at once, so that the caller ends the session in its normal way.
class CGtkDesktop : public IDesktop {
  public:
    CGtkDesktop();
    ~CGtkDesktop() override;
    CGtkDesktop(const CGtkDesktop&) = delete;
    CGtkDesktop& operator=(const CGtkDesktop&) = delete;

    MessageAnswer MessageBox(const std::string& text, MessageButtons buttons) override;
    bool RunDialog(CDialogModel& model) override;
    bool AskSaveFile(std::string& path, const std::string& defaultExtension) override;
    // A small modal window with the notice and a moving bar, shown and painted before the
    // work starts; the main loop runs until the work's thread is done.
    void RunBusy(const std::string& notice, const std::function<void()>& work) override;
    // One main window at a time; it must be deleted before the desktop.
    std::unique_ptr<win::IMainWindow> CreateMainWindow(
        win::IFrameProc& proc, std::function<void()> onDisplayLost) override;
    std::unique_ptr<INoticeWindow> CreateNoticeWindow(const std::string& caption) override;
    std::unique_ptr<IActivityWatch> WatchActivity(const ActivityHandlers& handlers) override;
    IPrinting* Printing() override { return &m_printing; }

  private:
    // The dialogs' parent: the main window while it is shown. A window hidden in the
    // notification area would take its dialogs out of sight with it.
    GtkWindow* DialogParent() const;

    CGtkDisplayWatch m_displayWatch;
    CGtkModalRunner m_runner;
    CGtkPrinting m_printing{m_runner, [this] { return DialogParent(); }};
    CGtkMainWindow* m_createdWindow = nullptr;  // not owned; set while it exists
};

}  // namespace tokeiya::gtk
