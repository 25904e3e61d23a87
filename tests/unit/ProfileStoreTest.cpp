#include "platform/ProfileStore.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

using test::TempFolder;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

class ProfileStoreTest : public ::testing::Test {
  protected:
    TempFolder m_folder;
    std::string m_path = m_folder.Path() + "/config/VA-V/Tokeiya.ini";
};

TEST_F(ProfileStoreTest, RoundTripsIntsAndTextsThroughTheFile) {
    const std::vector<int> ints = {0, 1, -5, 300, INT_MAX, INT_MIN};
    const std::vector<std::string> texts = {
        "",
        "全員",
        "とけい屋! ユーザー",
        "ｱｲｳ half-width kana",
        "DRIVER=SQL Server;APP=Tokeiya;LANGUAGE=日本語;Trusted_Connection=Yes",
        "  leading and trailing blanks  ",
        "two\nlines\tand a tab",
        "back\\slash # not a comment ; nor this",
        "[looks like a section]",
        std::string(2000, 'x'),
    };
    {
        CProfileStore store(m_path);
        for (size_t i = 0; i < ints.size(); ++i) {
            ASSERT_TRUE(store.WriteProfileInt("WINDOW", "Int" + std::to_string(i), ints[i]));
        }
        for (size_t i = 0; i < texts.size(); ++i) {
            ASSERT_TRUE(store.WriteProfileString("LOGIN", "Text" + std::to_string(i), texts[i]));
        }
    }
    CProfileStore reloaded(m_path);
    for (size_t i = 0; i < ints.size(); ++i) {
        EXPECT_EQ(reloaded.GetProfileInt("WINDOW", "Int" + std::to_string(i), 77), ints[i]) << i;
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(reloaded.GetProfileString("LOGIN", "Text" + std::to_string(i), "default"),
                  texts[i])
            << i;
    }
    // Texts are UTF-8 in the file: 全員 is E5 85 A8 E5 93 A1.
    EXPECT_NE(ReadFile(m_path).find("\xE5\x85\xA8\xE5\x93\xA1"), std::string::npos);
}

TEST_F(ProfileStoreTest, MissingFileSectionOrKeyGivesTheDefault) {
    CProfileStore store(m_path);
    EXPECT_EQ(store.GetProfileInt("WINDOW", "Size", 80), 80);
    EXPECT_EQ(store.GetProfileString("FILE", "CsvFolder", "/home/x/"), "/home/x/");
    EXPECT_FALSE(Exists(m_path));  // reading never creates the file

    ASSERT_TRUE(store.WriteProfileInt("WINDOW", "Size", 90));
    EXPECT_EQ(store.GetProfileInt("WINDOW", "Wide", 0), 0);
    EXPECT_EQ(store.GetProfileInt("ALARM", "Size", 30), 30);
    EXPECT_EQ(store.GetProfileString("WINDOW", "Title", "none"), "none");
}

TEST_F(ProfileStoreTest, ValueThatIsNotAWholeIntReadsAsTheDefault) {
    ASSERT_TRUE(CProfileStore(m_path).WriteProfileInt("WINDOW", "Size", 1));
    WriteFile(m_path,
              "[WINDOW]\nSize=abc\nWide=12x\nOpen=\nHuge=99999999999\nFrac=1.5\nNeg=-3\n"
              "Ok=70\n");
    CProfileStore store(m_path);
    for (const char* key : {"Size", "Wide", "Open", "Huge", "Frac", "Missing"}) {
        EXPECT_EQ(store.GetProfileInt("WINDOW", key, 42), 42) << key;
    }
    EXPECT_EQ(store.GetProfileInt("WINDOW", "Neg", 42), -3);
    EXPECT_EQ(store.GetProfileInt("WINDOW", "Ok", 42), 70);
}

TEST_F(ProfileStoreTest, CreatesAPrivateFolderAndFile) {
    CProfileStore store(m_path);
    ASSERT_TRUE(store.WriteProfileString("LOGIN", "Password", "EKXZ"));
    struct stat info {};
    ASSERT_EQ(stat(m_path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    ASSERT_EQ(stat((m_folder.Path() + "/config/VA-V").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
}

TEST_F(ProfileStoreTest, StoresOnOneFileSeeEachOthersWrites) {
    CProfileStore first(m_path);
    CProfileStore second(m_path);
    ASSERT_TRUE(first.WriteProfileInt("ALARM", "TimeView", 45));
    EXPECT_EQ(second.GetProfileInt("ALARM", "TimeView", 30), 45);
    ASSERT_TRUE(second.WriteProfileInt("WINDOW", "Size", 70));
    ASSERT_TRUE(first.WriteProfileString("LOGIN", "User", "山田"));

    CProfileStore third(m_path);
    EXPECT_EQ(third.GetProfileInt("ALARM", "TimeView", 30), 45);
    EXPECT_EQ(third.GetProfileInt("WINDOW", "Size", 80), 70);
    EXPECT_EQ(third.GetProfileString("LOGIN", "User", ""), "山田");
}

TEST_F(ProfileStoreTest, CorruptFileIsKeptUntilTheFirstWriteMovesItAside) {
    const std::string garbage = "this is not\x01 a settings file\n[WINDOW\nSize 80\n";
    ASSERT_TRUE(CProfileStore(m_path).WriteProfileInt("WINDOW", "Size", 1));
    WriteFile(m_path, garbage);

    CProfileStore store(m_path);
    EXPECT_EQ(store.GetProfileInt("WINDOW", "Size", 80), 80);
    EXPECT_EQ(store.GetProfileString("LOGIN", "User", "x"), "x");
    EXPECT_EQ(ReadFile(m_path), garbage);

    ASSERT_TRUE(store.WriteProfileInt("WINDOW", "Size", 90));
    EXPECT_EQ(ReadFile(m_path + ".corrupt"), garbage);
    CProfileStore reloaded(m_path);
    EXPECT_EQ(reloaded.GetProfileInt("WINDOW", "Size", 80), 90);

    // Only the first write sets the file aside; the next one keeps the good file.
    ASSERT_TRUE(store.WriteProfileInt("WINDOW", "Wide", 1));
    EXPECT_EQ(ReadFile(m_path + ".corrupt"), garbage);
    EXPECT_EQ(CProfileStore(m_path).GetProfileInt("WINDOW", "Size", 80), 90);
}

TEST_F(ProfileStoreTest, RefusedWritesSaveNothing) {
    CProfileStore store(m_path);
    ASSERT_TRUE(store.WriteProfileString("LOGIN", "User", "before"));
    struct Case {
        std::string section, key, value;
    };
    const std::vector<Case> cases = {
        {"LOGIN", "User", "\x81"},                  // a lead byte without its trail byte
        {"LOGIN", "User", std::string("a\0b", 3)},  // would be cut at the NUL
        {"", "User", "x"},
        {"LOG[IN]", "User", "x"},
        {"LOGIN", "", "x"},
        {"LOGIN", "Us=er", "x"},
        {"LOGIN", "User\n", "x"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(store.WriteProfileString(c.section, c.key, c.value))
            << "[" << c.section << "] " << c.key;
    }
    EXPECT_EQ(CProfileStore(m_path).GetProfileString("LOGIN", "User", ""), "before");
}

TEST_F(ProfileStoreTest, FailedSaveReportsFalseAndLeavesNothingBehind) {
    const std::string blocker = m_folder.Path() + "/file";
    WriteFile(blocker, "a file where a folder should be");
    CProfileStore store(blocker + "/VA-V/Tokeiya.ini");
    EXPECT_FALSE(store.WriteProfileInt("WINDOW", "Size", 90));
    EXPECT_EQ(store.GetProfileInt("WINDOW", "Size", 80), 80);
}

}  // namespace
}  // namespace tokeiya
