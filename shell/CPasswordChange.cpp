#include "shell/CPasswordChange.hpp"

#include <optional>

#include "data/CPasswordHash.hpp"
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
        if (!CPasswordHash::Verify(dialog.m_strCurrentPasswordHash, dialog.m_strOldPassword)) {
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
    const std::optional<std::string> hash = m_session.PasswordHash().Hash(dialog.m_strNewPassword);
    if (!hash) {
        m_session.ShowMessage(CPasswordHash::kHashFailed);
        return false;
    }
    CUser edited = m_session.GetLoggedInUser();
    edited.strPasswordHash = *hash;
    // The remembered password follows only when it is this user's: the administration
    // account, which is never remembered, must not replace another user's password there.
    if (!m_session.StoreLoggedInUser(edited, dialog.m_strNewPassword)) {
        return false;
    }
    m_session.ShowMessage(text::kPasswordChanged);
    return true;
}

}  // namespace tokeiya
