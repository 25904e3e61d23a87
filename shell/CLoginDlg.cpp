#include "shell/CLoginDlg.hpp"

#include "shell/AppText.hpp"

namespace tokeiya {

CLoginDlg::CLoginDlg(CProfileStore& profile, IDialogs& dialogs, CRememberedLogin& remembered)
    : CDialogModel("とけい屋ログイン"),
      m_profile(profile),
      m_dialogs(dialogs),
      m_remembered(remembered) {
    m_flgSave = profile.GetProfileInt("LOGIN", "SavePwd", 0);
    m_flgNotView = profile.GetProfileInt("LOGIN", "NotViewDialog", 0);
    std::string userName;
    std::string password;
    remembered.Load(userName, password);
    if (m_flgSave == 1) {
        m_strUserName = userName;
        m_strPassword = password;
    }
    Add(MakeField(kUserName, FieldKind::Text, "ユーザー名"));
    Add(MakeField(kPassword, FieldKind::Password, "パスワード"));
    Add(MakeField(kSave, FieldKind::CheckBox, "ユーザー名とパスワードを保存"));
    Add(MakeField(kNotView, FieldKind::CheckBox, "次回からこのダイアログを表示しない"));
}

bool CLoginDlg::DoModal() {
    Field(kUserName).text = m_strUserName;
    Field(kPassword).text = m_strPassword;
    Field(kSave).checked = m_flgSave != 0;
    Field(kNotView).checked = m_flgNotView != 0;
    ApplySaveRule();
    SetInitialFocus(m_strUserName.empty() ? kUserName : kPassword);
    SetNotice({});
    if (!m_dialogs.RunDialog(*this)) {
        return false;
    }
    m_strUserName = Field(kUserName).text;
    m_strPassword = Field(kPassword).text;
    m_flgSave = Field(kSave).checked ? 1 : 0;
    m_flgNotView = m_flgSave != 0 && Field(kNotView).checked ? 1 : 0;
    return true;
}

void CLoginDlg::OnChanged(int id) {
    if (id == kSave) {
        ApplySaveRule();
    }
}

void CLoginDlg::ApplySaveRule() {
    DialogField& notView = Field(kNotView);
    notView.enabled = Field(kSave).checked;
    if (!notView.enabled) {
        notView.checked = false;
    }
}

void CLoginDlg::SaveValues() {
    if (m_strUserName == text::kAdministrationUser) {
        return;
    }
    m_profile.WriteProfileInt("LOGIN", "SavePwd", m_flgSave);
    m_profile.WriteProfileInt("LOGIN", "NotViewDialog", m_flgNotView);
    if (m_flgSave != 0) {
        static_cast<void>(m_remembered.Remember(m_strUserName, m_strPassword));
    } else {
        m_remembered.Forget();
    }
}

}  // namespace tokeiya
