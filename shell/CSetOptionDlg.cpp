#include "shell/CSetOptionDlg.hpp"

namespace tokeiya {
namespace {

DialogField CheckBox(int id, const char* label) {
    DialogField field;
    field.id = id;
    field.kind = FieldKind::CheckBox;
    field.label = label;
    return field;
}

DialogField Minutes(int id, const char* label, const char* suffix, int maxValue) {
    DialogField field;
    field.id = id;
    field.kind = FieldKind::Integer;
    field.label = label;
    field.suffix = suffix;
    field.minValue = 0;
    field.maxValue = maxValue;
    return field;
}

}  // namespace

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

    Add(CheckBox(kShowLogin, "ログインダイアログを表示する"));
    Add(CheckBox(kSetTimeFrom, "起動時に出勤時間を記録する"));
    Add(Minutes(kStartUpMin, "", "分減算する。", 60));
    Add(CheckBox(kSetTimeTo, "終了時に退社時間を記録する"));
    Add(Minutes(kCoolDownMin, "", "分加算する。", 60));
    Add(CheckBox(kOpen, "起動時にスケジュール表を開く"));
    Add(CheckBox(kAlarmAll, "全員スケジュールのアラームを有効にする"));
    Add(Minutes(kLunchMin, "既定の昼食時間（分）", "", 180));
    Add(Minutes(kTimeView, "アラームの表示時間(秒)", "", 300));
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
