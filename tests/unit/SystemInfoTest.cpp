#include "platform/SystemInfo.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/ScopedWorkingFolder.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

TEST(SystemInfoTest, CurrentFolderEndsInOneSlashAndIsEmptyWhenGone) {
    test::ScopedWorkingFolder restore;
    test::TempFolder folder;
    const std::string real = std::filesystem::canonical(folder.Path()).string();

    ASSERT_EQ(chdir(folder.Path().c_str()), 0);
    EXPECT_EQ(CurrentFolder(), real + "/");

    ASSERT_EQ(chdir("/"), 0);
    EXPECT_EQ(CurrentFolder(), "/");

    const std::string doomed = folder.Path() + "/doomed";
    ASSERT_EQ(mkdir(doomed.c_str(), 0700), 0);
    ASSERT_EQ(chdir(doomed.c_str()), 0);
    ASSERT_EQ(rmdir(doomed.c_str()), 0);
    EXPECT_EQ(CurrentFolder(), "");
}

TEST(SystemInfoTest, ComputerNamesBecomeProgramTextWithoutLosingOneAnother) {
    struct Case {
        std::string utf8;
        std::string text;
    };
    const std::string longest(64, 'p');
    const Case cases[] = {
        {"PC-7", "PC-7"},
        {longest, longest},  // the longest name the kernel keeps, whole
        {reinterpret_cast<const char*>(u8"経理-PC"), "経理-PC"},
        {reinterpret_cast<const char*>(u8"PC😀"), "PCU+1F600"},
        {reinterpret_cast<const char*>(u8"PC🙂"), "PCU+1F642"},  // not the same as the one above
        {"PC\xff", "PC\\xFF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, ComputerNameText(c.utf8)) << c.utf8;
    }
    const std::optional<std::string> name = ComputerName();
    ASSERT_TRUE(name.has_value());
    char raw[256] = {};
    ASSERT_EQ(0, gethostname(raw, sizeof raw - 1));
    EXPECT_EQ(ComputerNameText(raw), *name);
}

}  // namespace
}  // namespace tokeiya
