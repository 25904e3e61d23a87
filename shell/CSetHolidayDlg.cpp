#include "shell/CSetHolidayDlg.hpp"

#include <cstdio>

namespace tokeiya {

CSetHolidayDlg::CSetHolidayDlg() : CDialogModel("祭日設定") {
    Add(MakeField(kDate, FieldKind::Static));
    DialogField name = MakeField(kName, FieldKind::Text, "祭日名(半角20文字以下)");
    // Refused in the dialog, which stays open with what was typed.
    name.maxBytes = kMaxNameBytes;
    Add(std::move(name));
}

void CSetHolidayDlg::Setup(int year, int month, int day, const std::string& name) {
    char text[64];
    std::snprintf(text, sizeof text, "%d 年 %2d 月 %2d 日", year, month, day);
    m_strDate = text;
    m_strName = name;
}

bool CSetHolidayDlg::DoModal(IDialogs& dialogs) {
    Field(kDate).text = m_strDate;
    Field(kName).text = m_strName;
    SetNotice({});
    if (!dialogs.RunDialog(*this)) {
        return false;
    }
    m_strName = Field(kName).text;
    return true;
}

const char* CSetHolidayDlg::NameProblem(const std::string& name) {
    if (name.empty()) {
        return "祭日名が入力されていません。";
    }
    if (name.size() > kMaxNameBytes) {
        return "祭日名が長すぎます。";
    }
    return nullptr;
}

}  // namespace tokeiya
