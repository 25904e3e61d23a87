#pragma once

#include <string>

#include "platform/odbc/DbException.hpp"

namespace tokeiya {

// Where a connection's failures go to be told to the user: once per failure, with the
// driver's message. The program goes on afterwards; what was on screen stays.
class IDbErrorSink {
  public:
    virtual ~IDbErrorSink() = default;
    virtual void OnDatabaseError(const CDBException& error) = 0;
};

// A seam for tests: consulted before every statement and every commit of a connection, it
// may throw a CDBException to make that step fail as a driver would.
class IDbFaultInjector {
  public:
    virtual ~IDbFaultInjector() = default;
    virtual void BeforeStatement(const std::string& sql) = 0;
    virtual void BeforeCommit() = 0;
};

// The statements that open, keep and undo a savepoint, with "%s" where its name goes; empty
// where the engine has no such statement (SQL Server releases nothing).
struct SavepointSyntax {
    std::string create = "SAVEPOINT %s";
    std::string release = "RELEASE SAVEPOINT %s";
    std::string rollback = "ROLLBACK TO SAVEPOINT %s";
};

}  // namespace tokeiya
