#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/CTime.hpp"

namespace tokeiya {

// The end of one session as it is to be written: the logout of its login row and, when
// the departure stamp is on, the departure (its time with the cool-down minutes added).
struct SessionEndRecord {
    std::string database;  // which database (ConnectionSettings::Identity)
    std::string computer;  // CP932, as the login row holds it
    int userId = 0;
    int loginId = 0;
    CTime logoutAt;
    bool departure = false;
    CTime departureAt;
    int lunchMinutes = 60;  // for a departure that creates its day's row
    int64_t spanId = 0;     // the activity span the session opened (0: none)
    int endHow = 1;         // how the span ended (ActivityEnd)

    bool operator==(const SessionEndRecord&) const = default;
};

// A small file that keeps the ends of sessions the database could not take, so that no
// attendance record is lost: an entry is added before a session's end is written and
// removed once it was; what is left is written at the next successful login of the same
// user on the same computer to the same database. A GLib key file, readable only by its
// user, replaced atomically on every change and locked against another copy of the program.
// The lock is waited for `lockWaitMs` at most (a stuck copy may hold it): without it the
// journal is neither read nor changed, and what it keeps waits for a later login.
class CAttendanceJournal {
  public:
    static constexpr int kDefaultLockWaitMs = 1000;

    // $XDG_STATE_HOME/tokeiya/attendance-journal (usually ~/.local/state/...).
    static std::string DefaultPath();

    explicit CAttendanceJournal(std::string path, int lockWaitMs = kDefaultLockWaitMs)
        : m_path(std::move(path)), m_lockWaitMs(lockWaitMs) {}

    // Keeps `record`; returns the name of its entry, or empty when it could not be kept.
    std::string Add(const SessionEndRecord& record);
    // Without the lock the entry stays, to be written once more later.
    void Remove(const std::string& entry);
    // The entries of one user on one computer and database, oldest first; none when the
    // lock could not be had.
    std::vector<std::pair<std::string, SessionEndRecord>> Pending(const std::string& database,
                                                                  const std::string& computer,
                                                                  int userId) const;
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
    int m_lockWaitMs;
};

}  // namespace tokeiya
