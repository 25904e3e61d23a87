#pragma once

#include <string>

#include "platform/Dialogs.hpp"
#include "platform/ProfileStore.hpp"

namespace tokeiya {

// The login dialog's values and their life in the settings store: loaded at construction,
// shown through the desktop, saved after a successful login.
class CLoginDlg {
  public:
    CLoginDlg(CProfileStore& profile, IDialogs& dialogs);

    // Shows the dialog; true when it was closed with OK.
    bool DoModal();
    // Writes the "LOGIN" keys after a successful login, except for the administration
    // account, which leaves them as they are.
    void SaveValues();

    std::string m_strUserName;
    std::string m_strPassword;
    int m_flgSave = 0;     // keep user name and password
    int m_flgNotView = 0;  // log in with them without showing the dialog

  private:
    CProfileStore& m_profile;
    IDialogs& m_dialogs;
};

}  // namespace tokeiya
