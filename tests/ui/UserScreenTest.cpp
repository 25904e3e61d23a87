#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "data/CCodeRZ.hpp"
#include "data/CTUser.hpp"
#include "data/TimeValue.hpp"
#include "screens/user/CCRWA_User.hpp"
#include "shell/MainMenu.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/ui/WorkSession.hpp"
#include "widgets/CCRWMenuBase.hpp"
#include "widgets/CCRWTString.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {
namespace {

using Button = headless::HeadlessHostWindow::Button;
using namespace win;

// Column of each field's first cell on a user's line.
constexpr int kNameX = 8;
constexpr int kPasswordX = 30;
constexpr int kGroupX = 42;
constexpr int kLevelX = 67;
constexpr int kSalaryX = 81;
constexpr int kOvertimeX = 91;
constexpr int kFromX = 101;

// The user settings screen over groups 営業 (1) and 製造 (2); "hanako" (id 1, group 1,
// level 3) is there from the start.
class UserScreenTest : public test::WorkSession {
  protected:
    UserScreenTest() {
        AddGroup(1, "営業");
        AddGroup(2, "製造");
    }

    void Sql(const std::string& statement) {
        m_db.Connection().Database().ExecuteSQL(m_db.Connection().Dialect().Render(statement));
    }
    void AddGroup(int id, const std::string& name) {
        Sql("INSERT INTO [dbo].[Tユーザーグループ] ([idGroup],[strGroupName]) VALUES (" +
            std::to_string(id) + ",'" + name + "')");
    }
    void AddUser(int id, const std::string& name, int group, int level) {
        Sql("INSERT INTO [dbo].[Tユーザー] ([idUser],[strUserName],[idGroup],[nLevel]) VALUES (" +
            std::to_string(id) + ",'" + name + "'," + std::to_string(group) + "," +
            std::to_string(level) + ")");
    }
    void Open(const char* user = "tokeiya", const char* password = "") {
        Start(user, password);
        ASSERT_TRUE(View().SetScreen(ScreenId::Users));
        Window().Pump();
        ASSERT_NE(nullptr, dynamic_cast<CCRWA_User*>(View().Screen()));
    }
    CCRWA_User& Screen() { return dynamic_cast<CCRWA_User&>(*View().Screen()); }
    std::string Line(int line) {
        std::string text;
        Screen().GetRowText(text, line, 0, Screen().Cols() - 1, true);
        return text;
    }
    // A user's row as the list writes it, without the mark in front.
    std::string ListLine(int row) {
        std::string text;
        Screen().GetRowText(text, CCRWA_User::kFirstLine + row, 2, Screen().Cols() - 1, true);
        return text;
    }
    CUser Stored(int id) {
        CUser user;
        EXPECT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::View).LoadById(id, user)) << id;
        return user;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const CUser& user : Screen().List().Rows()) {
            names.push_back(user.strUserName);
        }
        return names;
    }
    int UserCount() {
        std::vector<CUser> users;
        int count = 0;
        for (bool retired : {false, true}) {
            EXPECT_EQ(1,
                      CTUser(m_db.Connection(), CTUser::Mode::View).LoadList(users, -1, retired));
            count += static_cast<int>(users.size());
        }
        return count;
    }
    void RightClickCell(int col, int row) {
        const CPoint at = CellCentre(col, row);
        Window().Click(Button::Right, at.x, at.y);
        Window().Pump();
    }
    bool CodeListOpen() { return dynamic_cast<CCRWMenuBase*>(Screen().ActiveEditor()) != nullptr; }
};

TEST_F(UserScreenTest, TheStartListHasTheActiveUsersOfEveryGroupAndOneBlankRow) {
    AddUser(2, "taro", 2, 1);
    AddUser(3, "jiro", 1, 0);    // retired
    AddUser(4, "saburo", 0, 1);  // no group
    AddUser(5, "shiro", 1, 4);   // administration level
    Open();
    EXPECT_EQ((std::vector<std::string>{"hanako", "taro", ""}), Names());
    Window().UpdateWindow();
    EXPECT_TRUE(test::ScreenMatchesFile(Screen(),
                                        TOKEIYA_SOURCE_DIR "/tests/ui/golden/user_start_list.txt"));
    EXPECT_EQ(0, Screen().Column());
    ASSERT_NE(nullptr, Screen().ScrollBar());
    EXPECT_EQ(2, Screen().ScrollBar()->Maximum());

    CFunctionMenu& bar = *Screen().FunctionMenu();
    for (int key : {2, 3, 5, 9, 12}) {
        EXPECT_TRUE(bar.HasLabel(0, key)) << key;
    }
    Key(VK_F1 + 4);
    EXPECT_TRUE(Screen().ShowsRetired());
    EXPECT_EQ(5, bar.Highlight());
    EXPECT_EQ((std::vector<std::string>{"jiro", ""}), Names());
    Key(VK_F1 + 4);
    EXPECT_EQ(0, bar.Highlight());
    EXPECT_EQ((std::vector<std::string>{"hanako", "taro", ""}), Names());
}

TEST_F(UserScreenTest, ANamedUserWithAGroupIsAddedUnderTheNextIdAndDownOpensANewRow) {
    Open();
    Key(VK_DOWN);
    ASSERT_EQ(1, Screen().Cursor());
    TypeAndEnter("佐藤");
    EXPECT_EQ(1, UserCount()) << "no group yet: nothing stored";
    TypeAndEnter("secret");
    TypeAndEnter("1");
    ASSERT_EQ(2, UserCount());
    EXPECT_EQ(3, Screen().Column());
    const CUser added = Stored(2);
    EXPECT_EQ("佐藤", added.strUserName);
    EXPECT_EQ("secret", added.strPassword);
    EXPECT_EQ(1, added.idGroup);
    EXPECT_EQ(1, added.nLevel);
    CTUser raw(m_db.Connection(), CTUser::Mode::View);
    CUser read;
    ASSERT_EQ(1, raw.LoadById(2, read));
    EXPECT_EQ(ScramblePassword("secret"), raw.m_strPassword) << "never stored plain";
    EXPECT_EQ(0u, ListLine(1).find("   2  佐藤                  ******      01:営業"))
        << ListLine(1);
    EXPECT_NE(std::string::npos, ListLine(1).find("1:ユーザー"));

    Key(VK_DOWN);
    EXPECT_EQ(2, Screen().Cursor());
    EXPECT_EQ(3, Screen().List().Count());
    EXPECT_EQ(3, Screen().Column()) << "Down keeps the field";
    Key(VK_DOWN);
    EXPECT_EQ(2, Screen().Cursor()) << "no second blank row";
    EXPECT_EQ(3, Screen().List().Count());
    EXPECT_TRUE(m_dialogs.m_messages.empty());
}

TEST_F(UserScreenTest, TwoAdministratorsAddingAtOnceGetTwoUsers) {
    Open();
    std::unique_ptr<CConnection> other = m_db.OpenAnother();
    test::FaultInjector faults(m_doc->GetDatabase()->Database());
    bool added = false;
    faults.onStatement = [&](const std::string& sql) {
        if (!added && sql.find("INSERT") != std::string::npos) {
            added = true;
            CUser theirs;
            theirs.strUserName = "taro";
            theirs.idGroup = 2;
            EXPECT_EQ(1, CTUser(*other, CTUser::Mode::Table).Save(theirs));
        }
    };
    Key(VK_DOWN);
    TypeAndEnter("jiro");
    Key(VK_RETURN);
    TypeAndEnter("1");
    ASSERT_TRUE(added);
    EXPECT_TRUE(m_dialogs.m_messages.empty());
    EXPECT_EQ("taro", Stored(2).strUserName);
    EXPECT_EQ("jiro", Stored(3).strUserName);
    EXPECT_EQ(3, Screen().List().Rows()[1].idUser);

    // The new row is edited under its own id from now on.
    TypeAndEnter("2");
    EXPECT_EQ(2, Stored(3).nLevel);
    EXPECT_EQ(1, Stored(2).nLevel);
}

TEST_F(UserScreenTest, AFailedAddIsToldOnceAndLeavesTheRowANewUser) {
    Open();
    {
        test::FaultInjector faults(m_doc->GetDatabase()->Database());
        faults.FailStatements("INSERT");
        Key(VK_DOWN);
        TypeAndEnter("jiro");
        Key(VK_RETURN);
        TypeAndEnter("1");
    }
    EXPECT_EQ(1u, m_dialogs.m_messages.size());
    EXPECT_EQ(1, UserCount());
    EXPECT_EQ(0, Screen().List().Rows()[1].idUser) << "no id that another computer may take";

    CUser theirs;
    theirs.strUserName = "taro";
    theirs.idGroup = 2;
    ASSERT_EQ(1, CTUser(*m_db.OpenAnother(), CTUser::Mode::Table).Save(theirs));
    ASSERT_EQ(2, theirs.idUser);
    TypeAndEnter("2");  // the level: the row is stored again, now beside the other user
    EXPECT_EQ("taro", Stored(2).strUserName);
    EXPECT_EQ("jiro", Stored(3).strUserName);
    EXPECT_EQ(2, Stored(3).nLevel);
}

TEST_F(UserScreenTest, ACodeListThatCannotBeReadLeavesTheCodeToBeTypedAndTheMouseWorking) {
    Open();
    {
        test::FaultInjector faults(m_doc->GetDatabase()->Database());
        faults.FailStatements("Qmグループ", "HY000", 100);
        RightClickCell(kGroupX, 3);
        EXPECT_FALSE(Screen().MenuOpen()) << "no list to choose from";
        EXPECT_FALSE(CodeListOpen());
        EXPECT_EQ(2, Screen().Column());
        ASSERT_NE(nullptr, Screen().ActiveEditor()) << "the code is typed instead";
        ClickCell(kNameX, 3);
        EXPECT_EQ(0, Screen().Column()) << "clicks are not swallowed";
        ASSERT_NE(nullptr, Screen().ActiveEditor());
        // The group filter falls back to the rows likewise.
        Key(VK_F1 + 1);
        EXPECT_NE(CCRWA_User::kFilterColumn, Screen().Column());
        ASSERT_NE(nullptr, Screen().ActiveEditor());
        ClickCell(kLevelX, 3);
        EXPECT_EQ(3, Screen().Column());
    }
    EXPECT_FALSE(m_dialogs.m_messages.empty()) << "the failed read was told";
}

TEST_F(UserScreenTest, ARetiredUserStaysListedUntilTheNextLoad) {
    AddUser(2, "taro", 2, 1);
    Open();
    ClickCell(kLevelX, 3);
    ASSERT_EQ(3, Screen().Column());
    TypeAndEnter("0");
    EXPECT_EQ(0, Stored(1).nLevel);
    EXPECT_NE(std::string::npos, ListLine(0).find("0:退職者"));
    EXPECT_EQ((std::vector<std::string>{"hanako", "taro", ""}), Names());

    Key(VK_F1 + 4);
    EXPECT_EQ((std::vector<std::string>{"hanako", ""}), Names());
    Key(VK_F1 + 4);
    EXPECT_EQ((std::vector<std::string>{"taro", ""}), Names());
}

TEST_F(UserScreenTest, AGroupFilterListsItsUsersAndFillsItIntoNewRows) {
    AddUser(2, "taro", 2, 1);
    Open();
    Key(VK_F1 + 1);
    EXPECT_EQ(CCRWA_User::kFilterColumn, Screen().Column());
    EXPECT_EQ(nullptr, Screen().ScrollBar()) << "no bar while the filter list is open";
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(2, Screen().FilterId());
    EXPECT_EQ("製造", Screen().FilterName());
    EXPECT_NE(std::string::npos, Line(1).find("02:製造"));
    EXPECT_EQ((std::vector<std::string>{"taro", ""}), Names());
    EXPECT_EQ(0, Screen().Cursor());
    EXPECT_EQ(0, Screen().Column());
    EXPECT_NE(std::string::npos, ListLine(1).find("02:製造"));

    Key(VK_DOWN);
    TypeAndEnter("ken");  // complete with the name: stored at once
    ASSERT_EQ(3, UserCount());
    EXPECT_EQ("ken", Stored(3).strUserName);
    EXPECT_EQ(2, Stored(3).idGroup);

    Key(VK_F1 + 2);
    EXPECT_EQ(-1, Screen().FilterId());
    EXPECT_NE(std::string::npos, Line(1).find("全員"));
    EXPECT_EQ((std::vector<std::string>{"hanako", "taro", "ken", ""}), Names());
}

// A user without a group is not stored; before another list replaces it the
// administrator is asked, and may go back to it.
TEST_F(UserScreenTest, AnUnfinishedUserIsAskedAboutBeforeTheListIsReadAgain) {
    Open();
    Key(VK_DOWN);
    TypeAndEnter("佐藤");
    ASSERT_EQ(1, UserCount());
    std::string mark;
    Screen().GetRowText(mark, CCRWA_User::kFirstLine + 1, 0, 1, true);
    EXPECT_EQ(CCRWA_List::kUnstoredMark, mark);

    const std::pair<const char*, std::function<void()>> rereads[] = {
        {"retired users shown", [&] { Key(VK_F1 + 4); }},
        {"another group chosen",
         [&] {
             Key(VK_F1 + 1);
             Key(VK_DOWN);
             Key(VK_RETURN);
         }},
    };
    for (const auto& [what, reread] : rereads) {
        SCOPED_TRACE(what);
        m_dialogs.QueueMessageAnswer(MessageAnswer::Yes);
        const size_t asked = m_dialogs.m_messages.size();
        reread();
        EXPECT_EQ(asked + 1, m_dialogs.m_messages.size());
        EXPECT_EQ((std::vector<std::string>{"hanako", "佐藤"}), Names());
        EXPECT_EQ(1, Screen().Cursor());
        EXPECT_EQ(-1, Screen().FilterId());
        EXPECT_FALSE(Screen().ShowsRetired());
    }
    m_dialogs.QueueMessageAnswer(MessageAnswer::No);
    Key(VK_F1 + 4);
    EXPECT_TRUE(Screen().ShowsRetired());
    EXPECT_EQ((std::vector<std::string>{""}), Names()) << "the retired users: none";
}

TEST_F(UserScreenTest, TheLoggedInUsersNewPasswordIsRemembered) {
    AddUser(2, "taro", 1, 1);
    Open("hanako", "pw");
    m_profile.WriteProfileInt("LOGIN", "SavePwd", 1);
    m_profile.WriteProfileString("LOGIN", "User", "hanako");
    m_profile.WriteProfileString("LOGIN", "Password", ScramblePassword("pw"));

    ClickCell(kPasswordX, 4);  // taro's: not the logged-in user
    TypeAndEnter("x");
    EXPECT_EQ("x", Stored(2).strPassword);
    EXPECT_EQ(ScramblePassword("pw"), m_profile.GetProfileString("LOGIN", "Password", ""));

    ClickCell(kPasswordX, 3);
    TypeAndEnter("neu");
    EXPECT_EQ("neu", Stored(1).strPassword);
    EXPECT_EQ("neu", m_doc->GetLoggedInUser().strPassword);
    EXPECT_EQ(ScramblePassword("neu"), m_profile.GetProfileString("LOGIN", "Password", ""));
    ClickCell(kNameX, 3);
    TypeAndEnter("花子");
    EXPECT_EQ("花子", m_profile.GetProfileString("LOGIN", "User", ""));
    EXPECT_EQ("花子", m_doc->GetLoggedInUser().strUserName);
    EXPECT_EQ("とけい屋! 花子", Window().Title()) << "the window names the user anew";
    ClickCell(kNameX, 4);
    TypeAndEnter("太郎");
    EXPECT_EQ("とけい屋! 花子", Window().Title()) << "another user's name is not the title";
}

TEST_F(UserScreenTest, APasswordCellOpensEmptyGivesNothingAwayAndKeepsThePasswordUntilTyped) {
    Open();
    m_profile.WriteProfileInt("LOGIN", "SavePwd", 0);
    auto editor = [&] { return dynamic_cast<CCRWTString*>(Screen().ActiveEditor()); };
    ClickCell(kPasswordX, 3);
    ASSERT_NE(nullptr, editor());
    EXPECT_EQ("", editor()->Text()) << "hanako's password is not shown";
    EXPECT_EQ(0u, ListLine(0).find("   1  hanako                **  ")) << ListLine(0);

    Window().Type("typed");
    editor()->SelectAll();
    ASSERT_EQ("typed", editor()->SelectedText());
    EXPECT_FALSE(Window().MenuState(command::kEditCopy).enabled);
    EXPECT_FALSE(Window().MenuState(command::kEditCut).enabled);
    Window().KeyDown('C', kCtrl);
    Window().KeyDown('X', kCtrl);
    Window().ChooseCommand(command::kEditCopy);
    Window().ChooseCommand(command::kEditCut);
    Window().Pump();
    EXPECT_FALSE(Window().m_clipboardSet) << "nothing reached the clipboard";
    EXPECT_EQ("typed", editor()->Text());
    Key(VK_ESCAPE);

    ClickCell(kPasswordX, 3);
    Key(VK_RETURN);  // nothing typed
    EXPECT_EQ("pw", Stored(1).strPassword);
    EXPECT_EQ("pw", Screen().List().Rows()[0].strPassword);
    ClickCell(kPasswordX, 3);
    TypeAndEnter("neu");
    EXPECT_EQ("neu", Stored(1).strPassword);
    ClickCell(kNameX, 3);
    ASSERT_NE(nullptr, editor());
    EXPECT_TRUE(Window().MenuState(command::kEditCopy).enabled) << "names copy as before";
}

TEST_F(UserScreenTest, PayAmountsTheColumnWouldRoundAreRefusedWithTheReason) {
    Open();
    const struct {
        int x;
        const char* typed;
        float stored;  // the stored amount afterwards; refused when it is not what was typed
        bool refused;
    } cases[] = {
        {kSalaryX, "16777216", 16777216, false}, {kSalaryX, "99999999", 16777216, true},
        {kSalaryX, "16777217", 16777216, true},  {kSalaryX, "20000000", 20000000, false},
        {kOvertimeX, "1500", 1500, false},       {kOvertimeX, "33554433", 1500, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        m_dialogs.m_messages.clear();
        // Entered from the field before it, the amount opens wholly selected.
        ClickCell(c.x - 10, 3);
        Key(VK_RETURN);
        const int column = Screen().Column();
        ASSERT_EQ(c.x == kSalaryX ? 4 : 5, column);
        const size_t beeps = Window().m_beeps.size();
        TypeAndEnter(c.typed);
        const CUser stored = Stored(1);
        EXPECT_EQ(c.stored, column == 4 ? stored.fSalary : stored.fOvertimePay);
        if (c.refused) {
            EXPECT_EQ(CCRWA_User::kAmountNotExact, Screen().Notice()) << "on the title line";
            EXPECT_TRUE(m_dialogs.m_messages.empty()) << "no box to close";
            EXPECT_EQ(beeps + 1, Window().m_beeps.size());
            EXPECT_EQ(column, Screen().Column()) << "the cursor stays";
            const CUser& shown = Screen().List().Rows()[0];
            EXPECT_EQ(c.stored, column == 4 ? shown.fSalary : shown.fOvertimePay)
                << "the previous amount is back";
            Key(VK_ESCAPE);
        } else {
            EXPECT_TRUE(m_dialogs.m_messages.empty());
        }
    }
}

TEST_F(UserScreenTest, CodesNotInTheirListsAndUnsetTimesAreRefused) {
    CUser hanako = Stored(1);
    hanako.timeFrom = TimeOfDay(9, 0);
    ASSERT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::Table).Save(hanako));
    Open();

    for (const auto& [x, column, typed] : {std::tuple{kGroupX, 2, "9"}, {kLevelX, 3, "7"}}) {
        ClickCell(x, 3);
        const size_t beeps = Window().m_beeps.size();
        TypeAndEnter(typed);
        EXPECT_EQ(beeps + 1, Window().m_beeps.size()) << column;
        EXPECT_EQ(column, Screen().Column()) << "the cursor stays";
        EXPECT_TRUE(Screen().MenuOpen()) << "the code list opens";
        EXPECT_TRUE(CodeListOpen());
        EXPECT_EQ(nullptr, Screen().ScrollBar());
        Key(VK_ESCAPE);
        EXPECT_FALSE(Screen().MenuOpen());
    }
    EXPECT_EQ(1, Stored(1).idGroup);
    EXPECT_EQ(3, Stored(1).nLevel);
    EXPECT_EQ(1, Screen().List().Rows()[0].idGroup);
    EXPECT_EQ(3, Screen().List().Rows()[0].nLevel);

    ClickCell(kFromX, 3);
    const size_t beeps = Window().m_beeps.size();
    Key(VK_BACK);  // the whole time was selected
    Key(VK_RETURN);
    EXPECT_EQ(beeps + 1, Window().m_beeps.size());
    EXPECT_EQ(6, Screen().Column());
    EXPECT_NE(nullptr, Screen().ActiveEditor());
    EXPECT_EQ(TimeOfDay(9, 0), Stored(1).timeFrom);
    EXPECT_EQ(TimeOfDay(9, 0), Screen().List().Rows()[0].timeFrom);
    EXPECT_TRUE(m_dialogs.m_messages.empty());
}

// Two administrators on the user screen: what the other one stored after this list was
// read stays, and this one's change is stored beside it.
TEST_F(UserScreenTest, AChangeKeepsWhatAnotherAdministratorStoredSinceTheListWasRead) {
    Open();
    CUser read = Stored(1);
    CUser other = read;
    other.fSalary = 1500;
    other.idGroup = 2;
    other.nLunchMin = 30;
    ASSERT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::Table).Save(other, &read));

    ClickCell(kLevelX, 3);
    ASSERT_EQ(3, Screen().Column());
    TypeAndEnter("2");
    const CUser stored = Stored(1);
    EXPECT_EQ(2, stored.nLevel);
    EXPECT_EQ(1500, stored.fSalary);
    EXPECT_EQ(2, stored.idGroup);
    EXPECT_EQ(30, stored.nLunchMin);
    EXPECT_EQ(2, Screen().List().Rows()[0].idGroup) << "the row shows what is stored";

    // Changing the group now is a change from what the row shows since that store.
    ClickCell(kGroupX, 3);
    TypeAndEnter("1");
    EXPECT_EQ(1, Stored(1).idGroup);
    EXPECT_EQ(2, Stored(1).nLevel);
}

TEST_F(UserScreenTest, ANewUserOfTheAdministrationLevelIsNotAdded) {
    Open();
    Key(VK_DOWN);
    TypeAndEnter("boss");
    Key(VK_RETURN, 2);
    TypeAndEnter("4");  // still without a group: nothing to store yet
    EXPECT_TRUE(m_dialogs.m_messages.empty());
    ClickCell(kGroupX, 4);
    TypeAndEnter("1");
    EXPECT_EQ((std::vector<std::string>{CCRWA_User::kNoNewAdministrator}), m_dialogs.m_messages);
    EXPECT_EQ(1, UserCount()) << "only hanako";
    const CUser admin = Stored(0);
    EXPECT_EQ("tokeiya", admin.strUserName) << "the administration account is untouched";
    EXPECT_EQ(0, admin.idGroup);
    EXPECT_NE(std::string::npos, ListLine(1).find("boss")) << "the row stays on screen";
    EXPECT_NE(std::string::npos, ListLine(1).find("4:システム"));
}

TEST_F(UserScreenTest, RefusedValuesAreToldOnTheTitleLine) {
    Open();
    struct Case {
        int x;
        const char* typed;
        std::string told;
    };
    const Case cases[] = {
        {kFromX, "25:99", "時刻は 00:00 から 23:59 までです。"},
        {kGroupX, "9", CCRWA_List::NotListedText(9)},
        {kLevelX, "7", CCRWA_List::NotListedText(7)},
    };
    for (const Case& c : cases) {
        ClickCell(c.x, 3);
        const size_t beeps = Window().m_beeps.size();
        TypeAndEnter(c.typed);
        EXPECT_EQ(beeps + 1, Window().m_beeps.size()) << c.typed;
        EXPECT_EQ(c.told, Screen().Notice()) << c.typed;
        EXPECT_NE(std::string::npos, Line(0).find(c.told)) << "on the title line";
        Key(VK_ESCAPE);
    }
    Window().AdvanceTime(CCRWA_Tokeiya::kNoticeMs);
    EXPECT_EQ("", Screen().Notice());
    EXPECT_EQ(std::string::npos, Line(0).find_first_not_of(' '));
    EXPECT_EQ(1, Stored(1).idGroup);
    EXPECT_EQ(3, Stored(1).nLevel);
}

TEST_F(UserScreenTest, ANameCutAtTheFieldsEndIsTold) {
    Open();
    const std::string told = CCRWA_Tokeiya::FullFieldText(20);
    struct Case {
        const char* how;
        bool paste;
        std::string text;
        std::string kept;
    };
    const Case cases[] = {
        {"typed", false, std::string(21, 'x'), std::string(20, 'x')},
        {"pasted", true, std::string(25, 'y'), std::string(20, 'y')},
        // The eleventh double-byte character would need cells 21 and 22.
        {"pasted", true, "あいうえおかきくけこさ", "あいうえおかきくけこ"},
        {"typed to the brim", false, std::string(20, 'z'), ""},
    };
    for (const Case& c : cases) {
        ClickCell(kNameX, 4);  // the blank row
        Key(VK_END);
        Key(VK_BACK, 20);
        const size_t beeps = Window().m_beeps.size();
        if (c.paste) {
            Window().SetClipboardText(c.text);
            Window().Press('V', kCtrl);
            Window().Pump();
        } else {
            Window().Type(c.text);
            Window().Pump();
        }
        if (c.kept.empty()) {
            EXPECT_EQ(beeps, Window().m_beeps.size()) << c.how;
            EXPECT_EQ("", Screen().Notice()) << c.how;
        } else {
            EXPECT_EQ(beeps + 1, Window().m_beeps.size()) << c.how;
            EXPECT_EQ(told, Screen().Notice()) << c.how;
            Key(VK_RETURN);
            EXPECT_EQ(c.kept, Screen().List().Rows()[1].strUserName) << c.how;
        }
        Key(VK_ESCAPE);
        Window().AdvanceTime(CCRWA_Tokeiya::kNoticeMs);
    }
}

TEST_F(UserScreenTest, AUserCannotBeGivenTheAdministrationLevel) {
    AddUser(2, "taro", 2, 1);
    Open();
    ClickCell(kLevelX, 4);
    TypeAndEnter("4");
    EXPECT_EQ(CCRWA_User::kNoAdministrator, Screen().Notice());
    EXPECT_EQ(1, Stored(2).nLevel) << "the user stays where the lists find them";
    EXPECT_EQ(1, Screen().List().Rows()[1].nLevel);
    EXPECT_EQ(3, Screen().Column()) << "the cursor stays";
    // A level the user may have is taken as before.
    Key(VK_ESCAPE);
    TypeAndEnter("2");
    EXPECT_EQ(2, Stored(2).nLevel);
}

TEST_F(UserScreenTest, ANameAnotherUserHasIsRefused) {
    AddUser(2, "taro", 2, 1);
    AddUser(3, "jiro", 1, 0);  // retired, not listed
    Open();
    struct Case {
        int line;
        const char* name;
        bool refused;
    };
    const Case cases[] = {
        {4, "hanako", true},   // another listed user
        {4, "jiro", true},     // a retired one
        {4, "tokeiya", true},  // the administration account
        {3, "hanako", false},  // the user's own name again
        {5, "taro", true},     // a new user
        {4, "saburo", false},
    };
    for (const Case& c : cases) {
        ClickCell(kNameX, c.line);
        Key(VK_END);
        Key(VK_BACK, 20);
        const std::string before =
            Screen().List().Rows()[static_cast<size_t>(c.line - 3)].strUserName;
        const size_t beeps = Window().m_beeps.size();
        TypeAndEnter(c.name);
        const std::string now = Screen().List().Rows()[static_cast<size_t>(c.line - 3)].strUserName;
        if (c.refused) {
            EXPECT_EQ(beeps + 1, Window().m_beeps.size()) << c.name;
            EXPECT_EQ(CCRWA_User::kNameTaken, Screen().Notice()) << c.name;
            EXPECT_EQ(before, now) << c.name;
            Key(VK_ESCAPE);
        } else {
            EXPECT_EQ(beeps, Window().m_beeps.size()) << c.name;
            EXPECT_EQ(c.name, now);
        }
    }
    EXPECT_EQ("saburo", Stored(2).strUserName);
    EXPECT_EQ("hanako", Stored(1).strUserName);
    EXPECT_EQ(3, UserCount()) << "no second taro";
}

TEST_F(UserScreenTest, PagesScrollingAndTheMouse) {
    for (int id = 2; id <= 30; ++id) {
        AddUser(id, "user" + std::to_string(id), 1, 1);
    }
    Start("tokeiya", "");
    ASSERT_TRUE(Window().ChooseCommand(command::kUserSettings));
    Window().Pump();
    ASSERT_EQ(ScreenId::Users, View().CurrentScreen());
    ASSERT_EQ(31, Screen().List().Count());

    Key(VK_NEXT);
    EXPECT_EQ(6, Screen().Top());
    EXPECT_EQ(25, Screen().Top() + Screen().Cursor());
    Key(VK_NEXT);
    EXPECT_EQ(30, Screen().Top() + Screen().Cursor());
    Key(VK_DOWN);
    EXPECT_EQ(30, Screen().Top() + Screen().Cursor()) << "the blank row is the last";
    Key(VK_PRIOR, 2);
    EXPECT_EQ(0, Screen().Top() + Screen().Cursor());
    Key(VK_DOWN, 25);
    EXPECT_EQ(1, Screen().Top());
    EXPECT_EQ(24, Screen().Cursor());
    EXPECT_EQ(0u, ListLine(24).find("  26  user26"));
    Key(VK_HOME);  // Left leaves a field only from its first character
    Key(VK_LEFT);
    EXPECT_EQ(7, Screen().Column()) << "the last field of the row above";
    EXPECT_EQ(23, Screen().Cursor());

    Screen().OnScroll(2);  // the bar's thumb dragged to row 2, already on screen
    EXPECT_EQ(1, Screen().Top());
    EXPECT_EQ(1, Screen().Cursor());
    EXPECT_EQ(0, Screen().Column());

    ClickCell(85, 5);  // the base pay of screen row 2
    EXPECT_EQ(2, Screen().Cursor());
    EXPECT_EQ(4, Screen().Column());
    TypeAndEnter("1200");
    EXPECT_FLOAT_EQ(1200, Stored(4).fSalary);
    RightClickCell(kGroupX + 5, 6);
    EXPECT_EQ(3, Screen().Cursor());
    EXPECT_TRUE(CodeListOpen());
    ClickCell(kNameX, 8);
    EXPECT_EQ(3, Screen().Cursor()) << "clicks wait while a code list is open";

    Key(VK_F1 + 8);
    EXPECT_EQ(ScreenId::AdminHome, View().CurrentScreen())
        << "the administration account's start screen";
}

}  // namespace
}  // namespace tokeiya
