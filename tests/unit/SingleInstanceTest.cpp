#include "platform/SingleInstance.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "tests/support/ScopedEnv.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

using test::ScopedEnv;
using test::TempFolder;

// A later start reaches the copy holding the lock, and only while it holds it.
TEST(SingleInstanceTest, ALaterStartAsksTheRunningCopyToShowItsWindow) {
    TempFolder folder;
    EXPECT_FALSE(CSingleInstanceLock::AskRunningCopyToShow("Tokeiya", folder.Path()))
        << "nobody runs";
    auto first = CSingleInstanceLock::Acquire("Tokeiya", folder.Path());
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->TakeShowRequest()) << "not listening yet";
    ASSERT_TRUE(first->Listen());
    EXPECT_FALSE(first->TakeShowRequest()) << "nobody asked";

    // Asked from another process, as a second start does.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(CSingleInstanceLock::AskRunningCopyToShow("Tokeiya", folder.Path()) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_TRUE(first->TakeShowRequest());
    EXPECT_FALSE(first->TakeShowRequest()) << "each request is taken once";

    struct stat info {};
    ASSERT_EQ(0, stat((folder.Path() + "/Tokeiya.sock").c_str(), &info));
    EXPECT_EQ(0u, info.st_mode & 0077) << "other users may not ask";

    first.reset();
    EXPECT_FALSE(CSingleInstanceLock::AskRunningCopyToShow("Tokeiya", folder.Path()));
    // What a crashed copy left at the socket's place does not keep the next from listening.
    std::FILE* left = std::fopen((folder.Path() + "/Tokeiya.sock").c_str(), "w");
    ASSERT_NE(nullptr, left);
    std::fclose(left);
    auto next = CSingleInstanceLock::Acquire("Tokeiya", folder.Path());
    ASSERT_NE(next, nullptr);
    ASSERT_TRUE(next->Listen());
    EXPECT_TRUE(CSingleInstanceLock::AskRunningCopyToShow("Tokeiya", folder.Path()));
    EXPECT_TRUE(next->TakeShowRequest());
}

TEST(SingleInstanceTest, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    TempFolder folder;
    auto first = CSingleInstanceLock::Acquire("Tokeiya", folder.Path());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Path(), folder.Path() + "/Tokeiya.lock");
    EXPECT_EQ(CSingleInstanceLock::Acquire("Tokeiya", folder.Path()), nullptr);

    auto other = CSingleInstanceLock::Acquire("Other", folder.Path());
    EXPECT_NE(other, nullptr);

    first.reset();
    EXPECT_NE(CSingleInstanceLock::Acquire("Tokeiya", folder.Path()), nullptr);
}

TEST(SingleInstanceTest, LockHeldByAnotherProcessRefusesThisOne) {
    TempFolder folder;
    int toParent[2];
    int toChild[2];
    ASSERT_EQ(pipe(toParent), 0);
    ASSERT_EQ(pipe(toChild), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child takes the lock, reports, and holds it until the parent has looked.
        close(toParent[0]);
        close(toChild[1]);
        char status = '0';
        try {
            auto lock = CSingleInstanceLock::Acquire("Tokeiya", folder.Path());
            status = lock ? '1' : '0';
            (void)!write(toParent[1], &status, 1);
            char go = 0;
            (void)!read(toChild[0], &go, 1);
        } catch (...) {
            (void)!write(toParent[1], &status, 1);
        }
        _exit(0);
    }
    close(toParent[1]);
    close(toChild[0]);
    char status = 0;
    ASSERT_EQ(read(toParent[0], &status, 1), 1);
    ASSERT_EQ(status, '1');
    EXPECT_EQ(CSingleInstanceLock::Acquire("Tokeiya", folder.Path()), nullptr);

    ASSERT_EQ(write(toChild[1], "g", 1), 1);
    int exitStatus = 0;
    ASSERT_EQ(waitpid(child, &exitStatus, 0), child);
    close(toParent[0]);
    close(toChild[1]);
    EXPECT_NE(CSingleInstanceLock::Acquire("Tokeiya", folder.Path()), nullptr);
}

TEST(SingleInstanceTest, DefaultFolderIsTheRuntimeFolderElseTmpWithTheUid) {
    TempFolder folder;
    {
        ScopedEnv env("XDG_RUNTIME_DIR", folder.Path().c_str());
        auto lock = CSingleInstanceLock::Acquire("TokeiyaTest");
        ASSERT_NE(lock, nullptr);
        EXPECT_EQ(lock->Path(), folder.Path() + "/TokeiyaTest.lock");
    }
    {
        ScopedEnv env("XDG_RUNTIME_DIR", nullptr);
        const std::string name = "TokeiyaTest-" + std::to_string(getpid());
        auto lock = CSingleInstanceLock::Acquire(name);
        ASSERT_NE(lock, nullptr);
        EXPECT_EQ(lock->Path(), "/tmp/" + name + "-" + std::to_string(getuid()) + ".lock");
        unlink(lock->Path().c_str());
    }
}

TEST(SingleInstanceTest, UnusableFolderIsAnErrorNotAnotherInstance) {
    TempFolder folder;
    EXPECT_THROW(CSingleInstanceLock::Acquire("Tokeiya", folder.Path() + "/missing"),
                 std::system_error);
    // A symbolic link planted where the lock file belongs is not followed.
    ASSERT_EQ(
        symlink((folder.Path() + "/elsewhere").c_str(), (folder.Path() + "/Tokeiya.lock").c_str()),
        0);
    EXPECT_THROW(CSingleInstanceLock::Acquire("Tokeiya", folder.Path()), std::system_error);
}

}  // namespace
}  // namespace tokeiya
