#include "shell/CSessionEndWriter.hpp"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "data/CTLogin.hpp"
#include "data/CTOfficeSettings.hpp"
#include "data/CTPcActivity.hpp"
#include "data/CTTimeCard.hpp"

namespace tokeiya {
namespace {

// What the writing thread and the waiting UI thread share; it lives as long as either.
struct SharedEnd {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool written = false;
    std::vector<std::string> errors;
};

// Collects the failures the connection reports while the thread writes.
class CollectingSink : public IDbErrorSink {
  public:
    explicit CollectingSink(SharedEnd& shared) : m_shared(shared) {}
    void OnDatabaseError(const CDBException& error) override {
        std::lock_guard lock(m_shared.mutex);
        m_shared.errors.push_back(error.DriverMessage());
    }

  private:
    SharedEnd& m_shared;
};

}  // namespace

void CSessionEndWriter::WriteNow(CConnection& connection, const SessionEndRecord& record,
                                 bool kept) {
    try {
        WriteTogether(connection, record, kept);
    } catch (const CDBException& e) {
        // A connection lost inside the transaction is opened again before the next
        // statement; the whole record is written once more on it.
        if (!e.IsConnectionLost()) {
            throw;
        }
        WriteTogether(connection, record, kept);
    }
}

void CSessionEndWriter::WriteTogether(CConnection& connection, const SessionEndRecord& record,
                                      bool kept) {
    // Logout, activity and departure go in together, so that a record kept in the journal
    // is written whole once.
    CTransaction transaction(connection.Database());
    // A read that failed is a failure here, not "nothing to write": the record must stay.
    if (record.loginId != 0) {
        CTLogin login(connection);
        if (login.RecordLogout(record.loginId, record.logoutAt) == 0 && login.LastOpenError()) {
            throw *login.LastOpenError();
        }
    }
    if (record.spanId != 0) {
        CTPcActivity(connection)
            .End(record.spanId, record.userId, record.computer, record.logoutAt,
                 kept ? ActivityEnd::Journal : static_cast<ActivityEnd>(record.endHow));
    }
    if (record.departure) {
        CTTimeCard cards(connection, {record.userId, record.computer,
                                      kept ? ChangeHow::JournalExit : ChangeHow::ExitStamp});
        OfficeSettings office;
        static_cast<void>(CTOfficeSettings(connection).Load(office));
        cards.SetLastExitRule(office.lastExit);
        if (cards.StampDepartureAt(record.userId, record.departureAt, record.lunchMinutes) == 0 &&
            cards.LastOpenError()) {
            throw *cards.LastOpenError();
        }
    }
    transaction.Commit();
}

CSessionEndWriter::Result CSessionEndWriter::Write(std::unique_ptr<CConnection> connection,
                                                   const SessionEndRecord& record,
                                                   CAttendanceJournal journal,
                                                   const std::string& entry, int limitMs) {
    auto shared = std::make_shared<SharedEnd>();
    std::thread writer([shared, connection = std::move(connection), record,
                        journal = std::move(journal), entry]() mutable {
        bool written = false;
        try {
            CollectingSink sink(*shared);
            connection->Database().SetErrorSink(&sink);
            WriteNow(*connection, record);
            written = true;
            journal.Remove(entry);
            connection->Database().SetErrorSink(nullptr);
            connection->Close();
        } catch (const std::exception& e) {
            connection->Database().SetErrorSink(nullptr);
            std::lock_guard lock(shared->mutex);
            if (shared->errors.empty()) {
                shared->errors.push_back(e.what());
            }
        }
        connection.reset();
        std::lock_guard lock(shared->mutex);
        shared->written = written;
        shared->done = true;
        shared->finished.notify_all();
    });
    writer.detach();

    std::unique_lock lock(shared->mutex);
    Result result;
    // <chrono> itself cannot be compiled with the CP932 execution character set; the
    // duration type comes with <condition_variable>.
    if (!shared->finished.wait_for(lock, std::chrono::milliseconds(limitMs),
                                   [&] { return shared->done; })) {
        result.timedOut = true;
        return result;
    }
    result.written = shared->written;
    result.errors = shared->errors;
    return result;
}

}  // namespace tokeiya
