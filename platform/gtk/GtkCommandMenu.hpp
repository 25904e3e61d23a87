#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gtk/GObjectPtr.hpp"
#include "platform/win/MenuModel.hpp"

namespace tokeiya::gtk {

// Who answers a menu: the state of each command before its menu opens, and the command
// chosen.
class ICommandTarget {
  public:
    virtual ~ICommandTarget() = default;
    virtual void UpdateCommand(win::UINT id, win::CommandState& state) = 0;
    virtual void OnCommand(win::UINT id) = 0;
};

// A GTK menu bar or pop-up menu built from a win::Menu. Just before a (sub)menu opens, each
// of its commands is asked for its state: sensitivity and, for checkable commands, the check
// mark. A chosen command goes to the target, after its state has been asked once more, so
// that a command disabled meanwhile is never delivered.
class CGtkCommandMenu {
  public:
    enum class Kind { MenuBar, Popup };

    CGtkCommandMenu(Kind kind, const win::Menu& menu, ICommandTarget& target);
    ~CGtkCommandMenu();
    CGtkCommandMenu(const CGtkCommandMenu&) = delete;
    CGtkCommandMenu& operator=(const CGtkCommandMenu&) = delete;

    GtkWidget* Widget() const { return m_shell.get(); }
    // The first item of a command, or null.
    GtkWidget* ItemOf(win::UINT id) const;
    // Asks the state of every command of `shell`'s direct items.
    void UpdateShell(GtkMenuShell* shell);

  private:
    struct Entry {
        CGtkCommandMenu* owner;
        win::UINT id;
        GtkWidget* item;  // owned by the menu shell
        gulong handler;
        bool checkable;
    };

    void Fill(GtkMenuShell* shell, const win::Menu& menu);
    GtkWidget* AddCommand(const win::MenuItem& item);
    static void OnActivate(GtkMenuItem* item, gpointer entry) noexcept;
    static void OnShellShow(GtkWidget* shell, gpointer self) noexcept;

    ICommandTarget& m_target;
    GObjectPtr<GtkWidget> m_shell;  // a reference of our own: a pop-up has no parent
    std::vector<std::unique_ptr<Entry>> m_entries;
    std::unordered_map<GtkWidget*, Entry*> m_byItem;
};

// A menu text (CP932, '&' before the mnemonic, "&&" for an ampersand, a tab before the
// accelerator's name) as a GTK mnemonic label in UTF-8. The accelerator's name is left out.
std::string MenuLabel(const std::string& cp932);

}  // namespace tokeiya::gtk
