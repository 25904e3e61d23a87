#pragma once

#include <gtk/gtk.h>

#include "platform/Dialogs.hpp"
#include "platform/gtk/GObjectPtr.hpp"

namespace tokeiya::gtk {

class CGtkModalRunner;

// The login dialog "とけい屋ログイン": user name, password and the two remember flags.
class CGtkLoginDialog {
  public:
    CGtkLoginDialog(CGtkModalRunner& runner, GtkWindow* parent, const LoginForm& form);
    // Signal handlers hold `this`.
    CGtkLoginDialog(const CGtkLoginDialog&) = delete;
    CGtkLoginDialog& operator=(const CGtkLoginDialog&) = delete;

    // Runs the dialog; on OK writes the input back into `form` and returns true.
    bool Run(LoginForm& form);

  private:
    static void OnSaveToggled(GtkToggleButton* button, gpointer self) noexcept;
    // The no-dialog flag only makes sense with saved credentials: without them it is
    // cleared and cannot be set.
    void ApplySaveRule();

    CGtkModalRunner& m_runner;
    ToplevelPtr m_dialog;
    GtkEntry* m_userName = nullptr;
    GtkEntry* m_password = nullptr;
    GtkToggleButton* m_save = nullptr;
    GtkToggleButton* m_hideDialog = nullptr;
};

}  // namespace tokeiya::gtk
