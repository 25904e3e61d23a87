#include <gio/gio.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GtkTestSupport.hpp"
#include "PrivateBus.hpp"
#include "platform/gtk/DBusBus.hpp"
#include "platform/gtk/DesktopActivityWatch.hpp"
#include "tests/support/ScopedEnv.hpp"

namespace tokeiya::gtk::test {
namespace {

using tokeiya::test::ScopedEnv;

// The desktop's signals as logind and the screen saver send them, on a private bus that
// stands for both the system and the session bus.
class DesktopActivityWatchTest : public ::testing::Test {
  protected:
    DesktopActivityWatchTest()
        : m_system("DBUS_SYSTEM_BUS_ADDRESS", m_bus.Address().c_str()),
          m_sender(OpenBus(m_bus.Address())) {}

    void Emit(const char* path, const char* interface, const char* member, bool on) {
        ASSERT_TRUE(m_sender);
        g_dbus_connection_emit_signal(m_sender.get(), nullptr, path, interface, member,
                                      g_variant_new("(b)", on ? TRUE : FALSE), nullptr);
        g_dbus_connection_flush_sync(m_sender.get(), nullptr, nullptr);
    }
    void Sleep(bool on) {
        Emit("/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep", on);
    }
    void Lock(bool on) {
        Emit("/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged", on);
    }
    bool Heard(size_t count) {
        return PumpUntil([&] { return m_heard.size() >= count; });
    }

    PrivateBus m_bus;
    ScopedEnv m_system;
    GObjectPtr<GDBusConnection> m_sender;
    std::vector<std::string> m_heard;
    CDesktopActivityWatch m_watch{{.paused =
                                       [this](DesktopPause why) {
                                           m_heard.push_back(why == DesktopPause::Sleep ? "sleep"
                                                                                        : "lock");
                                       },
                                   .resumed = [this] { m_heard.emplace_back("resume"); }}};
};

TEST_F(DesktopActivityWatchTest, SleepAndLockPauseOnceAndResumeWhenBothAreOver) {
    EXPECT_EQ(1, m_watch.Buses()) << "one connection for a bus named twice";
    Sleep(true);
    ASSERT_TRUE(Heard(1));
    Sleep(false);
    ASSERT_TRUE(Heard(2));
    // Locked, then asleep, then awake still locked: one pause, and the resume at unlock.
    Lock(true);
    ASSERT_TRUE(Heard(3));
    Sleep(true);
    Sleep(false);
    Emit("/org/gnome/ScreenSaver", "org.gnome.ScreenSaver", "ActiveChanged", false);
    ASSERT_TRUE(Heard(4));
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ((std::vector<std::string>{"sleep", "resume", "lock", "resume"}), m_heard);
}

TEST_F(DesktopActivityWatchTest, WithoutABusNothingIsHeardAndNothingFails) {
    ScopedEnv noSystem("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    ScopedEnv noSession("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    CDesktopActivityWatch watch({});
    EXPECT_EQ(0, watch.Buses());
}

}  // namespace
}  // namespace tokeiya::gtk::test
