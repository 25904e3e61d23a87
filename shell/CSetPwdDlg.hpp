#pragma once

#include <string>

#include "data/CUser.hpp"
#include "platform/DialogModel.hpp"
#include "platform/Dialogs.hpp"

namespace tokeiya {

// The password change dialog "パスワード変更" of the logged-in user. It keeps what was
// typed, so that a refused change is shown again as the user left it.
class CSetPwdDlg : public CDialogModel {
  public:
    static constexpr int kUserName = 1033;
    static constexpr int kOldPassword = 1002;
    static constexpr int kNewPassword = 1003;
    static constexpr int kConfirmation = 1004;
    static constexpr int kLimitNote = 1005;
    static constexpr size_t kMaxPasswordBytes = 10;

    explicit CSetPwdDlg(const CUser& user);

    // Shows the dialog with the members; on OK the members hold the input.
    bool DoModal(IDialogs& dialogs);

    std::string m_strUserName;
    std::string m_strOldPassword;
    std::string m_strNewPassword;
    std::string m_strConfirmation;
    std::string m_strCurrentPasswordHash;  // the user's password now, as stored; not shown
    std::string m_strReason;               // why the dialog opened by itself, shown in it
};

}  // namespace tokeiya
