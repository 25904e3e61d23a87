#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/odbc/ConnectString.hpp"
#include "shell/ConnectionSettings.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

TEST(ConnectString, ParsesBracesBlanksAndCaseInsensitiveKeys) {
    CConnectString s = CConnectString::Parse(
        "DRIVER={PostgreSQL ANSI};Servername = db1 ;PWD={a;b}}c};Empty=;uid=x");
    EXPECT_EQ("PostgreSQL ANSI", s.Get("driver"));
    EXPECT_EQ("db1", s.Get("SERVERNAME"));
    EXPECT_EQ("a;b}c", s.Get("Pwd"));
    EXPECT_TRUE(s.Has("empty"));
    EXPECT_EQ("", s.Get("Empty"));
    EXPECT_EQ("x", s.Get("UID"));
    EXPECT_FALSE(s.Has("Port"));

    // What ToString writes parses back to the same pairs.
    CConnectString again = CConnectString::Parse(s.ToString());
    EXPECT_EQ(s.Pairs(), again.Pairs()) << s.ToString();

    s.Set("uid", "y");
    s.Remove("PWD");
    EXPECT_EQ("DRIVER=PostgreSQL ANSI;Servername=db1;Empty=;uid=y;", s.ToString());
}

TEST(ConnectionSettings, BuildsAndReadsBackEachEngine) {
    ConnectionForm pg;
    pg.engine = DbEngine::PostgreSQL;
    pg.server = "office-db";
    pg.database = "tokeiya";
    pg.user = "taro";
    pg.password = "secret";
    std::string text = ConnectionSettings::Build(pg, "PC1");
    EXPECT_EQ(std::string::npos, text.find("secret")) << "PostgreSQL passwords live in ~/.pgpass";
    EXPECT_NE(std::string::npos, text.find("Port=5432")) << "0 stands for the default port";
    ConnectionForm back = ConnectionSettings::ToForm(text);
    EXPECT_EQ(DbEngine::PostgreSQL, back.engine);
    EXPECT_EQ("office-db", back.server);
    EXPECT_EQ(5432, back.port);
    EXPECT_EQ("tokeiya", back.database);
    EXPECT_EQ("taro", back.user);
    EXPECT_EQ("", back.password);

    ConnectionForm ss;
    ss.engine = DbEngine::SqlServer;
    ss.server = "sql1";
    ss.port = 1500;
    ss.database = "Tokeiya";
    ss.user = "sa";
    ss.password = "p;w";
    text = ConnectionSettings::Build(ss, "PC1");
    EXPECT_EQ("p;w", CConnectString::Parse(text).Get("PWD"));
    EXPECT_EQ("PC1", CConnectString::Parse(text).Get("WSID"));
    back = ConnectionSettings::ToForm(text);
    EXPECT_EQ(DbEngine::SqlServer, back.engine);
    EXPECT_EQ(1500, back.port);

    ConnectionForm lite;
    lite.file = "/home/a b/とけい.db";
    text = ConnectionSettings::Build(lite, "PC1");
    EXPECT_TRUE(ConnectionSettings::IsSqlite(text));
    EXPECT_EQ(lite.file, ConnectionSettings::SqliteFile(text));
    EXPECT_EQ(DbEngine::SQLite, ConnectionSettings::ToForm(text).engine);
}

TEST(ConnectionSettings, StorageKeepsTheDriverAndDropsPasswords) {
    // The SQLite driver completes with "DSN=;" and empty keys but no DRIVER.
    std::string stored =
        ConnectionSettings::ForStorage("DRIVER=SQLite3;Database=/x/t.db;Timeout=10000;",
                                       "DSN=;Database=/x/t.db;StepAPI=;Timeout=10000;NoTXN=;");
    CConnectString s = CConnectString::Parse(stored);
    EXPECT_EQ("SQLite3", s.Get("DRIVER"));
    EXPECT_FALSE(s.Has("DSN"));
    EXPECT_FALSE(s.Has("StepAPI"));
    EXPECT_EQ("/x/t.db", s.Get("Database"));

    stored =
        ConnectionSettings::ForStorage("DRIVER=FreeTDS;Server=a;UID=sa;PWD=pw;",
                                       "DRIVER=FreeTDS;Server=a;UID=sa;PWD=pw;TDS_Version=7.4;");
    s = CConnectString::Parse(stored);
    EXPECT_FALSE(s.Has("PWD"));
    EXPECT_EQ("7.4", s.Get("TDS_Version"));
    stored = ConnectionSettings::ForStorage("DSN=office;", "DSN=office;Password=x;UID=u;");
    s = CConnectString::Parse(stored);
    EXPECT_EQ("office", s.Get("DSN"));
    EXPECT_FALSE(s.Has("Password"));
}

class PgPassFile : public ::testing::Test {
  protected:
    std::string Contents() const {
        std::ifstream in(m_path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    test::TempFolder m_home;
    std::string m_path = m_home.Path() + "/.pgpass";
};

TEST_F(PgPassFile, KeepsOneLinePerServerAndIsPrivate) {
    {
        std::ofstream other(m_path);
        other << "elsewhere:5432:*:bob:x\n";
    }
    ConnectionForm form;
    form.engine = DbEngine::PostgreSQL;
    form.server = "db";
    form.database = "tokeiya";
    form.user = "taro";
    form.password = "a:b\\c";
    ASSERT_TRUE(ConnectionSettings::SavePassword(form, m_path));
    form.password = "second";
    ASSERT_TRUE(ConnectionSettings::SavePassword(form, m_path));
    EXPECT_EQ("elsewhere:5432:*:bob:x\ndb:5432:tokeiya:taro:second\n", Contents());
    struct stat st {};
    ASSERT_EQ(0, stat(m_path.c_str(), &st));
    EXPECT_EQ(0600u, st.st_mode & 0777u);

    form.password = "a:b\\c";
    ASSERT_TRUE(ConnectionSettings::SavePassword(form, m_path));
    EXPECT_NE(std::string::npos, Contents().find("db:5432:tokeiya:taro:a\\:b\\\\c"));
}

// SQL Server has no password file of its own: the program keeps the password where only
// its user can read it, and adds it to the stored connection (which never holds it).
TEST_F(PgPassFile, ASqlServerPasswordIsKeptPrivatelyAndAddedWhenConnecting) {
    CFileServerPasswords passwords(m_home.Path() + "/VA-V/Tokeiya-passwords");
    ConnectionForm form;
    form.engine = DbEngine::SqlServer;
    form.server = "office";
    form.user = "sa";
    form.password = "s3cret;{x}";
    const std::string built = ConnectionSettings::Build(form, "PC-7");
    EXPECT_EQ("Tokeiya", CConnectString::Parse(built).Get("Database"))
        << "the database proposed when none is given";
    ASSERT_TRUE(ConnectionSettings::SaveServerPassword(form, passwords));
    struct stat st {};
    ASSERT_EQ(0, stat((m_home.Path() + "/VA-V/Tokeiya-passwords").c_str(), &st));
    EXPECT_EQ(0600u, st.st_mode & 0777u);

    const std::string stored = ConnectionSettings::ForStorage(built, built);
    EXPECT_EQ(std::string::npos, stored.find("s3cret"));
    const std::string connecting = ConnectionSettings::WithServerPassword(stored, passwords);
    EXPECT_EQ("s3cret;{x}", CConnectString::Parse(connecting).Get("PWD"));

    // Another account on the same server has no password kept; other engines are untouched.
    CConnectString other = CConnectString::Parse(stored);
    other.Set("UID", "taro");
    EXPECT_FALSE(
        CConnectString::Parse(ConnectionSettings::WithServerPassword(other.ToString(), passwords))
            .Has("PWD"));
    const std::string sqlite = ConnectionSettings::DefaultConnectString();
    EXPECT_EQ(sqlite, ConnectionSettings::WithServerPassword(sqlite, passwords));

    form.password.clear();  // an empty password removes the kept one
    ASSERT_TRUE(ConnectionSettings::SaveServerPassword(form, passwords));
    EXPECT_FALSE(
        passwords.Find(ConnectionSettings::PasswordKey(ConnectionSettings::ToForm(stored))));
}

TEST(ConnectionIdentity, NamesTheDatabaseWhateverElseTheStringHolds) {
    const std::string a = "DRIVER=PostgreSQL ANSI;Servername=db;Port=5432;Database=t;Username=x";
    const std::string b =
        "DRIVER={PostgreSQL ANSI};Servername=db;Database=t;Username=y;ConnSettings=SET x TO 1";
    EXPECT_EQ(ConnectionSettings::Identity(a), ConnectionSettings::Identity(b));
    EXPECT_NE(ConnectionSettings::Identity(a),
              ConnectionSettings::Identity("DRIVER=PostgreSQL ANSI;Servername=db;Database=u"));
    EXPECT_NE(ConnectionSettings::Identity("DRIVER=SQLite3;Database=/a.db"),
              ConnectionSettings::Identity("DRIVER=SQLite3;Database=/b.db"));
}

}  // namespace
}  // namespace tokeiya
