#pragma once

#include <gtk/gtk.h>

#include <vector>

namespace tokeiya::gtk {

// Runs the desktop's modal dialogs and its main window loop, and ends all of them when the
// desktop session ends (SIGTERM, SIGHUP or SIGINT): a running dialog answers Cancel, the
// main loop returns, and whatever is started afterwards ends at once. The signal sources
// are process-wide, so there is one runner per process.
class CGtkModalRunner {
  public:
    CGtkModalRunner();
    ~CGtkModalRunner();
    CGtkModalRunner(const CGtkModalRunner&) = delete;
    CGtkModalRunner& operator=(const CGtkModalRunner&) = delete;

    // Shows `dialog`, gives it the keyboard focus and returns its response; returns
    // GTK_RESPONSE_CANCEL without showing it once the session is ending.
    int RunDialog(GtkDialog* dialog);

    // Runs the main loop until QuitWindow or the end of the session, whatever is shown;
    // returns at once when the session has ended.
    void RunLoop();
    void QuitWindow() noexcept;

    // True once an ending signal has arrived, including one that is still waiting in the
    // main context because no loop ran since it came.
    bool SessionEnding();

    // Whether an ending signal has been handled, without looking for one still waiting.
    bool SessionEndSeen() const { return m_ending; }

    // Makes later dialogs and loops end at once without touching the display.
    void MarkSessionEnding() noexcept { m_ending = true; }

  private:
    static gboolean OnEndSignal(gpointer self) noexcept;
    void EndSession() noexcept;

    std::vector<guint> m_signalSources;
    std::vector<GtkDialog*> m_runningDialogs;  // innermost last; not owned
    GMainLoop* m_windowLoop = nullptr;         // not owned; set while RunLoop runs
    bool m_ending = false;
};

}  // namespace tokeiya::gtk
