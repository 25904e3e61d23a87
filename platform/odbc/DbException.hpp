#pragma once

#include <stdexcept>
#include <string>

namespace tokeiya {

// The one error type of the database layer: what the driver said, in CP932, with the
// SQLSTATE and the statement that failed (empty for connection-level failures).
class CDBException : public std::runtime_error {
  public:
    CDBException(std::string sqlState, std::string driverMessage, std::string statement,
                 int nativeError = 0);

    const std::string& SqlState() const { return m_sqlState; }
    const std::string& DriverMessage() const { return m_driverMessage; }
    const std::string& Statement() const { return m_statement; }
    int NativeError() const { return m_nativeError; }

    // A unique key or another constraint refused the row: SQLSTATE class 23, or the SQLite
    // driver's HY000 carrying SQLite's own constraint code 19.
    bool IsConstraintViolation() const;
    // The connection to the server broke (SQLSTATE class 08, or the server ending the
    // session: 57P01..57P03); a new connection may succeed where this one cannot.
    bool IsConnectionLost() const;

    // Set once the failure was told to the user, so that no one tells it twice.
    bool Reported() const { return m_reported; }
    void MarkReported() const { m_reported = true; }

  private:
    std::string m_sqlState;
    std::string m_driverMessage;
    std::string m_statement;
    int m_nativeError;
    mutable bool m_reported = false;
};

}  // namespace tokeiya
