#include "shell/CAttendanceJournal.hpp"

#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/Cp932.hpp"
#include "platform/PrivateKeyFile.hpp"

namespace tokeiya {
namespace {

// Holds an exclusive lock on a file beside the journal while the journal is read or
// replaced, so that two copies of the program never lose each other's entries. A copy that
// hangs while holding it must not hang this one: the wait is bounded, and without the lock
// the journal is left alone.
class JournalLock {
  public:
    JournalLock(const std::string& path, int waitMs) {
        const std::string folder = std::filesystem::path(path).parent_path().string();
        if (!folder.empty()) {
            g_mkdir_with_parents(folder.c_str(), 0700);
        }
        m_fd = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0) {
            return;
        }
        const gint64 deadline = g_get_monotonic_time() + gint64{waitMs} * 1000;
        while (flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || g_get_monotonic_time() >= deadline) {
                close(m_fd);
                m_fd = -1;
                return;
            }
            g_usleep(kPollMicroseconds);
        }
    }
    ~JournalLock() {
        if (m_fd >= 0) {
            flock(m_fd, LOCK_UN);
            close(m_fd);
        }
    }
    JournalLock(const JournalLock&) = delete;
    JournalLock& operator=(const JournalLock&) = delete;

    bool Held() const { return m_fd >= 0; }

  private:
    static constexpr gulong kPollMicroseconds = 20000;
    int m_fd = -1;
};

}  // namespace

std::string CAttendanceJournal::DefaultPath() {
    return std::string(g_get_user_state_dir()) + "/tokeiya/attendance-journal";
}

std::string CAttendanceJournal::Add(const SessionEndRecord& record) {
    JournalLock lock(m_path, m_lockWaitMs);
    if (!lock.Held()) {
        return {};
    }
    KeyFilePtr file = LoadKeyFile(m_path);
    // Entry names sort in the order the sessions ended.
    char name[64];
    int serial = 0;
    do {
        std::snprintf(name, sizeof name, "end-%020lld-%d",
                      static_cast<long long>(record.logoutAt.GetTime()), serial++);
    } while (g_key_file_has_group(file.get(), name));
    g_key_file_set_string(file.get(), name, "Database", cp932::ToUtf8(record.database).c_str());
    g_key_file_set_string(file.get(), name, "Computer", cp932::ToUtf8(record.computer).c_str());
    g_key_file_set_integer(file.get(), name, "User", record.userId);
    g_key_file_set_integer(file.get(), name, "Login", record.loginId);
    g_key_file_set_int64(file.get(), name, "Logout", record.logoutAt.GetTime());
    g_key_file_set_boolean(file.get(), name, "Departure", record.departure);
    g_key_file_set_int64(file.get(), name, "DepartureAt", record.departureAt.GetTime());
    g_key_file_set_integer(file.get(), name, "Lunch", record.lunchMinutes);
    g_key_file_set_int64(file.get(), name, "Span", record.spanId);
    g_key_file_set_integer(file.get(), name, "End", record.endHow);
    return SavePrivateKeyFile(file.get(), m_path) ? std::string(name) : std::string();
}

void CAttendanceJournal::Remove(const std::string& entry) {
    if (entry.empty()) {
        return;
    }
    JournalLock lock(m_path, m_lockWaitMs);
    if (!lock.Held()) {
        return;
    }
    KeyFilePtr file = LoadKeyFile(m_path);
    if (g_key_file_remove_group(file.get(), entry.c_str(), nullptr)) {
        SavePrivateKeyFile(file.get(), m_path);
    }
}

std::vector<std::pair<std::string, SessionEndRecord>> CAttendanceJournal::Pending(
    const std::string& database, const std::string& computer, int userId) const {
    std::vector<std::pair<std::string, SessionEndRecord>> found;
    JournalLock lock(m_path, m_lockWaitMs);
    if (!lock.Held()) {
        return found;
    }
    KeyFilePtr file = LoadKeyFile(m_path);
    gsize count = 0;
    gchar** groups = g_key_file_get_groups(file.get(), &count);
    for (gsize i = 0; i < count; ++i) {
        const char* name = groups[i];
        SessionEndRecord record;
        record.database = cp932::FromUtf8(KeyFileString(file.get(), name, "Database"));
        record.computer = cp932::FromUtf8(KeyFileString(file.get(), name, "Computer"));
        record.userId = g_key_file_get_integer(file.get(), name, "User", nullptr);
        record.loginId = g_key_file_get_integer(file.get(), name, "Login", nullptr);
        record.logoutAt = CTime(g_key_file_get_int64(file.get(), name, "Logout", nullptr));
        record.departure = g_key_file_get_boolean(file.get(), name, "Departure", nullptr);
        record.departureAt = CTime(g_key_file_get_int64(file.get(), name, "DepartureAt", nullptr));
        record.lunchMinutes = g_key_file_get_integer(file.get(), name, "Lunch", nullptr);
        record.spanId = g_key_file_get_int64(file.get(), name, "Span", nullptr);
        record.endHow = g_key_file_get_integer(file.get(), name, "End", nullptr);
        if (record.database == database && record.computer == computer && record.userId == userId) {
            found.emplace_back(name, std::move(record));
        }
    }
    g_strfreev(groups);
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return found;
}

}  // namespace tokeiya
