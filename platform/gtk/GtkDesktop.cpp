#include "platform/gtk/GtkDesktop.hpp"

#include <atomic>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

#include "platform/Cp932.hpp"
#include "platform/gtk/DesktopActivityWatch.hpp"
#include "platform/gtk/GObjectPtr.hpp"
#include "platform/gtk/GtkDialogRenderer.hpp"
#include "platform/gtk/GtkNoticeWindow.hpp"
#include "platform/gtk/GtkText.hpp"

namespace tokeiya::gtk {
namespace {

constexpr const char* kApplicationTitle = "Tokeiya";

}  // namespace

CGtkDesktop::CGtkDesktop() = default;

CGtkDesktop::~CGtkDesktop() = default;

GtkWindow* CGtkDesktop::DialogParent() const {
    if (m_createdWindow != nullptr && m_createdWindow->IsVisible()) {
        return m_createdWindow->Window();
    }
    return nullptr;
}

MessageAnswer CGtkDesktop::MessageBox(const std::string& text, MessageButtons buttons) {
    bool yesNo = buttons == MessageButtons::YesNo;
    if (m_runner.SessionEnding()) {
        return yesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    ToplevelPtr box(gtk_message_dialog_new(DialogParent(), GTK_DIALOG_MODAL,
                                           yesNo ? GTK_MESSAGE_QUESTION : GTK_MESSAGE_INFO,
                                           GTK_BUTTONS_NONE, "%s", cp932::ToUtf8(text).c_str()));
    GtkDialog* dialog = GTK_DIALOG(box.get());
    gtk_window_set_title(GTK_WINDOW(dialog), kApplicationTitle);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_container_set_border_width(GTK_CONTAINER(dialog), 12);
    gtk_widget_set_size_request(GTK_WIDGET(dialog), 320, -1);
    if (yesNo) {
        gtk_dialog_add_buttons(dialog, U8(u8"はい"), GTK_RESPONSE_YES, U8(u8"いいえ"),
                               GTK_RESPONSE_NO, nullptr);
        gtk_dialog_set_default_response(dialog, GTK_RESPONSE_YES);
    } else {
        gtk_dialog_add_button(dialog, "OK", GTK_RESPONSE_OK);
        gtk_dialog_set_default_response(dialog, GTK_RESPONSE_OK);
    }
    int response = m_runner.RunDialog(dialog);
    if (!yesNo) {
        return MessageAnswer::Ok;
    }
    // Escape, closing the box and the end of the session all answer No.
    return response == GTK_RESPONSE_YES ? MessageAnswer::Yes : MessageAnswer::No;
}

bool CGtkDesktop::AskSaveFile(std::string& path, const std::string& defaultExtension) {
    if (m_runner.SessionEnding()) {
        return false;
    }
    ToplevelPtr chooser(gtk_file_chooser_dialog_new(
        U8(u8"名前を付けて保存"), DialogParent(), GTK_FILE_CHOOSER_ACTION_SAVE, U8(u8"キャンセル"),
        GTK_RESPONSE_CANCEL, U8(u8"保存"), GTK_RESPONSE_ACCEPT, nullptr));
    GtkFileChooser* files = GTK_FILE_CHOOSER(chooser.get());
    gtk_file_chooser_set_do_overwrite_confirmation(files, TRUE);
    gtk_dialog_set_default_response(GTK_DIALOG(chooser.get()), GTK_RESPONSE_ACCEPT);
    gtk_window_set_position(GTK_WINDOW(chooser.get()), GTK_WIN_POS_CENTER_ON_PARENT);
    const std::string proposed = cp932::ToUtf8(path);
    GCharPtr native(g_filename_from_utf8(proposed.c_str(), -1, nullptr, nullptr, nullptr));
    if (native) {
        GCharPtr folder(g_path_get_dirname(native.get()));
        if (g_path_is_absolute(folder.get()) && g_file_test(folder.get(), G_FILE_TEST_IS_DIR)) {
            gtk_file_chooser_set_current_folder(files, folder.get());
        }
    }
    const size_t slash = proposed.rfind('/');
    gtk_file_chooser_set_current_name(
        files, (slash == std::string::npos ? proposed : proposed.substr(slash + 1)).c_str());
    if (m_runner.RunDialog(GTK_DIALOG(chooser.get())) != GTK_RESPONSE_ACCEPT) {
        return false;
    }
    GCharPtr chosen(gtk_file_chooser_get_filename(files));
    GCharPtr text(chosen ? g_filename_to_utf8(chosen.get(), -1, nullptr, nullptr, nullptr)
                         : nullptr);
    std::optional<std::string> programText;
    if (text) {
        programText = cp932::FromUtf8Strict(text.get());
    }
    if (!programText) {
        MessageBox("このファイル名は使えません。", MessageButtons::Ok);
        return false;
    }
    path = WithDefaultExtension(*programText, defaultExtension);
    return true;
}

void CGtkDesktop::RunBusy(const std::string& notice, const std::function<void()>& work) {
    ToplevelPtr busy(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    GtkWindow* window = GTK_WINDOW(busy.get());
    gtk_window_set_title(window, kApplicationTitle);
    gtk_window_set_modal(window, TRUE);
    gtk_window_set_transient_for(window, DialogParent());
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_deletable(window, FALSE);
    // Closing it would not stop the database: the window stays until the work is done.
    g_signal_connect(busy.get(), "delete-event", G_CALLBACK(gtk_true), nullptr);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
    gtk_container_set_border_width(GTK_CONTAINER(box), 18);
    gtk_box_pack_start(GTK_BOX(box), gtk_label_new(cp932::ToUtf8(notice).c_str()), FALSE, FALSE, 0);
    GtkWidget* bar = gtk_progress_bar_new();
    gtk_box_pack_start(GTK_BOX(box), bar, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window), box);
    gtk_widget_set_size_request(busy.get(), 320, -1);
    gtk_widget_show_all(busy.get());
    // Painted before the work can block anything.
    gdk_display_sync(gtk_widget_get_display(busy.get()));
    while (gtk_events_pending()) {
        gtk_main_iteration_do(FALSE);
    }

    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        g_main_context_wakeup(nullptr);
    });
    const guint pulse = g_timeout_add(
        100,
        [](gpointer progress) -> gboolean {
            gtk_progress_bar_pulse(GTK_PROGRESS_BAR(progress));
            return G_SOURCE_CONTINUE;
        },
        bar);
    while (!done) {
        gtk_main_iteration_do(TRUE);
    }
    g_source_remove(pulse);
    worker.join();
    busy.reset();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

bool CGtkDesktop::RunDialog(CDialogModel& model) {
    if (m_runner.SessionEnding()) {
        return false;
    }
    CGtkDialogRenderer dialog(m_runner, DialogParent(), model);
    return dialog.Run();
}

std::unique_ptr<win::IMainWindow> CGtkDesktop::CreateMainWindow(
    win::IFrameProc& proc, std::function<void()> onDisplayLost) {
    auto window = std::make_unique<CGtkMainWindow>(proc, m_runner, [this] {
        m_createdWindow = nullptr;
        m_displayWatch.Disarm();
    });
    // Once the display is gone the session must end without drawing anything, so the
    // runner is told first and every dialog the callback might open returns at once.
    m_displayWatch.Arm([this, onDisplayLost = std::move(onDisplayLost)] {
        m_runner.MarkSessionEnding();
        if (onDisplayLost) {
            onDisplayLost();
        }
    });
    m_createdWindow = window.get();
    return window;
}

std::unique_ptr<INoticeWindow> CGtkDesktop::CreateNoticeWindow(const std::string& caption) {
    return std::make_unique<CGtkNoticeWindow>(caption, kApplicationTitle);
}

std::unique_ptr<IActivityWatch> CGtkDesktop::WatchActivity(const ActivityHandlers& handlers) {
    return std::make_unique<CDesktopActivityWatch>(handlers);
}

}  // namespace tokeiya::gtk
