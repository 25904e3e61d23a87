#include "platform/gtk/GtkDialogRenderer.hpp"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Cp932.hpp"
#include "platform/gtk/GtkCallback.hpp"
#include "platform/gtk/GtkModalRunner.hpp"
#include "platform/gtk/GtkText.hpp"

namespace tokeiya::gtk {
namespace {

// Signals a widget emits while it is made to show the model are not input.
class CShowingScope {
  public:
    explicit CShowingScope(bool& flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~CShowingScope() { m_flag = m_was; }
    CShowingScope(const CShowingScope&) = delete;
    CShowingScope& operator=(const CShowingScope&) = delete;

  private:
    bool& m_flag;
    bool m_was;
};

bool IsEntry(FieldKind kind) {
    return kind == FieldKind::Text || kind == FieldKind::Password || kind == FieldKind::Integer ||
           kind == FieldKind::File;
}

GtkWidget* NewCaption(const std::string& cp932) {
    GtkWidget* label = gtk_label_new(cp932::ToUtf8(cp932).c_str());
    gtk_widget_set_halign(label, GTK_ALIGN_START);
    return label;
}

// The CP932 length of `utf8`; what CP932 cannot hold counts as the '?' it would become.
size_t Cp932Bytes(std::string_view utf8) {
    return cp932::FromUtf8(utf8).size();
}

// The leading whole characters of `utf8` that take at most `room` CP932 bytes.
std::string_view LeadingFit(std::string_view utf8, size_t room) {
    size_t taken = 0;
    size_t bytes = 0;
    while (taken < utf8.size()) {
        const char* next = g_utf8_find_next_char(utf8.data() + taken, utf8.data() + utf8.size());
        size_t end = next == nullptr ? utf8.size() : static_cast<size_t>(next - utf8.data());
        bytes += Cp932Bytes(utf8.substr(taken, end - taken));
        if (bytes > room) {
            break;
        }
        taken = end;
    }
    return utf8.substr(0, taken);
}

}  // namespace

CGtkDialogRenderer::CGtkDialogRenderer(CGtkModalRunner& runner, GtkWindow* parent,
                                       CDialogModel& model)
    : m_runner(runner),
      m_model(model),
      m_dialog(TakeToplevel(gtk_dialog_new_with_buttons(
          cp932::ToUtf8(model.Caption()).c_str(), parent, GTK_DIALOG_MODAL, U8(u8"キャンセル"),
          GTK_RESPONSE_CANCEL, "OK", GTK_RESPONSE_OK, nullptr))) {
    GtkDialog* dialog = GTK_DIALOG(m_dialog.get());
    gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_container_set_border_width(GTK_CONTAINER(dialog), 6);
    GtkBox* content = GTK_BOX(gtk_dialog_get_content_area(dialog));

    BuildNoticeBar();
    gtk_box_pack_start(content, m_noticeBar, FALSE, FALSE, 0);

    m_grid = GTK_GRID(gtk_grid_new());
    gtk_grid_set_row_spacing(m_grid, 6);
    gtk_grid_set_column_spacing(m_grid, 12);
    gtk_container_set_border_width(GTK_CONTAINER(m_grid), 12);
    gtk_box_pack_start(content, GTK_WIDGET(m_grid), TRUE, TRUE, 0);
    int row = 0;
    for (const DialogField& field : m_model.Fields()) {
        AddRow(row++, field);
    }
    gtk_widget_show_all(GTK_WIDGET(m_grid));

    gtk_dialog_set_default_response(dialog, GTK_RESPONSE_OK);
    g_signal_connect(dialog, "key-press-event", G_CALLBACK(OnKeyPress), nullptr);
    // Connected before gtk_dialog_run connects its own handlers, so these run first.
    g_signal_connect(dialog, "response", G_CALLBACK(OnResponse), this);
    g_signal_connect(dialog, "delete-event", G_CALLBACK(OnDeleteEvent), nullptr);
    ShowModel();
    Focus(m_model.InitialFocus());
}

CGtkDialogRenderer::~CGtkDialogRenderer() {
    // Whatever the widgets emit while they are destroyed is not input.
    m_showing = true;
    m_dialog.reset();
}

void CGtkDialogRenderer::BuildNoticeBar() {
    m_noticeBar = gtk_info_bar_new();
    gtk_info_bar_set_message_type(GTK_INFO_BAR(m_noticeBar), GTK_MESSAGE_ERROR);
    GtkWidget* label = gtk_label_new(nullptr);
    m_noticeLabel = GTK_LABEL(label);
    gtk_label_set_line_wrap(m_noticeLabel, TRUE);
    gtk_label_set_line_wrap_mode(m_noticeLabel, PANGO_WRAP_WORD_CHAR);
    gtk_label_set_max_width_chars(m_noticeLabel, 60);
    gtk_label_set_xalign(m_noticeLabel, 0.0f);
    // A driver's message is often the thing to search for or to pass on.
    gtk_label_set_selectable(m_noticeLabel, TRUE);
    gtk_container_add(GTK_CONTAINER(gtk_info_bar_get_content_area(GTK_INFO_BAR(m_noticeBar))),
                      label);
    gtk_widget_show(label);
    gtk_widget_set_no_show_all(m_noticeBar, TRUE);
}

void CGtkDialogRenderer::AddRow(int row, const DialogField& field) {
    Row& view = m_rows.emplace_back();
    view.owner = this;
    view.id = field.id;
    view.kind = field.kind;
    const bool labelled = !field.label.empty();
    const bool suffixed = !field.suffix.empty();

    if (field.kind == FieldKind::CheckBox) {
        view.widget = gtk_check_button_new_with_label(cp932::ToUtf8(field.label).c_str());
        gtk_grid_attach(m_grid, view.widget, 0, row, 3, 1);
        g_signal_connect(view.widget, "toggled", G_CALLBACK(OnToggled), &view);
        return;
    }
    if (field.kind == FieldKind::Static) {
        view.widget = gtk_label_new(nullptr);
        GtkLabel* text = GTK_LABEL(view.widget);
        gtk_label_set_xalign(text, 0.0f);
        gtk_label_set_line_wrap(text, TRUE);
        gtk_label_set_line_wrap_mode(text, PANGO_WRAP_WORD_CHAR);
        gtk_label_set_max_width_chars(text, 60);
        if (labelled) {
            view.label = NewCaption(field.label);
            gtk_grid_attach(m_grid, view.label, 0, row, 1, 1);
            gtk_grid_attach(m_grid, view.widget, 1, row, suffixed ? 1 : 2, 1);
        } else {
            gtk_grid_attach(m_grid, view.widget, 0, row, suffixed ? 2 : 3, 1);
        }
        if (suffixed) {
            view.suffix = NewCaption(field.suffix);
            gtk_grid_attach(m_grid, view.suffix, 2, row, 1, 1);
        }
        return;
    }

    if (field.kind == FieldKind::Choice) {
        view.widget = gtk_combo_box_text_new();
        for (const std::string& choice : field.choices) {
            gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(view.widget),
                                           cp932::ToUtf8(choice).c_str());
        }
        gtk_widget_set_hexpand(view.widget, TRUE);
        g_signal_connect(view.widget, "changed", G_CALLBACK(OnChoiceChanged), &view);
    } else {
        view.widget = CreateEntry(field, view);
    }
    if (labelled) {
        view.label = NewCaption(field.label);
        gtk_grid_attach(m_grid, view.label, 0, row, 1, 1);
    }
    // An integer entry stays in the entry column even without a caption, in line with
    // the captioned ones; other fields without one take the caption's place as well.
    if (labelled || field.kind == FieldKind::Integer) {
        gtk_grid_attach(m_grid, view.widget, 1, row, 1, 1);
    } else {
        gtk_grid_attach(m_grid, view.widget, 0, row, 2, 1);
    }
    int column = 2;
    if (field.kind == FieldKind::File) {
        view.browse = gtk_button_new_with_label(U8(u8"参照…"));
        gtk_grid_attach(m_grid, view.browse, column++, row, 1, 1);
        g_signal_connect(view.browse, "clicked", G_CALLBACK(OnBrowseClicked), &view);
    }
    if (suffixed) {
        view.suffix = NewCaption(field.suffix);
        gtk_grid_attach(m_grid, view.suffix, column, row, 1, 1);
    }
}

GtkWidget* CGtkDialogRenderer::CreateEntry(const DialogField& field, Row& view) {
    GtkWidget* widget = gtk_entry_new();
    GtkEntry* entry = GTK_ENTRY(widget);
    // Enter answers OK at once rather than through the default button, whose activation
    // GTK shows as a press that holds the answer back for a quarter of a second.
    g_signal_connect(widget, "activate", G_CALLBACK(OnEntryActivate), m_dialog.get());
    switch (field.kind) {
        case FieldKind::Password:
            gtk_entry_set_visibility(entry, FALSE);
            gtk_entry_set_input_purpose(entry, GTK_INPUT_PURPOSE_PASSWORD);
            gtk_widget_set_hexpand(widget, TRUE);
            break;
        case FieldKind::Integer:
            gtk_entry_set_input_purpose(entry, GTK_INPUT_PURPOSE_DIGITS);
            gtk_entry_set_alignment(entry, 1.0f);
            gtk_entry_set_width_chars(entry, 6);
            gtk_entry_set_max_width_chars(entry, 6);
            gtk_widget_set_halign(widget, GTK_ALIGN_START);
            break;
        case FieldKind::File:
            gtk_widget_set_size_request(widget, 280, -1);
            gtk_widget_set_hexpand(widget, TRUE);
            break;
        default:
            gtk_widget_set_hexpand(widget, TRUE);
            break;
    }
    // The simple context keeps ibus or fcitx out of the entry: what goes in is typed as
    // the keys say, whatever the input method was left at.
    if (field.latinOnly) {
        g_object_set(widget, "im-module", "gtk-im-context-simple", nullptr);
    }
    g_signal_connect(widget, "insert-text", G_CALLBACK(OnInsertText), &view);
    g_signal_connect(widget, "changed", G_CALLBACK(OnEntryChanged), &view);
    return widget;
}

bool CGtkDialogRenderer::Run() {
    // OK only ends the run with input the model took (OnResponse).
    return m_runner.RunDialog(GTK_DIALOG(m_dialog.get())) == GTK_RESPONSE_OK;
}

void CGtkDialogRenderer::ShowModel() {
    CShowingScope showing(m_showing);
    const std::string& notice = m_model.Notice();
    if (notice.empty()) {
        gtk_widget_hide(m_noticeBar);
    } else {
        std::string utf8 = cp932::ToUtf8(notice);
        if (utf8 != gtk_label_get_text(m_noticeLabel)) {
            gtk_label_set_text(m_noticeLabel, utf8.c_str());
        }
        gtk_widget_show(m_noticeBar);
    }
    for (const Row& view : m_rows) {
        if (const DialogField* field = m_model.Find(view.id)) {
            ShowRow(view, *field);
        }
    }
}

void CGtkDialogRenderer::ShowRow(const Row& view, const DialogField& field) {
    for (GtkWidget* widget : {view.label, view.widget, view.suffix, view.browse}) {
        if (widget != nullptr && gtk_widget_get_sensitive(widget) != field.enabled) {
            gtk_widget_set_sensitive(widget, field.enabled);
        }
    }
    if (view.kind == FieldKind::CheckBox) {
        GtkToggleButton* box = GTK_TOGGLE_BUTTON(view.widget);
        if (gtk_toggle_button_get_active(box) != field.checked) {
            gtk_toggle_button_set_active(box, field.checked);
        }
    } else if (view.kind == FieldKind::Choice) {
        GtkComboBox* combo = GTK_COMBO_BOX(view.widget);
        if (gtk_combo_box_get_active(combo) != field.choice) {
            gtk_combo_box_set_active(combo, field.choice);
        }
    } else if (view.kind == FieldKind::Static) {
        std::string utf8 = cp932::ToUtf8(field.text);
        if (utf8 != gtk_label_get_text(GTK_LABEL(view.widget))) {
            gtk_label_set_text(GTK_LABEL(view.widget), utf8.c_str());
        }
    } else if (IsEntry(view.kind)) {
        GtkEntry* entry = GTK_ENTRY(view.widget);
        std::string placeholder = cp932::ToUtf8(field.placeholder);
        const char* shownPlaceholder = gtk_entry_get_placeholder_text(entry);
        if (placeholder != (shownPlaceholder == nullptr ? "" : shownPlaceholder)) {
            gtk_entry_set_placeholder_text(entry, placeholder.c_str());
        }
        // What the entry shows stays as typed while the model holds the same: a character
        // CP932 cannot hold is '?' in the model but must stay visible to be corrected.
        const char* shown = gtk_entry_get_text(entry);
        if (cp932::FromUtf8(shown) != field.text) {
            std::string utf8 = cp932::ToUtf8(field.text);
            if (utf8 != shown) {
                gtk_entry_set_text(entry, utf8.c_str());
            }
        }
    }
}

GtkWidget* CGtkDialogRenderer::WidgetOf(int id) const {
    for (const Row& view : m_rows) {
        if (view.id == id) {
            return view.widget;
        }
    }
    return nullptr;
}

void CGtkDialogRenderer::Focus(int id) {
    GtkWidget* widget = WidgetOf(id);
    if (widget == nullptr || !gtk_widget_is_sensitive(widget)) {
        return;
    }
    gtk_widget_grab_focus(widget);
    if (GTK_IS_ENTRY(widget)) {
        gtk_editable_select_region(GTK_EDITABLE(widget), 0, -1);
    }
}

void CGtkDialogRenderer::BrowseFile(const Row& view) {
    const DialogField& field = m_model.Field(view.id);
    GtkEntry* entry = GTK_ENTRY(view.widget);
    std::string title = field.chooser ? cp932::ToUtf8(field.chooser->title) : std::string();
    if (title.empty()) {
        title = U8(u8"ファイルの選択");
    }
    ToplevelPtr chooser(gtk_file_chooser_dialog_new(
        title.c_str(), GTK_WINDOW(m_dialog.get()), GTK_FILE_CHOOSER_ACTION_OPEN, U8(u8"キャンセル"),
        GTK_RESPONSE_CANCEL, U8(u8"開く"), GTK_RESPONSE_ACCEPT, nullptr));
    GtkFileChooser* files = GTK_FILE_CHOOSER(chooser.get());
    gtk_dialog_set_default_response(GTK_DIALOG(chooser.get()), GTK_RESPONSE_ACCEPT);
    gtk_window_set_position(GTK_WINDOW(chooser.get()), GTK_WIN_POS_CENTER_ON_PARENT);

    if (field.chooser && !field.chooser->patterns.empty()) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, cp932::ToUtf8(field.chooser->filterName).c_str());
        for (const std::string& pattern : field.chooser->patterns) {
            gtk_file_filter_add_pattern(filter, pattern.c_str());
        }
        gtk_file_chooser_add_filter(files, filter);
    }
    GtkFileFilter* all = gtk_file_filter_new();
    gtk_file_filter_set_name(all, U8(u8"すべてのファイル"));
    gtk_file_filter_add_pattern(all, "*");
    gtk_file_chooser_add_filter(files, all);

    // The chooser starts where the current file is; a relative name says nothing about
    // where the person would look.
    GCharPtr current(
        g_filename_from_utf8(gtk_entry_get_text(entry), -1, nullptr, nullptr, nullptr));
    if (current && g_path_is_absolute(current.get())) {
        if (g_file_test(current.get(), G_FILE_TEST_IS_REGULAR)) {
            gtk_file_chooser_set_filename(files, current.get());
        } else {
            GCharPtr folder(g_path_get_dirname(current.get()));
            if (g_file_test(folder.get(), G_FILE_TEST_IS_DIR)) {
                gtk_file_chooser_set_current_folder(files, folder.get());
            }
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
    if (!text) {
        return;
    }
    // A shortened path would name another file: one too long is not taken at all.
    if (field.maxBytes != 0 && Cp932Bytes(text.get()) > field.maxBytes) {
        gtk_widget_error_bell(view.widget);
        return;
    }
    gtk_entry_set_text(entry, text.get());  // into the model like typing
}

void CGtkDialogRenderer::OnEntryChanged(GtkEditable* editable, gpointer row) noexcept {
    Guarded("dialog entry changed", [editable, row] {
        const Row& view = *static_cast<const Row*>(row);
        CGtkDialogRenderer& self = *view.owner;
        if (self.m_showing) {
            return;
        }
        self.m_model.SetTypedText(view.id, gtk_entry_get_text(GTK_ENTRY(editable)));
        self.ShowModel();
    });
}

void CGtkDialogRenderer::OnInsertText(GtkEditable* editable, const gchar* text, gint length,
                                      gint* position, gpointer row) noexcept {
    Guarded("dialog entry insert", [=] {
        const Row& view = *static_cast<const Row*>(row);
        CGtkDialogRenderer& self = *view.owner;
        if (self.m_showing) {
            return;  // the model's own text goes in whole; its check runs on OK
        }
        const DialogField* field = self.m_model.Find(view.id);
        if (field == nullptr || field->maxBytes == 0) {
            return;
        }
        std::string_view inserted(text, length < 0 ? std::strlen(text) : length);
        size_t used = Cp932Bytes(gtk_entry_get_text(GTK_ENTRY(editable)));
        if (used + Cp932Bytes(inserted) <= field->maxBytes) {
            return;
        }
        // Like an edit control's limit: what fits goes in (a paste or a committed phrase
        // is cut at a whole character), the rest is refused with a bell.
        std::string_view fits =
            LeadingFit(inserted, used < field->maxBytes ? field->maxBytes - used : 0);
        g_signal_stop_emission_by_name(editable, "insert-text");
        if (!fits.empty()) {
            std::string part(fits);
            g_signal_handlers_block_by_func(editable, reinterpret_cast<gpointer>(&OnInsertText),
                                            row);
            gtk_editable_insert_text(editable, part.c_str(), static_cast<gint>(part.size()),
                                     position);
            g_signal_handlers_unblock_by_func(editable, reinterpret_cast<gpointer>(&OnInsertText),
                                              row);
        }
        gtk_widget_error_bell(GTK_WIDGET(editable));
    });
}

void CGtkDialogRenderer::OnToggled(GtkToggleButton* button, gpointer row) noexcept {
    Guarded("dialog box toggled", [button, row] {
        const Row& view = *static_cast<const Row*>(row);
        CGtkDialogRenderer& self = *view.owner;
        if (self.m_showing) {
            return;
        }
        self.m_model.SetChecked(view.id, gtk_toggle_button_get_active(button));
        self.ShowModel();
    });
}

void CGtkDialogRenderer::OnChoiceChanged(GtkComboBox* combo, gpointer row) noexcept {
    Guarded("dialog choice changed", [combo, row] {
        const Row& view = *static_cast<const Row*>(row);
        CGtkDialogRenderer& self = *view.owner;
        if (self.m_showing) {
            return;
        }
        self.m_model.SetChoice(view.id, gtk_combo_box_get_active(combo));
        self.ShowModel();
    });
}

void CGtkDialogRenderer::OnBrowseClicked(GtkButton*, gpointer row) noexcept {
    Guarded("dialog browse", [row] {
        const Row& view = *static_cast<const Row*>(row);
        view.owner->BrowseFile(view);
    });
}

void CGtkDialogRenderer::OnResponse(GtkDialog* dialog, gint response, gpointer self) noexcept {
    if (response != GTK_RESPONSE_OK) {
        return;
    }
    // The input is checked while the dialog still runs: a refusal stops the response, so
    // the run goes on with the dialog as it is. Running the dialog again instead would
    // leave a gap in which a close would find no run to answer and destroy the dialog.
    bool taken = false;
    Guarded("dialog OK", [self, &taken] {
        auto& renderer = *static_cast<CGtkDialogRenderer*>(self);
        std::optional<DialogRejection> rejection = renderer.m_model.Validate();
        taken = !rejection;
        if (rejection) {
            renderer.ShowModel();
            renderer.Focus(rejection->fieldId);
        }
    });
    if (!taken) {
        g_signal_stop_emission_by_name(dialog, "response");
    }
}

gboolean CGtkDialogRenderer::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer) noexcept {
    // Closing the window answers the run (GtkDialog's own handler has sent the response);
    // the dialog itself belongs to the renderer and is destroyed with it.
    return TRUE;
}

void CGtkDialogRenderer::OnEntryActivate(GtkEntry*, gpointer dialog) noexcept {
    Guarded("dialog Enter", [dialog] { gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK); });
}

gboolean CGtkDialogRenderer::OnKeyPress(GtkWidget* dialog, GdkEventKey* event, gpointer) noexcept {
    gboolean handled = FALSE;
    Guarded("dialog key", [&] {
        guint key = event->keyval;
        if (key != GDK_KEY_Return && key != GDK_KEY_KP_Enter && key != GDK_KEY_ISO_Enter) {
            return;
        }
        if ((event->state & gtk_accelerator_get_default_mod_mask()) != 0) {
            return;
        }
        // Enter on a check box or a choice means OK, as in an entry, where GTK would tick
        // the box or open the list. Entries keep their keys: the input method needs Enter
        // while it composes, and they answer OK themselves.
        GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog));
        if (focus == nullptr || GTK_IS_ENTRY(focus)) {
            return;
        }
        if (GTK_IS_CHECK_BUTTON(focus) || gtk_widget_get_ancestor(focus, GTK_TYPE_COMBO_BOX)) {
            gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
            handled = TRUE;
        } else if (GTK_IS_BUTTON(focus)) {
            // Clicked now, without the quarter-second press GTK shows first.
            gtk_button_clicked(GTK_BUTTON(focus));
            handled = TRUE;
        }
    });
    return handled;
}

}  // namespace tokeiya::gtk
