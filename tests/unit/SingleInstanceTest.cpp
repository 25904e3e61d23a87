#include "platform/SingleInstance.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <system_error>

#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

using test::TempFolder;

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

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* previous = std::getenv(name)) {
            m_previous = previous;
        }
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_previous) {
            setenv(m_name, m_previous->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }

  private:
    const char* m_name;
    std::optional<std::string> m_previous;
};

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
