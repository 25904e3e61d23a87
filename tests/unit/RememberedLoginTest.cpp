#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "data/CCodeRZ.hpp"
#include "platform/ProfileStore.hpp"
#include "shell/CRememberedLogin.hpp"
#include "shell/ServerPasswords.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

// The secret service runs only where scripts/with-secret-service.sh started one on a
// private session bus and said so; the file store runs everywhere.
bool SecretServiceRequired() {
    const char* flag = std::getenv("TOKEIYA_TEST_SECRET_SERVICE");
    return flag != nullptr && std::string(flag) == "1";
}

enum class Store { File, SecretService };

class RememberedLogin : public ::testing::TestWithParam<Store> {
  protected:
    RememberedLogin() : m_profile(m_folder.Path() + "/Tokeiya.ini") {}

    void SetUp() override {
        if (GetParam() == Store::SecretService) {
            if (!SecretServiceRequired()) {
                GTEST_SKIP() << "no private secret service (scripts/with-secret-service.sh)";
            }
            ASSERT_TRUE(CSecretServicePasswords::Available());
            m_passwords = std::make_unique<CSecretServicePasswords>(SecretKind::LoginPassword);
        } else {
            m_passwords =
                std::make_unique<CFileServerPasswords>(PasswordFile(), SecretKind::LoginPassword);
        }
        // What an earlier version left: the login remembered in the settings file.
        m_profile.WriteProfileInt("LOGIN", "SavePwd", 1);
        m_profile.WriteProfileString("LOGIN", "User", "花子");
        m_profile.WriteProfileString("LOGIN", "Password", ScramblePassword("秘密pw"));
    }
    void TearDown() override {
        if (m_passwords) {
            m_passwords->Save("花子", "");
            m_passwords->Save("hanako", "");
        }
    }

    std::string PasswordFile() const { return m_folder.Path() + "/Tokeiya-passwords"; }
    std::string Contents(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    test::TempFolder m_folder;
    CProfileStore m_profile;
    std::unique_ptr<IServerPasswords> m_passwords;
};

TEST_P(RememberedLogin, TheScrambledPasswordMovesOutOfTheSettingsFileAndFollowsTheUser) {
    CRememberedLogin login(m_profile, *m_passwords);
    std::string name;
    std::string password;
    login.Load(name, password);
    EXPECT_EQ("花子", name);
    EXPECT_EQ("秘密pw", password);
    EXPECT_EQ("missing", m_profile.GetProfileString("LOGIN", "Password", "missing"));
    const std::string settings = Contents(m_profile.Path());
    EXPECT_EQ(std::string::npos, settings.find(ScramblePassword("秘密pw"))) << settings;
    EXPECT_EQ(std::string::npos, settings.find("pw")) << settings;
    if (GetParam() == Store::SecretService) {
        struct stat st {};
        EXPECT_NE(0, stat(PasswordFile().c_str(), &st)) << "the keyring kept it, not a file";
    }

    // Loaded again: read from the store, nothing left to move.
    login.Load(name, password);
    EXPECT_EQ("秘密pw", password);

    login.Follow("someone", "someone", std::string("x"));
    EXPECT_EQ("秘密pw", m_passwords->Find("花子")) << "another user's change leaves it";
    login.Follow("花子", "hanako", std::nullopt);
    EXPECT_EQ("hanako", m_profile.GetProfileString("LOGIN", "User", ""));
    EXPECT_EQ("秘密pw", m_passwords->Find("hanako"));
    EXPECT_EQ(std::nullopt, m_passwords->Find("花子"));
    login.Follow("hanako", "hanako", std::string("neu"));
    EXPECT_EQ("neu", m_passwords->Find("hanako"));

    login.Forget();
    EXPECT_EQ("", m_profile.GetProfileString("LOGIN", "User", "?"));
    EXPECT_EQ(std::nullopt, m_passwords->Find("hanako"));
}

TEST_P(RememberedLogin, WithoutTheSaveFlagTheScrambledKeyIsOnlyRemoved) {
    m_profile.WriteProfileInt("LOGIN", "SavePwd", 0);
    CRememberedLogin login(m_profile, *m_passwords);
    std::string name;
    std::string password;
    login.Load(name, password);
    EXPECT_EQ("", password);
    EXPECT_EQ("missing", m_profile.GetProfileString("LOGIN", "Password", "missing"));
    EXPECT_EQ(std::nullopt, m_passwords->Find("花子"));
    login.Follow("花子", "花子", std::string("neu"));
    EXPECT_EQ(std::nullopt, m_passwords->Find("花子")) << "not remembered: nothing to follow";
}

INSTANTIATE_TEST_SUITE_P(Stores, RememberedLogin,
                         ::testing::Values(Store::File, Store::SecretService),
                         [](const auto& info) {
                             return info.param == Store::File ? "File" : "SecretService";
                         });

}  // namespace
}  // namespace tokeiya
