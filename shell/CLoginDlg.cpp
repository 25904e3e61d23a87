#include "shell/CLoginDlg.hpp"

#include "data/CCodeRZ.hpp"
#include "shell/AppText.hpp"

namespace tokeiya {

CLoginDlg::CLoginDlg(CProfileStore& profile, IDialogs& dialogs)
    : m_profile(profile), m_dialogs(dialogs) {
    m_flgSave = profile.GetProfileInt("LOGIN", "SavePwd", 0);
    m_flgNotView = profile.GetProfileInt("LOGIN", "NotViewDialog", 0);
    if (m_flgSave == 1) {
        m_strUserName = profile.GetProfileString("LOGIN", "User", "");
        m_strPassword = UnscramblePassword(profile.GetProfileString("LOGIN", "Password", ""));
    }
}

bool CLoginDlg::DoModal() {
    LoginForm form;
    form.userName = m_strUserName;
    form.password = m_strPassword;
    form.savePassword = m_flgSave != 0;
    // Without the save flag the no-dialog flag cannot be set.
    form.hideDialog = form.savePassword && m_flgNotView != 0;
    if (!m_dialogs.ShowLoginDialog(form)) {
        return false;
    }
    m_strUserName = form.userName;
    m_strPassword = form.password;
    m_flgSave = form.savePassword ? 1 : 0;
    m_flgNotView = form.savePassword && form.hideDialog ? 1 : 0;
    return true;
}

void CLoginDlg::SaveValues() {
    if (m_strUserName == text::kAdministrationUser) {
        return;
    }
    m_profile.WriteProfileInt("LOGIN", "SavePwd", m_flgSave);
    m_profile.WriteProfileInt("LOGIN", "NotViewDialog", m_flgNotView);
    if (m_flgSave != 0) {
        m_profile.WriteProfileString("LOGIN", "User", m_strUserName);
        m_profile.WriteProfileString("LOGIN", "Password", ScramblePassword(m_strPassword));
    } else {
        m_profile.WriteProfileString("LOGIN", "User", "");
        m_profile.WriteProfileString("LOGIN", "Password", "");
    }
}

}  // namespace tokeiya
