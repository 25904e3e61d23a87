#include "shell/CSetOptionDlg.hpp"

namespace tokeiya {

CSetOptionDlg::CSetOptionDlg(CProfileStore& profile)
    : CDialogModel("オプション設定"), m_profile(profile) {
    // The defaults are those of the places that read the settings, so that the dialog
    // shows what is in force and OK without a change changes nothing.
    m_bShowLogin = profile.GetProfileInt("LOGIN", "NotViewDialog", 0) != 0 ? 0 : 1;
    m_bSetTimeFrom = profile.GetProfileInt("OPTIN", "SetTimeForm", 0) != 0 ? 1 : 0;
    m_bSetTimeTo = profile.GetProfileInt("OPTIN", "SetTimeTo", 0) != 0 ? 1 : 0;
    m_bOpen = profile.GetProfileInt("WINDOW", "Open", 1) != 0 ? 1 : 0;
    m_nTimeView = profile.GetProfileInt("ALARM", "TimeView", 30);
    m_bAlarmAll = profile.GetProfileInt("ALARM", "AlarmAll", 0) != 0 ? 1 : 0;

    Add(MakeField(kShowLogin, FieldKind::CheckBox, "ログインダイアログを表示する"));
    Add(MakeField(kSetTimeFrom, FieldKind::CheckBox, "起動時に出勤時間を記録する"));
    Add(MakeIntegerField(kStartUpMin, "", 0, 60, "分減算する。"));
    Add(MakeField(kSetTimeTo, FieldKind::CheckBox, "終了時に退社時間を記録する"));
    Add(MakeIntegerField(kCoolDownMin, "", 0, 60, "分加算する。"));
    Add(MakeField(kOpen, FieldKind::CheckBox, "起動時にスケジュール表を開く"));
    Add(MakeField(kAlarmAll, FieldKind::CheckBox, "全員スケジュールのアラームを有効にする"));
    Add(MakeIntegerField(kLunchMin, "既定の昼食時間（分）", 0, 180));
    Add(MakeIntegerField(kTimeView, "アラームの表示時間(秒)", 0, 300));
}

void CSetOptionDlg::ToFields() {
    Field(kShowLogin).checked = m_bShowLogin != 0;
    Field(kSetTimeFrom).checked = m_bSetTimeFrom != 0;
    SetIntValue(kStartUpMin, m_nStartUpMin);
    Field(kSetTimeTo).checked = m_bSetTimeTo != 0;
    SetIntValue(kCoolDownMin, m_nCoolDownMin);
    Field(kOpen).checked = m_bOpen != 0;
    Field(kAlarmAll).checked = m_bAlarmAll != 0;
    SetIntValue(kLunchMin, m_nLunchMin);
    SetIntValue(kTimeView, m_nTimeView);
}

void CSetOptionDlg::FromFields() {
    m_bShowLogin = Field(kShowLogin).checked ? 1 : 0;
    m_bSetTimeFrom = Field(kSetTimeFrom).checked ? 1 : 0;
    m_nStartUpMin = IntValue(kStartUpMin);
    m_bSetTimeTo = Field(kSetTimeTo).checked ? 1 : 0;
    m_nCoolDownMin = IntValue(kCoolDownMin);
    m_bOpen = Field(kOpen).checked ? 1 : 0;
    m_bAlarmAll = Field(kAlarmAll).checked ? 1 : 0;
    m_nLunchMin = IntValue(kLunchMin);
    m_nTimeView = IntValue(kTimeView);
}

bool CSetOptionDlg::DoModal(IDialogs& dialogs) {
    ToFields();
    SetNotice({});
    if (!dialogs.RunDialog(*this)) {
        return false;
    }
    FromFields();
    return true;
}

void CSetOptionDlg::SaveSettings() {
    m_profile.WriteProfileInt("LOGIN", "NotViewDialog", 1 - m_bShowLogin);
    m_profile.WriteProfileInt("OPTIN", "SetTimeForm", m_bSetTimeFrom);
    m_profile.WriteProfileInt("OPTIN", "SetTimeTo", m_bSetTimeTo);
    m_profile.WriteProfileInt("WINDOW", "Open", m_bOpen);
    m_profile.WriteProfileInt("ALARM", "TimeView", m_nTimeView);
    m_profile.WriteProfileInt("ALARM", "AlarmAll", m_bAlarmAll);
}

}  // namespace tokeiya
