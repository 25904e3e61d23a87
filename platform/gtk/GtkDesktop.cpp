#include "platform/gtk/GtkDesktop.hpp"

#include <utility>

#include "platform/Cp932.hpp"
#include "platform/gtk/GObjectPtr.hpp"
#include "platform/gtk/GtkDialogRenderer.hpp"
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

}  // namespace tokeiya::gtk
