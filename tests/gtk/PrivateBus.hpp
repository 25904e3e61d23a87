#pragma once

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "tests/support/ScopedEnv.hpp"

namespace tokeiya::gtk::test {

// A session bus of the test's own (dbus-daemon), named in $DBUS_SESSION_BUS_ADDRESS while
// it lives.
class PrivateBus {
  public:
    PrivateBus() {
        const gchar* argv[] = {"dbus-daemon", "--session", "--nofork", "--print-address=1",
                               nullptr};
        gint out = -1;
        GError* error = nullptr;
        if (!g_spawn_async_with_pipes(
                nullptr, const_cast<gchar**>(argv), nullptr,
                static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL), nullptr,
                nullptr, &m_pid, nullptr, &out, nullptr, &error)) {
            ADD_FAILURE() << "dbus-daemon: " << error->message;
            g_error_free(error);
            return;
        }
        // The daemon prints its address once it listens.
        char buffer[512];
        std::string line;
        for (ssize_t n = 0;
             line.find('\n') == std::string::npos && (n = read(out, buffer, sizeof buffer)) > 0;) {
            line.append(buffer, static_cast<size_t>(n));
        }
        close(out);
        m_address = line.substr(0, line.find('\n'));
        m_env = std::make_unique<tokeiya::test::ScopedEnv>("DBUS_SESSION_BUS_ADDRESS",
                                                           m_address.c_str());
    }
    ~PrivateBus() {
        m_env.reset();
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
            g_spawn_close_pid(m_pid);
        }
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    const std::string& Address() const { return m_address; }

  private:
    GPid m_pid = 0;
    std::string m_address;
    std::unique_ptr<tokeiya::test::ScopedEnv> m_env;
};

}  // namespace tokeiya::gtk::test
