#include "platform/gtk/GtkNoticeWindow.hpp"

#include <algorithm>
#include <utility>

#include "platform/Cp932.hpp"
#include "platform/gtk/GtkCallback.hpp"
#include "platform/gtk/GtkTrayIcon.hpp"

namespace tokeiya::gtk {
namespace {

constexpr int kIconSize = 48;
// The longest time a GLib timeout can count in milliseconds, in seconds.
constexpr int kLongestSeconds = G_MAXINT / 1000;

GtkLabel* NewLine(GtkWidget* box) {
    GtkWidget* label = gtk_label_new("");
    gtk_label_set_xalign(GTK_LABEL(label), 0.0F);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 40);
    gtk_box_pack_start(GTK_BOX(box), label, FALSE, FALSE, 0);
    return GTK_LABEL(label);
}

}  // namespace

CGtkNoticeWindow::CGtkNoticeWindow(std::string caption, std::string applicationName)
    : m_caption(std::move(caption)), m_applicationName(std::move(applicationName)) {}

CGtkNoticeWindow::~CGtkNoticeWindow() {
    StopTimeout();
    if (m_window) {
        g_signal_handlers_disconnect_by_data(m_window.get(), this);
        g_signal_handlers_disconnect_by_data(m_ok, this);
    }
}

void CGtkNoticeWindow::Build() {
    m_window = TakeToplevel(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    GtkWindow* window = GTK_WINDOW(m_window.get());
    gtk_window_set_title(window, cp932::ToUtf8(m_caption).c_str());
    gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
    gtk_window_set_default_size(window, 260, -1);
    GObjectPtr<GdkPixbuf> icon = CGtkTrayIcon::ClockPicture(kIconSize);
    gtk_window_set_icon(window, icon.get());
    m_notification = std::make_unique<CDesktopNotification>(m_applicationName, icon.get());

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
    gtk_container_set_border_width(GTK_CONTAINER(box), 12);
    m_firstLine = NewLine(box);
    m_secondLine = NewLine(box);
    GtkWidget* buttons = gtk_button_box_new(GTK_ORIENTATION_HORIZONTAL);
    gtk_button_box_set_layout(GTK_BUTTON_BOX(buttons), GTK_BUTTONBOX_END);
    m_ok = gtk_button_new_with_label("OK");
    gtk_container_add(GTK_CONTAINER(buttons), m_ok);
    gtk_box_pack_end(GTK_BOX(box), buttons, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window), box);
    gtk_widget_show_all(box);
    gtk_widget_set_can_default(m_ok, TRUE);
    gtk_window_set_default(window, m_ok);

    g_signal_connect(m_window.get(), "delete-event", G_CALLBACK(OnDelete), this);
    g_signal_connect(m_window.get(), "key-press-event", G_CALLBACK(OnKey), this);
    g_signal_connect(m_ok, "clicked", G_CALLBACK(OnOk), this);
}

void CGtkNoticeWindow::Show(const std::string& firstLine, const std::string& secondLine,
                            int seconds) {
    if (!m_window) {
        Build();
    }
    gtk_label_set_text(m_firstLine, cp932::ToUtf8(firstLine).c_str());
    gtk_label_set_text(m_secondLine, cp932::ToUtf8(secondLine).c_str());
    StopTimeout();
    const int milliseconds = std::clamp(seconds, 0, kLongestSeconds) * 1000;
    m_timeout = g_timeout_add(static_cast<guint>(milliseconds), &CGtkNoticeWindow::OnTimeout, this);
    gtk_widget_grab_focus(m_ok);
    gtk_window_present(GTK_WINDOW(m_window.get()));
    // Seen also while the main window is hidden and the notice is behind other windows.
    static_cast<void>(m_notification->Send(cp932::ToUtf8(firstLine), cp932::ToUtf8(secondLine),
                                           std::clamp(seconds, 0, kLongestSeconds)));
}

void CGtkNoticeWindow::Hide() {
    StopTimeout();
    if (m_window) {
        gtk_widget_hide(m_window.get());
    }
}

bool CGtkNoticeWindow::IsVisible() const {
    return m_window && gtk_widget_get_visible(m_window.get());
}

void CGtkNoticeWindow::StopTimeout() {
    if (m_timeout != 0) {
        g_source_remove(m_timeout);
        m_timeout = 0;
    }
}

gboolean CGtkNoticeWindow::OnTimeout(gpointer self) noexcept {
    auto* notice = static_cast<CGtkNoticeWindow*>(self);
    // The source ends with this call; Hide must not remove it again.
    notice->m_timeout = 0;
    Guarded("notice time", [notice] { notice->Hide(); });
    return G_SOURCE_REMOVE;
}

gboolean CGtkNoticeWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) noexcept {
    Guarded("notice close", [self] { static_cast<CGtkNoticeWindow*>(self)->Hide(); });
    return TRUE;  // hidden, never destroyed
}

gboolean CGtkNoticeWindow::OnKey(GtkWidget*, GdkEventKey* event, gpointer self) noexcept {
    if (event->keyval != GDK_KEY_Escape) {
        return FALSE;
    }
    Guarded("notice key", [self] { static_cast<CGtkNoticeWindow*>(self)->Hide(); });
    return TRUE;
}

void CGtkNoticeWindow::OnOk(GtkButton*, gpointer self) noexcept {
    Guarded("notice OK", [self] { static_cast<CGtkNoticeWindow*>(self)->Hide(); });
}

}  // namespace tokeiya::gtk
