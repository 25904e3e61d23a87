#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "platform/Dialogs.hpp"
#include "platform/gtk/GObjectPtr.hpp"

namespace tokeiya::gtk {

class CGtkModalRunner;

// The connection dialog "データベース接続": the engine, and either the SQLite file or the
// server, port, database and account. The error of the last failed attempt, if any, is
// shown above the fields.
class CGtkConnectionDialog {
  public:
    CGtkConnectionDialog(CGtkModalRunner& runner, GtkWindow* parent, const ConnectionForm& form);
    // Signal handlers hold `this`.
    CGtkConnectionDialog(const CGtkConnectionDialog&) = delete;
    CGtkConnectionDialog& operator=(const CGtkConnectionDialog&) = delete;

    // Runs the dialog until it is cancelled or closed with valid input; on OK writes the
    // input back into `form` (errorText stays as given) and returns true.
    bool Run(ConnectionForm& form);

    // The message shown above the fields, empty when none (for tests).
    std::string ErrorText() const;

  private:
    // Adds a captioned row; the caption and the field join `group`, the widgets that are
    // editable together.
    void AddRow(int row, const char8_t* caption, GtkWidget* field, std::vector<GtkWidget*>& group);
    GtkEntry* AddEntry(int row, const char8_t* caption, const std::string& cp932,
                       std::vector<GtkWidget*>& group);
    void BuildErrorBar(const std::string& cp932);
    void ShowError(const std::string& utf8);
    DbEngine SelectedEngine() const;
    // Only the fields the chosen engine uses can be edited.
    void ApplyEngine();
    void BrowseFile();
    // Writes valid input into `form`; otherwise shows why and returns false.
    bool TakeInput(ConnectionForm& form);

    static void OnEngineChanged(GtkComboBox* combo, gpointer self) noexcept;
    static void OnBrowseClicked(GtkButton* button, gpointer self) noexcept;

    CGtkModalRunner& m_runner;
    ToplevelPtr m_dialog;
    GtkGrid* m_grid = nullptr;
    GtkWidget* m_errorBar = nullptr;
    GtkLabel* m_errorLabel = nullptr;
    GtkComboBox* m_engine = nullptr;
    std::vector<GtkWidget*> m_fileWidgets;
    std::vector<GtkWidget*> m_serverWidgets;
    GtkEntry* m_file = nullptr;
    GtkEntry* m_server = nullptr;
    GtkEntry* m_port = nullptr;
    GtkEntry* m_database = nullptr;
    GtkEntry* m_user = nullptr;
    GtkEntry* m_password = nullptr;
};

}  // namespace tokeiya::gtk
