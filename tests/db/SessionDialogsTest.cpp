#include <glib.h>
#include <gtest/gtest.h>

#include <string>

#include "data/CCodeRZ.hpp"
#include "data/CTSchedule.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "platform/AppContext.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "shell/AppText.hpp"
#include "shell/COptionChange.hpp"
#include "shell/CPasswordChange.hpp"
#include "shell/CSetOptionDlg.hpp"
#include "shell/CSetPwdDlg.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/support/DialogScripts.hpp"
#include "tests/support/TempFolder.hpp"
#include "tests/support/TestDatabase.hpp"
#include "tests/support/TestPasswords.hpp"

namespace tokeiya {
namespace {

using Dialog = CScriptedDialog;

// A logged-in session of "hanako" (password "pw", 45 lunch minutes) whose option and
// password dialogs the test acts in.
class SessionDialogs : public ::testing::Test {
  protected:
    SessionDialogs()
        : m_db(test::Engine::SQLite),
          m_profilePath(m_folder.Path() + "/Tokeiya.ini"),
          m_profile(m_profilePath) {
        m_profile.WriteProfileString("DATABASE", "Connection", m_db.ConnectString());
        m_dialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        CUser user;
        user.strUserName = "hanako";
        user.strPasswordHash = test::CheapHash("pw");
        user.idGroup = 1;
        user.nLunchMin = 45;
        user.nStartUpMin = 5;
        EXPECT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::Table).Save(user));
        m_userId = user.idUser;
    }

    CTokeiyaDoc& LogIn() {
        test::QueueLogin(m_dialogs, "hanako", "pw");
        m_doc = std::make_unique<CTokeiyaDoc>(m_profile, m_dialogs, "PC");
        EXPECT_TRUE(m_doc->Create());
        m_dialogs.m_messages.clear();
        return *m_doc;
    }

    CUser StoredUser() {
        CUser user;
        EXPECT_TRUE(CTUser(m_db.Connection(), CTUser::Mode::View).LoadById(m_userId, user));
        return user;
    }

    std::string SettingsFile() {
        gchar* contents = nullptr;
        gsize length = 0;
        if (!g_file_get_contents(m_profilePath.c_str(), &contents, &length, nullptr)) {
            return {};
        }
        std::string text(contents, length);
        g_free(contents);
        return text;
    }

    void QueueOptions(std::function<void(Dialog&)> act) {
        m_dialogs.QueueDialog([act = std::move(act)](Dialog& dialog) {
            ASSERT_EQ("オプション設定", dialog.Model().Caption());
            act(dialog);
        });
    }

    // The password dialog with these three values typed in and OK pressed.
    void QueuePasswordChange(const std::string& oldPassword, const std::string& newPassword,
                             const std::string& confirmation) {
        m_dialogs.QueueDialog([=](Dialog& dialog) {
            ASSERT_EQ("パスワード変更", dialog.Model().Caption());
            dialog.Type(CSetPwdDlg::kOldPassword, oldPassword);
            dialog.Type(CSetPwdDlg::kNewPassword, newPassword);
            dialog.Type(CSetPwdDlg::kConfirmation, confirmation);
            EXPECT_TRUE(dialog.PressOk()) << dialog.Notice();
        });
    }

    // An administrator on another computer changes the user after the login: the pay, the
    // group, the level, the cool-down minutes and, unless `keepPassword`, the password; the
    // values differ with `round`.
    void AdministratorChangesTheUser(bool keepPassword, int round = 0) {
        CUser read;
        ASSERT_TRUE(CTUser(m_db.Connection(), CTUser::Mode::View).LoadById(m_userId, read));
        CUser changed = read;
        changed.fSalary = static_cast<float>(1200 + round);
        changed.idGroup = 2 + round;
        changed.nLevel = 2 + round;
        changed.nCoolDownMin = 7 + round;
        if (!keepPassword) {
            changed.strPasswordHash = test::CheapHash("adm" + std::to_string(round));
        }
        ASSERT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::Table).Save(changed, &read));
    }
    void ExpectTheAdministratorsChanges(const CUser& stored, bool keptPassword, int round = 0) {
        EXPECT_EQ(1200 + round, stored.fSalary);
        EXPECT_EQ(2 + round, stored.idGroup);
        EXPECT_EQ(2 + round, stored.nLevel);
        EXPECT_EQ(7 + round, stored.nCoolDownMin);
        if (!keptPassword) {
            EXPECT_TRUE(test::HasPassword(stored, "adm" + std::to_string(round)));
        }
    }

    test::NoSecretService m_noSecretService;
    ScopedAppContext m_context;
    test::TempFolder m_folder;
    test::TestDatabase m_db;
    std::string m_profilePath;
    CProfileStore m_profile;
    CScriptedDialogs m_dialogs;
    int m_userId = 0;
    std::unique_ptr<CTokeiyaDoc> m_doc;
};

// Another computer's changes to the user since the login stay: each dialog stores only
// the fields it changed, also when OK is pressed without a change.
TEST_F(SessionDialogs, TheOptionDialogStoresOnlyTheMinutesChanged) {
    // First OK without a change (the user has 45 minutes), then a change.
    const char* const lunches[] = {"45", "30"};
    for (int round = 0; round < 2; ++round) {
        const char* lunch = lunches[round];
        SCOPED_TRACE(lunch);
        CTokeiyaDoc& doc = LogIn();
        // The login of the next round needs the password: changed only in the last.
        const bool keepPassword = round == 0;
        ASSERT_NO_FATAL_FAILURE(AdministratorChangesTheUser(keepPassword, round));
        QueueOptions([lunch](Dialog& dialog) {
            dialog.Type(CSetOptionDlg::kLunchMin, lunch);
            dialog.PressOk();
        });
        EXPECT_TRUE(COptionChange(doc).Run());
        const CUser stored = StoredUser();
        EXPECT_EQ(std::stoi(lunch), stored.nLunchMin);
        ExpectTheAdministratorsChanges(stored, keepPassword, round);
    }
}

TEST_F(SessionDialogs, ThePasswordChangeStoresOnlyThePassword) {
    CTokeiyaDoc& doc = LogIn();
    ASSERT_NO_FATAL_FAILURE(AdministratorChangesTheUser(true));
    QueuePasswordChange("pw", "neu", "neu");
    EXPECT_TRUE(CPasswordChange(doc).Run());
    const CUser stored = StoredUser();
    EXPECT_TRUE(test::HasPassword(stored, "neu"));
    ExpectTheAdministratorsChanges(stored, true);
}

TEST_F(SessionDialogs, OutOfRangeAndNonNumericMinutesAreRefusedAndTheDialogStaysOpen) {
    CTokeiyaDoc& doc = LogIn();
    QueueOptions([](Dialog& dialog) {
        EXPECT_EQ("5", dialog.Text(CSetOptionDlg::kStartUpMin)) << "the user's own minutes";
        dialog.Type(CSetOptionDlg::kStartUpMin, "61");
        EXPECT_FALSE(dialog.PressOk());
        EXPECT_EQ("0 から 60 までの整数を入力してください。", dialog.Notice());
        EXPECT_EQ(CSetOptionDlg::kStartUpMin, dialog.Focus());

        dialog.Type(CSetOptionDlg::kStartUpMin, "10");
        dialog.Type(CSetOptionDlg::kTimeView, "30秒");
        EXPECT_FALSE(dialog.PressOk());
        EXPECT_EQ("整数を入力してください。", dialog.Notice());
        EXPECT_EQ(CSetOptionDlg::kTimeView, dialog.Focus());

        dialog.Type(CSetOptionDlg::kTimeView, "301");
        EXPECT_FALSE(dialog.PressOk());
        EXPECT_EQ("0 から 300 までの整数を入力してください。", dialog.Notice());
        dialog.Type(CSetOptionDlg::kTimeView, "300");
        EXPECT_TRUE(dialog.PressOk());
    });
    EXPECT_TRUE(COptionChange(doc).Run());
    EXPECT_EQ(10, StoredUser().nStartUpMin);
    EXPECT_EQ(300, m_profile.GetProfileInt("ALARM", "TimeView", -1));
    EXPECT_TRUE(m_dialogs.m_messages.empty());
}

TEST_F(SessionDialogs, UntickingTheLoginDialogBoxWritesNotViewDialog) {
    CTokeiyaDoc& doc = LogIn();
    QueueOptions([](Dialog& dialog) {
        EXPECT_TRUE(dialog.Checked(CSetOptionDlg::kShowLogin));
        dialog.Check(CSetOptionDlg::kShowLogin, false);
        dialog.PressOk();
    });
    EXPECT_TRUE(COptionChange(doc).Run());
    EXPECT_EQ(1, m_profile.GetProfileInt("LOGIN", "NotViewDialog", -1));

    // Shown again, the box is unticked; ticking it writes 0.
    QueueOptions([](Dialog& dialog) {
        EXPECT_FALSE(dialog.Checked(CSetOptionDlg::kShowLogin));
        dialog.Check(CSetOptionDlg::kShowLogin, true);
        dialog.PressOk();
    });
    EXPECT_TRUE(COptionChange(doc).Run());
    EXPECT_EQ(0, m_profile.GetProfileInt("LOGIN", "NotViewDialog", -1));
}

TEST_F(SessionDialogs, ChangingOnlyTheLunchMinutesStoresTheUserAndTheDefaultForNewDays) {
    CTokeiyaDoc& doc = LogIn();
    ASSERT_EQ(45, doc.GetLoggedInUser().nLunchMin);
    QueueOptions([](Dialog& dialog) {
        EXPECT_EQ("45", dialog.Text(CSetOptionDlg::kLunchMin));
        dialog.Type(CSetOptionDlg::kLunchMin, "30");
        dialog.PressOk();
    });
    EXPECT_TRUE(COptionChange(doc).Run());
    const CUser stored = StoredUser();
    EXPECT_EQ(30, stored.nLunchMin);
    EXPECT_EQ(5, stored.nStartUpMin) << "the other minutes stay";
    EXPECT_EQ(30, doc.GetLoggedInUser().nLunchMin) << "the minutes new days get";
    EXPECT_FALSE(CAppContext::Current().alarmAll) << "the alarms are left alone";

    // A day stamped now is a new day: it gets the new minutes.
    ASSERT_EQ(1, CTTimeCard(*doc.GetDatabase()).StampArrival(doc.GetLoggedInUser()));
    const CTime today = CTime::GetCurrentTime();
    CTimeCard card;
    card.idTimeCard = TimeCardKey(m_userId, today.GetYear(), today.GetMonth(), today.GetDay());
    ASSERT_EQ(1, CTTimeCard(*doc.GetDatabase()).LoadCard(card));
    EXPECT_EQ(30, card.nLunchMin);
}

TEST_F(SessionDialogs, CancelWritesNothing) {
    CTokeiyaDoc& doc = LogIn();
    const std::string before = SettingsFile();
    QueueOptions([](Dialog& dialog) {
        dialog.Check(CSetOptionDlg::kAlarmAll, true);
        dialog.Type(CSetOptionDlg::kLunchMin, "10");
        dialog.PressCancel();
    });
    EXPECT_FALSE(COptionChange(doc).Run());
    EXPECT_EQ(before, SettingsFile());
    EXPECT_EQ(45, StoredUser().nLunchMin);
    EXPECT_FALSE(CAppContext::Current().alarmAll);
}

// Settings that were never written show what is in force, so that OK without a change
// changes nothing: the window still opens at start and no stamping is switched on.
TEST_F(SessionDialogs, OkWithoutAChangeKeepsWhatIsInForce) {
    CTokeiyaDoc& doc = LogIn();
    QueueOptions([](Dialog& dialog) {
        EXPECT_TRUE(dialog.Checked(CSetOptionDlg::kOpen));
        EXPECT_FALSE(dialog.Checked(CSetOptionDlg::kSetTimeFrom));
        EXPECT_FALSE(dialog.Checked(CSetOptionDlg::kSetTimeTo));
        EXPECT_EQ("30", dialog.Text(CSetOptionDlg::kTimeView));
        dialog.PressOk();
    });
    EXPECT_TRUE(COptionChange(doc).Run());
    EXPECT_EQ(1, m_profile.GetProfileInt("WINDOW", "Open", -1));
    EXPECT_EQ(0, m_profile.GetProfileInt("OPTIN", "SetTimeForm", -1));
    EXPECT_EQ(0, m_profile.GetProfileInt("OPTIN", "SetTimeTo", -1));
    EXPECT_EQ(0, m_profile.GetProfileInt("ALARM", "AlarmAll", -1));
}

TEST_F(SessionDialogs, TheStampingAndAlarmSettingsAreWrittenAndTheAlarmFlagFollows) {
    CSchedule shared;
    shared.dateSchedule = CTime(2099, 4, 1, 9, 0, 0);
    shared.strSubject = "全員会議";
    shared.flgAlarm = 1;
    CTime latest;
    ASSERT_EQ(
        1, CTSchedule(m_db.Connection(), CTSchedule::Mode::Table).SaveSchedule(1, shared, latest));
    CTokeiyaDoc& doc = LogIn();
    EXPECT_EQ(0, doc.Alarms().Pending().idSchedule) << "everyone's alarms are off";
    QueueOptions([](Dialog& dialog) {
        dialog.Check(CSetOptionDlg::kSetTimeFrom, true);
        dialog.Check(CSetOptionDlg::kSetTimeTo, true);
        dialog.Type(CSetOptionDlg::kCoolDownMin, "15");
        dialog.Check(CSetOptionDlg::kOpen, false);
        dialog.Check(CSetOptionDlg::kAlarmAll, true);
        dialog.PressOk();
    });
    EXPECT_TRUE(COptionChange(doc).Run());
    EXPECT_EQ(1, m_profile.GetProfileInt("OPTIN", "SetTimeForm", -1));
    EXPECT_EQ(1, m_profile.GetProfileInt("OPTIN", "SetTimeTo", -1));
    EXPECT_EQ(0, m_profile.GetProfileInt("WINDOW", "Open", -1));
    EXPECT_EQ(1, m_profile.GetProfileInt("ALARM", "AlarmAll", -1));
    EXPECT_TRUE(CAppContext::Current().alarmAll);
    EXPECT_EQ("全員会議", doc.Alarms().Pending().strSubject) << "the alarms were read again";
    EXPECT_EQ(15, StoredUser().nCoolDownMin);
}

TEST_F(SessionDialogs, AFailedUserStoreIsToldAndTheUserStaysAsStored) {
    CTokeiyaDoc& doc = LogIn();
    test::FaultInjector faults(doc.GetDatabase()->Database());
    faults.FailStatements("UPDATE");
    QueueOptions([](Dialog& dialog) {
        dialog.Type(CSetOptionDlg::kLunchMin, "20");
        dialog.PressOk();
    });
    EXPECT_TRUE(COptionChange(doc).Run());
    ASSERT_EQ(1u, m_dialogs.m_messages.size());
    EXPECT_EQ(0u, m_dialogs.m_messages[0].find(text::kDatabaseError));
    EXPECT_NE(std::string::npos, m_dialogs.m_messages[0].find(test::kInjectedFailure));
    EXPECT_EQ(45, StoredUser().nLunchMin);
    EXPECT_EQ(45, doc.GetLoggedInUser().nLunchMin) << "the minutes new days get";
}

TEST_F(SessionDialogs, FiveWrongOldPasswordsEndWithTheAdministratorMessage) {
    CTokeiyaDoc& doc = LogIn();
    for (int i = 0; i < 5; ++i) {
        QueuePasswordChange("bad" + std::to_string(i), "new", "new");
    }
    EXPECT_FALSE(CPasswordChange(doc).Run());
    std::vector<std::string> expected(5, text::kOldPasswordWrong);
    expected.push_back(text::kAskAdministratorForPassword);
    EXPECT_EQ(expected, m_dialogs.m_messages);
    const auto shown = m_dialogs.Shown("パスワード変更");
    ASSERT_EQ(5u, shown.size());
    EXPECT_EQ("hanako", shown[0].Field(CSetPwdDlg::kUserName).text);
    EXPECT_EQ("", shown[0].Field(CSetPwdDlg::kOldPassword).text);
    EXPECT_EQ("bad0", shown[1].Field(CSetPwdDlg::kOldPassword).text)
        << "shown again as the user left it";
    CUser user;
    EXPECT_EQ(CTUser::Login::Verified,
              CTUser(m_db.Connection(), CTUser::Mode::View).VerifyLogin("hanako", "pw", user));
}

TEST_F(SessionDialogs, AMismatchedConfirmationIsToldAndCanBeCorrected) {
    m_profile.WriteProfileInt("LOGIN", "SavePwd", 1);
    CTokeiyaDoc& doc = LogIn();
    QueuePasswordChange("pw", "secret", "secrte");
    QueuePasswordChange("pw", "secret", "secret");
    EXPECT_TRUE(CPasswordChange(doc).Run());
    EXPECT_EQ((std::vector<std::string>{text::kConfirmationDiffers, text::kPasswordChanged}),
              m_dialogs.m_messages);
    CUser user;
    EXPECT_EQ(CTUser::Login::Verified,
              CTUser(m_db.Connection(), CTUser::Mode::View).VerifyLogin("hanako", "secret", user));
    EXPECT_TRUE(test::HasPassword(doc.GetLoggedInUser(), "secret"));
    EXPECT_EQ("secret", test::RememberedPassword(m_profile, "hanako"));
}

TEST_F(SessionDialogs, AnEmptyNewPasswordIsAcceptedAndStored) {
    m_profile.WriteProfileInt("LOGIN", "SavePwd", 1);
    CTokeiyaDoc& doc = LogIn();
    ASSERT_EQ("pw", test::RememberedPassword(m_profile, "hanako"));
    QueuePasswordChange("pw", "", "");
    EXPECT_TRUE(CPasswordChange(doc).Run());
    EXPECT_EQ(std::vector<std::string>{text::kPasswordChanged}, m_dialogs.m_messages);
    CUser user;
    EXPECT_EQ(CTUser::Login::Verified,
              CTUser(m_db.Connection(), CTUser::Mode::View).VerifyLogin("hanako", "", user));
    EXPECT_EQ(std::nullopt, test::RememberedPassword(m_profile, "hanako"));
    EXPECT_TRUE(StoredUser().strPasswordHash.empty());
}

TEST_F(SessionDialogs, WithoutSavedLoginThePasswordIsNotRemembered) {
    CTokeiyaDoc& doc = LogIn();
    QueuePasswordChange("pw", "secret", "secret");
    EXPECT_TRUE(CPasswordChange(doc).Run());
    // The login without saving remembered no password; none is remembered now.
    EXPECT_EQ(std::nullopt, test::RememberedPassword(m_profile, "hanako"));
    EXPECT_EQ("missing", m_profile.GetProfileString("LOGIN", "Password", "missing"));
    EXPECT_TRUE(test::HasPassword(StoredUser(), "secret"));
}

// The administration account is never remembered; changing its password must not put it
// in place of the remembered user's.
TEST_F(SessionDialogs, AnotherUsersRememberedPasswordIsLeftAlone) {
    m_profile.WriteProfileInt("LOGIN", "SavePwd", 1);
    test::QueueLogin(m_dialogs, "tokeiya", "");
    test::QueuePasswordPutOff(m_dialogs);
    CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
    ASSERT_TRUE(doc.Create());
    m_profile.WriteProfileString("LOGIN", "User", "hanako");
    ASSERT_TRUE(
        CFileServerPasswords(m_folder.Path() + "/Tokeiya-passwords", SecretKind::LoginPassword)
            .Save("hanako", "pw"));
    QueuePasswordChange("", "admin", "admin");
    EXPECT_TRUE(CPasswordChange(doc).Run());
    EXPECT_EQ(std::vector<std::string>{text::kPasswordChanged}, m_dialogs.m_messages);
    EXPECT_EQ("pw", test::RememberedPassword(m_profile, "hanako"));
    EXPECT_EQ(std::nullopt, test::RememberedPassword(m_profile, "tokeiya"));
    CUser admin;
    EXPECT_EQ(CTUser::Login::Verified,
              CTUser(m_db.Connection(), CTUser::Mode::View).VerifyLogin("tokeiya", "admin", admin));
}

TEST_F(SessionDialogs, TheAdministrationAccountIsAskedForAPasswordUntilItHasOne) {
    for (int login = 0; login < 2; ++login) {
        test::QueueLogin(m_dialogs, "tokeiya", "");
        m_dialogs.QueueDialog([](Dialog& dialog) {
            ASSERT_EQ("パスワード変更", dialog.Model().Caption());
            EXPECT_EQ(text::kAdministratorPasswordEmpty, dialog.Notice());
            EXPECT_EQ(std::string::npos, dialog.Notice().find('\n')) << "one line";
            dialog.PressCancel();
        });
        CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
        ASSERT_TRUE(doc.Create()) << "putting it off still logs in";
        EXPECT_EQ(0, doc.GetLoggedInUser().idUser);
    }
    EXPECT_TRUE(m_dialogs.m_messages.empty());

    test::QueueLogin(m_dialogs, "tokeiya", "");
    QueuePasswordChange("", "admin", "admin");
    {
        CTokeiyaDoc doc(m_profile, m_dialogs, "PC");
        ASSERT_TRUE(doc.Create());
        EXPECT_TRUE(test::HasPassword(doc.GetLoggedInUser(), "admin"));
    }
    EXPECT_EQ(std::vector<std::string>{text::kPasswordChanged}, m_dialogs.m_messages);

    // With a password the login opens nothing more; other users were never asked.
    test::QueueLogin(m_dialogs, "tokeiya", "admin");
    EXPECT_TRUE(CTokeiyaDoc(m_profile, m_dialogs, "PC").Create());
    CUser hanako = StoredUser();
    hanako.strPasswordHash.clear();
    ASSERT_EQ(1, CTUser(m_db.Connection(), CTUser::Mode::Table).Save(hanako));
    test::QueueLogin(m_dialogs, "hanako", "");
    EXPECT_TRUE(CTokeiyaDoc(m_profile, m_dialogs, "PC").Create());
    EXPECT_EQ(1u, m_dialogs.m_messages.size());
}

TEST_F(SessionDialogs, AnOverlongPasswordIsRefusedByTheField) {
    CTokeiyaDoc& doc = LogIn();
    m_dialogs.QueueDialog([](Dialog& dialog) {
        EXPECT_EQ(CSetPwdDlg::kOldPassword, dialog.Focus());
        dialog.Type(CSetPwdDlg::kOldPassword, "pw");
        dialog.Type(CSetPwdDlg::kNewPassword, "12345678901");
        dialog.Type(CSetPwdDlg::kConfirmation, "12345678901");
        EXPECT_FALSE(dialog.PressOk());
        EXPECT_EQ("10 文字以内で入力してください。", dialog.Notice());
        EXPECT_EQ(CSetPwdDlg::kNewPassword, dialog.Focus());
        // Six double-byte characters are twelve bytes: too long as well.
        dialog.Type(CSetPwdDlg::kNewPassword, "あいうえおか");
        EXPECT_FALSE(dialog.PressOk());
        dialog.Type(CSetPwdDlg::kNewPassword, "あいうえお");
        dialog.Type(CSetPwdDlg::kConfirmation, "あいうえお");
        EXPECT_TRUE(dialog.PressOk());
    });
    EXPECT_TRUE(CPasswordChange(doc).Run());
    EXPECT_EQ(std::vector<std::string>{text::kPasswordChanged}, m_dialogs.m_messages);
    EXPECT_TRUE(test::HasPassword(StoredUser(), "あいうえお"));
}

TEST_F(SessionDialogs, AFailedPasswordStoreIsToldAndNothingChanges) {
    m_profile.WriteProfileInt("LOGIN", "SavePwd", 1);
    CTokeiyaDoc& doc = LogIn();
    test::FaultInjector faults(doc.GetDatabase()->Database());
    faults.FailStatements("UPDATE");
    QueuePasswordChange("pw", "secret", "secret");
    EXPECT_FALSE(CPasswordChange(doc).Run());
    ASSERT_EQ(1u, m_dialogs.m_messages.size());
    EXPECT_EQ(0u, m_dialogs.m_messages[0].find(text::kDatabaseError));
    EXPECT_TRUE(test::HasPassword(doc.GetLoggedInUser(), "pw"));
    EXPECT_EQ("pw", test::RememberedPassword(m_profile, "hanako"));
}

// A hash that cannot be computed (the memory refused) refuses the change: nothing stored,
// nothing remembered, the old password still logs in.
TEST_F(SessionDialogs, APasswordThatCannotBeHashedIsRefusedAndNothingIsStored) {
    m_profile.WriteProfileInt("LOGIN", "SavePwd", 1);
    CTokeiyaDoc& doc = LogIn();
    const std::string before = StoredUser().strPasswordHash;
    doc.SetPasswordHash(CPasswordHash({1, ~size_t{0}}));
    QueuePasswordChange("pw", "secret", "secret");
    EXPECT_FALSE(CPasswordChange(doc).Run());
    EXPECT_EQ(std::vector<std::string>{CPasswordHash::kHashFailed}, m_dialogs.m_messages);
    EXPECT_EQ(before, StoredUser().strPasswordHash);
    EXPECT_EQ(before, doc.GetLoggedInUser().strPasswordHash);
    EXPECT_EQ("pw", test::RememberedPassword(m_profile, "hanako"));
}

}  // namespace
}  // namespace tokeiya
