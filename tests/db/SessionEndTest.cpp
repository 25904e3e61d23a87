#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "data/CTCardHistory.hpp"
#include "data/CTLogin.hpp"
#include "data/CTPcActivity.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/TimeValue.hpp"
#include "platform/AppContext.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "shell/AppText.hpp"
#include "shell/CAttendanceJournal.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "shell/ConnectionSettings.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/support/DialogScripts.hpp"
#include "tests/support/PgCluster.hpp"
#include "tests/support/ScopedTimeZone.hpp"
#include "tests/support/TempFolder.hpp"
#include "tests/support/TestDatabase.hpp"
#include "tests/support/TestPasswords.hpp"

namespace tokeiya {
namespace {

using test::Engine;

// Holds every statement of a connection until released: a server that froze.
class FrozenServer : public IDbFaultInjector {
  public:
    void BeforeStatement(const std::string&) override { Wait(); }
    void BeforeCommit() override { Wait(); }
    void Release() {
        std::lock_guard lock(m_mutex);
        m_released = true;
        m_cv.notify_all();
    }

  private:
    void Wait() {
        std::unique_lock lock(m_mutex);
        m_cv.wait(lock, [this] { return m_released; });
    }
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_released = false;
};

// The end of a session (logout and departure) on a database that goes away: written after
// a transparent reconnection, or kept in the journal and written at the next login.
class SessionEnds {
  public:
    explicit SessionEnds(std::unique_ptr<test::TestDatabase> db)
        : m_db(std::move(db)), m_profile(m_folder.Path() + "/Tokeiya.ini") {
        setenv("PGPASSFILE", (m_folder.Path() + "/pgpass").c_str(), 1);
        m_context.Context().attendanceJournalFile = m_folder.Path() + "/journal";
        m_profile.WriteProfileString("DATABASE", "Connection", m_db->ConnectString());
        m_profile.WriteProfileInt("OPTIN", "SetTimeTo", 1);
        m_dialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        CUser user;
        user.strUserName = "hanako";
        user.strPasswordHash = test::CheapHash("pw");
        user.idGroup = 1;
        user.nLunchMin = 45;
        user.nCoolDownMin = 5;
        EXPECT_EQ(1, CTUser(m_db->Connection(), CTUser::Mode::Table).Save(user));
        m_userId = user.idUser;
    }
    ~SessionEnds() { unsetenv("PGPASSFILE"); }

    std::unique_ptr<CTokeiyaDoc> LogIn() {
        test::QueueLogin(m_dialogs, "hanako", "pw");
        auto doc = std::make_unique<CTokeiyaDoc>(m_profile, m_dialogs, "PC-7");
        EXPECT_TRUE(doc->Create());
        return doc;
    }

    CTime Logout() {
        CTLogin login(m_db->Connection());
        login.m_strFilter = "[idUser]=?";
        login.m_params = {DbValue(m_userId)};
        EXPECT_TRUE(login.Open());
        return login.IsEOF() ? CTime() : login.m_dateLogout;
    }

    CTime Departure(int year, int month, int day) {
        CTimeCard card = CTimeCard::NewDay(m_userId, year, month, day, 45);
        EXPECT_EQ(1, CTTimeCard(m_db->Connection()).LoadCard(card));
        return card.timeTo;
    }

    // Logs in and ends the session while every statement fails: the end is kept.
    void EndWhileTheDatabaseIsAway() {
        auto doc = LogIn();
        test::ScriptedFaults faults;
        faults.FailStatements("", "08S01", 1000);
        doc->GetDatabase()->Database().SetFaultInjector(&faults);
        doc->EndSession();
    }

    // The spans that began on a day of the session's month.
    std::vector<CActivitySpan> Spans(int day) {
        const CTime now = CTime::GetCurrentTime();
        const CTime from(now.GetYear(), now.GetMonth(), day, 0, 0, 0);
        std::vector<CActivitySpan> spans;
        EXPECT_EQ(1,
                  CTPcActivity(m_db->Connection()).LoadStarted(from, from.AddMinutes(1440), spans));
        return spans;
    }

    size_t Kept() {
        return CAttendanceJournal(m_context.Context().attendanceJournalFile)
            .Pending(ConnectionSettings::Identity(m_db->ConnectString()), "PC-7", m_userId)
            .size();
    }

    test::ScopedTimeZone m_zone{"Asia/Tokyo"};
    ScopedAppContext m_context;
    ScopedClockOverride m_clock{CTime(2024, 4, 3, 17, 30, 0).GetTime()};
    test::TempFolder m_folder;
    std::unique_ptr<test::TestDatabase> m_db;
    CProfileStore m_profile;
    CScriptedDialogs m_dialogs;
    int m_userId = 0;
};

class SessionEndTest : public ::testing::TestWithParam<Engine>, public SessionEnds {
  protected:
    SessionEndTest() : SessionEnds(std::make_unique<test::TestDatabase>(GetParam())) {}
};

TEST_P(SessionEndTest, AConnectionLostBeforeTheEndIsOpenedAgainAndNothingIsLost) {
    auto doc = LogIn();
    test::ScriptedFaults faults;  // outlives the connection, which the end takes away
    faults.FailStatements("TLogIn", "08S01");
    doc->GetDatabase()->Database().SetFaultInjector(&faults);
    doc->EndSession();
    EXPECT_TRUE(m_dialogs.m_messages.empty());
    EXPECT_EQ(CTime(2024, 4, 3, 17, 30, 0), Logout());
    EXPECT_EQ(TimeOfDay(17, 35), Departure(2024, 4, 3));
    EXPECT_EQ(0u, Kept());
}

TEST_P(SessionEndTest, AnEndTheDatabaseCannotTakeIsWrittenAtTheNextLoginOnce) {
    auto doc = LogIn();
    test::ScriptedFaults faults;
    faults.FailStatements("", "08S01", 1000);
    doc->GetDatabase()->Database().SetFaultInjector(&faults);
    doc->EndSession();
    ASSERT_EQ(1u, m_dialogs.m_messages.size());
    EXPECT_NE(std::string::npos, m_dialogs.m_messages[0].find(text::kSessionEndKept));
    EXPECT_TRUE(IsEmptyTime(Logout()));
    EXPECT_EQ(1u, Kept());
    doc.reset();
    EXPECT_EQ(1u, m_dialogs.m_messages.size()) << "the session ended once";

    // The next morning: the evening's logout and departure, with their own times.
    m_clock.Set(CTime(2024, 4, 4, 8, 50, 0).GetTime());
    doc = LogIn();
    EXPECT_EQ(CTime(2024, 4, 3, 17, 30, 0), Logout());
    EXPECT_EQ(TimeOfDay(17, 35), Departure(2024, 4, 3));
    EXPECT_EQ(0u, Kept());
    EXPECT_EQ(1u, m_dialogs.m_messages.size());

    // Nothing is written twice: a departure stamped meanwhile is not overwritten.
    CTimeCard evening = CTimeCard::NewDay(m_userId, 2024, 4, 3, 45);
    ASSERT_EQ(1, CTTimeCard(m_db->Connection()).LoadCard(evening));
    evening.timeTo = TimeOfDay(19, 0);
    ASSERT_EQ(1, CTTimeCard(m_db->Connection()).StoreCard(evening));
    doc.reset();
    doc = LogIn();
    EXPECT_EQ(TimeOfDay(19, 0), Departure(2024, 4, 3));
}

TEST_P(SessionEndTest, AFrozenDatabaseDoesNotHoldTheExit) {
    auto doc = LogIn();
    doc->SetSessionEndLimit(300);
    FrozenServer frozen;
    doc->GetDatabase()->Database().SetFaultInjector(&frozen);
    const auto start = std::chrono::steady_clock::now();
    doc->EndSession();
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, std::chrono::seconds(3));
    EXPECT_EQ(nullptr, doc->GetDatabase());
    ASSERT_EQ(1u, m_dialogs.m_messages.size());
    EXPECT_NE(std::string::npos, m_dialogs.m_messages[0].find(text::kSessionEndKept));
    EXPECT_EQ(1u, Kept());

    // The server wakes up while the program is still there: the end is written then, and
    // the journal entry goes with it.
    frozen.Release();
    for (int i = 0; i < 500 && Kept() != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(0u, Kept());
    EXPECT_EQ(CTime(2024, 4, 3, 17, 30, 0), Logout());
}

// Every way a session ends closes its activity span with its own kind of end; sleep ends a
// span and waking opens the next.
TEST_P(SessionEndTest, EachEndOfASessionClosesItsActivitySpanAsItEnded) {
    const struct {
        const char* name;
        std::function<void(CTokeiyaDoc&)> end;
        ActivityEnd how;
    } cases[] = {
        {"exit", [](CTokeiyaDoc& doc) { doc.EndSession(); }, ActivityEnd::Exit},
        {"desktop logout or SIGTERM",
         [](CTokeiyaDoc& doc) {
             doc.NoteSessionEnd(ActivityEnd::DesktopEnd);
             doc.EndSession();
         },
         ActivityEnd::DesktopEnd},
        {"display lost",
         [](CTokeiyaDoc& doc) {
             doc.DetachDialogs();
             doc.NoteSessionEnd(ActivityEnd::DisplayLost);
             doc.EndSession();
         },
         ActivityEnd::DisplayLost},
    };
    int day = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_clock.Set(CTime(2024, 5, day, 9, 0, 0).GetTime());
        auto doc = LogIn();
        const int64_t span = doc->ActivitySpan();
        EXPECT_NE(0, span);
        m_clock.Set(CTime(2024, 5, day, 17, 0, 0).GetTime());
        c.end(*doc);
        const std::vector<CActivitySpan> spans = Spans(day);
        ASSERT_EQ(1u, spans.size());
        EXPECT_EQ(span, spans[0].idSpan);
        EXPECT_EQ(CTime(2024, 5, day, 9, 0, 0), spans[0].start);
        EXPECT_EQ(CTime(2024, 5, day, 17, 0, 0), spans[0].end);
        EXPECT_EQ(c.how, spans[0].how);
        EXPECT_EQ("PC-7", spans[0].computer);
        ++day;
    }

    m_clock.Set(CTime(2024, 5, 10, 9, 0, 0).GetTime());
    auto doc = LogIn();
    m_clock.Set(CTime(2024, 5, 10, 12, 0, 0).GetTime());
    EXPECT_TRUE(doc->PauseActivity(ActivityEnd::Sleep));
    EXPECT_TRUE(doc->PauseActivity(ActivityEnd::Lock)) << "paused already: nothing more";
    m_clock.Set(CTime(2024, 5, 10, 13, 0, 0).GetTime());
    EXPECT_TRUE(doc->ResumeActivity());
    m_clock.Set(CTime(2024, 5, 10, 18, 0, 0).GetTime());
    doc->EndSession();
    const std::vector<CActivitySpan> spans = Spans(10);
    ASSERT_EQ(2u, spans.size());
    EXPECT_EQ(CTime(2024, 5, 10, 12, 0, 0), spans[0].end);
    EXPECT_EQ(ActivityEnd::Sleep, spans[0].how);
    EXPECT_EQ(CTime(2024, 5, 10, 13, 0, 0), spans[1].start);
    EXPECT_EQ(ActivityEnd::Exit, spans[1].how);
}

// An end the database could not take is written at the next login as written later, with
// the departure stamp and its history row, once.
TEST_P(SessionEndTest, AKeptEndClosesItsSpanAndStampsTheDepartureAsWrittenLater) {
    EndWhileTheDatabaseIsAway();
    m_clock.Set(CTime(2024, 4, 4, 8, 50, 0).GetTime());
    auto doc = LogIn();
    const std::vector<CActivitySpan> spans = Spans(3);
    ASSERT_EQ(1u, spans.size());
    EXPECT_EQ(ActivityEnd::Journal, spans[0].how);
    EXPECT_EQ(CTime(2024, 4, 3, 17, 30, 0), spans[0].end);
    std::vector<CCardChange> changes;
    ASSERT_EQ(1, CTCardHistory(m_db->Connection()).LoadMonth(2024, 4, changes));
    ASSERT_EQ(1u, changes.size());
    EXPECT_EQ(ChangeHow::JournalExit, changes[0].how);
    EXPECT_EQ(TimeOfDay(17, 35), changes[0].after.timeTo);
    EXPECT_EQ("PC-7", changes[0].computer);
    EXPECT_EQ(CTime(2024, 4, 4, 8, 50, 0), changes[0].at);
}

INSTANTIATE_TEST_SUITE_P(Engines, SessionEndTest,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

// Another copy of the program that hangs with the journal's lock: a file lock held by
// another open file, as that process would hold it.
class HeldJournalLock {
  public:
    explicit HeldJournalLock(const std::string& journal)
        : m_fd(open((journal + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        EXPECT_EQ(0, flock(m_fd, LOCK_EX));
    }
    ~HeldJournalLock() { Release(); }
    void Release() {
        if (m_fd >= 0) {
            close(m_fd);
            m_fd = -1;
        }
    }

  private:
    int m_fd;
};

TEST(AttendanceJournal, AHeldLockIsWaitedForBrieflyAndTheEntriesWaitForLater) {
    test::TempFolder folder;
    const std::string path = folder.Path() + "/journal";
    CAttendanceJournal journal(path, 200);
    SessionEndRecord record;
    record.database = "db";
    record.computer = "PC";
    record.userId = 3;
    record.loginId = 7;
    const std::string kept = journal.Add(record);
    ASSERT_FALSE(kept.empty());

    HeldJournalLock stuck(path);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(journal.Pending("db", "PC", 3).empty()) << "not read without the lock";
    EXPECT_EQ("", journal.Add(record)) << "not kept without the lock";
    journal.Remove(kept);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(550)) << "each waited its time";
    EXPECT_LT(waited, std::chrono::seconds(3));

    stuck.Release();
    const auto pending = journal.Pending("db", "PC", 3);
    ASSERT_EQ(1u, pending.size()) << "the entry stayed, and nothing else came in";
    EXPECT_EQ(kept, pending[0].first);
    EXPECT_EQ(record, pending[0].second);
}

class StuckCopyTest : public ::testing::Test, public SessionEnds {
  protected:
    StuckCopyTest() : SessionEnds(std::make_unique<test::TestDatabase>(Engine::SQLite)) {}
};

TEST_F(StuckCopyTest, ALoginGoesOnWhileTheJournalIsLockedAndWritesItsEntriesLater) {
    EndWhileTheDatabaseIsAway();
    ASSERT_EQ(1u, Kept());
    m_dialogs.m_messages.clear();

    m_clock.Set(CTime(2024, 4, 4, 8, 50, 0).GetTime());
    HeldJournalLock stuck(m_context.Context().attendanceJournalFile);
    const auto start = std::chrono::steady_clock::now();
    auto doc = LogIn();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_NE(nullptr, doc->GetDatabase());
    EXPECT_TRUE(IsEmptyTime(Logout())) << "the kept end waits";
    stuck.Release();
    EXPECT_EQ(1u, Kept());

    doc.reset();
    doc = LogIn();
    EXPECT_EQ(CTime(2024, 4, 3, 17, 30, 0), Logout());
    EXPECT_EQ(TimeOfDay(17, 35), Departure(2024, 4, 3));
    EXPECT_EQ(0u, Kept());
    EXPECT_TRUE(m_dialogs.m_messages.empty());
}

// A real server of the test's own, restarted or stopped while the program runs.
class PostgreSQLServerAway : public ::testing::Test {
  protected:
    test::PgCluster m_cluster;
};

TEST_F(PostgreSQLServerAway, ARestartDuringTheDayCostsNoLogoutOrDeparture) {
    SessionEnds session(test::TestDatabase::OnServer(m_cluster.ServerConnect()));
    auto doc = session.LogIn();
    m_cluster.Restart();
    doc->EndSession();
    EXPECT_TRUE(session.m_dialogs.m_messages.empty());
    EXPECT_EQ(CTime(2024, 4, 3, 17, 30, 0), session.Logout());
    EXPECT_EQ(TimeOfDay(17, 35), session.Departure(2024, 4, 3));
    EXPECT_EQ(0u, session.Kept());
}

TEST_F(PostgreSQLServerAway, AStoppedServerKeepsTheEndUntilItIsBack) {
    SessionEnds session(test::TestDatabase::OnServer(m_cluster.ServerConnect()));
    auto doc = session.LogIn();
    m_cluster.StopServer();
    doc->EndSession();
    EXPECT_EQ(1u, session.m_dialogs.m_messages.size());
    EXPECT_EQ(1u, session.Kept());
    doc.reset();

    m_cluster.StartServer();
    session.m_clock.Set(CTime(2024, 4, 4, 8, 50, 0).GetTime());
    doc = session.LogIn();
    EXPECT_EQ(CTime(2024, 4, 3, 17, 30, 0), session.Logout());
    EXPECT_EQ(TimeOfDay(17, 35), session.Departure(2024, 4, 3));
    EXPECT_EQ(0u, session.Kept());
}

}  // namespace
}  // namespace tokeiya
