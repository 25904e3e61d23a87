#pragma once

#include <gtk/gtk.h>

#include <string>

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

    // Runs the dialog until it is cancelled or closed with usable input; on OK writes the
    // input back into `form` and returns true.
    bool Run(LoginForm& form);

    // The message of the last refused input, empty when none (for tests).
    std::string ErrorText() const;

  private:
    // Writes the input into `form`, or shows why it cannot be taken and returns false.
    bool TakeInput(LoginForm& form);
    static void OnSaveToggled(GtkToggleButton* button, gpointer self) noexcept;
    // The no-dialog flag only makes sense with saved credentials: without them it is
    // cleared and cannot be set.
    void ApplySaveRule();

    CGtkModalRunner& m_runner;
    ToplevelPtr m_dialog;
    GtkWidget* m_errorBar = nullptr;
    GtkLabel* m_errorLabel = nullptr;
    GtkEntry* m_userName = nullptr;
    GtkEntry* m_password = nullptr;
    GtkToggleButton* m_save = nullptr;
    GtkToggleButton* m_hideDialog = nullptr;
};

}  // namespace tokeiya::gtk
