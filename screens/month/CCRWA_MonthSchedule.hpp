#pragma once

#include "screens/base/CCRWA_Tokeiya.hpp"
#include "screens/base/TimeCardCells.hpp"
#include "screens/month/MonthScheduleDays.hpp"

namespace tokeiya {

// The start screen: one calendar month, a line per day, with the logged-in user's time card
// of each day editable in place (arrival, departure, lunch minutes, day option), the user's
// own subjects, the day's holiday name and everyone's subjects. From here the user names
// holidays, moves between months and opens the day schedules. The administration account
// has no schedule: for it the screen hands over to its home screen.
class CCRWA_MonthSchedule : public CCRWA_Tokeiya {
  public:
    // Day d is on line d + 2.
    static constexpr int kFirstDayLine = 3;
    // Columns of the cursor: arrival, departure, lunch minutes, day option.
    static constexpr int kColumns = CTimeCardCells::kColumns;
    // Mouse parts beyond the columns: the own subjects and the shared ones.
    static constexpr int kOwnSubjectsPart = 4;
    static constexpr int kSharedPart = 5;

    explicit CCRWA_MonthSchedule(CTokeiyaView& view);
    ~CCRWA_MonthSchedule() override;

    void InitScreen() override;
    void Activate() override;
    bool Show(bool shown, bool redraw) override;
    bool OnFunctionKey(int key, int labelSet, int modifiers) override;
    bool OnExitKey(int virtualKey, int modifiers) override;
    bool OnLButtonDown(int keys, int x, int y) override;
    bool OnLButtonDblClk(int keys, int x, int y) override;
    void OnOptionsChanged() override;
    void OnPeriodicRefresh() override;
    bool LeaveEdit() override { return StoreEdit(); }

    // Shows another month (the cursor goes to `cursorDay`, column 0, when `placeCursor`).
    void ShowMonth(int year, int month, bool placeCursor, int cursorDay = 1);
    // Closes any editor and opens the item of `column` on `day`.
    void SetCursor(int day, int column);

    const CMonthScheduleDays& Days() const { return m_days; }
    int CursorDay() const { return m_cursorDay; }
    int CursorColumn() const { return m_cursorColumn; }
    // True once the screen gave way to the administration account's home screen.
    bool HandedOver() const { return m_handedOver; }

  private:
    void CreateRegions();
    void DrawDay(int day);
    void DrawCard(int day);
    void DrawAllDays();
    // Stores the open editor's value when it changed. False when the editor's text is no
    // valid value: the value before the edit is back, with a beep, and the editor reopened.
    bool StoreEdit();
    void StoreCursorCard();
    // Key 1: the texts of the month again.
    void ReloadTexts();
    // Key 6: the present time into the open time editor.
    void PutPresentTime();
    // Key 8: the holiday name of the cursor day.
    void EditHoliday();
    // Keys 9 and 10: the day schedule of the cursor day.
    void OpenDaySchedule(ScreenId id);
    // The year, month and cursor day go to the work context, where the day schedule and
    // the next month schedule find them.
    void RememberDate();
    bool CursorOnToday() const;
    // The part of a day under a mouse position; false outside the month's days.
    bool PartAt(int x, int y, int& day, int& part) const;
    int UserId() const;
    // The logged-in user's lunch minutes, which a day without a card gets.
    int LunchMinutes() const;

    CMonthScheduleDays m_days;
    CTimeCardCells m_cells{{8, 15, 21, 25}};
    int m_cursorDay = 1;
    int m_cursorColumn = 0;
    bool m_handedOver = false;
};

}  // namespace tokeiya
