#include "shell/CGapSettingsDlg.hpp"

namespace tokeiya {

CGapSettingsDlg::CGapSettingsDlg() : CDialogModel("勤怠チェックの設定") {
    Add(MakeIntegerField(kGapMinutes, "PC利用と打刻の差の基準", 0, kMaxGapMinutes, "分"));
    DialogField departure = MakeField(kDeparture, FieldKind::Choice, "退勤時刻");
    departure.choices = {"その日最初の退出", "その日最後の退出"};
    Add(std::move(departure));
}

bool CGapSettingsDlg::DoModal(IDialogs& dialogs, OfficeSettings& settings) {
    SetIntValue(kGapMinutes, settings.nGapMin);
    Field(kDeparture).choice = settings.lastExit ? 1 : 0;
    SetNotice({});
    if (!dialogs.RunDialog(*this)) {
        return false;
    }
    settings.nGapMin = IntValue(kGapMinutes);
    settings.lastExit = Field(kDeparture).choice == 1;
    return true;
}

}  // namespace tokeiya
