#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "data/CQDaySchedule.hpp"
#include "data/CTSchedule.hpp"
#include "data/CTTimeCard.hpp"
#include "engine/CCDWLine.hpp"
#include "platform/Cp932.hpp"
#include "screens/day/CCRWA_DaySchedule.hpp"
#include "screens/month/CCRWA_MonthSchedule.hpp"
#include "shell/CSetHolidayDlg.hpp"
#include "tests/ui/WorkSession.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {
namespace {

using Button = headless::HeadlessHostWindow::Button;
using namespace win;

constexpr int kHanako = 1;

// The month schedule of "hanako" on 9 March 2027 (a Tuesday), 10:00.
class MonthScheduleTest : public test::WorkSession {
  protected:
    void StartOn(int year, int month, int day) {
        FixClock(year, month, day, 10, 0);
        Start("hanako", "pw");
        ASSERT_NE(nullptr, dynamic_cast<CCRWA_MonthSchedule*>(View().Screen()));
    }
    void StartInMarch() { StartOn(2027, 3, 9); }

    CCRWA_MonthSchedule& Screen() { return dynamic_cast<CCRWA_MonthSchedule&>(*View().Screen()); }
    CFunctionMenu& Bar() { return *Screen().FunctionMenu(); }

    // A schedule row as another computer would store it.
    void AddSchedule(int user, int year, int month, int day, const std::string& subject,
                     int level = 1) {
        CSchedule schedule;
        schedule.idUser = user;
        schedule.dateSchedule = *CTime::FromLocal(year, month, day, 9, 0, 0);
        schedule.strSubject = subject;
        schedule.nLevel = level;
        CTime latest;
        ASSERT_EQ(1, CTSchedule(m_db.Connection(), CTSchedule::Mode::Table)
                         .SaveSchedule(99, schedule, latest));
    }
    void AddCard(int year, int month, int day, int fromHour, int toHour, int lunch) {
        CTimeCard card = CTimeCard::NewDay(kHanako, year, month, day, 60);
        card.timeFrom = *CTime::FromLocal(2000, 1, 1, fromHour, 0, 0);
        card.timeTo = *CTime::FromLocal(2000, 1, 1, toHour, 0, 0);
        card.nLunchMin = lunch;
        ASSERT_EQ(1, CTTimeCard(m_db.Connection()).StoreCard(card));
    }
    CTimeCard StoredCard(int year, int month, int day) {
        CTimeCard card = CTimeCard::NewDay(kHanako, year, month, day, 60);
        card.idTimeCard = card.Key();
        EXPECT_EQ(1, CTTimeCard(m_db.Connection()).LoadCard(card));
        return card;
    }
    int CountCards(int year, int month, int day) {
        CTTimeCard cards(m_db.Connection());
        cards.m_strFilter = "[idTimeCard]=?";
        cards.m_params = {DbValue(TimeCardKey(kHanako, year, month, day))};
        int count = 0;
        EXPECT_TRUE(cards.Open());
        for (; !cards.IsEOF(); cards.MoveNext()) {
            ++count;
        }
        return count;
    }

    // The CP932 text of a day's line.
    std::string DayLine(int day) {
        std::string text;
        Screen().GetRowText(text, day + 2, 0, Screen().Cols() - 1, true);
        return text;
    }
    // The rules of the month: (line, colour) of every line item.
    std::vector<std::pair<int, COLORREF>> Rules() {
        std::vector<std::pair<int, COLORREF>> rules;
        const CCDWItemList& items = Screen().Items();
        for (size_t i = 0; i < items.Size(); ++i) {
            if (const auto* line = dynamic_cast<const CCDWLine*>(&items.At(i))) {
                rules.emplace_back(line->Y1(), line->Color());
            }
        }
        return rules;
    }
    // The next dialog is the holiday dialog: `name` typed in, then OK.
    void QueueHolidayName(const std::string& name) {
        m_dialogs.QueueDialog([name](CScriptedDialog& dialog) {
            dialog.Type(CSetHolidayDlg::kName, name);
            dialog.PressOk();
        });
    }
};

TEST_F(MonthScheduleTest, ShowsTheMonthWithTheUsersCardsSubjectsAndHolidays) {
    AddCard(2027, 3, 1, 9, 18, 45);
    AddSchedule(kHanako, 2027, 3, 2, "会議");
    AddSchedule(kHanako, 2027, 3, 2, "出張準備");
    AddSchedule(2, 2027, 3, 2, "他人の予定");
    AddSchedule(0, 2027, 3, 3, "朝礼");
    AddSchedule(0, 2027, 3, 3, "創立記念日", kScheduleLevelHoliday);
    AddSchedule(kHanako, 2027, 4, 1, "来月の予定");
    StartInMarch();

    EXPECT_EQ(9, Screen().CursorDay()) << "the screen opens on today";
    EXPECT_EQ(0, Screen().CursorColumn());
    EXPECT_EQ("現在", Bar().GetLabel(0, 6)) << "the cursor is on today's arrival";
    EXPECT_EQ("個人予定", Bar().GetLabel(0, 9));
    EXPECT_EQ("全員予定", Bar().GetLabel(0, 10));
    Screen().CloseEditor();
    Window().UpdateWindow();
    EXPECT_TRUE(test::ScreenMatchesFile(
        Screen(), TOKEIYA_SOURCE_DIR "/tests/ui/golden/month_schedule_march_2027.txt"));
}

TEST_F(MonthScheduleTest, EveryDayButTheThirtyFirstHasARuleInTheColourOfItsWeekday) {
    StartInMarch();
    auto rules = Rules();
    ASSERT_EQ(30u, rules.size()) << "31 days, no rule above the frame";
    for (int day = 1; day <= 30; ++day) {
        // 6, 13, 20 and 27 March 2027 are Saturdays.
        const COLORREF colour = day % 7 == 6 ? 0xFF00FF : 0x17E617;
        EXPECT_EQ(std::make_pair(day + 3, colour), rules[static_cast<size_t>(day - 1)]) << day;
    }

    Key(VK_F1 + 3);  // April: 30 days
    rules = Rules();
    ASSERT_EQ(30u, rules.size()) << "the rules of March went with the drawing";
    EXPECT_EQ(33, rules.back().first) << "a rule under day 30";

    Key(VK_F1 + 3);  // May: 31 days
    EXPECT_EQ(30u, Rules().size());
    Key(VK_F1 + 3);  // June: 30 days
    EXPECT_EQ(30u, Rules().size());
}

TEST_F(MonthScheduleTest, AHolidayMakesAWeekdayRedAndTheOwnSubjectsStayWithinTheirColumn) {
    AddSchedule(0, 2027, 3, 10, "祝日", kScheduleLevelHoliday);  // a Wednesday
    const std::string thirty(30, 'x');
    AddSchedule(kHanako, 2027, 3, 11, thirty);
    AddSchedule(kHanako, 2027, 3, 11, std::string(29, 'y'));  // 30 + 1 + 29 = 60: too long
    AddSchedule(kHanako, 2027, 3, 11, std::string(28, 'z'));  // 30 + 1 + 28 = 59: fits
    StartInMarch();

    EXPECT_EQ(CMonthScheduleDays::kRed, Screen().CellAt(2, 12)->textColor) << "10 March";
    EXPECT_EQ(CMonthScheduleDays::kBlue, Screen().CellAt(2, 13)->textColor) << "11 March";
    EXPECT_EQ(CMonthScheduleDays::kRed, Screen().CellAt(2, 16)->textColor) << "a Sunday";

    const std::string own = Screen().Days().Day(11).strSubjects;
    EXPECT_EQ(thirty + " " + std::string(28, 'z'), own);
    EXPECT_NE(std::string::npos, DayLine(11).find(own));
    EXPECT_EQ(std::string::npos, DayLine(11).find("yyy"));
}

TEST_F(MonthScheduleTest, ATimeTypedIntoADayIsStoredWithTheMonthRule) {
    StartInMarch();
    ClickCell(9, 5);  // the arrival of 3 March
    ASSERT_EQ(3, Screen().CursorDay());
    ASSERT_EQ(0, Screen().CursorColumn());
    EXPECT_FALSE(Bar().HasLabel(0, 6)) << "3 March is not today";

    TypeAndEnter("0830");
    EXPECT_EQ(1, Screen().CursorColumn()) << "Enter goes on to the departure";
    CTimeCard stored = StoredCard(2027, 3, 3);
    ASSERT_EQ(1, CountCards(2027, 3, 3));
    EXPECT_EQ(8, stored.timeFrom.GetHour());
    EXPECT_EQ(30, stored.timeFrom.GetMinute());
    EXPECT_EQ(60, stored.nLunchMin) << "the default lunch minutes";
    EXPECT_EQ(0, stored.nWorkingMin) << "minutes are left to the time card screen";

    // A departure before 8:00 and before the arrival is on the next day.
    TypeAndEnter("0600");
    stored = StoredCard(2027, 3, 3);
    EXPECT_EQ(6, stored.timeTo.GetHour());
    EXPECT_EQ(kOptionDepartureNextDay, stored.flgOption);
    EXPECT_EQ(1, CountCards(2027, 3, 3)) << "the second store updates the row";
    EXPECT_NE(std::string::npos, DayLine(3).find("08:30  06:00  60 翌"));
    EXPECT_EQ(2, Screen().CursorColumn());

    // Enter leaves an unchanged field without storing; from the option it goes to the next
    // day's arrival.
    Key(VK_RETURN);
    Key(VK_RETURN);
    EXPECT_EQ(4, Screen().CursorDay());
    EXPECT_EQ(0, Screen().CursorColumn());
    EXPECT_EQ(0, CountCards(2027, 3, 4));
}

// The administrator corrects the departure on the time card screen of another computer
// while the month is shown here: storing an arrival here keeps that correction.
TEST_F(MonthScheduleTest, AnArrivalTypedHereKeepsADepartureCorrectedElsewhere) {
    AddCard(2027, 3, 3, 9, 17, 60);
    StartInMarch();
    const CTimeCard read = StoredCard(2027, 3, 3);
    CTimeCard corrected = read;
    corrected.timeTo = *CTime::FromLocal(2000, 1, 1, 18, 30, 0);
    corrected.nWorkingMin = 510;
    ASSERT_EQ(1, CTTimeCard(m_db.Connection()).StoreCard(corrected, &read));

    ClickCell(9, 5);  // the arrival of 3 March
    ASSERT_EQ(3, Screen().CursorDay());
    TypeAndEnter("0830");
    const CTimeCard stored = StoredCard(2027, 3, 3);
    EXPECT_EQ(8, stored.timeFrom.GetHour());
    EXPECT_EQ(30, stored.timeFrom.GetMinute());
    EXPECT_EQ(18, stored.timeTo.GetHour());
    EXPECT_EQ(30, stored.timeTo.GetMinute());
    EXPECT_EQ(510, stored.nWorkingMin);
}

TEST_F(MonthScheduleTest, KeySixPutsThePresentTimeIntoTodaysTimesOnly) {
    StartInMarch();
    Window().AdvanceTime(5 * 60 * 1000);  // 10:05
    Key(VK_F1 + 5);
    EXPECT_EQ(10, StoredCard(2027, 3, 9).timeFrom.GetHour());
    EXPECT_EQ(5, StoredCard(2027, 3, 9).timeFrom.GetMinute());
    EXPECT_EQ(0, Screen().CursorColumn()) << "the cursor stays";
    ASSERT_NE(nullptr, Screen().ActiveEditor());

    ClickCell(16, 10);  // the departure of 8 March
    EXPECT_FALSE(Bar().HasLabel(0, 6));
    Key(VK_F1 + 5);
    EXPECT_EQ(0, CountCards(2027, 3, 8)) << "not labelled, not acted on";
}

TEST_F(MonthScheduleTest, TheCursorKeysStayWithinTheMonth) {
    StartInMarch();
    ClickCell(9, 3);  // 1 March, arrival
    Key(VK_LEFT);
    Key(VK_UP);
    EXPECT_EQ(1, Screen().CursorDay());
    EXPECT_EQ(0, Screen().CursorColumn());
    ClickCell(25, 33);  // 31 March, option
    ASSERT_EQ(31, Screen().CursorDay());
    ASSERT_EQ(3, Screen().CursorColumn());
    Key(VK_RETURN);
    Key(VK_DOWN);
    EXPECT_EQ(31, Screen().CursorDay());
    EXPECT_EQ(3, Screen().CursorColumn());
    Key(VK_UP);
    Key(VK_LEFT);  // from the option back to the lunch minutes
    EXPECT_EQ(30, Screen().CursorDay());
    EXPECT_EQ(2, Screen().CursorColumn());
    EXPECT_FALSE(Bar().HasLabel(0, 6)) << "no present time for the lunch minutes";
}

TEST_F(MonthScheduleTest, AnInvalidTimeBeepsAndPutsThePreviousTimeBack) {
    AddCard(2027, 3, 5, 9, 17, 60);
    StartInMarch();
    ClickCell(9, 7);  // 5 March, arrival 09:00
    const size_t beeps = Window().m_beeps.size();
    TypeAndEnter("2575");
    EXPECT_EQ(beeps + 1, Window().m_beeps.size());
    EXPECT_EQ(5, Screen().CursorDay()) << "the cursor stays";
    EXPECT_EQ(0, Screen().CursorColumn());
    ASSERT_NE(nullptr, Screen().ActiveEditor()) << "the field is open again";
    EXPECT_EQ(9, Screen().Days().Day(5).timeFrom.GetHour());
    EXPECT_EQ(9, StoredCard(2027, 3, 5).timeFrom.GetHour());
}

TEST_F(MonthScheduleTest, AFailedStoreIsToldOnceAndWhatWasTypedStays) {
    StartInMarch();
    m_db.OpenAnother()->Database().ExecuteSQL("DROP TABLE Tタイムカード");
    ClickCell(9, 5);
    TypeAndEnter("0830");
    ASSERT_EQ(1u, m_dialogs.m_messages.size());
    EXPECT_NE(std::string::npos, DayLine(3).find("08:30")) << "the typed time stays";
    EXPECT_EQ(1, Screen().CursorColumn());
}

TEST_F(MonthScheduleTest, HolidayNamesOfTwentyBytesAreStoredAndLongerOrEmptyOnesRefused) {
    StartInMarch();
    Key(VK_DOWN);  // 10 March, a Wednesday
    const std::string twenty = "あいうえおかきくけこ";
    QueueHolidayName(twenty);
    Key(VK_F1 + 7);
    EXPECT_EQ(twenty, Screen().Days().Day(10).strHoliday);
    EXPECT_NE(std::string::npos, DayLine(10).find(twenty));
    EXPECT_EQ(CMonthScheduleDays::kRed, Screen().CellAt(2, 12)->textColor);
    EXPECT_EQ(CMonthScheduleDays::kRed, Screen().CellAt(90, 12)->textColor);
    ASSERT_NE(nullptr, Screen().ActiveEditor()) << "the cursor is back";
    EXPECT_EQ(10, Screen().CursorDay());

    // A name too long is refused in the dialog, which keeps the typing for a correction.
    bool refused = false;
    m_dialogs.QueueDialog([&](CScriptedDialog& dialog) {
        dialog.Type(CSetHolidayDlg::kName, twenty + "a");
        refused = !dialog.PressOk();
        EXPECT_FALSE(dialog.Closed());
        EXPECT_EQ(CSetHolidayDlg::kName, dialog.Focus());
        EXPECT_EQ(twenty + "a", dialog.Text(CSetHolidayDlg::kName));
        EXPECT_EQ(CDialogModel::LengthMessage(CSetHolidayDlg::kMaxNameBytes), dialog.Notice());
        dialog.PressCancel();
    });
    Key(VK_F1 + 7);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(m_dialogs.m_messages.empty());
    QueueHolidayName("");
    Key(VK_F1 + 7);
    EXPECT_EQ((std::vector<std::string>{"祭日名が入力されていません。"}), m_dialogs.m_messages);
    EXPECT_EQ(twenty, Screen().Days().Day(10).strHoliday);
    EXPECT_STREQ("祭日名が長すぎます。", CSetHolidayDlg::NameProblem(twenty + "a"));

    // What is stored is one holiday row with the accepted name.
    std::array<CDaySchedule, 31> days;
    ASSERT_EQ(1, CQDaySchedule(m_db.Connection()).LoadMonthTexts(kHanako, 2027, 3, days));
    EXPECT_EQ(twenty, days[9].strHoliday);
}

TEST_F(MonthScheduleTest, ChangingTheDefaultLunchMinutesChangesOnlyDaysWithoutACard) {
    AddCard(2027, 3, 1, 9, 18, 45);
    StartInMarch();
    CUser hanako = m_doc->GetLoggedInUser();
    hanako.nLunchMin = 30;
    m_doc->UpdateLoggedInUser(hanako);
    View().OnOptionsChanged();
    EXPECT_EQ(45, Screen().Days().Day(1).nLunchMin);
    EXPECT_EQ(30, Screen().Days().Day(2).nLunchMin);
    EXPECT_NE(std::string::npos, DayLine(1).find("09:00  18:00  45"));
    EXPECT_NE(std::string::npos, DayLine(2).find("  30"));
    ASSERT_NE(nullptr, Screen().ActiveEditor()) << "the cursor is back";
}

TEST_F(MonthScheduleTest, MonthKeysWrapTheYearAndTodayComesBack) {
    StartOn(2027, 1, 15);
    Key(VK_F1 + 1);
    EXPECT_EQ(2026, Screen().Days().Year());
    EXPECT_EQ(12, Screen().Days().Month());
    EXPECT_EQ(1, Screen().CursorDay());
    EXPECT_NE(std::string::npos, Shown().find(cp932::ToUtf8("2026 年 12 月")));

    Key(VK_F1 + 3);
    Key(VK_F1 + 3);
    EXPECT_EQ(2027, Screen().Days().Year());
    EXPECT_EQ(2, Screen().Days().Month());
    EXPECT_EQ(28, Screen().Days().DayCount());

    Key(VK_F1 + 2);
    EXPECT_EQ(1, Screen().Days().Month());
    EXPECT_EQ(15, Screen().CursorDay());
    EXPECT_EQ("現在", Bar().GetLabel(0, 6));
}

TEST_F(MonthScheduleTest, TheMinuteRefreshLabelsKeyOneOnlyAfterAnotherComputerChangedTheMonth) {
    AddSchedule(0, 2027, 3, 20, "古い予定");
    StartInMarch();
    Window().AdvanceTime(61000);
    EXPECT_FALSE(Bar().HasLabel(0, 1)) << "nothing new";

    AddSchedule(0, 2027, 4, 2, "来月");
    Window().AdvanceTime(60000);
    EXPECT_FALSE(Bar().HasLabel(0, 1)) << "another month";

    AddSchedule(0, 2027, 3, 21, "新しい予定");
    Window().AdvanceTime(60000);
    EXPECT_EQ("最新情報", Bar().GetLabel(0, 1));
    EXPECT_EQ(std::string::npos, DayLine(21).find("新しい予定")) << "not before key 1";

    Key(VK_F1);
    EXPECT_NE(std::string::npos, DayLine(21).find("新しい予定"));
    EXPECT_FALSE(Bar().HasLabel(0, 1));
    ASSERT_NE(nullptr, Screen().ActiveEditor()) << "the cursor is back";
    Window().AdvanceTime(60000);
    EXPECT_FALSE(Bar().HasLabel(0, 1)) << "what key 1 read is known";
}

TEST_F(MonthScheduleTest, NamingAHolidayHidesNoChangeAnotherComputerMadeBefore) {
    StartInMarch();
    Key(VK_DOWN);  // 10 March
    Window().AdvanceTime(1000);
    AddSchedule(0, 2027, 3, 21, "他の予定");
    Window().AdvanceTime(1000);
    QueueHolidayName("祝日");
    Key(VK_F1 + 7);
    ASSERT_EQ("祝日", Screen().Days().Day(10).strHoliday);
    Window().AdvanceTime(60000);
    EXPECT_EQ("最新情報", Bar().GetLabel(0, 1)) << "the other computer's entry is news";

    Key(VK_F1);
    EXPECT_NE(std::string::npos, DayLine(21).find("他の予定"));
    // Alone, this screen's own holiday is no news to it.
    Window().AdvanceTime(1000);
    QueueHolidayName("祭日");
    Key(VK_F1 + 7);
    Window().AdvanceTime(60000);
    EXPECT_FALSE(Bar().HasLabel(0, 1));
}

TEST_F(MonthScheduleTest, HidingRemembersTheDayAndTheNextScreenOpensOnIt) {
    StartInMarch();
    ClickCell(16, 22);  // 20 March, departure
    ASSERT_EQ(20, Screen().CursorDay());
    Key(VK_F1 + 11);
    EXPECT_FALSE(Window().IsVisible());
    EXPECT_EQ(2027, View().Work().scheduleYear);
    EXPECT_EQ(3, View().Work().scheduleMonth);
    EXPECT_EQ(20, View().Work().scheduleDay);

    ASSERT_TRUE(View().SetScreen(ScreenId::MonthSchedule));
    EXPECT_EQ(20, Screen().CursorDay());
    EXPECT_EQ(0, Screen().CursorColumn());
}

TEST_F(MonthScheduleTest, ADoubleClickOnTheSharedSubjectsOpensEveryonesDay) {
    StartInMarch();
    CPoint at = CellCentre(100, 17);  // the shared subjects of 15 March
    Window().DoubleClick(Button::Left, at.x, at.y);
    Window().Pump();
    auto* day = dynamic_cast<CCRWA_DaySchedule*>(View().Screen());
    ASSERT_NE(nullptr, day);
    EXPECT_EQ(CCRWA_DaySchedule::Mode::Everyone, day->GetMode());
    EXPECT_EQ(15, day->List().Day());
    Key(VK_F1 + 8);
    ASSERT_NE(nullptr, dynamic_cast<CCRWA_MonthSchedule*>(View().Screen()));
    EXPECT_EQ(15, Screen().CursorDay()) << "the month comes back on that day";
}

}  // namespace
}  // namespace tokeiya
