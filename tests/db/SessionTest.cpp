#include <glib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "data/CCodeRZ.hpp"
#include "data/CTLogin.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/CVBDBFunc.hpp"
#include "data/TimeValue.hpp"
#include "platform/AppContext.hpp"
#include "platform/Cp932.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "shell/AppText.hpp"
#include "shell/CLoginDlg.hpp"
#include "shell/CTokeiyaApp.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "shell/ConnectionSettings.hpp"
#include "tests/support/DialogScripts.hpp"
#include "tests/support/TempFolder.hpp"
#include "tests/support/TestDatabase.hpp"
#include "tests/support/TestPasswords.hpp"

namespace tokeiya {
namespace {

using test::Engine;

// A session on a fresh database, with a settings file that points at it and a desktop that
// answers from a script.
class Session : public ::testing::TestWithParam<Engine> {
  protected:
    Session() : m_db(GetParam()), m_profile(m_folder.Path() + "/Tokeiya.ini") {
        // A reconnection keeps server passwords in the password file: never the real one.
        setenv("PGPASSFILE", (m_folder.Path() + "/pgpass").c_str(), 1);
        m_profile.WriteProfileString("DATABASE", "Connection", m_db.ConnectString());
        m_dialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        CUser user;
        user.strUserName = "hanako";
        user.strPasswordHash = test::CheapHash("pw");
        user.idGroup = 1;
        user.nLunchMin = 45;
        EXPECT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::Table).Save(user));
        m_userId = user.idUser;
    }

    ~Session() override { unsetenv("PGPASSFILE"); }

    int LoginRows() {
        CTLogin login(m_db.Connection());
        EXPECT_TRUE(login.Open());
        int n = 0;
        for (; !login.IsEOF(); login.MoveNext()) {
            ++n;
        }
        return n;
    }

    test::NoSecretService m_noSecretService;
    ScopedAppContext m_context;
    test::TempFolder m_folder;
    test::TestDatabase m_db;
    CProfileStore m_profile;
    CScriptedDialogs m_dialogs;
    int m_userId = 0;
};

TEST_P(Session, LogsInRecordsTheLoginAndLogsOutAtTheEnd) {
    test::QueueLogin(m_dialogs, "hanako", "pw");
    {
        CTokeiyaDoc doc(m_profile, m_dialogs, "PC-7");
        ASSERT_TRUE(doc.Create());
        EXPECT_TRUE(m_dialogs.m_messages.empty());
        EXPECT_EQ(m_userId, doc.GetLoggedInUser().idUser);
        EXPECT_EQ("とけい屋! hanako", doc.GetTitleText());
        EXPECT_EQ(45, doc.GetLoggedInUser().nLunchMin) << "new days get the user's minutes";
        ASSERT_NE(0, doc.GetLoginId());

        CTLogin login(m_db.Connection());
        login.m_strFilter = "[idLogin]=?";
        login.m_params = {DbValue(doc.GetLoginId())};
        ASSERT_TRUE(login.Open());
        EXPECT_EQ("PC-7", login.m_strPCName);
        EXPECT_EQ(m_userId, login.m_idUser);
        EXPECT_FALSE(IsEmptyTime(login.m_dateLogin));
        EXPECT_TRUE(IsEmptyTime(login.m_dateLogout));
    }
    CTLogin login(m_db.Connection());
    ASSERT_TRUE(login.Open());
    EXPECT_FALSE(IsEmptyTime(login.m_dateLogout)) << "the logout is written when the session ends";
}

TEST_P(Session, SixFailedAttemptsEndWithTheAdministratorMessage) {
    for (int i = 0; i < 6; ++i) {
        if (i == 2) {
            test::QueueLogin(m_dialogs, "nobody", "pw");
        } else {
            test::QueueLogin(m_dialogs, "hanako", "wrong");
        }
    }
    CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
    EXPECT_FALSE(doc.Create());
    std::vector<std::string> expected(5, text::kWrongPassword);
    expected[2] = text::kWrongUserName;
    expected.push_back(text::kAskAdministrator);
    expected.push_back(text::kLoginParametersFailed);
    EXPECT_EQ(expected, m_dialogs.m_messages);
    EXPECT_EQ(6u, test::ShownLogins(m_dialogs).size());
    EXPECT_EQ(nullptr, doc.GetDatabase());
    EXPECT_EQ(0, LoginRows()) << "a failed login writes nothing";
}

TEST_P(Session, CancellingTheLoginShowsOnlyTheLoginParameterMessage) {
    test::QueueLoginCancel(m_dialogs);
    CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
    EXPECT_FALSE(doc.Create());
    EXPECT_EQ(std::vector<std::string>{text::kLoginParametersFailed}, m_dialogs.m_messages);
    EXPECT_EQ(0, LoginRows());
}

TEST_P(Session, SilentFirstAttemptWithoutSavedCredentials) {
    // The no-dialog flag without the save flag: the first try uses an empty user name.
    m_profile.WriteProfileInt("LOGIN", "NotViewDialog", 1);
    m_profile.WriteProfileInt("LOGIN", "SavePwd", 0);
    m_profile.WriteProfileString("LOGIN", "User", "hanako");
    test::QueueLogin(m_dialogs, "hanako", "pw");
    CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
    ASSERT_TRUE(doc.Create());
    EXPECT_EQ(std::vector<std::string>{text::kWrongUserName}, m_dialogs.m_messages);
    const auto logins = test::ShownLogins(m_dialogs);
    ASSERT_EQ(1u, logins.size());
    EXPECT_EQ("", logins[0].Field(CLoginDlg::kUserName).text);
    EXPECT_FALSE(logins[0].Field(CLoginDlg::kNotView).checked) << "no-dialog needs the save flag";
    EXPECT_FALSE(logins[0].Field(CLoginDlg::kNotView).enabled);
}

// A settings file of an earlier version holds the password scrambled: it still logs in
// without the dialog, and the password moves to the private store, its key removed.
TEST_P(Session, SavedCredentialsLogInWithoutTheDialogAndLeaveTheSettingsFile) {
    m_profile.WriteProfileInt("LOGIN", "SavePwd", 1);
    m_profile.WriteProfileInt("LOGIN", "NotViewDialog", 1);
    m_profile.WriteProfileString("LOGIN", "User", "hanako");
    m_profile.WriteProfileString("LOGIN", "Password", ScramblePassword("pw"));
    for (int start = 0; start < 2; ++start) {
        CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
        ASSERT_TRUE(doc.Create()) << start;
        EXPECT_TRUE(test::ShownLogins(m_dialogs).empty());
        EXPECT_TRUE(m_dialogs.m_messages.empty());
        EXPECT_EQ("missing", m_profile.GetProfileString("LOGIN", "Password", "missing"));
        EXPECT_EQ("pw", test::RememberedPassword(m_profile, "hanako"));
    }
}

TEST_P(Session, SavingTheLoginKeepsOnlyTheScrambledPassword) {
    test::QueueLogin(m_dialogs, [](CScriptedDialog& dialog) {
        dialog.Type(CLoginDlg::kUserName, "hanako");
        dialog.Type(CLoginDlg::kPassword, "pw");
        EXPECT_FALSE(dialog.Enabled(CLoginDlg::kNotView)) << "no-dialog needs the save flag";
        dialog.Check(CLoginDlg::kSave, true);
        dialog.Check(CLoginDlg::kNotView, true);
        dialog.PressOk();
    });
    {
        CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
        ASSERT_TRUE(doc.Create());
    }
    EXPECT_EQ(1, m_profile.GetProfileInt("LOGIN", "SavePwd", -1));
    EXPECT_EQ(1, m_profile.GetProfileInt("LOGIN", "NotViewDialog", -1));
    EXPECT_EQ("hanako", m_profile.GetProfileString("LOGIN", "User", "?"));
    EXPECT_EQ("missing", m_profile.GetProfileString("LOGIN", "Password", "missing"));
    EXPECT_EQ("pw", test::RememberedPassword(m_profile, "hanako"));
    struct stat st {};
    ASSERT_EQ(0, stat((m_folder.Path() + "/Tokeiya-passwords").c_str(), &st));
    EXPECT_EQ(0600u, st.st_mode & 0777u);

    // Next time without saving: both texts are emptied.
    test::QueueLogin(m_dialogs, [](CScriptedDialog& dialog) {
        EXPECT_EQ("hanako", dialog.Text(CLoginDlg::kUserName));
        EXPECT_EQ(CLoginDlg::kPassword, dialog.Focus()) << "the name is there: the password next";
        EXPECT_TRUE(dialog.Checked(CLoginDlg::kSave));
        dialog.Check(CLoginDlg::kNotView, true);
        dialog.Check(CLoginDlg::kSave, false);  // which clears the no-dialog box
        EXPECT_FALSE(dialog.Checked(CLoginDlg::kNotView));
        dialog.PressOk();
    });
    m_profile.WriteProfileInt("LOGIN", "NotViewDialog", 0);
    {
        CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
        ASSERT_TRUE(doc.Create());
    }
    EXPECT_EQ(0, m_profile.GetProfileInt("LOGIN", "SavePwd", -1));
    EXPECT_EQ(0, m_profile.GetProfileInt("LOGIN", "NotViewDialog", -1));
    EXPECT_EQ("", m_profile.GetProfileString("LOGIN", "User", "?"));
    EXPECT_EQ(std::nullopt, test::RememberedPassword(m_profile, "hanako"));
}

TEST_P(Session, TheAdministrationAccountLeavesTheLoginKeysAlone) {
    test::QueueLogin(m_dialogs, [](CScriptedDialog& dialog) {
        dialog.Type(CLoginDlg::kUserName, "tokeiya");
        dialog.Check(CLoginDlg::kSave, true);
        dialog.PressOk();
    });
    test::QueuePasswordPutOff(m_dialogs);
    CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
    ASSERT_TRUE(doc.Create());
    EXPECT_EQ(0, doc.GetLoggedInUser().idUser);
    for (const char* key : {"SavePwd", "NotViewDialog", "User", "Password"}) {
        EXPECT_EQ("missing", m_profile.GetProfileString("LOGIN", key, "missing")) << key;
    }
}

TEST_P(Session, TheCompletedConnectionIsStoredWithoutPassword) {
    test::QueueLogin(m_dialogs, "hanako", "pw");
    CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
    ASSERT_TRUE(doc.Create());
    std::string stored = m_profile.GetProfileString("DATABASE", "Connection", "");
    EXPECT_EQ(std::string::npos, stored.find("PWD=")) << stored;
    EXPECT_NE(std::string::npos, stored.find("DRIVER=")) << stored;
    // What was stored connects again.
    test::QueueLogin(m_dialogs, "hanako", "pw");
    CTokeiyaDoc again(m_profile, m_dialogs, "PC");
    EXPECT_TRUE(again.Create());
}

TEST_P(Session, AFailedReconnectionKeepsTheCurrentSession) {
    test::QueueLogin(m_dialogs, "hanako", "pw");
    CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
    ASSERT_TRUE(doc.Create());
    CConnection* before = doc.GetDatabase();
    int loginId = doc.GetLoginId();

    test::QueueConnection(m_dialogs, [](ConnectionForm&) { return false; });
    EXPECT_FALSE(doc.Connect(false));
    EXPECT_EQ(before, doc.GetDatabase());
    EXPECT_EQ(loginId, doc.GetLoginId());
    EXPECT_TRUE(m_dialogs.m_messages.empty()) << "a cancelled dialog is no failure";

    // A reconnection to the same database whose login is cancelled changes nothing either.
    test::QueueConnection(m_dialogs, [](ConnectionForm&) { return true; });
    test::QueueLoginCancel(m_dialogs);
    EXPECT_FALSE(doc.Connect(false));
    EXPECT_EQ(before, doc.GetDatabase());
    EXPECT_EQ(text::kLoginParametersFailed, m_dialogs.m_messages.back());
}

TEST_P(Session, AnUnreachableStoredConnectionAsksAndCanBeCancelled) {
    m_profile.WriteProfileString("DATABASE", "Connection",
                                 "DRIVER=PostgreSQL ANSI;Servername=/nonexistent;Port=1;"
                                 "Database=x;Username=x;");
    ConnectionForm shown;
    test::QueueConnection(m_dialogs, [&](ConnectionForm& form) {
        shown = form;
        return false;
    });
    CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
    EXPECT_FALSE(doc.Create());
    EXPECT_EQ(DbEngine::PostgreSQL, shown.engine);
    EXPECT_EQ("/nonexistent", shown.server);
    EXPECT_FALSE(shown.errorText.empty()) << "the driver's reason is shown in the dialog";
    EXPECT_TRUE(m_dialogs.m_messages.empty()) << "the user chose to cancel";
}

TEST_P(Session, LooksUpCodeNamesOnItsConnection) {
    test::QueueLogin(m_dialogs, "hanako", "pw");
    CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
    std::string name = "stale";
    EXPECT_EQ(0, LookupName(doc.GetDatabase(), "[dbo].[Qmユーザーレベル]", 1, name))
        << "no connection yet";
    EXPECT_EQ("", name);
    ASSERT_TRUE(doc.Create());
    EXPECT_EQ(1, LookupName(doc.GetDatabase(), "[dbo].[Qmユーザーレベル]", 1, name));
    EXPECT_EQ("ユーザー", name);
    EXPECT_EQ(0, LookupName(doc.GetDatabase(), "[dbo].[Qm丸め]", 99, name));
    EXPECT_EQ("", name);
}

TEST_P(Session, UpdateLoggedInUserTakesOverOnlyTheSameUser) {
    m_profile.WriteProfileInt("LOGIN", "SavePwd", 1);
    test::QueueLogin(m_dialogs, "hanako", "pw");
    CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
    ASSERT_TRUE(doc.Create());
    CUser other = doc.GetLoggedInUser();
    other.idUser += 1;
    other.strUserName = "someone";
    doc.UpdateLoggedInUser(other);
    EXPECT_EQ("hanako", doc.GetLoggedInUser().strUserName);

    CUser renamed = doc.GetLoggedInUser();
    renamed.strUserName = "花子";
    renamed.strPasswordHash = test::CheapHash("新");
    doc.UpdateLoggedInUser(renamed, "新");
    EXPECT_EQ("花子", doc.GetLoggedInUser().strUserName);
    EXPECT_EQ("花子", m_profile.GetProfileString("LOGIN", "User", ""));
    EXPECT_EQ("新", test::RememberedPassword(m_profile, "花子"));
    EXPECT_EQ(std::nullopt, test::RememberedPassword(m_profile, "hanako"));
}

TEST_P(Session, TheApplicationRunsOneCopyAndEndsTheSessionAfterTheMainWindow) {
    AppEnvironment environment;
    environment.profilePath = m_folder.Path() + "/Tokeiya.ini";
    environment.lockFolder = m_folder.Path();
    environment.computerName = "";
    const std::string office = m_folder.Path() + "/office/";
    environment.currentFolder = office;
    ASSERT_EQ(0, g_mkdir_with_parents(office.c_str(), 0700));
    ASSERT_TRUE(g_file_set_contents((office + "Tokeiya.ggd").c_str(), "", 0, nullptr));
    test::QueueLogin(m_dialogs, "hanako", "pw");

    CTokeiyaApp first(m_dialogs, environment);
    ASSERT_TRUE(first.InitInstance());
    EXPECT_TRUE(m_dialogs.m_messages.empty());
    EXPECT_EQ("UNKNOWN", first.GetDocument()->GetComputerName());
    EXPECT_EQ(office + "Tokeiya.ggd", CAppContext::Current().screenDefinitionFile);
    EXPECT_EQ(office + "Tokeiya.gfd", CAppContext::Current().functionKeyFile);
    EXPECT_EQ(m_folder.Path() + "/Tokeiya.pst", CAppContext::Current().printSettingsFile);
    EXPECT_EQ(office + "Tokeiya.pst", CAppContext::Current().formerPrintSettingsFile);

    // A second copy in the same session ends silently: no dialog, no row.
    CScriptedDialogs secondDialogs;
    secondDialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
    CTokeiyaApp second(secondDialogs, environment);
    EXPECT_FALSE(second.InitInstance());
    EXPECT_EQ(0, second.ExitCode());
    EXPECT_TRUE(secondDialogs.m_messages.empty());
    EXPECT_EQ(1, LoginRows());

    first.Run();
    ASSERT_EQ(1u, m_dialogs.m_mainWindowTitles.size());
    EXPECT_EQ("とけい屋! hanako", m_dialogs.m_mainWindowTitles[0]);
    EXPECT_EQ(nullptr, first.GetDocument());
    CTLogin login(m_db.Connection());
    ASSERT_TRUE(login.Open());
    EXPECT_FALSE(IsEmptyTime(login.m_dateLogout));
}

TEST_P(Session, ABlankWorkingFolderLeavesBareFileNames) {
    AppEnvironment environment;
    environment.profilePath = m_folder.Path() + "/Tokeiya.ini";
    environment.lockFolder = m_folder.Path();
    environment.currentFolder = "";
    test::QueueLoginCancel(m_dialogs);
    CTokeiyaApp app(m_dialogs, environment);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(1, app.ExitCode()) << "a failed login ends the program with status 1";
    EXPECT_EQ("Tokeiya.ggd", CAppContext::Current().screenDefinitionFile);
    // No package anywhere: told once, before the login.
    ASSERT_EQ(2u, m_dialogs.m_messages.size());
    EXPECT_EQ(text::kScreenPackageMissing, m_dialogs.m_messages[0]);
    EXPECT_EQ(text::kLoginParametersFailed, m_dialogs.m_messages[1]);
}

// A database file that cannot be made into the program's database (here: not a database
// at all) is told once, with the driver's reason, and the start ends.
TEST(SessionStart, AnEmbeddedDatabaseThatCannotBeCreatedIsToldOnce) {
    test::TempFolder folder;
    const std::string file = folder.Path() + "/tokeiya.db";
    ASSERT_TRUE(g_file_set_contents(file.c_str(), std::string(4096, 'x').c_str(), 4096, nullptr));
    CProfileStore profile(folder.Path() + "/Tokeiya.ini");
    ConnectionForm form;
    form.file = file;
    profile.WriteProfileString("DATABASE", "Connection", ConnectionSettings::Build(form, {}));
    CScriptedDialogs dialogs;
    dialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
    CTokeiyaDoc doc(profile, dialogs, "PC");
    EXPECT_FALSE(doc.Create());
    ASSERT_EQ(1u, dialogs.m_messages.size());
    EXPECT_EQ(0u, dialogs.m_messages[0].find(text::kDatabaseCreateFailed));
    EXPECT_GT(dialogs.m_messages[0].size(), std::string(text::kDatabaseCreateFailed).size())
        << "the driver's reason follows";
}

// The embedded database holds everyone's pay: a new one, and the folder it is made in, are
// for their user alone, whatever the process's umask lets through.
TEST(SessionStart, ANewEmbeddedDatabaseIsReadableByItsUserOnly) {
    test::TempFolder folder;
    const std::string file = folder.Path() + "/data/tokeiya/tokeiya.db";
    CProfileStore profile(folder.Path() + "/Tokeiya.ini");
    ConnectionForm form;
    form.file = cp932::FromUtf8(file);
    profile.WriteProfileString("DATABASE", "Connection", ConnectionSettings::Build(form, {}));
    CScriptedDialogs dialogs;
    dialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
    test::QueueLoginCancel(dialogs);
    const mode_t umaskBefore = umask(0);
    {
        CTokeiyaDoc doc(profile, dialogs, "PC");
        EXPECT_FALSE(doc.Create());
    }
    umask(umaskBefore);
    struct stat info {};
    ASSERT_EQ(0, stat(file.c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 07777);
    EXPECT_GT(info.st_size, 0) << "the tables were made in it";
    ASSERT_EQ(0, stat((folder.Path() + "/data/tokeiya").c_str(), &info));
    EXPECT_EQ(0700u, info.st_mode & 07777);
}

// However the program is started (from its build folder by `make run`, or installed), it
// finds its screen package: the start folder first, then beside the executable, then the
// installed data folder.
TEST_P(Session, TheScreenPackageIsFoundWhereverTheProgramIsStartedFrom) {
    AppEnvironment environment;
    const std::string start = m_folder.Path() + "/start/";
    const std::string program = m_folder.Path() + "/build/";
    const std::string data = m_folder.Path() + "/share/";
    for (const std::string* folder : {&start, &program, &data}) {
        ASSERT_EQ(0, g_mkdir_with_parents(folder->c_str(), 0700));
    }
    environment.currentFolder = start;
    environment.executableFolder = program;
    environment.dataFolder = data;
    auto put = [](const std::string& path) {
        ASSERT_TRUE(g_file_set_contents(path.c_str(), "", 0, nullptr));
    };
    bool found = false;
    put(data + "Tokeiya.ggd");
    EXPECT_EQ(data + "Tokeiya.ggd", environment.LocateProgramFile("Tokeiya.ggd", found));
    EXPECT_TRUE(found);
    put(program + "Tokeiya.ggd");
    EXPECT_EQ(program + "Tokeiya.ggd", environment.LocateProgramFile("Tokeiya.ggd", found));
    put(start + "Tokeiya.ggd");
    EXPECT_EQ(start + "Tokeiya.ggd", environment.LocateProgramFile("Tokeiya.ggd", found));
    EXPECT_EQ(start + "Tokeiya.gfd", environment.LocateProgramFile("Tokeiya.gfd", found));
    EXPECT_FALSE(found);
}

TEST_P(Session, StampsArrivalAtLoginAndDepartureAtExitWhenSwitchedOn) {
    auto cards = [&] {
        CTTimeCard set(m_db.Connection());
        set.m_strFilter = "[idUser]=?";
        set.m_params = {DbValue(m_userId)};
        EXPECT_TRUE(set.Open());
        std::vector<CTimeCard> list;
        for (; !set.IsEOF(); set.MoveNext()) {
            list.push_back(set.ToCard());
        }
        return list;
    };
    ScopedClockOverride clock(CTime(2024, 4, 3, 8, 3, 0).GetTime());
    // A fresh installation stamps nothing until the options are confirmed once.
    test::QueueLogin(m_dialogs, "hanako", "pw");
    {
        CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
        ASSERT_TRUE(doc.Create());
    }
    EXPECT_TRUE(cards().empty());

    m_profile.WriteProfileInt("OPTIN", "SetTimeForm", 1);
    m_profile.WriteProfileInt("OPTIN", "SetTimeTo", 1);
    test::QueueLogin(m_dialogs, "hanako", "pw");
    {
        CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
        ASSERT_TRUE(doc.Create());
        std::vector<CTimeCard> list = cards();
        ASSERT_EQ(1u, list.size());
        EXPECT_EQ(TimeOfDay(8, 3), list[0].timeFrom);
        EXPECT_TRUE(IsEmptyTime(list[0].timeTo));
        EXPECT_EQ(45, list[0].nLunchMin) << "a new day takes the user's lunch minutes";
        clock.Set(CTime(2024, 4, 3, 17, 45, 0).GetTime());
    }
    std::vector<CTimeCard> list = cards();
    ASSERT_EQ(1u, list.size());
    EXPECT_EQ(TimeOfDay(8, 3), list[0].timeFrom);
    EXPECT_EQ(TimeOfDay(17, 45), list[0].timeTo);
    EXPECT_TRUE(m_dialogs.m_messages.empty());
}

TEST_P(Session, ARetiredUserIsToldAndStampsNothingAndTheirPastCardsStay) {
    CUser hanako;
    ASSERT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::View).LoadById(m_userId, hanako));
    ScopedClockOverride clock(CTime(2024, 4, 2, 8, 0, 0).GetTime());
    ASSERT_EQ(1, CTTimeCard(m_db.Connection()).StampArrival(hanako));
    hanako.nLevel = 0;
    ASSERT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::Table).Save(hanako));

    m_profile.WriteProfileInt("OPTIN", "SetTimeForm", 1);
    clock.Set(CTime(2024, 4, 3, 8, 0, 0).GetTime());
    test::QueueLogin(m_dialogs, "hanako", "wrong");
    test::QueueLogin(m_dialogs, "hanako", "pw");
    test::QueueLoginCancel(m_dialogs);
    CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
    EXPECT_FALSE(doc.Create());
    // Only whoever knows the password learns that the user has left.
    EXPECT_EQ((std::vector<std::string>{text::kWrongPassword, text::kRetiredUser,
                                        text::kLoginParametersFailed}),
              m_dialogs.m_messages);
    EXPECT_EQ(0, LoginRows());

    CTTimeCard set(m_db.Connection());
    set.m_strFilter = "[idUser]=?";
    set.m_params = {DbValue(m_userId)};
    ASSERT_TRUE(set.Open());
    ASSERT_FALSE(set.IsEOF()) << "the past card stays";
    EXPECT_EQ(TimeOfDay(8, 0), set.ToCard().timeFrom);
    set.MoveNext();
    EXPECT_TRUE(set.IsEOF()) << "no arrival stamped for the retired user";
}

// A reconnection to another database whose login row cannot be written leaves the whole
// session as it was; the exit stamps the user of the session in force, on its database.
TEST(SessionReconnection, TheSessionSwitchesOnlyOnceTheNewLoginIsRecorded) {
    ScopedAppContext context;
    test::TempFolder folder;
    test::TestDatabase first(Engine::SQLite);
    test::TestDatabase second(Engine::SQLite);
    CProfileStore profile(folder.Path() + "/Tokeiya.ini");
    profile.WriteProfileString("DATABASE", "Connection", first.ConnectString());
    profile.WriteProfileInt("OPTIN", "SetTimeForm", 1);
    profile.WriteProfileInt("OPTIN", "SetTimeTo", 1);
    CScriptedDialogs dialogs;
    dialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
    auto addUser = [](CConnection& connection, const std::string& name) {
        CUser user;
        user.strUserName = name;
        user.strPasswordHash = test::CheapHash("pw");
        user.idGroup = 1;
        EXPECT_EQ(1, CTUser(connection, CTUser::Mode::Table).Save(user));
        return user.idUser;
    };
    const int hanako = addUser(first.Connection(), "hanako");
    addUser(second.Connection(), "someone");
    const int taro = addUser(second.Connection(), "taro");
    ASSERT_NE(hanako, taro);
    auto departures = [&](int userId) {
        CTTimeCard set(first.Connection());
        set.m_strFilter = "[idUser]=?";
        set.m_params = {DbValue(userId)};
        EXPECT_TRUE(set.Open());
        std::vector<CTimeCard> cards;
        for (; !set.IsEOF(); set.MoveNext()) {
            cards.push_back(set.ToCard());
        }
        return cards;
    };
    auto toSecond = [&](ConnectionForm& form) {
        form = ConnectionSettings::ToForm(second.ConnectString());
        return true;
    };
    ScopedClockOverride clock(CTime(2024, 4, 3, 8, 0, 0).GetTime());

    test::QueueLogin(dialogs, "hanako", "pw");
    auto doc = std::make_unique<CTokeiyaDoc>(profile, dialogs, "PC");
    ASSERT_TRUE(doc->Create());
    CConnection* before = doc->GetDatabase();
    const int loginId = doc->GetLoginId();

    second.Connection().Database().ExecuteSQL(
        "CREATE TRIGGER refuse BEFORE INSERT ON TLogIn BEGIN SELECT RAISE(ABORT, 'disk is full'); "
        "END");
    test::QueueConnection(dialogs, toSecond);
    test::QueueLogin(dialogs, "taro", "pw");
    EXPECT_FALSE(doc->Connect(false));
    ASSERT_FALSE(dialogs.m_messages.empty());
    EXPECT_EQ(text::kLoginFailed, dialogs.m_messages.back());
    EXPECT_EQ(before, doc->GetDatabase());
    EXPECT_EQ(loginId, doc->GetLoginId());
    EXPECT_EQ(hanako, doc->GetLoggedInUser().idUser);
    EXPECT_EQ("hanako", doc->GetLoggedInUser().strUserName);

    dialogs.m_messages.clear();
    clock.Set(CTime(2024, 4, 3, 17, 30, 0).GetTime());
    doc.reset();
    EXPECT_TRUE(dialogs.m_messages.empty());
    std::vector<CTimeCard> cards = departures(hanako);
    ASSERT_EQ(1u, cards.size());
    EXPECT_EQ(TimeOfDay(17, 30), cards[0].timeTo) << "the departure is the old user's";
    EXPECT_TRUE(departures(taro).empty());
}

// A reconnection that succeeds ends the old session as its own user's.
TEST(SessionReconnection, ASuccessfulReconnectionEndsTheOldSessionAsTheOldUser) {
    ScopedAppContext context;
    test::TempFolder folder;
    test::TestDatabase first(Engine::SQLite);
    test::TestDatabase second(Engine::SQLite);
    CProfileStore profile(folder.Path() + "/Tokeiya.ini");
    profile.WriteProfileString("DATABASE", "Connection", first.ConnectString());
    profile.WriteProfileInt("OPTIN", "SetTimeTo", 1);
    CScriptedDialogs dialogs;
    dialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
    CUser hanako;
    hanako.strUserName = "hanako";
    hanako.strPasswordHash = test::CheapHash("pw");
    hanako.idGroup = 1;
    ASSERT_EQ(1, CTUser(first.Connection(), CTUser::Mode::Table).Save(hanako));
    CUser taro = hanako;
    taro.idUser = 0;
    taro.strUserName = "taro";
    CUser someone = taro;
    someone.strUserName = "someone";
    ASSERT_EQ(1, CTUser(second.Connection(), CTUser::Mode::Table).Save(someone));
    ASSERT_EQ(1, CTUser(second.Connection(), CTUser::Mode::Table).Save(taro));
    ASSERT_NE(hanako.idUser, taro.idUser);
    ScopedClockOverride clock(CTime(2024, 4, 3, 17, 0, 0).GetTime());

    test::QueueLogin(dialogs, "hanako", "pw");
    CTokeiyaDoc doc(profile, dialogs, "PC");
    ASSERT_TRUE(doc.Create());
    test::QueueConnection(dialogs, [&](ConnectionForm& form) {
        form = ConnectionSettings::ToForm(second.ConnectString());
        return true;
    });
    test::QueueLogin(dialogs, "taro", "pw");
    ASSERT_TRUE(doc.Connect(false));
    EXPECT_EQ(taro.idUser, doc.GetLoggedInUser().idUser);

    CTLogin logins(first.Connection());
    ASSERT_TRUE(logins.Open());
    ASSERT_FALSE(logins.IsEOF());
    EXPECT_EQ(hanako.idUser, logins.m_idUser);
    CTTimeCard cards(first.Connection());
    ASSERT_TRUE(cards.Open());
    ASSERT_FALSE(cards.IsEOF()) << "the old user's departure is on the old database";
    EXPECT_EQ(hanako.idUser, cards.ToCard().idUser);
    EXPECT_EQ(TimeOfDay(17, 0), cards.ToCard().timeTo);
    cards.MoveNext();
    EXPECT_TRUE(cards.IsEOF());
}

INSTANTIATE_TEST_SUITE_P(Engines, Session, ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

// A store that the database refuses while the session ends: the driver's message is shown,
// nothing crashes and the connection is closed all the same.
TEST(SessionEnd, AFailingLogoutIsReportedAndTheSessionStillEnds) {
    test::TempFolder folder;
    test::TestDatabase db(Engine::SQLite);
    CProfileStore profile(folder.Path() + "/Tokeiya.ini");
    profile.WriteProfileString("DATABASE", "Connection", db.ConnectString());
    CScriptedDialogs dialogs;
    test::QueueLogin(dialogs, "tokeiya", "");
    test::QueuePasswordPutOff(dialogs);
    auto doc = std::make_unique<CTokeiyaDoc>(profile, dialogs, "PC");
    ASSERT_TRUE(doc->Create());
    db.Connection().Database().ExecuteSQL(
        "CREATE TRIGGER refuse BEFORE UPDATE ON TLogIn BEGIN SELECT RAISE(ABORT, 'disk is full'); "
        "END");
    doc->EndSession();
    EXPECT_EQ(nullptr, doc->GetDatabase());
    ASSERT_EQ(1u, dialogs.m_messages.size());
    EXPECT_NE(std::string::npos, dialogs.m_messages[0].find("disk is full"));
    doc.reset();
    EXPECT_EQ(1u, dialogs.m_messages.size()) << "the session ends once";
}

}  // namespace
}  // namespace tokeiya
