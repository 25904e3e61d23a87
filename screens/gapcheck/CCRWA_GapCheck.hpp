#pragma once

#include "screens/base/CCRWA_MonthList.hpp"
#include "screens/gapcheck/GapCheck.hpp"

namespace tokeiya {

// The attendance check "勤怠チェック" of the work context's month and group: every day whose
// recorded hours and PC use disagree, or whose card was corrected after the day. Enter
// shows the day's PC spans and corrections; the list exports as CSV. Level 3 sets the
// office-wide minutes and departure rule.
class CCRWA_GapCheck : public CCRWA_MonthList {
  public:
    explicit CCRWA_GapCheck(CTokeiyaView& view);
    ~CCRWA_GapCheck() override;

    void InitScreen() override;
    bool OnFunctionKey(int key, int labelSet, int modifiers) override;

    const CGapCheck& Check() const { return m_check; }
    // The pop-up of the cursor's day.
    void ShowDay();
    void ExportCsv();
    // Level 3: the office settings dialog, then the list made again with them.
    void EditSettings();

  protected:
    int RowCount() const override { return m_check.Count(); }
    std::string RowText(int position) const override;
    std::string EmptyListText() const override;
    void LoadAndDraw() override;
    void OpenRow() override { ShowDay(); }

  private:
    void DrawHeader();
    bool MaySetUp() const;

    CGapCheck m_check;
};

}  // namespace tokeiya
