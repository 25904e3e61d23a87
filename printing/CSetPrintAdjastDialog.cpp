#include "printing/CSetPrintAdjastDialog.hpp"

#include <climits>

namespace tokeiya {
namespace {

DialogField StaticText(int id, const char* text) {
    DialogField field;
    field.id = id;
    field.kind = FieldKind::Static;
    field.text = text;
    return field;
}

DialogField Adjustment(int id, const char* label) {
    DialogField field;
    field.id = id;
    field.kind = FieldKind::Integer;
    field.label = label;
    field.minValue = INT_MIN;
    field.maxValue = INT_MAX;
    return field;
}

}  // namespace

CSetPrintAdjastDialog::CSetPrintAdjastDialog() : CDialogModel("プリントオプション") {
    Add(StaticText(kIntro, "プリント位置の微調整をします。"));
    Add(StaticText(kUnit, "1/10mm 単位で指定してください。"));
    Add(Adjustment(kAdjustX, "X方向微調整(左へ)"));
    Add(Adjustment(kAdjustY, "Y方向微調整(上へ)"));
    DialogField check;
    check.id = kPaperCheck;
    check.kind = FieldKind::CheckBox;
    check.label = "用紙確認をする";
    Add(std::move(check));
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
