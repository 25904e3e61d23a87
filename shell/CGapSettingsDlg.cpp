#include "shell/CGapSettingsDlg.hpp"

namespace tokeiya {

CGapSettingsDlg::CGapSettingsDlg() : CDialogModel("勤怠チェックの設定") {
    DialogField minutes;
    minutes.id = kGapMinutes;
    minutes.kind = FieldKind::Integer;
    minutes.label = "PC利用と打刻の差の基準";
    minutes.suffix = "分";
    minutes.minValue = 0;
    minutes.maxValue = kMaxGapMinutes;
    minutes.latinOnly = true;
    Add(std::move(minutes));
    DialogField departure;
    departure.id = kDeparture;
    departure.kind = FieldKind::Choice;
    departure.label = "退勤時刻";
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
