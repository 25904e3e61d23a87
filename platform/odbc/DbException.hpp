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

  private:
    std::string m_sqlState;
    std::string m_driverMessage;
    std::string m_statement;
    int m_nativeError;
};

}  // namespace tokeiya
