#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/CConnection.hpp"
#include "shell/CAttendanceJournal.hpp"

namespace tokeiya {

// Writes the end of a session (logout, departure) on the session's connection, within a
// time limit: a server that froze must not hold the program's exit. The writing runs on a
// thread of its own that owns the connection; when the limit passes first, the thread is
// left to finish (or to end with the process) and the record stays in the journal.
class CSessionEndWriter {
  public:
    struct Result {
        bool written = false;   // logout (and departure) are in the database
        bool timedOut = false;  // the database did not answer in time
        // What the database said while writing, to be told on the UI thread.
        std::vector<std::string> errors;
    };

    // Writes `record` on `connection`, which is closed afterwards; the journal entry
    // `entry` (empty: none) is removed once the record is written.
    static Result Write(std::unique_ptr<CConnection> connection, const SessionEndRecord& record,
                        CAttendanceJournal journal, const std::string& entry, int limitMs);

    // Writes a record on an open connection, on this thread, all of it or nothing;
    // `kept` tells a record kept from an earlier session, which is written as such. Throws
    // CDBException when the database refuses.
    static void WriteNow(CConnection& connection, const SessionEndRecord& record,
                         bool kept = false);

  private:
    static void WriteTogether(CConnection& connection, const SessionEndRecord& record, bool kept);
};

}  // namespace tokeiya
