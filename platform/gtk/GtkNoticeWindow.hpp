#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "platform/NoticeWindow.hpp"
#include "platform/gtk/DesktopNotification.hpp"
#include "platform/gtk/GObjectPtr.hpp"

namespace tokeiya::gtk {

// The notice window on GTK 3: a small toplevel of its own (not kept over the main window,
// which may be hidden in the notification area) with two labels and OK. Closing it from
// the title bar, Escape and OK all hide it; it is destroyed only with this object. The
// widgets are made at the first Show, so that a session that never shows a notice pays
// nothing for it. Each notice also goes to the desktop's notification server, where one
// runs, under `applicationName` and with the program's clock.
class CGtkNoticeWindow : public INoticeWindow {
  public:
    CGtkNoticeWindow(std::string caption, std::string applicationName);
    ~CGtkNoticeWindow() override;
    CGtkNoticeWindow(const CGtkNoticeWindow&) = delete;
    CGtkNoticeWindow& operator=(const CGtkNoticeWindow&) = delete;

    void Show(const std::string& firstLine, const std::string& secondLine, int seconds) override;
    void Hide() override;
    bool IsVisible() const override;

    // The widgets, for the window tests; null before the first Show.
    GtkWindow* Window() const { return m_window ? GTK_WINDOW(m_window.get()) : nullptr; }
    GtkLabel* FirstLineLabel() const { return m_firstLine; }
    GtkLabel* SecondLineLabel() const { return m_secondLine; }
    GtkWidget* OkButton() const { return m_ok; }

  private:
    void Build();
    void StopTimeout();
    static gboolean OnTimeout(gpointer self) noexcept;
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self) noexcept;
    static gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer self) noexcept;
    static void OnOk(GtkButton*, gpointer self) noexcept;

    std::string m_caption;          // CP932
    std::string m_applicationName;  // UTF-8
    std::unique_ptr<CDesktopNotification> m_notification;
    ToplevelPtr m_window;
    GtkLabel* m_firstLine = nullptr;
    GtkLabel* m_secondLine = nullptr;
    GtkWidget* m_ok = nullptr;
    guint m_timeout = 0;  // the source that hides the window, while one runs
};

}  // namespace tokeiya::gtk
