#include "platform/gtk/GtkConnectionDialog.hpp"

#include <array>
#include <optional>

#include "platform/Cp932.hpp"
#include "platform/PortText.hpp"
#include "platform/gtk/GtkCallback.hpp"
#include "platform/gtk/GtkModalRunner.hpp"
#include "platform/gtk/GtkText.hpp"

namespace tokeiya::gtk {
namespace {

struct EngineChoice {
    DbEngine engine;
    const char* name;
    const char8_t* portHint;
};

// The order of the engine choice box.
constexpr std::array<EngineChoice, 3> kEngines{{
    {DbEngine::SQLite, "SQLite", u8""},
    {DbEngine::PostgreSQL, "PostgreSQL", u8"既定 (5432)"},
    {DbEngine::SqlServer, "SQL Server", u8"既定 (1433)"},
}};

int EngineIndex(DbEngine engine) {
    for (size_t i = 0; i < kEngines.size(); ++i) {
        if (kEngines[i].engine == engine) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

}  // namespace

CGtkConnectionDialog::CGtkConnectionDialog(CGtkModalRunner& runner, GtkWindow* parent,
                                           const ConnectionForm& form)
    : m_runner(runner),
      m_dialog(TakeToplevel(gtk_dialog_new_with_buttons(
          U8(u8"データベース接続"), parent, GTK_DIALOG_MODAL, U8(u8"キャンセル"),
          GTK_RESPONSE_CANCEL, "OK", GTK_RESPONSE_OK, nullptr))) {
    GtkDialog* dialog = GTK_DIALOG(m_dialog.get());
    gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_container_set_border_width(GTK_CONTAINER(dialog), 6);
    GtkBox* content = GTK_BOX(gtk_dialog_get_content_area(dialog));

    BuildErrorBar(form.errorText);
    gtk_box_pack_start(content, m_errorBar, FALSE, FALSE, 0);

    m_grid = GTK_GRID(gtk_grid_new());
    gtk_grid_set_row_spacing(m_grid, 6);
    gtk_grid_set_column_spacing(m_grid, 12);
    gtk_container_set_border_width(GTK_CONTAINER(m_grid), 12);
    gtk_box_pack_start(content, GTK_WIDGET(m_grid), TRUE, TRUE, 0);

    GtkWidget* engine = gtk_combo_box_text_new();
    for (const EngineChoice& choice : kEngines) {
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(engine), choice.name);
    }
    m_engine = GTK_COMBO_BOX(engine);
    gtk_combo_box_set_active(m_engine, EngineIndex(form.engine));
    std::vector<GtkWidget*> always;
    AddRow(0, u8"データベースの種類", engine, always);

    m_file = AddEntry(1, u8"データベースファイル", form.file, m_fileWidgets);
    gtk_widget_set_size_request(GTK_WIDGET(m_file), 280, -1);
    GtkWidget* browse = gtk_button_new_with_label(U8(u8"参照…"));
    gtk_grid_attach(m_grid, browse, 2, 1, 1, 1);
    m_fileWidgets.push_back(browse);

    m_server = AddEntry(2, u8"サーバー", form.server, m_serverWidgets);
    m_port = AddEntry(3, u8"ポート", PortText(form.port), m_serverWidgets);
    gtk_entry_set_input_purpose(m_port, GTK_INPUT_PURPOSE_DIGITS);
    m_database = AddEntry(4, u8"データベース名", form.database, m_serverWidgets);
    m_user = AddEntry(5, u8"ユーザー名", form.user, m_serverWidgets);
    m_password = AddEntry(6, u8"パスワード", form.password, m_serverWidgets);
    gtk_entry_set_visibility(m_password, FALSE);
    gtk_entry_set_input_purpose(m_password, GTK_INPUT_PURPOSE_PASSWORD);
    gtk_widget_show_all(GTK_WIDGET(m_grid));

    gtk_dialog_set_default_response(dialog, GTK_RESPONSE_OK);
    g_signal_connect(m_engine, "changed", G_CALLBACK(OnEngineChanged), this);
    g_signal_connect(browse, "clicked", G_CALLBACK(OnBrowseClicked), this);
    ApplyEngine();
    gtk_widget_grab_focus(GTK_WIDGET(form.engine == DbEngine::SQLite ? m_file : m_server));
}

void CGtkConnectionDialog::AddRow(int row, const char8_t* caption, GtkWidget* field,
                                  std::vector<GtkWidget*>& group) {
    GtkWidget* label = gtk_label_new(U8(caption));
    gtk_widget_set_halign(label, GTK_ALIGN_START);
    gtk_widget_set_hexpand(field, TRUE);
    gtk_grid_attach(m_grid, label, 0, row, 1, 1);
    gtk_grid_attach(m_grid, field, 1, row, 1, 1);
    group.push_back(label);
    group.push_back(field);
}

GtkEntry* CGtkConnectionDialog::AddEntry(int row, const char8_t* caption, const std::string& cp932,
                                         std::vector<GtkWidget*>& group) {
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_text(GTK_ENTRY(entry), cp932::ToUtf8(cp932).c_str());
    gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
    AddRow(row, caption, entry, group);
    return GTK_ENTRY(entry);
}

void CGtkConnectionDialog::BuildErrorBar(const std::string& cp932) {
    m_errorBar = gtk_info_bar_new();
    gtk_info_bar_set_message_type(GTK_INFO_BAR(m_errorBar), GTK_MESSAGE_ERROR);
    GtkWidget* label = gtk_label_new(nullptr);
    m_errorLabel = GTK_LABEL(label);
    gtk_label_set_line_wrap(m_errorLabel, TRUE);
    gtk_label_set_line_wrap_mode(m_errorLabel, PANGO_WRAP_WORD_CHAR);
    gtk_label_set_max_width_chars(m_errorLabel, 60);
    gtk_label_set_xalign(m_errorLabel, 0.0f);
    // The driver's message is often the thing to search for or to pass on.
    gtk_label_set_selectable(m_errorLabel, TRUE);
    gtk_container_add(GTK_CONTAINER(gtk_info_bar_get_content_area(GTK_INFO_BAR(m_errorBar))),
                      label);
    gtk_widget_show(label);
    gtk_widget_set_no_show_all(m_errorBar, TRUE);
    if (!cp932.empty()) {
        ShowError(cp932::ToUtf8(cp932));
    }
}

void CGtkConnectionDialog::ShowError(const std::string& utf8) {
    gtk_label_set_text(m_errorLabel, utf8.c_str());
    gtk_widget_show(m_errorBar);
}

DbEngine CGtkConnectionDialog::SelectedEngine() const {
    int index = gtk_combo_box_get_active(m_engine);
    return index >= 0 && index < static_cast<int>(kEngines.size()) ? kEngines[index].engine
                                                                   : DbEngine::SQLite;
}

void CGtkConnectionDialog::ApplyEngine() {
    DbEngine engine = SelectedEngine();
    bool sqlite = engine == DbEngine::SQLite;
    for (GtkWidget* widget : m_fileWidgets) {
        gtk_widget_set_sensitive(widget, sqlite);
    }
    for (GtkWidget* widget : m_serverWidgets) {
        gtk_widget_set_sensitive(widget, !sqlite);
    }
    gtk_entry_set_placeholder_text(m_port, U8(kEngines[EngineIndex(engine)].portHint));
    // The database of a SQL Server installation is called Tokeiya unless said otherwise.
    if (engine == DbEngine::SqlServer && *gtk_entry_get_text(m_database) == '\0') {
        gtk_entry_set_text(m_database, "Tokeiya");
    }
}

std::string CGtkConnectionDialog::ErrorText() const {
    return gtk_widget_get_visible(m_errorBar) ? gtk_label_get_text(m_errorLabel) : "";
}

void CGtkConnectionDialog::BrowseFile() {
    ToplevelPtr chooser(gtk_file_chooser_dialog_new(
        U8(u8"データベースファイルの選択"), GTK_WINDOW(m_dialog.get()),
        GTK_FILE_CHOOSER_ACTION_OPEN, U8(u8"キャンセル"), GTK_RESPONSE_CANCEL, U8(u8"開く"),
        GTK_RESPONSE_ACCEPT, nullptr));
    GtkFileChooser* files = GTK_FILE_CHOOSER(chooser.get());
    gtk_dialog_set_default_response(GTK_DIALOG(chooser.get()), GTK_RESPONSE_ACCEPT);
    gtk_window_set_position(GTK_WINDOW(chooser.get()), GTK_WIN_POS_CENTER_ON_PARENT);

    GtkFileFilter* databases = gtk_file_filter_new();
    gtk_file_filter_set_name(databases, U8(u8"SQLite データベース"));
    for (const char* pattern : {"*.db", "*.sqlite", "*.sqlite3"}) {
        gtk_file_filter_add_pattern(databases, pattern);
    }
    gtk_file_chooser_add_filter(files, databases);
    GtkFileFilter* all = gtk_file_filter_new();
    gtk_file_filter_set_name(all, U8(u8"すべてのファイル"));
    gtk_file_filter_add_pattern(all, "*");
    gtk_file_chooser_add_filter(files, all);

    const char* current = gtk_entry_get_text(m_file);
    if (*current != '\0') {
        GCharPtr path(g_filename_from_utf8(current, -1, nullptr, nullptr, nullptr));
        if (path && g_path_is_absolute(path.get())) {
            gtk_file_chooser_set_filename(files, path.get());
        }
    }
    if (m_runner.RunDialog(GTK_DIALOG(chooser.get())) != GTK_RESPONSE_ACCEPT) {
        return;
    }
    GCharPtr path(gtk_file_chooser_get_filename(files));
    if (!path) {
        return;
    }
    GCharPtr text(g_filename_to_utf8(path.get(), -1, nullptr, nullptr, nullptr));
    if (text) {
        gtk_entry_set_text(m_file, text.get());
    }
}

bool CGtkConnectionDialog::TakeInput(ConnectionForm& form) {
    DbEngine engine = SelectedEngine();
    std::optional<std::string> file = cp932::FromUtf8Strict(gtk_entry_get_text(m_file));
    std::optional<int> port = ParsePortText(gtk_entry_get_text(m_port));
    if (engine == DbEngine::SQLite) {
        // A file name with '?' in place of what CP932 cannot hold would name another file.
        if (!file) {
            ShowError(U8(u8"このファイル名には使えない文字が含まれています。"));
            gtk_widget_grab_focus(GTK_WIDGET(m_file));
            return false;
        }
        if (file->empty()) {
            ShowError(U8(u8"データベースファイルを指定してください。"));
            gtk_widget_grab_focus(GTK_WIDGET(m_file));
            return false;
        }
    } else if (!port) {
        ShowError(U8(u8"ポートは空欄 (既定) か 1～65535 の数字で入力してください。"));
        gtk_widget_grab_focus(GTK_WIDGET(m_port));
        return false;
    }
    // What CP932 cannot hold would reach the server as '?': refused, field by field.
    struct Field {
        GtkEntry* entry;
        const char8_t* message;
        std::string* into;
    };
    std::string server, database, user, password;
    const Field fields[] = {
        {m_server, u8"サーバーに使えない文字が含まれています。", &server},
        {m_database, u8"データベース名に使えない文字が含まれています。", &database},
        {m_user, u8"ユーザー名に使えない文字が含まれています。", &user},
        {m_password, u8"パスワードに使えない文字が含まれています。", &password},
    };
    for (const Field& field : fields) {
        std::optional<std::string> text = cp932::FromUtf8Strict(gtk_entry_get_text(field.entry));
        if (!text) {
            if (engine == DbEngine::SQLite) {
                continue;  // the server fields are not used and not taken
            }
            ShowError(U8(field.message));
            gtk_widget_grab_focus(GTK_WIDGET(field.entry));
            return false;
        }
        *field.into = std::move(*text);
    }
    form.engine = engine;
    if (file) {
        form.file = *file;
    }
    form.server = server;
    if (port) {
        form.port = *port;
    }
    form.database = database;
    form.user = user;
    form.password = password;
    return true;
}

bool CGtkConnectionDialog::Run(ConnectionForm& form) {
    while (m_runner.RunDialog(GTK_DIALOG(m_dialog.get())) == GTK_RESPONSE_OK) {
        if (TakeInput(form)) {
            return true;
        }
    }
    return false;
}

void CGtkConnectionDialog::OnEngineChanged(GtkComboBox*, gpointer self) noexcept {
    Guarded("connection engine changed",
            [self] { static_cast<CGtkConnectionDialog*>(self)->ApplyEngine(); });
}

void CGtkConnectionDialog::OnBrowseClicked(GtkButton*, gpointer self) noexcept {
    Guarded("connection browse",
            [self] { static_cast<CGtkConnectionDialog*>(self)->BrowseFile(); });
}

}  // namespace tokeiya::gtk
