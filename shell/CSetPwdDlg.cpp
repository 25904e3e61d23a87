#include "shell/CSetPwdDlg.hpp"

namespace tokeiya {
namespace {

DialogField Password(int id, const char* label) {
    DialogField field = MakeField(id, FieldKind::Password, label);
    field.maxBytes = CSetPwdDlg::kMaxPasswordBytes;
    return field;
}

}  // namespace

CSetPwdDlg::CSetPwdDlg(const CUser& user)
    : CDialogModel("パスワード変更"),
      m_strUserName(user.strUserName),
      m_strCurrentPasswordHash(user.strPasswordHash) {
    Add(MakeField(kUserName, FieldKind::Static, "ユーザー名"));
    Add(Password(kOldPassword, "旧パスワード"));
    Add(Password(kNewPassword, "新パスワード"));
    Add(Password(kConfirmation, "新パスワード確認"));
    Add(MakeField(kLimitNote, FieldKind::Static, {}, "パスワードは10文字以内"));
}

bool CSetPwdDlg::DoModal(IDialogs& dialogs) {
    Field(kUserName).text = m_strUserName;
    Field(kOldPassword).text = m_strOldPassword;
    Field(kNewPassword).text = m_strNewPassword;
    Field(kConfirmation).text = m_strConfirmation;
    SetNotice(m_strReason);
    if (!dialogs.RunDialog(*this)) {
        return false;
    }
    m_strOldPassword = Field(kOldPassword).text;
    m_strNewPassword = Field(kNewPassword).text;
    m_strConfirmation = Field(kConfirmation).text;
    return true;
}

}  // namespace tokeiya
