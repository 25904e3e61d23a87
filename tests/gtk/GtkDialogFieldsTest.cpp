#include <functional>
#include <map>
#include <string>
#include <vector>

#include "GtkTestSupport.hpp"
#include "platform/gtk/GtkText.hpp"

namespace tokeiya::gtk::test {
namespace {

// The widgets of the dialog on screen, found the way a person would: by what they are.
struct DialogWidgets {
    GtkDialog* dialog = nullptr;
    std::map<std::string, GtkEntry*> entries;  // by the caption on their row
    GtkLabel* error = nullptr;                 // the label of the visible info bar, if any

    GtkEntry* Entry(const char8_t* caption) {
        auto found = entries.find(U8(caption));
        EXPECT_NE(found, entries.end()) << "no field " << U8(caption);
        return found == entries.end() ? nullptr : found->second;
    }
};

void Collect(GtkWidget* widget, DialogWidgets& found) {
    GtkWidget* parent = gtk_widget_get_parent(widget);
    if (GTK_IS_ENTRY(widget) && parent != nullptr && GTK_IS_GRID(parent)) {
        int row = 0;
        gtk_container_child_get(GTK_CONTAINER(parent), widget, "top-attach", &row, nullptr);
        GtkWidget* caption = gtk_grid_get_child_at(GTK_GRID(parent), 0, row);
        if (caption != nullptr && GTK_IS_LABEL(caption)) {
            found.entries[gtk_label_get_text(GTK_LABEL(caption))] = GTK_ENTRY(widget);
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

DialogWidgets ShownDialog() {
    DialogWidgets found;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* l = toplevels; l != nullptr; l = l->next) {
        if (GTK_IS_DIALOG(l->data) && gtk_widget_get_mapped(GTK_WIDGET(l->data))) {
            found.dialog = GTK_DIALOG(l->data);
            Collect(GTK_WIDGET(l->data), found);
            break;
        }
    }
    g_list_free(toplevels);
    return found;
}

// Acts on the dialog once it is shown, one step per tick, while the dialog runs modally.
class DialogScript {
  public:
    using Step = std::function<void(DialogWidgets&)>;
    explicit DialogScript(std::vector<Step> steps) : m_steps(std::move(steps)) {
        m_source = g_timeout_add(50, &DialogScript::Tick, this);
    }
    ~DialogScript() {
        if (m_source != 0) {
            g_source_remove(m_source);
        }
    }
    bool Finished() const { return m_next == m_steps.size(); }

  private:
    static gboolean Tick(gpointer self) {
        auto* script = static_cast<DialogScript*>(self);
        DialogWidgets widgets = ShownDialog();
        if (widgets.dialog == nullptr) {
            return G_SOURCE_CONTINUE;
        }
        script->m_steps[script->m_next++](widgets);
        if (script->Finished()) {
            script->m_source = 0;
            return G_SOURCE_REMOVE;
        }
        return G_SOURCE_CONTINUE;
    }

    std::vector<Step> m_steps;
    size_t m_next = 0;
    guint m_source = 0;
};

// A character CP932 cannot hold would be stored as '?', which matches any other such
// character: the login dialog refuses it, says why, and keeps the dialog open.
TEST(DialogFields, TheLoginDialogRefusesTextCp932CannotHold) {
    std::string shownError;
    DialogScript script({
        [](DialogWidgets& w) {
            gtk_entry_set_text(w.Entry(u8"ユーザー名"), U8(u8"hanako😀"));
            gtk_dialog_response(w.dialog, GTK_RESPONSE_OK);
        },
        [&](DialogWidgets& w) {
            ASSERT_NE(nullptr, w.error) << "no message shown";
            shownError = gtk_label_get_text(w.error);
            gtk_entry_set_text(w.Entry(u8"ユーザー名"), U8(u8"花子"));
            gtk_entry_set_text(w.Entry(u8"パスワード"), U8(u8"pw"));
            gtk_dialog_response(w.dialog, GTK_RESPONSE_OK);
        },
    });
    LoginForm form;
    ASSERT_TRUE(Desktop().ShowLoginDialog(form));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(U8(u8"ユーザー名に使えない文字が含まれています。"), shownError);
    EXPECT_EQ("花子", form.userName);
    EXPECT_EQ("pw", form.password);
}

TEST(DialogFields, TheConnectionDialogRefusesServerFieldsCp932CannotHold) {
    std::string shownError;
    DialogScript script({
        [](DialogWidgets& w) {
            gtk_entry_set_text(w.Entry(u8"サーバー"), "db");
            gtk_entry_set_text(w.Entry(u8"ユーザー名"), U8(u8"ta🙂ro"));
            gtk_dialog_response(w.dialog, GTK_RESPONSE_OK);
        },
        [&](DialogWidgets& w) {
            ASSERT_NE(nullptr, w.error);
            shownError = gtk_label_get_text(w.error);
            gtk_dialog_response(w.dialog, GTK_RESPONSE_CANCEL);
        },
    });
    ConnectionForm form;
    form.engine = DbEngine::PostgreSQL;
    EXPECT_FALSE(Desktop().ShowConnectionDialog(form));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(U8(u8"ユーザー名に使えない文字が含まれています。"), shownError);
}

TEST(DialogFields, TheConnectionDialogProposesTheSqlServerDatabaseName) {
    std::string database;
    DialogScript script({
        [&](DialogWidgets& w) {
            database = gtk_entry_get_text(w.Entry(u8"データベース名"));
            gtk_dialog_response(w.dialog, GTK_RESPONSE_CANCEL);
        },
    });
    ConnectionForm form;
    form.engine = DbEngine::SqlServer;
    EXPECT_FALSE(Desktop().ShowConnectionDialog(form));
    EXPECT_EQ("Tokeiya", database);
}

}  // namespace
}  // namespace tokeiya::gtk::test
