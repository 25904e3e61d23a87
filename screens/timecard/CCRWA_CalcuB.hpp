#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "data/CTimeCard.hpp"
#include "data/CUser.hpp"
#include "screens/base/CCRWA_Tokeiya.hpp"
#include "screens/base/TimeCardCells.hpp"
#include "screens/gapcheck/TimeCardMarks.hpp"
#include "screens/paycalc/TimeCardPeriod.hpp"

namespace tokeiya {

// One user's time cards of a pay period, a line per day, for an administrator to correct:
// arrival, departure, lunch minutes and day option are edited in place, and a changed day
// is recomputed from the user's and the group's pay settings and stored at once. User and
// month are those chosen on the salary list; neither changes while the screen exists, and
// the user's settings are read once, when the screen is built.
class CCRWA_CalcuB : public CCRWA_Tokeiya {
  public:
    // Row r is on line r + 3.
    static constexpr int kFirstRowLine = 3;
    // Columns of the cursor: arrival, departure, lunch minutes, day option.
    static constexpr int kColumns = CTimeCardCells::kColumns;
    static constexpr int kMaxRows = 31;

    explicit CCRWA_CalcuB(CTokeiyaView& view);
    ~CCRWA_CalcuB() override;

    void InitScreen() override;
    void Activate() override;
    bool OnFunctionKey(int key, int labelSet, int modifiers) override;
    bool OnExitKey(int virtualKey, int modifiers) override;
    bool LeaveEdit() override { return StoreEdit(); }
    bool OnLButtonDown(int keys, int x, int y) override;

    // Closes any editor and opens the item of `column` on `row`; with no rows shown no item
    // opens.
    void SetCursor(int row, int column);

    int Year() const { return m_year; }
    int Month() const { return m_month; }
    // The user shown with the group's settings; empty (id 0) when none was loaded.
    const CUser& User() const { return m_user; }
    // The days shown: as many as the period's first month has, none without a user.
    int RowsInUse() const;
    // Weekday of row 0: 0 = Sunday .. 6 = Saturday.
    int FirstWeekday() const;
    const CTimeCard& Row(int row) const;
    int CursorRow() const { return m_cursorRow; }
    int CursorColumn() const { return m_cursorColumn; }

    // "%4d 年 %2d 月分 %-20s(%-20s)"
    std::string TitleText() const;
    // "mm dd w" on row 0 and on the first of a month, else "   dd w".
    std::string DayLabel(int row) const;
    // The attendance check's mark of a row (PC use outside its hours, corrected by hand).
    std::string MarkOf(int row) const;
    // Key 7: the PC use and the corrections of the cursor's day.
    void ShowDayDetail();

  private:
    void CreateRegions();
    // The user with the group's settings and the stored cards of the period; nothing when
    // there is no database, no valid month or no such user.
    void LoadPeriod();
    void DrawTitle();
    void DrawRow(int row);
    void DrawAllRows();
    // Takes the open editor's value and, when it changed, recomputes and stores the row.
    // False when the editor's text is no valid value: the value before the edit is back,
    // with a beep, and the editor reopened.
    bool StoreEdit();
    void StoreCursorRow();
    void LoadMarks();
    // The row and column under a mouse position; false outside the rows shown.
    bool PickAt(int x, int y, int& row, int& column) const;

    int m_year;
    int m_month;
    CUser m_user;
    std::optional<CTimeCardPeriod> m_period;  // set once a user was loaded
    CTimeCardCells m_cells{{10, 17, 23, 27}};
    CTimeCardMarks m_marks;
    int m_cursorRow = 0;
    int m_cursorColumn = 0;
};

}  // namespace tokeiya
