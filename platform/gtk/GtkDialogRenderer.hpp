#pragma once

#include <gtk/gtk.h>

#include <deque>

#include "platform/DialogModel.hpp"
#include "platform/gtk/GObjectPtr.hpp"

namespace tokeiya::gtk {

class CGtkModalRunner;

// Shows a dialog model as a GTK dialog: one grid row per field under a bar with the
// model's notice, "キャンセル" and "OK" below. The model is the source of truth: every
// change a person makes goes into it at once, and after each change the widgets are made
// to show the model again, so its rules (enabling, unticking, defaults) appear as they run.
class CGtkDialogRenderer {
  public:
    CGtkDialogRenderer(CGtkModalRunner& runner, GtkWindow* parent, CDialogModel& model);
    ~CGtkDialogRenderer();
    // Signal handlers hold `this` and the rows.
    CGtkDialogRenderer(const CGtkDialogRenderer&) = delete;
    CGtkDialogRenderer& operator=(const CGtkDialogRenderer&) = delete;

    // Runs the dialog until it is cancelled or closed with OK and input the model takes;
    // a rejection is shown and the rejected field gets the focus. True for OK.
    bool Run();

  private:
    // The widgets of one field; the signal handlers get a pointer to it.
    struct Row {
        CGtkDialogRenderer* owner = nullptr;
        int id = 0;
        FieldKind kind = FieldKind::Text;
        GtkWidget* label = nullptr;   // caption in column 0, if any
        GtkWidget* widget = nullptr;  // entry, check button, combo box or static text
        GtkWidget* suffix = nullptr;  // text after the widget, if any
        GtkWidget* browse = nullptr;  // a file field's chooser button
    };

    void BuildNoticeBar();
    void AddRow(int row, const DialogField& field);
    GtkWidget* CreateEntry(const DialogField& field, Row& view);
    // Makes every widget show the model: notice, sensitivity, check states, choices,
    // placeholders, texts. Signals the widgets emit meanwhile are not taken as input.
    void ShowModel();
    void ShowRow(const Row& view, const DialogField& field);
    void Focus(int id);
    GtkWidget* WidgetOf(int id) const;
    void BrowseFile(const Row& view);

    static void OnEntryChanged(GtkEditable* editable, gpointer row) noexcept;
    static void OnInsertText(GtkEditable* editable, const gchar* text, gint length, gint* position,
                             gpointer row) noexcept;
    static void OnToggled(GtkToggleButton* button, gpointer row) noexcept;
    static void OnChoiceChanged(GtkComboBox* combo, gpointer row) noexcept;
    static void OnBrowseClicked(GtkButton* button, gpointer row) noexcept;
    static void OnResponse(GtkDialog* dialog, gint response, gpointer self) noexcept;
    static gboolean OnDeleteEvent(GtkWidget* dialog, GdkEvent* event, gpointer) noexcept;
    static gboolean OnKeyPress(GtkWidget* dialog, GdkEventKey* event, gpointer) noexcept;
    static void OnEntryActivate(GtkEntry* entry, gpointer dialog) noexcept;

    CGtkModalRunner& m_runner;
    CDialogModel& m_model;
    std::deque<Row> m_rows;  // stable addresses for the handlers
    bool m_showing = false;  // set while the widgets are made to show the model
    // Declared after the rows, so that the dialog is destroyed before the rows its
    // handlers use.
    ToplevelPtr m_dialog;
    GtkGrid* m_grid = nullptr;
    GtkWidget* m_noticeBar = nullptr;
    GtkLabel* m_noticeLabel = nullptr;
};

}  // namespace tokeiya::gtk
