#pragma once

#include <string>

#include "platform/DialogModel.hpp"
#include "platform/Dialogs.hpp"

namespace tokeiya {

// The holiday name dialog "祭日設定" of one day. The caller checks the name after OK
// (NameProblem) and stores it.
class CSetHolidayDlg : public CDialogModel {
  public:
    static constexpr int kName = 1001;
    static constexpr int kDate = 1002;
    static constexpr size_t kMaxNameBytes = 20;

    CSetHolidayDlg();

    // The day shown as "%d 年 %2d 月 %2d 日" and the name the field starts with.
    void Setup(int year, int month, int day, const std::string& name);
    // Shows the dialog; on OK m_strName holds the input.
    bool DoModal(IDialogs& dialogs);

    // Why a name cannot be stored ("祭日名が入力されていません。" when empty, "祭日名が長すぎ
    // ます。" beyond 20 bytes); nullptr when it can.
    static const char* NameProblem(const std::string& name);

    std::string m_strDate;
    std::string m_strName;
};

}  // namespace tokeiya
