#include "printing/CSetPrintAdjastDialog.hpp"

#include <climits>

namespace tokeiya {

CSetPrintAdjastDialog::CSetPrintAdjastDialog() : CDialogModel("プリントオプション") {
    Add(MakeField(kIntro, FieldKind::Static, {}, "プリント位置の微調整をします。"));
    Add(MakeField(kUnit, FieldKind::Static, {}, "1/10mm 単位で指定してください。"));
    Add(MakeIntegerField(kAdjustX, "X方向微調整(左へ)", INT_MIN, INT_MAX));
    Add(MakeIntegerField(kAdjustY, "Y方向微調整(上へ)", INT_MIN, INT_MAX));
    Add(MakeField(kPaperCheck, FieldKind::CheckBox, "用紙確認をする"));
}

bool CSetPrintAdjastDialog::DoModal(IDialogs& dialogs) {
    SetIntValue(kAdjustX, m_adjustX);
    SetIntValue(kAdjustY, m_adjustY);
    Field(kPaperCheck).checked = m_paperCheck;
    SetNotice({});
    if (!dialogs.RunDialog(*this)) {
        return false;
    }
    m_adjustX = IntValue(kAdjustX);
    m_adjustY = IntValue(kAdjustY);
    m_paperCheck = Field(kPaperCheck).checked;
    return true;
}

}  // namespace tokeiya
