#pragma once

#include "platform/DialogModel.hpp"
#include "platform/Dialogs.hpp"
#include "platform/ProfileStore.hpp"

namespace tokeiya {

// The option dialog "オプション設定": the stamping, start-up and alarm settings of this
// computer, and the logged-in user's minute values, which the caller copies in and out.
class CSetOptionDlg : public CDialogModel {
  public:
    static constexpr int kShowLogin = 1000;
    static constexpr int kSetTimeFrom = 1001;
    static constexpr int kStartUpMin = 1006;
    static constexpr int kSetTimeTo = 1002;
    static constexpr int kCoolDownMin = 1005;
    static constexpr int kOpen = 1003;
    static constexpr int kAlarmAll = 1009;
    static constexpr int kLunchMin = 1007;
    static constexpr int kTimeView = 1008;

    // Reads the six settings.
    explicit CSetOptionDlg(CProfileStore& profile);

    // Shows the dialog with the members; on OK the members hold the input.
    bool DoModal(IDialogs& dialogs);
    // Writes the six settings.
    void SaveSettings();

    int m_bShowLogin = 1;  // shown inverted: "LOGIN"/"NotViewDialog" = 1 - this
    int m_bSetTimeFrom = 0;
    int m_nStartUpMin = 0;
    int m_bSetTimeTo = 0;
    int m_nCoolDownMin = 0;
    int m_bOpen = 1;
    int m_bAlarmAll = 0;
    int m_nLunchMin = 60;
    int m_nTimeView = 30;

  private:
    void ToFields();
    void FromFields();

    CProfileStore& m_profile;
};

}  // namespace tokeiya
