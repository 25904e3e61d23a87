#include "shell/CPasswordChange.hpp"

#include "data/CCodeRZ.hpp"
#include "shell/AppText.hpp"
#include "shell/CSetPwdDlg.hpp"
#include "shell/CTokeiyaDoc.hpp"

namespace tokeiya {

bool CPasswordChange::Run(const std::string& reason) {
    IDialogs* dialogs = m_session.Dialogs();
    if (dialogs == nullptr) {
        return false;
    }
    CSetPwdDlg dialog(m_session.GetLoggedInUser());
    dialog.m_strReason = reason;
    for (int refused = 0;;) {
        if (!dialog.DoModal(*dialogs)) {
            return false;
        }
        if (dialog.m_strOldPassword != dialog.m_strCurrentPassword) {
            m_session.ShowMessage(text::kOldPasswordWrong);
        } else if (dialog.m_strNewPassword != dialog.m_strConfirmation) {
            m_session.ShowMessage(text::kConfirmationDiffers);
        } else {
            break;
        }
        if (++refused >= kMaxRefusals) {
            m_session.ShowMessage(text::kAskAdministratorForPassword);
            return false;
        }
    }
    CUser edited = m_session.GetLoggedInUser();
    edited.strPassword = dialog.m_strNewPassword;
    if (!m_session.StoreLoggedInUser(edited)) {
        return false;
    }
    // The remembered password is rewritten only when it is this user's: the administration
    // account, which is never remembered, must not replace another user's password there.
    CProfileStore& profile = m_session.Profile();
    const CUser& user = m_session.GetLoggedInUser();
    if (profile.GetProfileInt("LOGIN", "SavePwd", 0) == 1 &&
        profile.GetProfileString("LOGIN", "User", "") == user.strUserName) {
        profile.WriteProfileString("LOGIN", "Password", ScramblePassword(user.strPassword));
    }
    m_session.ShowMessage(text::kPasswordChanged);
    return true;
}

}  // namespace tokeiya
