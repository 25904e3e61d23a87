#pragma once

#include "platform/DialogModel.hpp"
#include "platform/Dialogs.hpp"

namespace tokeiya {

// "プリントオプション": the position adjustment of a printer setting in tenths of a
// millimetre (any integer) and whether to ask for paper before printing.
class CSetPrintAdjastDialog : public CDialogModel {
  public:
    static constexpr int kIntro = 1;
    static constexpr int kUnit = 2;
    static constexpr int kAdjustX = 3;
    static constexpr int kAdjustY = 4;
    static constexpr int kPaperCheck = 5;

    CSetPrintAdjastDialog();

    // Shows the dialog on the values; on OK they hold the input.
    bool DoModal(IDialogs& dialogs);

    int m_adjustX = 0;
    int m_adjustY = 0;
    bool m_paperCheck = false;
};

}  // namespace tokeiya
