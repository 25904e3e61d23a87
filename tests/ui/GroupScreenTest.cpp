#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "data/CTUserGroup.hpp"
#include "screens/group/CCRWA_Group.hpp"
#include "shell/MainMenu.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/ui/WorkSession.hpp"

namespace tokeiya {
namespace {

using Button = headless::HeadlessHostWindow::Button;
using namespace win;

// The group settings opened by the administration account.
class GroupScreenTest : public test::WorkSession {
  protected:
    // A stored group; a type-3 group without unit is stored only through this.
    void AddGroup(int id, const std::string& name, int salary = 1, int overtime = 0, int unit = 0,
                  int round = 0, int cutoff = 0) {
        const std::string values = std::to_string(id) + ",'" + name + "'," +
                                   std::to_string(salary) + "," + std::to_string(overtime) + "," +
                                   std::to_string(unit) + "," + std::to_string(round) + "," +
                                   std::to_string(cutoff);
        m_db.Connection().Database().ExecuteSQL(m_db.Connection().Dialect().Render(
            "INSERT INTO [dbo].[Tユーザーグループ] ([idGroup],[strGroupName],[typeSalary],"
            "[typeOvertime],[nTimePerSalary],[flgRound],[nCutoff]) VALUES (" +
            values + ")"));
    }
    void Open() {
        Start("tokeiya", "");
        ASSERT_TRUE(View().SetScreen(ScreenId::Groups));
        Window().Pump();
        ASSERT_NE(nullptr, dynamic_cast<CCRWA_Group*>(View().Screen()));
    }
    CCRWA_Group& Screen() { return dynamic_cast<CCRWA_Group&>(*View().Screen()); }
    // The text of a list line from its first column.
    std::string Line(int line) {
        std::string text;
        Screen().GetRowText(text, line, 2, Screen().Cols() - 1, true);
        return text;
    }
    std::vector<CUserGroup> Stored() {
        std::vector<CUserGroup> groups;
        EXPECT_EQ(1, CTUserGroup(m_db.Connection()).LoadAll(groups));
        return groups;
    }
    void ClickAt(Button button, int col, int line) {
        const CPoint at = CellCentre(col, line);
        Window().Click(button, at.x, at.y);
        Window().Pump();
    }
    size_t Beeps() { return Window().m_beeps.size(); }
};

TEST_F(GroupScreenTest, ListsTheGroupsWithOneBlankRowOnlyBelowACompleteGroup) {
    AddGroup(1, "営業");
    AddGroup(2, "パート", 3, 2, 15, 1, 20);
    Open();
    Window().UpdateWindow();
    EXPECT_TRUE(
        test::ScreenMatchesFile(Screen(), TOKEIYA_SOURCE_DIR "/tests/ui/golden/group_start.txt"));
    ASSERT_EQ(3, Screen().List().Count());
    EXPECT_EQ(0, Screen().List().Rows()[2].idGroup);
    ASSERT_NE(nullptr, Screen().ScrollBar());
    EXPECT_EQ(2, Screen().ScrollBar()->Maximum());
    Key(VK_DOWN, 3);
    EXPECT_EQ(3, Screen().List().Count()) << "no second blank row below an empty one";
    EXPECT_EQ(2, Screen().Cursor());

    // A time-based group without a unit is unfinished: no blank row below it.
    AddGroup(3, "時給", 3);
    ASSERT_TRUE(View().SetScreen(ScreenId::Groups));
    Window().Pump();
    EXPECT_EQ(3, Screen().List().Count());
    EXPECT_EQ(3, Screen().List().Rows()[2].idGroup);
}

TEST_F(GroupScreenTest, ANamedGroupFromTheMenuIsStoredUnderTheNextIdAndAnotherRowFollows) {
    AddGroup(1, "営業");
    AddGroup(5, "製造");
    Start("tokeiya", "");
    ASSERT_TRUE(Window().ChooseCommand(command::kGroupSettings));
    Window().Pump();
    ASSERT_EQ(ScreenId::Groups, View().CurrentScreen());
    Key(VK_DOWN, 2);
    TypeAndEnter("総務");
    std::vector<CUserGroup> groups = Stored();
    ASSERT_EQ(3u, groups.size());
    EXPECT_EQ(6, groups[2].idGroup) << "the highest id + 1";
    EXPECT_EQ("総務", groups[2].strGroupName);
    EXPECT_EQ(1, groups[2].typeSalary);
    EXPECT_EQ("月給", groups[2].strSalary);
    EXPECT_EQ(0, groups[2].typeOvertime);
    EXPECT_EQ(0u, Line(5).find("06  総務" + std::string(18, ' ') + "1:月給  0:なし"));
    EXPECT_EQ(1, Screen().Column());

    Key(VK_DOWN);
    EXPECT_EQ(4, Screen().List().Count()) << "a blank row below the new group";
    EXPECT_EQ(3, Screen().Cursor());
    Key(VK_F1 + 8);
    EXPECT_EQ(ScreenId::AdminHome, View().CurrentScreen())
        << "the administration account's start screen";
}

TEST_F(GroupScreenTest, AnOvertimeRuleIsStoredOnlyOnceUnitAndRoundingAreThere) {
    AddGroup(1, "営業");
    AddGroup(2, "事務");
    Open();
    ClickCell(37, 3);
    ASSERT_EQ(2, Screen().Column());
    TypeAndEnter("1");
    EXPECT_EQ("早出", Screen().List().Rows()[0].strOvertime);
    EXPECT_EQ(0, Stored()[0].typeOvertime) << "no unit, no rounding mode yet";
    TypeAndEnter("15");
    EXPECT_EQ(0, Stored()[0].typeOvertime);
    EXPECT_EQ(0, Stored()[0].nTimePerSalary);

    ASSERT_EQ(4, Screen().Column());
    Key(VK_SPACE);
    EXPECT_TRUE(Screen().MenuOpen());
    EXPECT_EQ(nullptr, Screen().ScrollBar()) << "no scroll bar beside an open list";
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_FALSE(Screen().MenuOpen());
    EXPECT_EQ(5, Screen().Column());
    const CUserGroup stored = Stored()[0];
    EXPECT_EQ(1, stored.typeOvertime);
    EXPECT_EQ(15, stored.nTimePerSalary);
    EXPECT_EQ(1, stored.flgRound);
    EXPECT_EQ("切り上げ", stored.strRound);
    EXPECT_NE(std::string::npos, Line(3).find("1:早出" + std::string(14, ' ') + "15  1:切り上げ"));

    // Pay by the hour counts minutes too: without unit and rounding mode it stays unstored.
    ClickCell(29, 4);
    ASSERT_EQ(1, Screen().Cursor());
    TypeAndEnter("3");
    EXPECT_EQ(3, Screen().List().Rows()[1].typeSalary);
    EXPECT_NE(std::string::npos, Line(4).find("3:時給"));
    EXPECT_EQ(1, Stored()[1].typeSalary);
}

TEST_F(GroupScreenTest, ClosingDayTwentyEightIsTakenAndTwentyNineRefused) {
    AddGroup(1, "営業");
    Open();
    ClickCell(76, 3);
    ASSERT_EQ(5, Screen().Column());
    TypeAndEnter("28");
    EXPECT_EQ(28, Stored()[0].nCutoff);
    EXPECT_EQ(1, Screen().Cursor()) << "on to the next row";
    EXPECT_EQ(0, Screen().Column());

    Window().Press(VK_LEFT, kCtrl);  // back over the start of the row
    Window().Pump();
    ASSERT_EQ(5, Screen().Column());
    const size_t beeps = Beeps();
    TypeAndEnter("29");
    EXPECT_EQ(beeps + 1, Beeps());
    EXPECT_EQ(28, Screen().List().Rows()[0].nCutoff) << "the previous day is back";
    EXPECT_EQ(28, Stored()[0].nCutoff);
    EXPECT_EQ(0, Screen().Cursor()) << "the cursor stays";
    EXPECT_EQ(5, Screen().Column());
    EXPECT_NE(nullptr, Screen().ActiveEditor());

    Key(VK_F1 + 11);
    EXPECT_FALSE(m_frame->Visible()) << "hidden in the notification area";
}

TEST_F(GroupScreenTest, ARefusalIsToldOnTheTitleLineForAFewSeconds) {
    AddGroup(1, "営業");
    Open();
    EXPECT_EQ(std::string::npos, Line(0).find_first_not_of(' ')) << "no notice at the start";
    struct Case {
        int column;
        const char* typed;
        std::string told;
    };
    const Case cases[] = {
        {76, "29", "締日は 0 から 28 までです。"},
        {29, "4", CCRWA_List::NotListedText(4)},
    };
    for (const Case& c : cases) {
        ClickCell(c.column, 3);
        const size_t beeps = Beeps();
        TypeAndEnter(c.typed);
        EXPECT_EQ(beeps + 1, Beeps()) << c.typed;
        EXPECT_EQ(c.told, Screen().Notice());
        EXPECT_EQ(0u, Line(0).find(c.told)) << "on the title line: " << Line(0);
        EXPECT_NE(Screen().DefaultTextColor(), Screen().CellAt(2, 0)->textColor);
        Key(VK_ESCAPE);
    }
    // The last notice stays until its time is up, then the line is as before.
    Window().AdvanceTime(CCRWA_Tokeiya::kNoticeMs - 500);
    EXPECT_FALSE(Screen().Notice().empty());
    Window().AdvanceTime(500);
    EXPECT_EQ("", Screen().Notice());
    EXPECT_EQ(std::string::npos, Line(0).find_first_not_of(' ')) << Line(0);
    EXPECT_EQ(Screen().DefaultTextColor(), Screen().CellAt(2, 0)->textColor);
    EXPECT_TRUE(m_dialogs.m_messages.empty()) << "told without a message box";
}

TEST_F(GroupScreenTest, ACodeOutsideItsListIsRefusedAndTheListOpens) {
    AddGroup(1, "営業");
    Open();
    ClickCell(29, 3);
    const size_t beeps = Beeps();
    TypeAndEnter("4");
    EXPECT_EQ(beeps + 1, Beeps());
    EXPECT_TRUE(Screen().MenuOpen());
    EXPECT_EQ(1, Screen().Column());
    EXPECT_EQ(1, Screen().List().Rows()[0].typeSalary);
    EXPECT_EQ("月給", Screen().List().Rows()[0].strSalary);
    EXPECT_EQ(1, Stored()[0].typeSalary);

    // Clicks on other fields wait while the list is open; Escape closes it unchanged.
    ClickCell(8, 3);
    EXPECT_EQ(1, Screen().Column());
    Key(VK_ESCAPE);
    EXPECT_FALSE(Screen().MenuOpen());
    EXPECT_EQ(1, Screen().Column());

    // A right click opens the list of a code field only, and a choice there is stored.
    ClickAt(Button::Right, 8, 3);
    EXPECT_FALSE(Screen().MenuOpen());
    ClickAt(Button::Right, 62, 3);
    EXPECT_TRUE(Screen().MenuOpen());
    EXPECT_EQ(4, Screen().Column());
    Key(VK_ESCAPE);  // the rounding mode, typed now: 9 is not a mode
    ASSERT_EQ(4, Screen().Column());
    ASSERT_FALSE(Screen().MenuOpen());
    TypeAndEnter("9");
    EXPECT_TRUE(Screen().MenuOpen());
    EXPECT_EQ(0, Screen().List().Rows()[0].flgRound);
    EXPECT_EQ("なし", Screen().List().Rows()[0].strRound);
    EXPECT_EQ(beeps + 2, Beeps());
}

TEST_F(GroupScreenTest, AFailedAddLeavesTheRowNewAndAGroupGoneIsTold) {
    AddGroup(1, "営業");
    Open();
    {
        test::FaultInjector faults(m_doc->GetDatabase()->Database());
        faults.FailStatements("INSERT");
        Key(VK_DOWN);
        TypeAndEnter("総務");
    }
    ASSERT_EQ(1u, m_dialogs.m_messages.size());
    EXPECT_EQ(1u, Stored().size());
    EXPECT_EQ(0, Screen().List().Rows()[1].idGroup) << "no id that was never stored";

    // The next change adds the group after all, under the id free now.
    AddGroup(2, "製造");
    TypeAndEnter("2");
    std::vector<CUserGroup> groups = Stored();
    ASSERT_EQ(3u, groups.size());
    EXPECT_EQ("総務", groups[2].strGroupName);
    EXPECT_EQ(2, groups[2].typeSalary);
    EXPECT_EQ(3, Screen().List().Rows()[1].idGroup);

    // Another computer removed the group: the update finds no row and says so.
    m_db.Connection().Database().ExecuteSQL(m_db.Connection().Dialect().Render(
        "DELETE FROM [dbo].[Tユーザーグループ] WHERE [idGroup] = 3"));
    ClickCell(28, 4);
    TypeAndEnter("1");
    ASSERT_EQ(2u, m_dialogs.m_messages.size());
    EXPECT_NE(std::string::npos, m_dialogs.m_messages.back().find("保存できませんでした"));
}

TEST_F(GroupScreenTest, TwoComputersAddingAGroupAtOnceGetTwoIdsAndNoError) {
    AddGroup(1, "営業");
    Open();
    auto other = m_db.OpenAnother();
    test::FaultInjector interleave(m_doc->GetDatabase()->Database());
    bool armed = true;
    // The other computer stores its group between this one's look at the ids and its insert.
    interleave.onStatement = [&](const std::string& sql) {
        if (armed && sql.find("INSERT") != std::string::npos) {
            armed = false;
            CUserGroup theirs;
            theirs.strGroupName = "製造";
            EXPECT_EQ(1, CTUserGroup(*other).Save(theirs));
        }
    };
    Key(VK_DOWN);
    TypeAndEnter("総務");
    EXPECT_FALSE(armed);
    EXPECT_TRUE(m_dialogs.m_messages.empty());
    std::vector<CUserGroup> groups = Stored();
    ASSERT_EQ(3u, groups.size());
    EXPECT_EQ("製造", groups[1].strGroupName);
    EXPECT_EQ(2, groups[1].idGroup);
    EXPECT_EQ("総務", groups[2].strGroupName);
    EXPECT_EQ(3, groups[2].idGroup);
    EXPECT_EQ(3, Screen().List().Rows()[1].idGroup);
    EXPECT_EQ(0u, Line(4).find("03  総務"));
}

TEST_F(GroupScreenTest, ThirtyGroupsPageAndScrollWithTheBlankRowLast) {
    for (int id = 1; id <= 30; ++id) {
        AddGroup(id, "g" + std::to_string(id));
    }
    Open();
    ASSERT_EQ(31, Screen().List().Count());
    Key(VK_NEXT);
    EXPECT_EQ(6, Screen().Top());
    EXPECT_EQ(25, Screen().Top() + Screen().Cursor());
    Key(VK_NEXT);
    EXPECT_EQ(30, Screen().Top() + Screen().Cursor()) << "on the blank row";
    EXPECT_EQ(0u, Line(27).find("00  "));
    Key(VK_PRIOR, 2);
    EXPECT_EQ(0, Screen().Top() + Screen().Cursor());

    Key(VK_RETURN, 3);
    ASSERT_EQ(3, Screen().Column());
    Screen().OnScroll(27);
    EXPECT_EQ(6, Screen().Top());
    EXPECT_EQ(21, Screen().Cursor());
    EXPECT_EQ(0, Screen().Column()) << "the first field of the row";
    EXPECT_EQ(0u, Line(3).find("07  g7"));
}

// A way out of the group settings, and the screen it leads to (none: the window closes).
struct WayOut {
    const char* name;
    std::function<void(headless::HeadlessHostWindow&)> leave;
    bool closes;
    ScreenId then;
};

void PrintTo(const WayOut& way, std::ostream* out) {
    *out << way.name;
}

const WayOut kWaysOut[] = {
    {"KeyNine",
     [](headless::HeadlessHostWindow& window) {
         window.Press(VK_F1 + 8);
         window.Pump();
     },
     false, ScreenId::AdminHome},
    {"UserSettings",
     [](headless::HeadlessHostWindow& window) {
         ASSERT_TRUE(window.ChooseCommand(command::kUserSettings));
         window.Pump();
     },
     false, ScreenId::Users},
    {"CloseButton",
     [](headless::HeadlessHostWindow& window) {
         window.Send(WM_CLOSE);
         window.Pump();
     },
     true, ScreenId::Groups},
};

// An overtime rule without its unit cannot be stored: the row says so, and every way out
// of the screen asks before the typing is lost.
class UnstoredGroupTest : public GroupScreenTest, public ::testing::WithParamInterface<WayOut> {
  protected:
    bool Marked(int line) {
        std::string text;
        Screen().GetRowText(text, line, 0, 1, true);
        return text == CCRWA_List::kUnstoredMark;
    }
};

TEST_P(UnstoredGroupTest, IsMarkedAndLeavingOffersToGoBack) {
    AddGroup(1, "営業");
    AddGroup(2, "事務");
    Open();
    Key(VK_DOWN, 2);
    Key(VK_UP, 2);
    ASSERT_EQ(3, Screen().List().Count()) << "a blank row below";
    ClickCell(37, 4);
    TypeAndEnter("1");
    ASSERT_EQ(0, Stored()[1].typeOvertime);
    EXPECT_FALSE(Marked(3));
    EXPECT_TRUE(Marked(4));
    EXPECT_FALSE(Marked(5)) << "the blank row was never typed into";

    m_dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    GetParam().leave(Window());
    ASSERT_EQ(1u, m_dialogs.m_messages.size());
    EXPECT_EQ(CCRWA_List::kUnstoredQuestion, m_dialogs.m_messages[0]);
    ASSERT_FALSE(m_frame->Closed());
    ASSERT_EQ(ScreenId::Groups, View().CurrentScreen());
    EXPECT_EQ(1, Screen().Cursor()) << "back on the row not stored";
    EXPECT_NE(nullptr, Screen().ActiveEditor());

    // Finished, the row is stored and the mark goes; nothing more is asked.
    ClickCell(37, 4);
    TypeAndEnter("1");
    TypeAndEnter("15");
    Key(VK_SPACE);
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(1, Stored()[1].typeOvertime);
    EXPECT_FALSE(Marked(4));
    ClickCell(29, 3);
    TypeAndEnter("3");
    EXPECT_TRUE(Marked(3)) << "by the hour without a unit";

    m_dialogs.QueueMessageAnswer(MessageAnswer::No);
    GetParam().leave(Window());
    EXPECT_EQ(2u, m_dialogs.m_messages.size());
    EXPECT_EQ(GetParam().closes, m_frame->Closed());
    if (!GetParam().closes) {
        EXPECT_EQ(GetParam().then, View().CurrentScreen());
    }
    EXPECT_EQ(1, Stored()[0].typeSalary) << "what was not stored is gone, as the user chose";
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, UnstoredGroupTest, ::testing::ValuesIn(kWaysOut),
                         [](const ::testing::TestParamInfo<WayOut>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tokeiya
