#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/odbc/CDatabase.hpp"

namespace tokeiya::test {

// Makes chosen statements or commits of a connection fail as a driver would. Install it with
// CDatabase::SetFaultInjector, or through FaultInjector, which uninstalls it again.
class ScriptedFaults : public IDbFaultInjector {
  public:
    // The next `times` statements whose text contains `fragment` fail with `sqlState`.
    void FailStatements(std::string fragment, std::string sqlState = "HY000", int times = 1);
    // The next `times` commits fail.
    void FailCommits(int times = 1);

    void BeforeStatement(const std::string& sql) override;
    void BeforeCommit() override;

    std::vector<std::string> statements;  // every statement seen, failed or not
    // Runs before each statement (after it was recorded, before any failure is made): what
    // another computer does at that moment.
    std::function<void(const std::string& sql)> onStatement;

  private:
    std::string m_fragment;
    std::string m_state;
    int m_statementFailures = 0;
    int m_commitFailures = 0;
};

// ScriptedFaults installed on one connection for its own lifetime; the connection must
// outlive it (a connection that a session end takes away needs ScriptedFaults instead).
class FaultInjector : public ScriptedFaults {
  public:
    explicit FaultInjector(CDatabase& db) : m_db(db) { db.SetFaultInjector(this); }
    ~FaultInjector() override { m_db.SetFaultInjector(nullptr); }
    FaultInjector(const FaultInjector&) = delete;
    FaultInjector& operator=(const FaultInjector&) = delete;

  private:
    CDatabase& m_db;
};

// Collects what a connection tells its user, installed for its lifetime.
class RecordingSink : public IDbErrorSink {
  public:
    explicit RecordingSink(CDatabase& db) : m_db(db) { db.SetErrorSink(this); }
    ~RecordingSink() override { m_db.SetErrorSink(nullptr); }
    RecordingSink(const RecordingSink&) = delete;
    RecordingSink& operator=(const RecordingSink&) = delete;

    void OnDatabaseError(const CDBException& error) override { messages.push_back(error.what()); }

    std::vector<std::string> messages;

  private:
    CDatabase& m_db;
};

// The message the fault injector puts into its failures.
inline constexpr const char* kInjectedFailure = "injected failure";

}  // namespace tokeiya::test
