#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/CTTimeCard.hpp"
#include "data/TimeValue.hpp"
#include "platform/Cp932.hpp"
#include "rows/SalaryRowText.hpp"
#include "screens/salary/CCRWA_CalcuA.hpp"
#include "tests/ui/WorkSession.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {
namespace {

using namespace win;

// The salary list of March 2027 opened by the administration account.
class SalaryListTest : public test::WorkSession {
  protected:
    SalaryListTest() { FixClock(2027, 4, 10, 10, 0); }

    void Sql(const std::string& statement) {
        m_db.Connection().Database().ExecuteSQL(m_db.Connection().Dialect().Render(statement));
    }
    void AddGroup(int id, const std::string& name, int cutoff) {
        Sql("INSERT INTO [dbo].[Tユーザーグループ] ([idGroup],[strGroupName],[nCutoff]) VALUES (" +
            std::to_string(id) + ",'" + name + "'," + std::to_string(cutoff) + ")");
    }
    // Users 10, 11 ... with a result of March 2027 each, in `group`.
    void AddResults(int count, int group, int firstUser = 10) {
        for (int i = 0; i < count; ++i) {
            const std::string user = std::to_string(firstUser + i);
            Sql("INSERT INTO [dbo].[Tユーザー] ([idUser],[strUserName],[idGroup],[nLevel]) VALUES "
                "(" +
                user + ",'user" + user + "'," + std::to_string(group) + ",1)");
            Sql("INSERT INTO [dbo].[T給料] ([idUser],[idGroup],[nWorkingMin],[nYear],[nMonth],"
                "[fSalary],[fOvertimePay],[nDays]) VALUES (" +
                user + "," + std::to_string(group) + ",600,2027,3,1000.5,250,3)");
        }
    }
    void OpenList(int year = 2027, int month = 3) {
        Start("tokeiya", "");
        View().Work().year = year;
        View().Work().month = month;
        ASSERT_TRUE(View().SetScreen(ScreenId::SalaryList));
        Window().Pump();
    }
    CCRWA_CalcuA& Screen() { return dynamic_cast<CCRWA_CalcuA&>(*View().Screen()); }
    CFunctionMenu& Bar() { return *Screen().FunctionMenu(); }
    std::string Line(int line) {
        std::string text;
        Screen().GetRowText(text, line, 0, Screen().Cols() - 1, true);
        return text;
    }
    // Chooses `file` in the next save dialog.
    void SaveAs(const std::string& file) {
        m_dialogs.QueueSaveFile([file](std::string& path) {
            path = file;
            return true;
        });
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The permission bits of a file; -1 when it is missing.
    static int FileMode(const std::string& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
    }
};

TEST_F(SalaryListTest, AnEmptyListSaysSoAndIsCalculatedWithoutAsking) {
    AddGroup(1, "営業", 0);
    OpenList();
    EXPECT_NE(std::string::npos, Line(3).find("計算されたデータが有りません。"));
    EXPECT_TRUE(Bar().HasLabel(0, 11)) << "printing is offered";
    EXPECT_TRUE(Bar().HasLabel(0, 12));
    EXPECT_EQ(nullptr, Screen().ScrollBar());

    // hanako (group 1) worked two days of March.
    for (int day : {1, 2}) {
        CTimeCard card = CTimeCard::NewDay(1, 2027, 3, day, 60);
        card.timeFrom = TimeOfDay(9, 0);
        card.timeTo = TimeOfDay(18, 0);
        ASSERT_EQ(1, CTTimeCard(m_db.Connection()).StoreCard(card));
    }
    Key(VK_F1 + 7);
    EXPECT_EQ((std::vector<std::string>{"計算しました。"}), m_dialogs.m_messages)
        << "no question for an empty list";
    EXPECT_EQ(1u, m_dialogs.m_busyNotices.size()) << "the wait is shown";
    ASSERT_EQ(1, Screen().List().Count());
    EXPECT_EQ("hanako", Screen().List().Rows()[0].strUserName);
    EXPECT_EQ(2, Screen().List().Rows()[0].nDays);
    EXPECT_NE(std::string::npos, Line(3).find("hanako"));

    // A list with rows asks first; No changes nothing.
    m_dialogs.QueueMessageAnswer(MessageAnswer::No);
    Key(VK_F1 + 7);
    EXPECT_EQ("再計算しますか？", m_dialogs.m_messages.back());
    EXPECT_EQ(1u, m_dialogs.m_busyNotices.size());
}

TEST_F(SalaryListTest, AFailedCalculationIsToldAndKeepsTheList) {
    AddGroup(1, "営業", 0);
    AddResults(2, 1);
    Sql("CREATE TRIGGER TestRefusal BEFORE INSERT ON T給料 "
        "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    OpenList();
    m_dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    Key(VK_F1 + 7);
    ASSERT_EQ(2u, m_dialogs.m_messages.size());
    EXPECT_NE(std::string::npos, m_dialogs.m_messages[1].find("refused by the test"));
    EXPECT_EQ(2, Screen().List().Count()) << "the list as it was";
}

TEST_F(SalaryListTest, TwentyFiveRowsStayOnOnePageAndTheTwentySixthScrollsByOne) {
    AddGroup(1, "営業", 0);
    AddResults(25, 1);
    OpenList();
    Key(VK_DOWN, 30);
    EXPECT_EQ(0, Screen().Top());
    EXPECT_EQ(24, Screen().Cursor());

    AddResults(1, 1, 40);
    Key(VK_F1 + 3);  // April
    Key(VK_F1 + 1);  // back to March, now with 26 rows
    ASSERT_EQ(26, Screen().List().Count());
    Key(VK_DOWN, 25);
    EXPECT_EQ(1, Screen().Top());
    EXPECT_EQ(24, Screen().Cursor());
    EXPECT_NE(std::string::npos, Line(27).find("user40"));
    ASSERT_NE(nullptr, Screen().ScrollBar());
    EXPECT_EQ(25, Screen().ScrollBar()->Position());
}

// The page keys' rules are the list cursor's (its own table); here only that the screen
// follows them and its scroll bar.
TEST_F(SalaryListTest, PageDownAndTheScrollBarMoveThePage) {
    AddGroup(1, "営業", 0);
    AddResults(30, 1);
    OpenList();
    Key(VK_NEXT);
    EXPECT_EQ(5, Screen().Top());
    EXPECT_EQ(25, Screen().Top() + Screen().Cursor());
    Key(VK_PRIOR);

    Screen().OnScroll(27);  // the scroll bar's thumb dragged to row 27
    EXPECT_EQ(5, Screen().Top());
    EXPECT_EQ(22, Screen().Cursor());
}

TEST_F(SalaryListTest, TheOpenGroupListTakesTheKeysUntilItCloses) {
    AddGroup(1, "営業", 0);
    AddGroup(2, "製造", 20);
    AddResults(3, 1);
    AddResults(2, 2, 20);
    OpenList();
    ASSERT_EQ(5, Screen().List().Count());

    Key(VK_F1 + 4);
    ASSERT_EQ(1, Screen().Mode());
    Key(VK_F1 + 1);
    EXPECT_EQ(3, View().Work().month) << "the month keys wait";
    Key(VK_ESCAPE);
    EXPECT_EQ(0, Screen().Mode());
    EXPECT_EQ(-1, View().Work().groupId);

    Key(VK_F1 + 4);
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(0, Screen().Mode());
    EXPECT_EQ(2, View().Work().groupId);
    EXPECT_EQ("製造", View().Work().groupName);
    EXPECT_EQ(2, Screen().List().Count());
    EXPECT_NE(std::string::npos, Line(1).find("02:製造"));

    Key(VK_F1 + 5);  // all groups again
    EXPECT_EQ(5, Screen().List().Count());
    EXPECT_NE(std::string::npos, Line(1).find("全員"));
}

TEST_F(SalaryListTest, ARowOpensItsTimeCardAndTheListComesBackOnThatUser) {
    AddGroup(1, "営業", 20);
    AddResults(30, 1);
    OpenList();
    Window().UpdateWindow();
    EXPECT_TRUE(test::ScreenMatchesFile(
        Screen(), TOKEIYA_SOURCE_DIR "/tests/ui/golden/salary_list_march_2027.txt"));

    Key(VK_NEXT);
    Key(VK_DOWN, 2);  // row 27: user 37
    Key(VK_RETURN);
    EXPECT_EQ(ScreenId::TimeCard, View().CurrentScreen());
    EXPECT_EQ(37, View().Work().userId);

    Key(VK_F1 + 7);  // the time card's way back
    ASSERT_EQ(ScreenId::SalaryList, View().CurrentScreen());
    EXPECT_EQ(27, Screen().Top() + Screen().Cursor()) << "on the user of the time card";
    EXPECT_EQ(5, Screen().Top());

    Key(VK_F1 + 8);  // to the month schedule, which forgets the user
    EXPECT_EQ(ScreenId::AdminHome, View().CurrentScreen())
        << "the administration account's start screen";
    EXPECT_EQ(0, View().Work().userId);
}

// A day corrected on the time card (key 8 brings the list back on that user) and the
// month calculated again: every row and the totals show what is stored, the cursor's too.
TEST_F(SalaryListTest, ARecalculationAfterATimeCardCorrectionRedrawsTheCursorRow) {
    AddGroup(1, "営業", 0);
    Sql("UPDATE [dbo].[Tユーザーグループ] SET [typeSalary]=3,[nTimePerSalary]=15,[flgRound]=2 "
        "WHERE [idGroup]=1");
    Sql("UPDATE [dbo].[Tユーザー] SET [fSalary]=250 WHERE [idUser]=1");
    AddResults(2, 1);
    CTimeCard card = CTimeCard::NewDay(1, 2027, 3, 1, 60);
    card.timeFrom = TimeOfDay(9, 0);
    card.timeTo = TimeOfDay(18, 0);
    ASSERT_EQ(1, CTTimeCard(m_db.Connection()).StoreCard(card));
    OpenList();
    m_dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    Key(VK_F1 + 7);
    ASSERT_EQ(1, Screen().List().Rows()[0].idUser);
    ASSERT_EQ(480, Screen().List().Rows()[0].nWorkingMin);

    Key(VK_RETURN);  // hanako's time card
    ASSERT_EQ(ScreenId::TimeCard, View().CurrentScreen());
    ClickCell(18, 3);  // the departure of 1 March
    TypeAndEnter("2000");
    Key(VK_F1 + 7);
    ASSERT_EQ(ScreenId::SalaryList, View().CurrentScreen());
    ASSERT_EQ(0, Screen().Top() + Screen().Cursor());

    // The desktop gives the focus back to the window as the question closes, before the
    // calculation runs.
    m_dialogs.m_onMessageBoxClosed = [this] { Window().Send(WM_SETFOCUS); };
    m_dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    Key(VK_F1 + 7);
    m_dialogs.m_onMessageBoxClosed = nullptr;
    Window().UpdateWindow();
    const std::vector<CSalary>& rows = Screen().List().Rows();
    ASSERT_EQ(600, rows[0].nWorkingMin) << "the list is read again";
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_NE(std::string::npos, Line(3 + static_cast<int>(i)).find(SalaryRowText(rows[i])))
            << "row " << i << ": " << Line(3 + static_cast<int>(i));
    }
    EXPECT_NE(std::string::npos, Line(28).find(SalaryTotalsText(Screen().List().Totals())))
        << Line(28);
}

TEST_F(SalaryListTest, TheFirstShowingPicksTheMonthBeforeToday) {
    FixClock(2027, 1, 15, 9, 0);
    AddGroup(1, "営業", 0);
    OpenList(0, 0);
    EXPECT_EQ(2026, View().Work().year);
    EXPECT_EQ(12, View().Work().month);
    EXPECT_NE(std::string::npos, Line(1).find("2026 年 12 月分"));
    Key(VK_F1 + 3);
    EXPECT_EQ(2027, View().Work().year);
    EXPECT_EQ(1, View().Work().month);
}

TEST_F(SalaryListTest, TheExportWritesEveryRowWhereverTheListIsScrolled) {
    AddGroup(1, "営業", 0);
    AddResults(30, 1);
    OpenList();
    Key(VK_NEXT);
    const std::string folder = m_folder.Path() + "/";
    m_profile.WriteProfileString("FILE", "CsvFolder", folder);
    const std::string file = folder + "out";  // the extension comes with the dialog
    SaveAs(file);
    Key(VK_F1 + 9);
    ASSERT_EQ(1u, m_dialogs.m_proposedSavePaths.size());
    EXPECT_EQ(folder + "2027年03月全員給料.csv", m_dialogs.m_proposedSavePaths[0]);
    EXPECT_EQ((std::vector<std::string>{"データを保存しました。"}), m_dialogs.m_messages);

    const std::string text = ReadFile(file + ".csv");
    EXPECT_EQ(0u, text.find("氏名,グループ,締日,日数,勤務時間(時),勤務時間(分),時間外(時),"
                            "時間外(分),基本給,時間外給,合計,Er\r\n"));
    EXPECT_NE(std::string::npos, text.find("\r\nuser10,営業,0,3,10,0,0,0,1000,250,1250,0\r\n"));
    size_t lines = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(31u, lines) << "the header and every row";
    EXPECT_EQ(folder, m_profile.GetProfileString("FILE", "CsvFolder", ""));
}

TEST_F(SalaryListTest, OnlyItsUserCanReadTheExportEvenOverAnOpenEarlierOne) {
    AddGroup(1, "営業", 0);
    AddResults(1, 1);
    OpenList();
    const std::string fresh = m_folder.Path() + "/fresh.csv";
    const std::string earlier = m_folder.Path() + "/earlier.csv";
    ASSERT_TRUE(g_file_set_contents(earlier.c_str(), "old", 3, nullptr));
    ASSERT_EQ(0, chmod(earlier.c_str(), 0644));
    for (const std::string& file : {fresh, earlier}) {
        SaveAs(file);
        Key(VK_F1 + 9);
        EXPECT_EQ(0600, FileMode(file)) << file;
        EXPECT_NE(std::string::npos, ReadFile(file).find("user10")) << file;
    }
}

TEST_F(SalaryListTest, APathWithoutAFolderIsRefusedAndTheFolderKept) {
    AddGroup(1, "営業", 0);
    OpenList();
    m_profile.WriteProfileString("FILE", "CsvFolder", "/somewhere/");
    SaveAs("給料.csv");
    Key(VK_F1 + 9);
    EXPECT_EQ((std::vector<std::string>{"不正なファイルパスです。"}), m_dialogs.m_messages);
    EXPECT_EQ("/somewhere/", m_profile.GetProfileString("FILE", "CsvFolder", ""));

    SaveAs(m_folder.Path() + "/no-such-folder/x.csv");
    Key(VK_F1 + 9);
    ASSERT_EQ(2u, m_dialogs.m_messages.size());
    EXPECT_EQ(0u, m_dialogs.m_messages[1].find("ファイルを保存できませんでした。"))
        << "a file that cannot be made is told with its reason";
}

TEST_F(SalaryListTest, NamesWithCommasAndQuotesKeepTheirColumnsInASpreadsheet) {
    AddGroup(1, "営業,第一", 0);
    AddResults(1, 1);
    Sql("UPDATE [dbo].[Tユーザー] SET [strUserName]='say \"hi\"' WHERE [idUser]=10");
    OpenList();
    const std::string file = m_folder.Path() + "/names.csv";
    SaveAs(file);
    Key(VK_F1 + 9);
    const std::string text = ReadFile(file);
    EXPECT_NE(std::string::npos, text.find("\r\n\"say \"\"hi\"\"\",\"営業,第一\",0,3,"));

    // Read back as a spreadsheet reads CSV: twelve columns, the names whole.
    const std::string check = m_folder.Path() + "/check.py";
    std::ofstream(check) << cp932::ToUtf8(
        "import csv, sys\n"
        "rows = list(csv.reader(open(sys.argv[1], encoding='cp932', newline='')))\n"
        "assert all(len(r) == 12 for r in rows), rows\n"
        "assert rows[1][0] == 'say \"hi\"', rows[1]\n"
        "assert rows[1][1] == '営業,第一', rows[1]\n");
    EXPECT_EQ(0, std::system(("python3 " + check + " " + file).c_str()));
}

}  // namespace
}  // namespace tokeiya
