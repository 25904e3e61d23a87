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

}  // namespace
}  // namespace tokeiya
