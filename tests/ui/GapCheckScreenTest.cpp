#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "data/CTCardHistory.hpp"
#include "data/CTOfficeSettings.hpp"
#include "data/CTPcActivity.hpp"
#include "data/CTTimeCard.hpp"
#include "data/TimeValue.hpp"
#include "platform/Cp932.hpp"
#include "screens/day/CCRWA_DaySchedule.hpp"
#include "screens/gapcheck/CCRWA_GapCheck.hpp"
#include "screens/salary/CCRWA_CalcuA.hpp"
#include "screens/timecard/CCRWA_CalcuB.hpp"
#include "shell/CGapSettingsDlg.hpp"
#include "tests/ui/WorkSession.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {
namespace {

using namespace win;

constexpr int kHanako = 1;

// hanako, level 3, on PC-1, in March 2027.
class GapCheckScreenTest : public test::WorkSession {
  protected:
    std::vector<CCardChange> History() {
        std::vector<CCardChange> rows;
        EXPECT_EQ(1, CTCardHistory(m_db.Connection()).LoadKeys(0, INT64_MAX, rows));
        return rows;
    }

    // 8 March: PC from 08:10 on PC-7, stamped 09:30 to 18:00; 10 March: PC use without a
    // card; 11 March: a card within the minutes, corrected by the administration account
    // on the 12th.
    void AddMonth() {
        CConnection& db = m_db.Connection();
        CTPcActivity activity(db);
        activity.Begin(1, kHanako, "PC-7", CTime(2027, 3, 8, 8, 10, 0));
        activity.End(1, kHanako, "PC-7", CTime(2027, 3, 8, 12, 0, 0), ActivityEnd::Sleep);
        activity.Begin(2, kHanako, "PC-7", CTime(2027, 3, 8, 13, 0, 0));
        activity.End(2, kHanako, "PC-7", CTime(2027, 3, 8, 18, 5, 0), ActivityEnd::Exit);
        activity.Begin(3, kHanako, "PC-7", CTime(2027, 3, 10, 9, 0, 0));
        activity.Begin(4, kHanako, "PC-7", CTime(2027, 3, 11, 8, 50, 0));
        activity.End(4, kHanako, "PC-7", CTime(2027, 3, 11, 18, 10, 0), ActivityEnd::Exit);
        const ChangeSource stamp{kHanako, "PC-7", ChangeHow::LoginStamp};
        for (int day : {8, 11}) {
            CTimeCard card = CTimeCard::NewDay(kHanako, 2027, 3, day, 60);
            card.timeFrom = TimeOfDay(9, day == 8 ? 30 : 0);
            card.timeTo = TimeOfDay(18, 0);
            ASSERT_EQ(1, CTTimeCard(db, stamp).StoreCard(card));
        }
        ScopedClockOverride later(CTime(2027, 3, 12, 9, 15, 0).GetTime());
        CTimeCard eleventh = CTimeCard::NewDay(kHanako, 2027, 3, 11, 60);
        ASSERT_EQ(1, CTTimeCard(db).LoadCard(eleventh));
        const CTimeCard read = eleventh;
        eleventh.timeFrom = TimeOfDay(8, 45);
        ASSERT_EQ(
            1,
            CTTimeCard(db, {0, "PC-ADMIN", ChangeHow::TimeCardScreen}).StoreCard(eleventh, &read));
    }

    void OpenCheck() {
        FixClock(2027, 4, 1, 10, 0);  // the login's own PC use falls outside March
        Start("hanako", "pw");
        View().Work().year = 2027;
        View().Work().month = 3;
        ASSERT_TRUE(View().SetScreen(ScreenId::SalaryList));
        Window().Pump();
        EXPECT_EQ("勤怠チェック", Screen<CCRWA_CalcuA>().FunctionMenu()->GetLabel(0, 7));
        Key(VK_F1 + 6);
        ASSERT_NE(nullptr, dynamic_cast<CCRWA_GapCheck*>(View().Screen()));
        Window().UpdateWindow();
    }

    template <class S>
    S& Screen() {
        return dynamic_cast<S&>(*View().Screen());
    }
    CCRWA_GapCheck& Check() { return Screen<CCRWA_GapCheck>(); }
};

// Every screen that corrects a card leaves one history row telling it, with the user and
// the computer.
TEST_F(GapCheckScreenTest, EachScreenThatCorrectsACardIsKeptInTheHistory) {
    FixClock(2027, 3, 9, 10, 0);
    Start("hanako", "pw");
    TypeAndEnter("0830");  // the month schedule, today's arrival
    Key(VK_F1 + 8);        // the personal day schedule of the 9th
    ASSERT_NE(nullptr, dynamic_cast<CCRWA_DaySchedule*>(View().Screen()));
    ClickCell(29, 2);
    TypeAndEnter("1800");
    View().Work().year = 2027;
    View().Work().month = 3;
    View().Work().userId = kHanako;
    ASSERT_TRUE(View().SetScreen(ScreenId::TimeCard));
    Window().Pump();
    Screen<CCRWA_CalcuB>().SetCursor(8, 2);
    TypeAndEnter("45");

    const std::vector<CCardChange> rows = History();
    ASSERT_EQ(3u, rows.size());
    const struct {
        ChangeHow how;
        CardValues before;
        CardValues after;
    } expected[] = {
        {ChangeHow::MonthSchedule, {}, {TimeOfDay(8, 30), CTime(), 60, 0}},
        {ChangeHow::DaySchedule,
         {TimeOfDay(8, 30), CTime(), 60, 0},
         {TimeOfDay(8, 30), TimeOfDay(18, 0), 60, 0}},
        {ChangeHow::TimeCardScreen,
         {TimeOfDay(8, 30), TimeOfDay(18, 0), 60, 0},
         {TimeOfDay(8, 30), TimeOfDay(18, 0), 45, 0}},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].how, rows[i].how);
        EXPECT_EQ(kHanako, rows[i].byUser);
        EXPECT_EQ("PC-1", rows[i].computer);
        EXPECT_EQ(9, rows[i].nDay);
        EXPECT_EQ(i == 0, rows[i].newCard);
        if (i > 0) {
            EXPECT_EQ(expected[i].before, rows[i].before);
        }
        EXPECT_EQ(expected[i].after, rows[i].after);
    }
    // The time card marks the corrected day and opens its detail with key 7.
    EXPECT_EQ("修", Screen<CCRWA_CalcuB>().MarkOf(8));
    EXPECT_EQ("  ", Screen<CCRWA_CalcuB>().MarkOf(7));
    Key(VK_F1 + 6);
    ASSERT_FALSE(m_dialogs.m_messages.empty());
    EXPECT_NE(std::string::npos, m_dialogs.m_messages.back().find("昼休 60分 → 45分"));
}

TEST_F(GapCheckScreenTest, ListsTheMonthsDisagreeingDaysAsTheGoldenText) {
    AddMonth();
    OpenCheck();
    ASSERT_EQ(3, Check().Check().Count());
    Check().CloseEditor();
    Window().UpdateWindow();
    EXPECT_TRUE(test::ScreenMatchesFile(
        Check(), TOKEIYA_SOURCE_DIR "/tests/ui/golden/gap_check_march_2027.txt"));
    EXPECT_EQ("設定", Check().FunctionMenu()->GetLabel(0, 5)) << "level 3 sets the minutes";
}

TEST_F(GapCheckScreenTest, EnterShowsTheDaysSpansAndCorrections) {
    AddMonth();
    OpenCheck();
    Key(VK_DOWN, 2);  // the 11th
    Key(VK_RETURN);
    ASSERT_EQ(1u, m_dialogs.m_messages.size());
    const std::string& shown = m_dialogs.m_messages[0];
    for (const char* part :
         {"hanako  2027年3月11日", "2027/03/11 08:50 - 2027/03/11 18:10  終了  PC-7",
          "2027/03/12 09:15  タイムカード  tokeiya  PC-ADMIN", "出勤 09:00 → 08:45",
          "出勤打刻 (新規)  hanako"}) {
        EXPECT_NE(std::string::npos, shown.find(part)) << part << "\n" << shown;
    }
}

TEST_F(GapCheckScreenTest, TheMinutesAndTheRuleAreTheOfficesAndChangeTheList) {
    AddMonth();
    OpenCheck();
    m_dialogs.QueueDialog([](CScriptedDialog& dialog) {
        EXPECT_EQ("30", dialog.Text(CGapSettingsDlg::kGapMinutes));
        dialog.Type(CGapSettingsDlg::kGapMinutes, "90");
        dialog.Choose(CGapSettingsDlg::kDeparture, 1);
        EXPECT_TRUE(dialog.PressOk());
    });
    Key(VK_F1 + 4);
    OfficeSettings office;
    ASSERT_EQ(1, CTOfficeSettings(m_db.Connection()).Load(office));
    EXPECT_EQ(90, office.nGapMin);
    EXPECT_TRUE(office.lastExit);
    EXPECT_EQ(2, Check().Check().Count()) << "80 minutes are within 90";
    EXPECT_NE(std::string::npos, Shown().find(cp932::ToUtf8("基準  90分  退勤時刻: 最後の退出")));
}

TEST_F(GapCheckScreenTest, TheExportIsPrivateAndListsEveryRow) {
    AddMonth();
    OpenCheck();
    const std::string file = m_folder.Path() + "/check.csv";
    m_dialogs.QueueSaveFile([file](std::string& path) {
        path = file;
        return true;
    });
    Key(VK_F1 + 9);
    EXPECT_EQ((std::vector<std::string>{"データを保存しました。"}), m_dialogs.m_messages);
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(
        "氏名,日付,PC開始,出勤,退勤,PC終了,差(分),修正回数,理由\r\n"
        "hanako,2027/03/08,08:10,09:30,18:00,18:05,80,0,PC早\r\n"
        "hanako,2027/03/10,09:00,,,,,0,打刻なし\r\n"
        "hanako,2027/03/11,08:50,08:45,18:00,18:10,10,1,後日修正\r\n",
        text.str());
    struct stat info {};
    ASSERT_EQ(0, stat(file.c_str(), &info));
    EXPECT_EQ(0600, info.st_mode & 0777);
}

}  // namespace
}  // namespace tokeiya
