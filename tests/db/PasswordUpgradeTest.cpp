#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/CCodeRZ.hpp"
#include "data/CSchemaSetup.hpp"
#include "data/CTUser.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "platform/odbc/CRecordset.hpp"
#include "shell/AppText.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "tests/support/DialogScripts.hpp"
#include "tests/support/TempFolder.hpp"
#include "tests/support/TestDatabase.hpp"
#include "tests/support/TestPasswords.hpp"

namespace tokeiya {
namespace {

using test::Engine;

constexpr int kScrambledVersion = CSchemaSetup::kPasswordHashVersion - 1;
// Said by the database to a copy of the program from before the hashes.
constexpr const char* kOldCopyNotice = "とけい屋を新しい版に更新してください";

// A database as offices hold it before the hashes: version 4, passwords scrambled.
class PasswordUpgrade : public ::testing::TestWithParam<Engine> {
  protected:
    struct Stored {
        int id;
        const char* name;
        std::string password;
    };

    PasswordUpgrade() : m_db(GetParam(), kScrambledVersion) {
        for (const Stored& user : m_users) {
            if (user.id == 0) {
                continue;  // the seeded administration account, password empty
            }
            Sql("INSERT INTO [dbo].[Tユーザー] ([idUser],[strUserName],[strPassword],[idGroup],"
                "[nLevel]) VALUES (?,?,?,1,2)",
                {DbValue(user.id), DbValue(user.name), DbValue(ScramblePassword(user.password))});
        }
    }

    CConnection& Db() { return m_db.Connection(); }
    void Sql(const std::string& statement, const std::vector<DbValue>& params = {}) {
        Db().Database().ExecuteSQL(Db().Dialect().Render(statement), params);
    }
    std::vector<std::string> Column(const std::string& column) {
        CRecordset set(Db().Database());
        set.Open(Db().Dialect().Render("SELECT [" + column +
                                       "] FROM [dbo].[Tユーザー] ORDER BY [idUser]"),
                 {}, {DbType::Text});
        std::vector<std::string> values;
        for (; !set.IsEOF(); set.MoveNext()) {
            values.push_back(set.GetField(0).AsText());
        }
        return values;
    }
    CTUser::Login LogIn(const char* name, const std::string& password) {
        CUser user;
        return CTUser(Db(), CTUser::Mode::View).VerifyLogin(name, password, user);
    }

    // Two users share a password; one has ten bytes of CP932. The passwords are long enough
    // that a hash's random text cannot hold one by chance.
    const std::vector<Stored> m_users = {{0, "tokeiya", ""},
                                         {1, "hanako", "harusame7"},
                                         {2, "taro", "harusame7"},
                                         {3, "山田", "あいうえお"}};
    test::TestDatabase m_db;
};

TEST_P(PasswordUpgrade, EveryUserLogsInWithTheOldPasswordAndOnlyHashesAreLeft) {
    const std::vector<std::string> scrambled = Column("strPassword");
    CSchemaSetup setup(Db(), CPasswordHash(test::kCheapLimits));
    ASSERT_EQ(kScrambledVersion, setup.CurrentVersion());
    EXPECT_EQ(setup.LatestVersion(), setup.Upgrade());

    for (const Stored& user : m_users) {
        SCOPED_TRACE(user.name);
        EXPECT_EQ(CTUser::Login::Verified, LogIn(user.name, user.password));
        EXPECT_EQ(CTUser::Login::WrongPassword, LogIn(user.name, user.password + "x"));
    }
    EXPECT_EQ(std::vector<std::string>(m_users.size(), ""), Column("strPassword"));
    const std::vector<std::string> hashes = Column("strPasswordHash");
    ASSERT_EQ(m_users.size(), hashes.size());
    EXPECT_EQ("", hashes[0]) << "the empty password stays empty";
    EXPECT_NE(hashes[1], hashes[2]) << "one password, two salts";
    for (size_t i = 1; i < hashes.size(); ++i) {
        EXPECT_EQ(0u, hashes[i].rfind("$argon2id$", 0)) << hashes[i];
        EXPECT_EQ(std::string::npos, hashes[i].find(scrambled[i]));
        EXPECT_EQ(std::string::npos, hashes[i].find(m_users[i].password));
    }
}

// A hash that fails undoes the whole step: the database stays at version 4 with its
// scrambled passwords, which copies of both versions can still use, and a later upgrade
// goes through.
TEST_P(PasswordUpgrade, AnUpgradeStoppedHalfWayLeavesTheScrambledPasswords) {
    const std::vector<std::string> scrambled = Column("strPassword");
    CSchemaSetup failing(Db(), CPasswordHash({1, ~size_t{0}}));
    EXPECT_THROW(failing.Upgrade(), CDBException);
    EXPECT_EQ(kScrambledVersion, failing.CurrentVersion());
    EXPECT_EQ(scrambled, Column("strPassword"));

    CSchemaSetup setup(Db(), CPasswordHash(test::kCheapLimits));
    EXPECT_EQ(setup.LatestVersion(), setup.Upgrade());
    EXPECT_EQ(CTUser::Login::Verified, LogIn("山田", "あいうえお"));
}

// What an earlier copy sends at login reads the view's old password column: refused with
// a message that names the upgrade, never an empty password that anyone's empty text
// would match.
TEST_P(PasswordUpgrade, AnOlderCopysLoginIsRefusedWithTheUpgradeNamed) {
    const std::string oldLogin = Db().Dialect().Render(
        "SELECT [idUser],[strUserName],[strPassword],[idGroup],[nLevel] FROM "
        "[dbo].[Qユーザー] WHERE [strUserName]=? ORDER BY [idUser]");
    CSchemaSetup(Db(), CPasswordHash(test::kCheapLimits)).Upgrade();
    for (const char* name : {"tokeiya", "hanako"}) {
        CRecordset set(Db().Database());
        try {
            set.Open(oldLogin, {DbValue(name)});
            ADD_FAILURE() << name << ": an older copy read the password column";
        } catch (const CDBException& e) {
            EXPECT_NE(std::string::npos, e.DriverMessage().find(kOldCopyNotice))
                << e.DriverMessage();
        }
    }
}

// This copy refuses what it cannot use, saying why, and never shows the login: a database
// a newer copy upgraded, and a server database its administrator has not upgraded yet
// (the embedded one it upgrades itself).
TEST_P(PasswordUpgrade, ADatabaseOfAnotherVersionIsRefusedWithTheUpgradeNamed) {
    test::NoSecretService noSecretService;
    test::TempFolder folder;
    CProfileStore profile(folder.Path() + "/Tokeiya.ini");
    profile.WriteProfileString("DATABASE", "Connection", m_db.ConnectString());
    auto refusal = [&]() -> std::vector<std::string> {
        CScriptedDialogs dialogs;
        CTokeiyaDoc doc(profile, dialogs, "PC");
        EXPECT_FALSE(doc.Create());
        EXPECT_TRUE(test::ShownLogins(dialogs).empty());
        return dialogs.m_messages;
    };
    if (GetParam() == Engine::PostgreSQL) {
        EXPECT_EQ(std::vector<std::string>{text::kDatabaseOlder}, refusal());
    }
    CSchemaSetup(Db(), CPasswordHash(test::kCheapLimits)).Upgrade();
    Sql("UPDATE [dbo].[TSchemaVersion] SET [nVersion]=[nVersion]+1");
    EXPECT_EQ(std::vector<std::string>{text::kDatabaseNewer}, refusal());
}

INSTANTIATE_TEST_SUITE_P(Engines, PasswordUpgrade,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
