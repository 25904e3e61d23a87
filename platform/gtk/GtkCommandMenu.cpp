#include "platform/gtk/GtkCommandMenu.hpp"

#include "platform/Cp932.hpp"
#include "platform/gtk/GtkCallback.hpp"

namespace tokeiya::gtk {

using namespace win;

std::string MenuLabel(const std::string& cp932) {
    // In UTF-8 an ASCII byte is always a character of its own, while in CP932 '_' may be
    // the trail byte of a kanji: the marks are rewritten after the conversion.
    std::string utf8 = cp932::ToUtf8(cp932);
    if (auto tab = utf8.find('\t'); tab != std::string::npos) {
        utf8.erase(tab);
    }
    std::string label;
    label.reserve(utf8.size() + 2);
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '_') {
            label += "__";
        } else if (c != '&') {
            label += c;
        } else if (i + 1 < utf8.size() && utf8[i + 1] == '&') {
            label += '&';
            ++i;
        } else if (i + 1 < utf8.size()) {
            label += '_';
        }
    }
    return label;
}

CGtkCommandMenu::CGtkCommandMenu(Kind kind, const Menu& menu, ICommandTarget& target)
    : m_target(target) {
    GtkWidget* shell = kind == Kind::MenuBar ? gtk_menu_bar_new() : gtk_menu_new();
    m_shell.reset(GTK_WIDGET(g_object_ref_sink(shell)));
    Fill(GTK_MENU_SHELL(shell), menu);
    if (kind == Kind::Popup) {
        g_signal_connect(shell, "show", G_CALLBACK(OnShellShow), this);
    }
}

CGtkCommandMenu::~CGtkCommandMenu() {
    // Destroying takes the bar out of its window and the submenus with it; our reference
    // goes after.
    gtk_widget_destroy(m_shell.get());
}

void CGtkCommandMenu::Fill(GtkMenuShell* shell, const Menu& menu) {
    for (const MenuItem& item : menu) {
        GtkWidget* widget = nullptr;
        if (item.IsSeparator()) {
            widget = gtk_separator_menu_item_new();
        } else if (!item.children.empty()) {
            widget = gtk_menu_item_new_with_mnemonic(MenuLabel(item.text).c_str());
            GtkWidget* submenu = gtk_menu_new();
            Fill(GTK_MENU_SHELL(submenu), item.children);
            g_signal_connect(submenu, "show", G_CALLBACK(OnShellShow), this);
            gtk_menu_item_set_submenu(GTK_MENU_ITEM(widget), submenu);
        } else {
            widget = AddCommand(item);
        }
        gtk_menu_shell_append(shell, widget);
        gtk_widget_show(widget);
    }
}

GtkWidget* CGtkCommandMenu::AddCommand(const MenuItem& item) {
    const std::string label = MenuLabel(item.text);
    GtkWidget* widget = item.checkable ? gtk_check_menu_item_new_with_mnemonic(label.c_str())
                                       : gtk_menu_item_new_with_mnemonic(label.c_str());
    if (item.id == 0) {
        gtk_widget_set_sensitive(widget, FALSE);  // a caption without a command
        return widget;
    }
    auto entry = std::make_unique<Entry>(Entry{this, item.id, widget, 0, item.checkable});
    entry->handler = g_signal_connect(widget, "activate", G_CALLBACK(OnActivate), entry.get());
    m_byItem[widget] = entry.get();
    m_entries.push_back(std::move(entry));
    return widget;
}

GtkWidget* CGtkCommandMenu::ItemOf(UINT id) const {
    for (const auto& entry : m_entries) {
        if (entry->id == id) {
            return entry->item;
        }
    }
    return nullptr;
}

void CGtkCommandMenu::UpdateShell(GtkMenuShell* shell) {
    std::unique_ptr<GList, decltype(&g_list_free)> children(
        gtk_container_get_children(GTK_CONTAINER(shell)), &g_list_free);
    for (GList* node = children.get(); node != nullptr; node = node->next) {
        auto found = m_byItem.find(GTK_WIDGET(node->data));
        if (found == m_byItem.end()) {
            continue;
        }
        Entry& entry = *found->second;
        CommandState state;
        m_target.UpdateCommand(entry.id, state);
        gtk_widget_set_sensitive(entry.item, state.enabled);
        if (entry.checkable) {
            // Setting the mark activates the item; that is not a choice of the user.
            g_signal_handler_block(entry.item, entry.handler);
            gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(entry.item), state.checked);
            g_signal_handler_unblock(entry.item, entry.handler);
        }
    }
}

void CGtkCommandMenu::OnShellShow(GtkWidget* shell, gpointer self) noexcept {
    Guarded("menu show", [shell, self] {
        static_cast<CGtkCommandMenu*>(self)->UpdateShell(GTK_MENU_SHELL(shell));
    });
}

void CGtkCommandMenu::OnActivate(GtkMenuItem*, gpointer data) noexcept {
    Guarded("menu command", [data] {
        const Entry& entry = *static_cast<Entry*>(data);
        // The target may replace this menu while it handles the command: nothing of the
        // entry is used after it.
        const UINT id = entry.id;
        ICommandTarget& target = entry.owner->m_target;
        CommandState state;
        target.UpdateCommand(id, state);
        if (state.enabled) {
            target.OnCommand(id);
        }
    });
}

}  // namespace tokeiya::gtk
