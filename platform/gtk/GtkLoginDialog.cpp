#include "platform/gtk/GtkLoginDialog.hpp"

#include "platform/Cp932.hpp"
#include "platform/gtk/GtkCallback.hpp"
#include "platform/gtk/GtkModalRunner.hpp"
#include "platform/gtk/GtkText.hpp"

namespace tokeiya::gtk {
namespace {

GtkEntry* AddEntryRow(GtkGrid* grid, int row, const char* label, const std::string& cp932) {
    GtkWidget* caption = gtk_label_new(label);
    gtk_widget_set_halign(caption, GTK_ALIGN_START);
    GtkWidget* entry = gtk_entry_new();
    gtk_widget_set_hexpand(entry, TRUE);
    gtk_entry_set_text(GTK_ENTRY(entry), cp932::ToUtf8(cp932).c_str());
    gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
    gtk_grid_attach(grid, caption, 0, row, 1, 1);
    gtk_grid_attach(grid, entry, 1, row, 1, 1);
    return GTK_ENTRY(entry);
}

GtkToggleButton* AddCheckRow(GtkGrid* grid, int row, const char* label, bool checked) {
    GtkWidget* check = gtk_check_button_new_with_label(label);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check), checked);
    gtk_grid_attach(grid, check, 0, row, 2, 1);
    return GTK_TOGGLE_BUTTON(check);
}

}  // namespace

CGtkLoginDialog::CGtkLoginDialog(CGtkModalRunner& runner, GtkWindow* parent, const LoginForm& form)
    : m_runner(runner),
      m_dialog(TakeToplevel(gtk_dialog_new_with_buttons(
          U8(u8"とけい屋ログイン"), parent, GTK_DIALOG_MODAL, U8(u8"キャンセル"),
          GTK_RESPONSE_CANCEL, "OK", GTK_RESPONSE_OK, nullptr))) {
    GtkDialog* dialog = GTK_DIALOG(m_dialog.get());
    gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_container_set_border_width(GTK_CONTAINER(dialog), 6);

    // Shown when the input cannot be taken, above the fields.
    m_errorBar = gtk_info_bar_new();
    gtk_info_bar_set_message_type(GTK_INFO_BAR(m_errorBar), GTK_MESSAGE_ERROR);
    m_errorLabel = GTK_LABEL(gtk_label_new(nullptr));
    gtk_label_set_line_wrap(m_errorLabel, TRUE);
    gtk_label_set_xalign(m_errorLabel, 0.0f);
    gtk_container_add(GTK_CONTAINER(gtk_info_bar_get_content_area(GTK_INFO_BAR(m_errorBar))),
                      GTK_WIDGET(m_errorLabel));
    gtk_widget_show(GTK_WIDGET(m_errorLabel));
    gtk_widget_set_no_show_all(m_errorBar, TRUE);
    gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(dialog)), m_errorBar, FALSE, FALSE, 0);

    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), 6);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
    gtk_container_set_border_width(GTK_CONTAINER(grid), 12);
    m_userName = AddEntryRow(GTK_GRID(grid), 0, U8(u8"ユーザー名"), form.userName);
    m_password = AddEntryRow(GTK_GRID(grid), 1, U8(u8"パスワード"), form.password);
    gtk_entry_set_visibility(m_password, FALSE);
    gtk_entry_set_input_purpose(m_password, GTK_INPUT_PURPOSE_PASSWORD);
    m_save =
        AddCheckRow(GTK_GRID(grid), 2, U8(u8"ユーザー名とパスワードを保存"), form.savePassword);
    m_hideDialog =
        AddCheckRow(GTK_GRID(grid), 3, U8(u8"次回からこのダイアログを表示しない"), form.hideDialog);
    gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(dialog)), grid, TRUE, TRUE, 0);
    gtk_widget_show_all(grid);

    gtk_dialog_set_default_response(dialog, GTK_RESPONSE_OK);
    g_signal_connect(m_save, "toggled", G_CALLBACK(OnSaveToggled), this);
    ApplySaveRule();
    gtk_widget_grab_focus(GTK_WIDGET(form.userName.empty() ? m_userName : m_password));
}

bool CGtkLoginDialog::Run(LoginForm& form) {
    while (m_runner.RunDialog(GTK_DIALOG(m_dialog.get())) == GTK_RESPONSE_OK) {
        if (TakeInput(form)) {
            return true;
        }
    }
    return false;
}

bool CGtkLoginDialog::TakeInput(LoginForm& form) {
    // A character CP932 cannot hold would become '?', and a '?' in a stored name or
    // password would match any such character: it is refused instead.
    std::optional<std::string> userName = cp932::FromUtf8Strict(gtk_entry_get_text(m_userName));
    std::optional<std::string> password = cp932::FromUtf8Strict(gtk_entry_get_text(m_password));
    if (!userName || !password) {
        gtk_label_set_text(m_errorLabel,
                           U8(!userName ? u8"ユーザー名に使えない文字が含まれています。"
                                        : u8"パスワードに使えない文字が含まれています。"));
        gtk_widget_show(m_errorBar);
        gtk_widget_grab_focus(GTK_WIDGET(!userName ? m_userName : m_password));
        return false;
    }
    form.userName = *userName;
    form.password = *password;
    form.savePassword = gtk_toggle_button_get_active(m_save);
    form.hideDialog = gtk_toggle_button_get_active(m_hideDialog);
    return true;
}

std::string CGtkLoginDialog::ErrorText() const {
    return gtk_widget_get_visible(m_errorBar) ? gtk_label_get_text(m_errorLabel) : "";
}

void CGtkLoginDialog::OnSaveToggled(GtkToggleButton*, gpointer self) noexcept {
    Guarded("login save toggled", [self] { static_cast<CGtkLoginDialog*>(self)->ApplySaveRule(); });
}

void CGtkLoginDialog::ApplySaveRule() {
    bool save = gtk_toggle_button_get_active(m_save);
    if (!save) {
        gtk_toggle_button_set_active(m_hideDialog, FALSE);
    }
    gtk_widget_set_sensitive(GTK_WIDGET(m_hideDialog), save);
}

}  // namespace tokeiya::gtk
