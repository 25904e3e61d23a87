#include <gtest/gtest.h>

#include "screens/month/CCRWA_MonthSchedule.hpp"
#include "shell/CSetOptionDlg.hpp"
#include "shell/MainMenu.hpp"
#include "tests/ui/WorkSession.hpp"

namespace tokeiya {
namespace {

using OptionMenuTest = test::WorkSession;

// The option dialog runs from the menu; once it is confirmed the screen shown hears of it
// and takes the new lunch minutes for its days without a card. Cancelled, nothing changes.
TEST_F(OptionMenuTest, AConfirmedOptionChangeReachesTheScreenShown) {
    Start("hanako", "pw");
    auto* month = dynamic_cast<CCRWA_MonthSchedule*>(View().Screen());
    ASSERT_NE(month, nullptr);
    ASSERT_EQ(60, month->Days().Day(1).nLunchMin);

    for (bool confirm : {false, true}) {
        m_dialogs.QueueDialog([confirm](CScriptedDialog& dialog) {
            dialog.Type(CSetOptionDlg::kLunchMin, "30");
            if (confirm) {
                EXPECT_TRUE(dialog.PressOk());
            } else {
                dialog.PressCancel();
            }
        });
        ASSERT_TRUE(Window().ChooseCommand(command::kOptions));
        EXPECT_EQ(confirm ? 30 : 60, month->Days().Day(1).nLunchMin) << confirm;
        EXPECT_EQ(confirm ? 30 : 60, m_doc->GetLoggedInUser().nLunchMin) << confirm;
    }
}

}  // namespace
}  // namespace tokeiya
