#include "shell/COptionChange.hpp"

#include "shell/CSetOptionDlg.hpp"
#include "shell/CTokeiyaDoc.hpp"

namespace tokeiya {

bool COptionChange::Run() {
    IDialogs* dialogs = m_session.Dialogs();
    if (dialogs == nullptr) {
        return false;
    }
    const CUser& user = m_session.GetLoggedInUser();
    CSetOptionDlg dialog(m_session.Profile());
    dialog.m_nStartUpMin = user.nStartUpMin;
    dialog.m_nCoolDownMin = user.nCoolDownMin;
    dialog.m_nLunchMin = user.nLunchMin;
    if (!dialog.DoModal(*dialogs)) {
        return false;
    }
    dialog.SaveSettings();
    CUser edited = user;
    edited.nStartUpMin = dialog.m_nStartUpMin;
    edited.nCoolDownMin = dialog.m_nCoolDownMin;
    edited.nLunchMin = dialog.m_nLunchMin;
    // A refused store has been told and leaves the user as stored; the settings stay
    // written.
    static_cast<void>(m_session.StoreLoggedInUser(edited));
    CAppContext& context = m_session.Context();
    const bool alarmAll = dialog.m_bAlarmAll != 0;
    if (alarmAll != context.alarmAll) {
        context.alarmAll = alarmAll;
        m_session.ReloadAlarm();
    }
    return true;
}

}  // namespace tokeiya
