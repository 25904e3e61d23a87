#pragma once

#include <string>

#include "platform/DialogModel.hpp"
#include "platform/Dialogs.hpp"
#include "platform/ProfileStore.hpp"
#include "shell/CRememberedLogin.hpp"

namespace tokeiya {

// The login dialog "とけい屋ログイン" and its values' life in the settings store and the
// remembered login: loaded at construction, shown through the desktop, saved after a
// successful login.
class CLoginDlg : public CDialogModel {
  public:
    static constexpr int kUserName = 1033;
    static constexpr int kPassword = 1034;
    static constexpr int kSave = 1035;
    static constexpr int kNotView = 1036;

    CLoginDlg(CProfileStore& profile, IDialogs& dialogs, CRememberedLogin& remembered);

    // Shows the dialog with the current values; true when it was closed with OK, the
    // values then being the input.
    bool DoModal();
    // Writes the "LOGIN" keys after a successful login, except for the administration
    // account, which leaves them as they are.
    void SaveValues();

    std::string m_strUserName;
    std::string m_strPassword;
    int m_flgSave = 0;     // keep user name and password
    int m_flgNotView = 0;  // log in with them without showing the dialog

  protected:
    void OnChanged(int id) override;

  private:
    // The no-dialog flag only makes sense with saved credentials: without them it is
    // cleared and cannot be set.
    void ApplySaveRule();

    CProfileStore& m_profile;
    IDialogs& m_dialogs;
    CRememberedLogin& m_remembered;
};

}  // namespace tokeiya
