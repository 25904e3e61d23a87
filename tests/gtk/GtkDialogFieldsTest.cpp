#include <glib/gstdio.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "GtkTestSupport.hpp"
#include "platform/DialogModel.hpp"
#include "platform/gtk/GObjectPtr.hpp"
#include "platform/gtk/GtkText.hpp"

// After the test headers: Xlib defines macros (None, Bool) that GoogleTest uses as names.
#include <X11/keysym.h>

namespace tokeiya::gtk::test {
namespace {

// The widgets of the dialog on screen, found the way a person would: by what they are.
struct DialogWidgets {
    GtkDialog* dialog = nullptr;
    std::map<std::string, GtkEntry*> entries;       // by the caption on their row
    std::map<std::string, GtkComboBox*> choices;    // by the caption on their row
    std::map<std::string, GtkButton*> buttons;      // other buttons, by the caption on their row
    std::map<std::string, GtkToggleButton*> boxes;  // check boxes, by their own text
    std::map<std::string, GtkLabel*> captions;      // the labels in column 0
    std::map<std::string, GtkLabel*> texts;         // static texts, by the caption on their row
    GtkLabel* error = nullptr;                      // the label of the visible info bar, if any

    template <typename T>
    static T* Get(const std::map<std::string, T*>& widgets, const char8_t* caption) {
        auto found = widgets.find(U8(caption));
        EXPECT_NE(found, widgets.end()) << "no field " << U8(caption);
        return found == widgets.end() ? nullptr : found->second;
    }
    GtkEntry* Entry(const char8_t* caption) { return Get(entries, caption); }
    GtkComboBox* Choice(const char8_t* caption) { return Get(choices, caption); }
    GtkButton* Button(const char8_t* caption) { return Get(buttons, caption); }
    GtkToggleButton* Box(const char8_t* text) { return Get(boxes, text); }
    GtkLabel* Caption(const char8_t* text) { return Get(captions, text); }
    std::string Text(const char8_t* caption) {
        GtkLabel* label = Get(texts, caption);
        return label == nullptr ? "" : gtk_label_get_text(label);
    }
    std::string Error() const { return error == nullptr ? "" : gtk_label_get_text(error); }
    GtkWidget* Focus() const { return gtk_window_get_focus(GTK_WINDOW(dialog)); }
    void Click(int response) const {
        gtk_button_clicked(GTK_BUTTON(gtk_dialog_get_widget_for_response(dialog, response)));
    }
};

void Collect(GtkWidget* widget, DialogWidgets& found) {
    GtkWidget* parent = gtk_widget_get_parent(widget);
    if (parent != nullptr && GTK_IS_GRID(parent)) {
        int row = 0;
        int column = 0;
        gtk_container_child_get(GTK_CONTAINER(parent), widget, "top-attach", &row, "left-attach",
                                &column, nullptr);
        GtkWidget* caption = gtk_grid_get_child_at(GTK_GRID(parent), 0, row);
        std::string text = caption != nullptr && GTK_IS_LABEL(caption)
                               ? gtk_label_get_text(GTK_LABEL(caption))
                               : std::string();
        if (GTK_IS_CHECK_BUTTON(widget)) {
            found.boxes[gtk_button_get_label(GTK_BUTTON(widget))] = GTK_TOGGLE_BUTTON(widget);
        } else if (text.empty()) {
            // a widget without a caption on its row is not looked up by one
        } else if (GTK_IS_ENTRY(widget)) {
            found.entries[text] = GTK_ENTRY(widget);
        } else if (GTK_IS_COMBO_BOX(widget)) {
            found.choices[text] = GTK_COMBO_BOX(widget);
        } else if (GTK_IS_BUTTON(widget)) {
            found.buttons[text] = GTK_BUTTON(widget);
        } else if (GTK_IS_LABEL(widget) && column == 0) {
            found.captions[text] = GTK_LABEL(widget);
        } else if (GTK_IS_LABEL(widget) && column == 1) {
            found.texts[text] = GTK_LABEL(widget);
        }
    }
    if (GTK_IS_INFO_BAR(widget) && gtk_widget_get_visible(widget)) {
        GtkWidget* area = gtk_info_bar_get_content_area(GTK_INFO_BAR(widget));
        GList* children = gtk_container_get_children(GTK_CONTAINER(area));
        if (children != nullptr && GTK_IS_LABEL(children->data)) {
            found.error = GTK_LABEL(children->data);
        }
        g_list_free(children);
    }
    if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* l = children; l != nullptr; l = l->next) {
            Collect(GTK_WIDGET(l->data), found);
        }
        g_list_free(children);
    }
}

// The first shown toplevel of `type` that `accept` takes, or nullptr.
GtkWidget* ShownToplevel(GType type, const std::function<bool(GtkWidget*)>& accept = nullptr) {
    GtkWidget* shown = nullptr;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* l = toplevels; l != nullptr && shown == nullptr; l = l->next) {
        GtkWidget* window = GTK_WIDGET(l->data);
        if (G_TYPE_CHECK_INSTANCE_TYPE(window, type) && gtk_widget_get_mapped(window) &&
            (!accept || accept(window))) {
            shown = window;
        }
    }
    g_list_free(toplevels);
    return shown;
}

// The program's dialog on screen; a file chooser it opened is not it.
DialogWidgets ShownDialog() {
    DialogWidgets found;
    GtkWidget* dialog = ShownToplevel(
        GTK_TYPE_DIALOG, [](GtkWidget* window) { return !GTK_IS_FILE_CHOOSER_DIALOG(window); });
    if (dialog != nullptr) {
        found.dialog = GTK_DIALOG(dialog);
        Collect(dialog, found);
    }
    return found;
}

// Acts on the dialog once it is shown and has the keyboard focus, one step per tick, while
// the dialog runs modally. A step returns false to be tried again at the next tick. A step
// that never finishes, or a dialog that stays open after the last step, fails the test and
// is cancelled, so that a fault cannot hang the run.
class DialogScript {
  public:
    using Step = std::function<bool(DialogWidgets&)>;
    explicit DialogScript(std::vector<Step> steps) : m_steps(std::move(steps)) {
        m_deadline = Deadline();
        m_source = g_timeout_add(50, &DialogScript::Tick, this);
    }
    ~DialogScript() { g_source_remove(m_source); }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    bool Finished() const { return m_next == m_steps.size(); }

  private:
    static gint64 Deadline() { return g_get_monotonic_time() + 5 * G_USEC_PER_SEC; }

    static gboolean Tick(gpointer self) {
        static_cast<DialogScript*>(self)->Advance();
        return G_SOURCE_CONTINUE;
    }

    void Advance() {
        DialogWidgets widgets = ShownDialog();
        if (widgets.dialog == nullptr) {
            return;
        }
        if (g_get_monotonic_time() > m_deadline) {
            ADD_FAILURE() << (Finished()
                                  ? "the dialog stayed open after the last step"
                                  : "step " + std::to_string(m_next + 1) + " never finished");
            m_next = m_steps.size();
            m_deadline = Deadline();
            // A file chooser runs inside the dialog's run: it is answered first.
            while (GtkWidget* chooser = ShownToplevel(GTK_TYPE_FILE_CHOOSER_DIALOG)) {
                gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_CANCEL);
                gtk_widget_hide(chooser);
            }
            gtk_dialog_response(widgets.dialog, GTK_RESPONSE_CANCEL);
            return;
        }
        bool ready = m_next > 0 || gtk_window_has_toplevel_focus(GTK_WINDOW(widgets.dialog));
        if (Finished() || !ready) {
            return;
        }
        if (m_steps[m_next](widgets)) {
            ++m_next;
            m_deadline = Deadline();
        }
    }

    std::vector<Step> m_steps;
    size_t m_next = 0;
    gint64 m_deadline = 0;
    guint m_source = 0;
};

using Step = DialogScript::Step;

// A step that acts once.
Step Do(std::function<void(DialogWidgets&)> act) {
    return [act = std::move(act)](DialogWidgets& w) {
        act(w);
        return true;
    };
}

// Types `utf8` with real key events into the focused widget: Latin letters and digits as
// keys, anything else as GTK's own input method spells it (Ctrl+Shift+U, hex, space),
// which commits it like any input method's composition.
void Type(const char8_t* utf8) {
    for (const char* p = U8(utf8); *p != '\0'; p = g_utf8_next_char(p)) {
        gunichar c = g_utf8_get_char(p);
        if (c < 0x80 && g_ascii_isalnum(static_cast<gchar>(c))) {
            TapKey(c);
            continue;
        }
        TapKey(XK_u, {XK_Control_L, XK_Shift_L});
        gchar hex[16];
        g_snprintf(hex, sizeof hex, "%x", c);
        for (const gchar* digit = hex; *digit != '\0'; ++digit) {
            TapKey(static_cast<unsigned char>(*digit));
        }
        TapKey(XK_space);
    }
}

bool Shows(GtkEntry* entry, const char8_t* utf8) {
    return entry != nullptr && std::string(gtk_entry_get_text(entry)) == U8(utf8);
}

std::string Placeholder(GtkEntry* entry) {
    const char* text = entry == nullptr ? nullptr : gtk_entry_get_placeholder_text(entry);
    return text == nullptr ? "" : text;
}

// Writes a picture of the shown dialog to $TOKEIYA_SNAPSHOT_DIR/<name>.png, so that its
// look can be checked by eye; does nothing without the variable.
void Snapshot(GtkDialog* dialog, const std::string& name) {
    const char* folder = g_getenv("TOKEIYA_SNAPSHOT_DIR");
    if (folder == nullptr || *folder == '\0') {
        return;
    }
    PumpFor(200);  // drawn, including what the last step changed
    GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(dialog));
    ASSERT_NE(nullptr, window);
    GObjectPtr<GdkPixbuf> picture(gdk_pixbuf_get_from_window(
        window, 0, 0, gdk_window_get_width(window), gdk_window_get_height(window)));
    ASSERT_NE(nullptr, picture);
    GCharPtr path(g_build_filename(folder, (name + ".png").c_str(), nullptr));
    GError* error = nullptr;
    EXPECT_TRUE(gdk_pixbuf_save(picture.get(), path.get(), "png", &error, nullptr))
        << (error != nullptr ? error->message : "");
    if (error != nullptr) {
        g_error_free(error);
    }
}

// A model whose rules the test gives.
class TestModel : public CDialogModel {
  public:
    using CDialogModel::CDialogModel;
    // Adds a field; the reference holds until the next one is added.
    DialogField& Put(int id, FieldKind kind, std::string label) {
        DialogField field;
        field.id = id;
        field.kind = kind;
        field.label = std::move(label);
        return Add(std::move(field));
    }
    std::function<void(TestModel&, int)> rule;

  protected:
    void OnChanged(int id) override {
        if (rule) {
            rule(*this, id);
        }
    }
};

// GTK's warnings and criticals stop the test program (see main), so a misused widget (a
// destroyed dialog run again) fails these tests.
class DialogFields : public testing::Test {};

enum FieldId : int { kFirst = 1, kSecond, kThird, kFourth, kFifth };

// A character CP932 cannot hold would be stored as '?', which matches any other such
// character: the field is refused with the reason shown, the dialog stays open with the
// focus on it, and a corrected value is then taken.
TEST_F(DialogFields, TextCp932CannotHoldIsRefusedUntilCorrected) {
    TestModel model("ログイン");
    model.Put(kFirst, FieldKind::Text, "ユーザー名");
    model.Put(kSecond, FieldKind::Password, "パスワード");
    std::string shownError;
    bool focusBack = false;
    bool keptAsTyped = false;
    DialogScript script({
        Do([](DialogWidgets&) { Type(u8"hanako😀"); }),
        [](DialogWidgets& w) {
            if (!Shows(w.Entry(u8"ユーザー名"), u8"hanako😀")) {
                return false;
            }
            w.Click(GTK_RESPONSE_OK);
            return true;
        },
        [&](DialogWidgets& w) {
            if (w.error == nullptr) {
                return false;
            }
            shownError = w.Error();
            focusBack = w.Focus() == GTK_WIDGET(w.Entry(u8"ユーザー名"));
            // not the '?' the model holds: the person corrects what they typed
            keptAsTyped = Shows(w.Entry(u8"ユーザー名"), u8"hanako😀");
            Snapshot(w.dialog, "dialog-refused");
            Type(u8"花子");  // over the selected text
            return true;
        },
        [](DialogWidgets& w) {
            if (!Shows(w.Entry(u8"ユーザー名"), u8"花子")) {
                return false;
            }
            gtk_widget_grab_focus(GTK_WIDGET(w.Entry(u8"パスワード")));
            Type(u8"pw");
            return true;
        },
        [](DialogWidgets& w) {
            if (!Shows(w.Entry(u8"パスワード"), u8"pw")) {
                return false;
            }
            w.Click(GTK_RESPONSE_OK);
            return true;
        },
    });
    EXPECT_TRUE(Desktop().RunDialog(model));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(U8(u8"ユーザー名に使えない文字が含まれています。"), shownError);
    EXPECT_TRUE(focusBack);
    EXPECT_TRUE(keptAsTyped);
    EXPECT_EQ("花子", model.Field(kFirst).text);
    EXPECT_FALSE(model.Field(kFirst).unencodable);
    EXPECT_EQ("pw", model.Field(kSecond).text);
}

// Enter in an entry means OK; a value out of range is refused with the focus on its entry
// and the text selected for retyping; Escape then cancels, the model keeping what was typed.
TEST_F(DialogFields, AnIntegerOutOfRangeKeepsTheFocusOnItsEntry) {
    TestModel model("設定");
    model.Put(kFirst, FieldKind::Text, "名前").text = "a";
    DialogField& pause = model.Put(kSecond, FieldKind::Integer, "休憩");
    pause.suffix = "分";
    pause.text = "30";
    pause.maxValue = 60;
    model.SetInitialFocus(kSecond);
    std::string shownError;
    bool focused = false;
    bool selected = false;
    DialogScript script({
        [](DialogWidgets& w) {
            if (w.Focus() != GTK_WIDGET(w.Entry(u8"休憩"))) {
                return false;
            }
            Type(u8"75");  // over the selected 30
            TapKey(XK_Return);
            return true;
        },
        [&](DialogWidgets& w) {
            if (w.error == nullptr) {
                return false;
            }
            shownError = w.Error();
            GtkEntry* entry = w.Entry(u8"休憩");
            focused = w.Focus() == GTK_WIDGET(entry);
            int start = 0;
            int end = 0;
            selected = gtk_editable_get_selection_bounds(GTK_EDITABLE(entry), &start, &end) &&
                       start == 0 && end == 2;
            Snapshot(w.dialog, "dialog-integer");
            TapKey(XK_Escape);
            return true;
        },
    });
    EXPECT_FALSE(Desktop().RunDialog(model));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(U8(u8"0 から 60 までの整数を入力してください。"), shownError);
    EXPECT_TRUE(focused);
    EXPECT_TRUE(selected);
    EXPECT_EQ("75", model.Field(kSecond).text);
}

// The window's close button cancels too, and what was typed stays in the model.
TEST_F(DialogFields, ClosingTheWindowCancels) {
    TestModel model("メモ");
    model.Put(kFirst, FieldKind::Text, "メモ");
    DialogScript script({
        Do([](DialogWidgets&) { Type(u8"abc"); }),
        [](DialogWidgets& w) {
            if (!Shows(w.Entry(u8"メモ"), u8"abc")) {
                return false;
            }
            gtk_window_close(GTK_WINDOW(w.dialog));
            return true;
        },
    });
    EXPECT_FALSE(Desktop().RunDialog(model));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("abc", model.Field(kFirst).text);
}

// The model decides; the widgets follow at once: a box that needs another is unticked and
// disabled with it, a field the choice does not use is disabled with its caption, and a
// choice fills in a default and a placeholder.
TEST_F(DialogFields, TheModelsRulesAppearInTheWidgets) {
    TestModel model("接続");
    model.Put(kFirst, FieldKind::CheckBox, "保存する").checked = true;
    model.Put(kSecond, FieldKind::CheckBox, "次回から表示しない").checked = true;
    model.Put(kThird, FieldKind::Choice, "種類").choices = {"SQLite", "PostgreSQL", "SQL Server"};
    model.Put(kFourth, FieldKind::Text, "データベース名").enabled = false;
    model.Put(kFifth, FieldKind::Static, "状態").text = "未接続";
    model.SetNotice("前回の接続に失敗しました。");
    model.rule = [](TestModel& m, int id) {
        if (id == kFirst) {
            DialogField& hide = m.Field(kSecond);
            hide.enabled = m.Field(kFirst).checked;
            hide.checked = hide.checked && hide.enabled;
        }
        if (id == kThird) {
            int engine = m.Field(kThird).choice;
            DialogField& database = m.Field(kFourth);
            database.enabled = engine != 0;
            database.placeholder = engine == 2 ? "既定 (Tokeiya)" : "";
            if (engine == 2 && database.text.empty()) {
                database.text = "Tokeiya";
            }
            m.Field(kFifth).text = engine == 0 ? "未接続" : "サーバー";
        }
        if (id == kFourth) {
            m.Field(kFifth).text = m.Field(kFourth).text;
        }
    };
    std::string notice;
    std::vector<std::string> failures;
    auto check = [&failures](bool holds, const char* what) {
        if (!holds) {
            failures.push_back(what);
        }
    };
    DialogScript script({
        Do([&](DialogWidgets& w) {
            notice = w.Error();
            Snapshot(w.dialog, "dialog-rules");
            GtkToggleButton* hide = w.Box(u8"次回から表示しない");
            GtkEntry* database = w.Entry(u8"データベース名");
            check(gtk_toggle_button_get_active(hide), "the second box starts ticked");
            check(!gtk_widget_get_sensitive(GTK_WIDGET(database)), "the name starts disabled");
            check(!gtk_widget_get_sensitive(GTK_WIDGET(w.Caption(u8"データベース名"))),
                  "its caption starts disabled");

            gtk_button_clicked(GTK_BUTTON(w.Box(u8"保存する")));
            check(!gtk_toggle_button_get_active(hide), "the second box is unticked");
            check(!gtk_widget_get_sensitive(GTK_WIDGET(hide)), "the second box is disabled");

            gtk_combo_box_set_active(w.Choice(u8"種類"), 2);
            check(gtk_widget_get_sensitive(GTK_WIDGET(database)), "the name is enabled");
            check(gtk_widget_get_sensitive(GTK_WIDGET(w.Caption(u8"データベース名"))),
                  "its caption is enabled");
            check(Shows(database, u8"Tokeiya"), "the default name is filled in");
            check(Placeholder(database) == U8(u8"既定 (Tokeiya)"), "the placeholder is shown");
        }),
        Do([&](DialogWidgets& w) {
            // The name keeps its text when the choice moves on; the static text follows
            // the choice and then what is typed.
            gtk_combo_box_set_active(w.Choice(u8"種類"), 1);
            check(w.Text(u8"状態") == U8(u8"サーバー"), "the static text follows the choice");
            check(Shows(w.Entry(u8"データベース名"), u8"Tokeiya"), "the name is kept");
            check(Placeholder(w.Entry(u8"データベース名")).empty(), "the placeholder is gone");
            gtk_entry_set_text(w.Entry(u8"データベース名"), "Other");
            check(w.Text(u8"状態") == "Other", "the static text follows the typing");
            w.Click(GTK_RESPONSE_CANCEL);
        }),
    });
    EXPECT_FALSE(Desktop().RunDialog(model));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(U8(u8"前回の接続に失敗しました。"), notice);
    EXPECT_EQ(std::vector<std::string>{}, failures);
    EXPECT_FALSE(model.Field(kFirst).checked);
    EXPECT_FALSE(model.Field(kSecond).checked);
    EXPECT_FALSE(model.Field(kSecond).enabled);
    EXPECT_EQ(1, model.Field(kThird).choice);
    EXPECT_EQ("Other", model.Field(kFourth).text);
}

// GTK would tick the box or open the list on Enter; in a dialog Enter means OK wherever the
// focus is, and the box or the choice keeps its value.
TEST_F(DialogFields, EnterOnACheckBoxOrAChoiceMeansOk) {
    for (bool onChoice : {false, true}) {
        SCOPED_TRACE(onChoice ? "choice" : "check box");
        TestModel model("オプション");
        model.Put(kFirst, FieldKind::Text, "名前");
        model.Put(kSecond, FieldKind::CheckBox, "保存する");
        model.Put(kThird, FieldKind::Choice, "種類").choices = {"A", "B"};
        DialogScript script({
            Do([onChoice](DialogWidgets& w) {
                gtk_widget_grab_focus(onChoice ? GTK_WIDGET(w.Choice(u8"種類"))
                                               : GTK_WIDGET(w.Box(u8"保存する")));
            }),
            [onChoice](DialogWidgets& w) {
                GtkWidget* focus = w.Focus();
                bool there = onChoice
                                 ? focus != nullptr &&
                                       gtk_widget_is_ancestor(focus, GTK_WIDGET(w.Choice(u8"種類")))
                                 : focus == GTK_WIDGET(w.Box(u8"保存する"));
                if (!there) {
                    return false;
                }
                TapKey(XK_Return);
                return true;
            },
        });
        EXPECT_TRUE(Desktop().RunDialog(model));
        EXPECT_TRUE(script.Finished());
        EXPECT_FALSE(model.Field(kSecond).checked);
        EXPECT_EQ(0, model.Field(kThird).choice);
    }
}

// Enter answers the dialog at once, from an entry as from a focused button: GTK's press of
// an activated button alone holds the answer back for 250 ms, and the login dialog's Enter
// is where the wait for the main window begins.
TEST_F(DialogFields, EnterAnswersAtOnce) {
    for (bool onButton : {false, true}) {
        SCOPED_TRACE(onButton ? "OK button" : "entry");
        TestModel model("ログイン");
        model.Put(kFirst, FieldKind::Text, "名前");
        gint64 pressed = 0;
        DialogScript script({
            Do([](DialogWidgets&) { Type(u8"a"); }),
            [&](DialogWidgets& w) {
                if (!Shows(w.Entry(u8"名前"), u8"a")) {
                    return false;
                }
                if (onButton) {
                    gtk_widget_grab_focus(
                        gtk_dialog_get_widget_for_response(w.dialog, GTK_RESPONSE_OK));
                }
                pressed = g_get_monotonic_time();
                TapKey(XK_Return);
                return true;
            },
        });
        EXPECT_TRUE(Desktop().RunDialog(model));
        EXPECT_TRUE(script.Finished());
        EXPECT_LT((g_get_monotonic_time() - pressed) / 1000, 150) << "ms from Enter to the answer";
        EXPECT_EQ("a", model.Field(kFirst).text);
    }
}

// ibus or fcitx would compose a password or a number in kana: those entries and the ones
// the model marks take GTK's simple context; other entries keep the desktop's.
TEST_F(DialogFields, LatinOnlyEntriesKeepTheInputMethodOut) {
    TestModel model("接続");
    model.Put(kFirst, FieldKind::Text, "サーバー").latinOnly = true;
    model.Put(kSecond, FieldKind::Password, "パスワード");
    model.Put(kThird, FieldKind::Integer, "ポート").maxValue = 65535;
    model.Put(kFourth, FieldKind::Text, "備考");
    std::map<std::string, std::string> modules;
    bool hidden = false;
    DialogScript script({
        Do([&](DialogWidgets& w) {
            for (const char8_t* caption : {u8"サーバー", u8"パスワード", u8"ポート", u8"備考"}) {
                gchar* module = nullptr;
                g_object_get(w.Entry(caption), "im-module", &module, nullptr);
                modules[U8(caption)] = module == nullptr ? "(desktop)" : module;
                g_free(module);
            }
            hidden = !gtk_entry_get_visibility(w.Entry(u8"パスワード"));
            w.Click(GTK_RESPONSE_CANCEL);
        }),
    });
    EXPECT_FALSE(Desktop().RunDialog(model));
    EXPECT_TRUE(script.Finished());
    const std::string simple = "gtk-im-context-simple";
    EXPECT_EQ(simple, modules[U8(u8"サーバー")]);
    EXPECT_EQ(simple, modules[U8(u8"パスワード")]);
    EXPECT_EQ(simple, modules[U8(u8"ポート")]);
    EXPECT_EQ("(desktop)", modules[U8(u8"備考")]);
    EXPECT_TRUE(hidden);
}

// An entry with a byte limit takes what fits in CP932 and refuses the rest, typed or
// pasted; a paste is cut at a whole character.
TEST_F(DialogFields, AnEntryTakesNoMoreThanItsByteLimit) {
    TestModel model("略称");
    model.Put(kFirst, FieldKind::Text, "略称").maxBytes = 4;
    DialogScript script({
        Do([](DialogWidgets&) {
            Type(u8"あい");
            Type(u8"う");  // two more bytes: refused
            TapKey(XK_BackSpace);
            Type(u8"x");
            Type(u8"う");  // 3 + 2 bytes: refused
            Type(u8"y");
        }),
        [](DialogWidgets& w) {
            if (!Shows(w.Entry(u8"略称"), u8"あxy")) {
                return false;
            }
            gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), U8(u8"かきく"), -1);
            gtk_editable_select_region(GTK_EDITABLE(w.Entry(u8"略称")), 0, -1);
            TapKey(XK_v, {XK_Control_L});
            return true;
        },
        [](DialogWidgets& w) {
            if (!Shows(w.Entry(u8"略称"), u8"かき")) {
                return false;
            }
            w.Click(GTK_RESPONSE_OK);
            return true;
        },
    });
    EXPECT_TRUE(Desktop().RunDialog(model));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("かき", model.Field(kFirst).text);
}

// The chooser starts at the current file with the model's filter and "all files"; the
// file chosen goes into the entry and the model as if typed.
TEST_F(DialogFields, TheChosenFileGoesIntoTheField) {
    GCharPtr folder(g_dir_make_tmp("tokeiya-dialog-XXXXXX", nullptr));
    ASSERT_NE(nullptr, folder);
    GCharPtr first(g_build_filename(folder.get(), "first.db", nullptr));
    GCharPtr second(g_build_filename(folder.get(), "second.db", nullptr));
    ASSERT_TRUE(g_file_set_contents(first.get(), "", 0, nullptr));
    ASSERT_TRUE(g_file_set_contents(second.get(), "", 0, nullptr));

    TestModel model("接続");
    DialogField& file = model.Put(kFirst, FieldKind::File, "データベースファイル");
    file.text = first.get();
    file.chooser = FileChooserHint{"ファイルの選択", "SQLite データベース", {"*.db"}};
    std::string title;
    std::vector<std::string> filters;
    std::string startFolder;
    DialogScript script({
        Do([](DialogWidgets& w) {
            Snapshot(w.dialog, "dialog-file");
            // Clicked from the main loop: the chooser runs its own loop inside the click.
            g_idle_add(
                [](gpointer button) {
                    gtk_button_clicked(GTK_BUTTON(button));
                    return G_SOURCE_REMOVE;
                },
                w.Button(u8"データベースファイル"));
        }),
        [&](DialogWidgets&) {
            GtkWidget* chooser = ShownToplevel(GTK_TYPE_FILE_CHOOSER_DIALOG);
            if (chooser == nullptr) {
                return false;
            }
            GtkFileChooser* files = GTK_FILE_CHOOSER(chooser);
            GCharPtr current(gtk_file_chooser_get_filename(files));
            if (!current || std::string(current.get()) != first.get()) {
                return false;  // the folder is still being read
            }
            GCharPtr at(gtk_file_chooser_get_current_folder(files));
            startFolder = at ? at.get() : "";
            title = gtk_window_get_title(GTK_WINDOW(chooser));
            GSList* list = gtk_file_chooser_list_filters(files);
            for (GSList* l = list; l != nullptr; l = l->next) {
                filters.push_back(gtk_file_filter_get_name(GTK_FILE_FILTER(l->data)));
            }
            g_slist_free(list);
            gtk_file_chooser_set_filename(files, second.get());
            return true;
        },
        [&](DialogWidgets&) {
            GtkWidget* chooser = ShownToplevel(GTK_TYPE_FILE_CHOOSER_DIALOG);
            GCharPtr current(chooser ? gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser))
                                     : nullptr);
            if (!current || std::string(current.get()) != second.get()) {
                return false;
            }
            gtk_button_clicked(GTK_BUTTON(
                gtk_dialog_get_widget_for_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT)));
            return true;
        },
        [&](DialogWidgets& w) {
            if (ShownToplevel(GTK_TYPE_FILE_CHOOSER_DIALOG) != nullptr ||
                std::string(gtk_entry_get_text(w.Entry(u8"データベースファイル"))) !=
                    second.get()) {
                return false;
            }
            w.Click(GTK_RESPONSE_OK);
            return true;
        },
    });
    EXPECT_TRUE(Desktop().RunDialog(model));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(U8(u8"ファイルの選択"), title);
    EXPECT_EQ((std::vector<std::string>{U8(u8"SQLite データベース"), U8(u8"すべてのファイル")}),
              filters);
    EXPECT_EQ(folder.get(), startFolder);
    EXPECT_EQ(second.get(), model.Field(kFirst).text);
    g_remove(first.get());
    g_remove(second.get());
    g_rmdir(folder.get());
}

}  // namespace
}  // namespace tokeiya::gtk::test
