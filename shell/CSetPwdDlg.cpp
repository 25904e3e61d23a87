#include "shell/CSetPwdDlg.hpp"

namespace tokeiya {
namespace {

DialogField Password(int id, const char* label) {
    DialogField field;
    field.id = id;
    field.kind = FieldKind::Password;
    field.label = label;
    field.maxBytes = CSetPwdDlg::kMaxPasswordBytes;
    return field;
}

}  // namespace

CSetPwdDlg::CSetPwdDlg(const CUser& user)
    : CDialogModel("パスワード変更"),
      m_strUserName(user.strUserName),
      m_strCurrentPasswordHash(user.strPasswordHash) {
    DialogField name;
    name.id = kUserName;
    name.kind = FieldKind::Static;
    name.label = "ユーザー名";
    Add(std::move(name));
    Add(Password(kOldPassword, "旧パスワード"));
    Add(Password(kNewPassword, "新パスワード"));
    Add(Password(kConfirmation, "新パスワード確認"));
    DialogField note;
    note.id = kLimitNote;
    note.kind = FieldKind::Static;
    note.text = "パスワードは10文字以内";
    Add(std::move(note));
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
