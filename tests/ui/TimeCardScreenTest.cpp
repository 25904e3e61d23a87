#include <gtest/gtest.h>

#include <array>
#include <string>

#include "data/CDaySchedule.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/CTUserGroup.hpp"
#include "data/TimeValue.hpp"
#include "screens/timecard/CCRWA_CalcuB.hpp"
#include "tests/ui/WorkSession.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {
namespace {

using Button = headless::HeadlessHostWindow::Button;
using namespace win;

constexpr int kHanako = 1;
// The day's data starts here; the mark ends in column 77.
constexpr int kDataColumn = 10;
constexpr int kDataWidth = 68;

// The time card of "hanako" opened by the administration account, as the salary list opens
// it: the chosen year, month and user in the work context, then the time card screen.
class TimeCardScreenTest : public test::WorkSession {
  protected:
    TimeCardScreenTest() { FixClock(2027, 4, 5, 10, 0); }

    // hanako joins a new group with these pay settings; her contractual hours are 9 to 18.
    void PayBy(int typeSalary, int typeOvertime, int unit, int round, int cutoff, float salary,
               float overtimePay) {
        CUserGroup group;
        group.strGroupName = "営業部";
        group.typeSalary = typeSalary;
        group.typeOvertime = typeOvertime;
        group.nTimePerSalary = unit;
        group.flgRound = round;
        group.nCutoff = cutoff;
        ASSERT_EQ(1, CTUserGroup(m_db.Connection()).Save(group));
        CUser user;
        ASSERT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::View).LoadById(kHanako, user));
        user.idGroup = group.idGroup;
        user.fSalary = salary;
        user.fOvertimePay = overtimePay;
        user.timeFrom = TimeOfDay(9, 0);
        user.timeTo = TimeOfDay(18, 0);
        ASSERT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::Table).Save(user));
    }

    void Open(int year, int month, int userId = kHanako) {
        if (m_doc == nullptr) {
            Start("tokeiya", "");
        }
        WorkContext& work = View().Work();
        work.year = year;
        work.month = month;
        work.userId = userId;
        ASSERT_TRUE(View().SetScreen(ScreenId::TimeCard));
        Window().Pump();
        Window().UpdateWindow();
        ASSERT_NE(nullptr, dynamic_cast<CCRWA_CalcuB*>(View().Screen()));
    }

    CCRWA_CalcuB& Screen() { return dynamic_cast<CCRWA_CalcuB&>(*View().Screen()); }
    CFunctionMenu& Bar() { return *Screen().FunctionMenu(); }

    void AddCard(int year, int month, int day, int fromHour, int toHour, float salary = 0,
                 float overtimePay = 0) {
        CTimeCard card = CTimeCard::NewDay(kHanako, year, month, day, 60);
        card.timeFrom = TimeOfDay(fromHour, 0);
        card.timeTo = TimeOfDay(toHour, 0);
        card.nWorkingMin = (toHour - fromHour) * 60 - card.nLunchMin;
        card.fSalary = salary;
        card.fOvertimePay = overtimePay;
        ASSERT_EQ(1, CTTimeCard(m_db.Connection()).StoreCard(card));
    }
    CTimeCard StoredCard(int year, int month, int day) {
        CTimeCard card = CTimeCard::NewDay(kHanako, year, month, day, 60);
        EXPECT_EQ(1, CTTimeCard(m_db.Connection()).LoadCard(card));
        return card;
    }
    int CountCards() {
        CTTimeCard cards(m_db.Connection());
        int count = 0;
        EXPECT_TRUE(cards.Open());
        for (; !cards.IsEOF(); cards.MoveNext()) {
            ++count;
        }
        return count;
    }

    // The CP932 text of cells of a row's line: never written cells give nothing.
    std::string Cells(int row, int from, int to) {
        std::string text;
        Screen().GetRowText(text, row + 3, from, to, true);
        return text;
    }
    std::string Label(int row) { return Cells(row, 1, 8); }
    std::string Data(int row) { return Cells(row, kDataColumn, kDataColumn + kDataWidth - 1); }
    // Line 1 from column 2.
    std::string Title() {
        std::string text;
        Screen().GetRowText(text, 1, 2, Screen().Cols() - 1, true);
        return text;
    }

    // Cursor columns by the cell a click picks them at.
    void ClickRow(int row, int column) {
        constexpr int kColumnCell[] = {11, 18, 24, 27};
        ClickCell(kColumnCell[column], row + 3);
    }
};

TEST_F(TimeCardScreenTest, TypedTimesAreRecomputedStoredAndShownAtOnce) {
    // Pay by the quarter hour, rounded half up; overtime beyond eight hours.
    PayBy(3, 4, 15, 3, 0, 300, 400);
    Open(2027, 3);
    ASSERT_EQ(31, Screen().RowsInUse());
    ASSERT_NE(nullptr, Screen().ActiveEditor()) << "the cursor opens on row 0, column 0";

    ClickRow(2, 0);  // 3 March
    TypeAndEnter("0900");
    CTimeCard stored = StoredCard(2027, 3, 3);
    EXPECT_EQ(9, stored.timeFrom.GetHour());
    EXPECT_EQ(1, stored.flgErr) << "the departure is missing";
    EXPECT_EQ("09:00         60      0:00    0:00         0         0         0  ○", Data(2));
    EXPECT_EQ(1, Screen().CursorColumn());

    TypeAndEnter("1800");
    stored = StoredCard(2027, 3, 3);
    EXPECT_EQ(TimeCardKey(kHanako, 2027, 3, 3), stored.idTimeCard);
    EXPECT_EQ(480, stored.nWorkingMin);
    EXPECT_EQ(0, stored.nOvertimeMin);
    EXPECT_EQ(9600.0F, stored.fSalary);
    EXPECT_EQ(0, stored.flgErr);
    EXPECT_EQ("09:00  18:00  60      8:00    0:00      9600         0      9600    ", Data(2));

    ClickRow(2, 1);
    TypeAndEnter("1930");
    stored = StoredCard(2027, 3, 3);
    EXPECT_EQ(570, stored.nWorkingMin);
    EXPECT_EQ(90, stored.nOvertimeMin);
    EXPECT_EQ(11400.0F, stored.fSalary);
    EXPECT_EQ(2400.0F, stored.fOvertimePay);
    EXPECT_EQ("09:00  19:30  60      9:30    1:30     11400      2400     13800    ", Data(2));
    EXPECT_EQ(1, CountCards()) << "one row, updated";

    // 487 minutes keep 480 (a remainder of 7 is not above half the unit), 488 make 495.
    ClickRow(3, 0);
    TypeAndEnter("0900");
    TypeAndEnter("1800");
    TypeAndEnter("53");
    stored = StoredCard(2027, 3, 4);
    EXPECT_EQ(53, stored.nLunchMin);
    EXPECT_EQ(480, stored.nWorkingMin);
    EXPECT_EQ(0, stored.nOvertimeMin);
    Key(VK_LEFT);  // from the option back to the lunch minutes
    TypeAndEnter("52");
    stored = StoredCard(2027, 3, 4);
    EXPECT_EQ(495, stored.nWorkingMin);
    EXPECT_EQ(15, stored.nOvertimeMin);
    EXPECT_EQ(9900.0F, stored.fSalary);
    EXPECT_EQ(400.0F, stored.fOvertimePay);
    EXPECT_EQ("09:00  18:00  52      8:15    0:15      9900       400     10300    ", Data(3));
}

// A day without a card gets the lunch minutes of the user whose card it is, not those of
// the administrator looking at it.
// The employee corrects the arrival in the month schedule of another computer while the
// time card is shown here: a departure corrected here keeps that arrival.
TEST_F(TimeCardScreenTest, ADepartureCorrectedHereKeepsAnArrivalCorrectedElsewhere) {
    PayBy(3, 4, 15, 2, 0, 250, 300);
    AddCard(2027, 4, 2, 9, 17);
    Open(2027, 4);
    std::array<CDaySchedule, 31> days{};
    for (size_t i = 0; i < days.size(); ++i) {
        days[i].Reset(static_cast<int>(i), 60);
    }
    ASSERT_EQ(1, CTTimeCard(m_db.Connection()).LoadMonthCards(kHanako, 2027, 4, days));
    const CDaySchedule read = days[1];
    days[1].timeFrom = TimeOfDay(8, 0);
    ASSERT_EQ(1, CTTimeCard(m_db.Connection()).StoreMonthCard(kHanako, 2027, 4, days[1], &read));

    ClickRow(1, 1);  // the departure of 2 April
    TypeAndEnter("1830");
    const CTimeCard stored = StoredCard(2027, 4, 2);
    EXPECT_EQ(8, stored.timeFrom.GetHour()) << "the arrival corrected elsewhere stays";
    EXPECT_EQ(18, stored.timeTo.GetHour());
    EXPECT_EQ(30, stored.timeTo.GetMinute());
}

TEST_F(TimeCardScreenTest, ADayWithoutACardTakesTheShownUsersLunchMinutes) {
    PayBy(1, 0, 0, 0, 0, 0, 0);
    CUser hanako;
    ASSERT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::View).LoadById(kHanako, hanako));
    hanako.nLunchMin = 40;
    ASSERT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::Table).Save(hanako));
    Open(2027, 3);
    ASSERT_NE(40, m_doc->GetLoggedInUser().nLunchMin);
    EXPECT_EQ(40, Screen().Row(2).nLunchMin);

    ClickRow(2, 0);
    TypeAndEnter("0900");
    EXPECT_EQ(40, StoredCard(2027, 3, 3).nLunchMin);
    EXPECT_EQ("09:00         40      0:00    0:00         0         0         0  ○", Data(2));
}

TEST_F(TimeCardScreenTest, NightShiftsTakeTheirDayOptionAndANegativeDayIsMarked) {
    PayBy(1, 0, 0, 0, 0, 0, 0);
    Open(2027, 3);

    // Departure earlier and before 8:00: the next day.
    ClickRow(2, 0);
    TypeAndEnter("2200");
    TypeAndEnter("0600");
    TypeAndEnter("0");
    EXPECT_EQ(kOptionDepartureNextDay, StoredCard(2027, 3, 3).flgOption);
    EXPECT_EQ(480, StoredCard(2027, 3, 3).nWorkingMin);
    EXPECT_EQ("22:00  06:00   0 翌   8:00    0:00         0         0         0    ", Data(2));

    // Departure at 8:00 or later, arrival after 18:59: the arrival on the day before.
    ClickRow(3, 0);
    TypeAndEnter("2000");
    TypeAndEnter("1000");
    EXPECT_EQ(kOptionArrivalDayBefore, StoredCard(2027, 3, 4).flgOption);
    EXPECT_EQ(780, StoredCard(2027, 3, 4).nWorkingMin);
    EXPECT_EQ("前", Data(3).substr(17, 2));

    // Neither rule: the option stays as chosen; on the same day the time is negative.
    ClickRow(4, 0);
    TypeAndEnter("1200");
    TypeAndEnter("1100");
    CTimeCard stored = StoredCard(2027, 3, 5);
    EXPECT_EQ(1, stored.flgErr);
    EXPECT_EQ(0, stored.nWorkingMin);
    EXPECT_EQ("12:00  11:00  60      0:00    0:00         0         0         0  ○", Data(4));
    Key(VK_RETURN);  // lunch minutes unchanged
    ASSERT_EQ(3, Screen().CursorColumn());
    Key(VK_SPACE);  // "前"
    Key(VK_SPACE);  // "翌"
    Key(VK_RETURN);
    stored = StoredCard(2027, 3, 5);
    EXPECT_EQ(kOptionDepartureNextDay, stored.flgOption);
    EXPECT_EQ(23 * 60 - 60, stored.nWorkingMin);
    EXPECT_EQ(0, stored.flgErr);
    EXPECT_EQ(5, Screen().CursorRow()) << "from the option to the next day's arrival";
}

TEST_F(TimeCardScreenTest, WithoutRoundingTheStoredPayStaysAndEmptyTimesClearTheDay) {
    // Daily pay without a unit: minutes are counted, the day's pay is left alone.
    // Overtime before and after the contractual hours.
    PayBy(2, 3, 0, 0, 0, 8000, 1000);
    AddCard(2027, 3, 8, 9, 18, 5000, 700);
    Open(2027, 3);
    EXPECT_EQ("09:00  18:00  60      8:00    0:00      5000       700      5700    ", Data(7));

    ClickRow(7, 0);
    TypeAndEnter("0830");
    TypeAndEnter("1845");
    CTimeCard stored = StoredCard(2027, 3, 8);
    EXPECT_EQ(555, stored.nWorkingMin);
    EXPECT_EQ(75, stored.nOvertimeMin) << "30 early and 45 late";
    EXPECT_EQ(5000.0F, stored.fSalary);
    EXPECT_EQ(700.0F, stored.fOvertimePay);
    EXPECT_EQ("08:30  18:45  60      9:15    1:15      5000       700      5700    ", Data(7));

    // One time alone is an error, no time at all is an empty day; both have nothing.
    ClickRow(7, 0);
    Window().Press(VK_DELETE);
    Key(VK_RETURN);
    stored = StoredCard(2027, 3, 8);
    EXPECT_TRUE(IsEmptyTime(stored.timeFrom));
    EXPECT_EQ(1, stored.flgErr);
    EXPECT_EQ(0.0F, stored.fSalary);
    EXPECT_EQ("       18:45  60      0:00    0:00         0         0         0  ○", Data(7));
    Window().Press(VK_DELETE);
    Key(VK_RETURN);
    stored = StoredCard(2027, 3, 8);
    EXPECT_EQ(0, stored.flgErr);
    EXPECT_EQ("              60      0:00    0:00         0         0         0    ", Data(7));
}

TEST_F(TimeCardScreenTest, AClosingDayLaysThePeriodOverTwoMonths) {
    PayBy(1, 0, 0, 0, 20, 0, 0);
    AddCard(2027, 2, 20, 9, 17);  // before the period
    AddCard(2027, 2, 21, 9, 18);
    AddCard(2027, 3, 1, 10, 19);
    AddCard(2027, 3, 21, 9, 18);  // after it
    Open(2027, 3);

    // 21 February (a Sunday) .. 20 March: the 28 days of February.
    ASSERT_EQ(28, Screen().RowsInUse());
    EXPECT_EQ(" 2 21 日", Label(0));
    EXPECT_EQ(0x0000FFu, Screen().CellAt(1, 3)->textColor) << "Sundays in red";
    EXPECT_EQ("   22 月", Label(1));
    EXPECT_EQ(0xFF0000u, Screen().CellAt(1, 4)->textColor) << "other days in blue";
    EXPECT_EQ(" 3  1 月", Label(8)) << "the new month is named on its first day";
    EXPECT_EQ("   20 土", Label(27));
    EXPECT_EQ("", Label(28)) << "no 21 March";
    EXPECT_EQ("", Data(28));
    EXPECT_EQ("09:00  18:00", Data(0).substr(0, 12));
    EXPECT_EQ("10:00  19:00", Data(8).substr(0, 12));
    EXPECT_EQ("     ", Data(27).substr(0, 5)) << "20 March has no card";

    // A day of the second month is stored under its own date.
    ClickRow(26, 0);  // 19 March
    TypeAndEnter("0915");
    EXPECT_EQ(9, StoredCard(2027, 3, 19).timeFrom.GetHour());
    EXPECT_EQ(15, StoredCard(2027, 3, 19).timeFrom.GetMinute());

    // The cursor stays on the period's days.
    ClickRow(27, 3);
    Key(VK_RETURN);
    Key(VK_DOWN);
    EXPECT_EQ(27, Screen().CursorRow());
    EXPECT_EQ(3, Screen().CursorColumn());
    ClickRow(28, 0);  // below the last day
    EXPECT_EQ(27, Screen().CursorRow());
    ClickRow(0, 0);
    Key(VK_LEFT);
    Key(VK_UP);
    EXPECT_EQ(0, Screen().CursorRow());
    EXPECT_EQ(0, Screen().CursorColumn());

    // A leap year gives 29 days; January's period begins in December.
    Open(2028, 3);
    EXPECT_EQ(29, Screen().RowsInUse());
    EXPECT_EQ(" 2 21 月", Label(0));
    EXPECT_EQ("   29 火", Label(8));
    EXPECT_EQ(" 3  1 水", Label(9));

    Open(2027, 1);
    EXPECT_EQ(31, Screen().RowsInUse());
    EXPECT_EQ("12 21 月", Label(0));
    EXPECT_EQ(" 1  1 金", Label(11));
    EXPECT_EQ("   20 水", Label(30));
    EXPECT_EQ(2026, Screen().Row(0).nYear);
    EXPECT_EQ(0, Title().find("2027 年  1 月分 hanako"));
}

TEST_F(TimeCardScreenTest, ShowsThePeriodAsTheGoldenText) {
    PayBy(3, 4, 15, 3, 20, 300, 400);
    AddCard(2027, 2, 22, 9, 18, 9600, 0);
    AddCard(2027, 3, 1, 8, 20, 12000, 4800);
    CTimeCard half = CTimeCard::NewDay(kHanako, 2027, 3, 2, 60);
    half.timeFrom = TimeOfDay(9, 0);
    half.flgErr = 1;
    ASSERT_EQ(1, CTTimeCard(m_db.Connection()).StoreCard(half));
    Open(2027, 3);
    EXPECT_EQ("カード印刷", Bar().GetLabel(0, 12)) << "printing is offered";
    EXPECT_EQ("給与一覧", Bar().GetLabel(0, 8));
    Screen().CloseEditor();
    Window().UpdateWindow();
    EXPECT_TRUE(test::ScreenMatchesFile(
        Screen(), TOKEIYA_SOURCE_DIR "/tests/ui/golden/time_card_march_2027.txt"));
}

TEST_F(TimeCardScreenTest, KeyEightStoresTheEditAndGoesToTheSalaryList) {
    PayBy(1, 0, 0, 0, 0, 0, 0);
    Open(2027, 3);
    Window().Type("0900");
    Key(VK_F1 + 11);  // printing is not built: nothing happens
    EXPECT_EQ(ScreenId::TimeCard, View().CurrentScreen());
    ASSERT_NE(nullptr, Screen().ActiveEditor());

    Key(VK_F1 + 7);
    EXPECT_EQ(ScreenId::SalaryList, View().CurrentScreen());
    EXPECT_EQ(kHanako, View().Work().userId) << "the list comes back on her";
    EXPECT_EQ(1, CountCards());
    EXPECT_EQ(9, StoredCard(2027, 3, 1).timeFrom.GetHour());
}

TEST_F(TimeCardScreenTest, KeyNineStoresTheEditAndGoesToTheMonthSchedule) {
    // A user's own login, so that the month schedule stays (the administration account's
    // gives way to its home screen).
    Start("hanako", "pw");
    Open(2027, 3);
    Window().Type("0900");
    Key(VK_F1 + 8);
    EXPECT_EQ(ScreenId::MonthSchedule, View().CurrentScreen());
    EXPECT_EQ(0, View().Work().userId);
    EXPECT_EQ(1, CountCards());
}

TEST_F(TimeCardScreenTest, AnInvalidTimeBeepsAndPutsThePreviousTimeBack) {
    PayBy(1, 0, 0, 0, 0, 0, 0);
    AddCard(2027, 3, 5, 9, 17);
    Open(2027, 3);
    ClickRow(4, 1);
    const size_t beeps = Window().m_beeps.size();
    TypeAndEnter("2575");
    EXPECT_EQ(beeps + 1, Window().m_beeps.size());
    EXPECT_EQ(4, Screen().CursorRow());
    EXPECT_EQ(1, Screen().CursorColumn()) << "the cursor stays";
    ASSERT_NE(nullptr, Screen().ActiveEditor()) << "the field is open again";
    EXPECT_EQ(17, Screen().Row(4).timeTo.GetHour());
    EXPECT_EQ(17, StoredCard(2027, 3, 5).timeTo.GetHour());
    EXPECT_EQ(1, CountCards());
}

TEST_F(TimeCardScreenTest, AFailedStoreIsToldOnceAndTheRecomputedDayStays) {
    PayBy(1, 0, 0, 0, 0, 0, 0);
    Open(2027, 3);
    m_db.OpenAnother()->Database().ExecuteSQL("DROP TABLE Tタイムカード");
    ClickRow(2, 0);
    TypeAndEnter("0830");
    ASSERT_EQ(1u, m_dialogs.m_messages.size());
    EXPECT_EQ("08:30         60      0:00    0:00         0         0         0  ○", Data(2));
    EXPECT_EQ(1, Screen().CursorColumn());
}

TEST_F(TimeCardScreenTest, WithoutSuchAUserOnlyTheTitleShowsAndNothingIsEdited) {
    Open(2027, 3, 99);
    EXPECT_EQ(0, Screen().RowsInUse());
    EXPECT_EQ(nullptr, Screen().ActiveEditor());
    EXPECT_EQ("2027 年  3 月分 " + std::string(20, ' ') + "(" + std::string(20, ' ') + ")",
              Title().substr(0, 58));
    EXPECT_EQ("", Cells(0, 0, Screen().Cols() - 1)) << "no days";
    ClickRow(0, 0);
    Window().Type("0900");
    Key(VK_RETURN);
    EXPECT_EQ(nullptr, Screen().ActiveEditor());
    EXPECT_EQ(0, CountCards());

    // No user chosen is the same.
    Open(2027, 3, 0);
    EXPECT_EQ(0, Screen().RowsInUse());
    EXPECT_EQ(nullptr, Screen().ActiveEditor());
}

TEST_F(TimeCardScreenTest, ActivatingAgainReturnsToTheFirstColumnOfTheCursorRow) {
    PayBy(1, 0, 0, 0, 0, 0, 0);
    Open(2027, 3);
    ClickRow(5, 2);
    Screen().CloseEditor();
    Screen().Activate();
    EXPECT_EQ(5, Screen().CursorRow());
    EXPECT_EQ(0, Screen().CursorColumn());
    ASSERT_NE(nullptr, Screen().ActiveEditor());
}

}  // namespace
}  // namespace tokeiya
