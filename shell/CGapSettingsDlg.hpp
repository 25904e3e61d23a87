#pragma once

#include "data/CTOfficeSettings.hpp"
#include "platform/DialogModel.hpp"
#include "platform/Dialogs.hpp"

namespace tokeiya {

// The office-wide settings of the attendance check "勤怠チェックの設定": how many minutes
// PC use may lie outside the recorded hours, and which exit of a day is its departure.
class CGapSettingsDlg : public CDialogModel {
  public:
    static constexpr int kGapMinutes = 1001;
    static constexpr int kDeparture = 1002;
    static constexpr int kMaxGapMinutes = 720;

    CGapSettingsDlg();

    // Shows the dialog with `settings`; on OK they hold the input.
    bool DoModal(IDialogs& dialogs, OfficeSettings& settings);
};

}  // namespace tokeiya
