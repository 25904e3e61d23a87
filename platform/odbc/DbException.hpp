#pragma once

#include <stdexcept>
#include <string>

namespace tokeiya {

// The one error type of the database layer: what the driver said, in CP932, with the
// SQLSTATE and the statement that failed (empty for connection-level failures).
class CDBException : public std::runtime_error {
  public:
    CDBException(std::string sqlState, std::string driverMessage, std::string statement);

    const std::string& SqlState() const { return m_sqlState; }
    const std::string& DriverMessage() const { return m_driverMessage; }
    const std::string& Statement() const { return m_statement; }

    // SQLSTATE class 23: a unique key or another constraint refused the row.
    bool IsConstraintViolation() const { return m_sqlState.rfind("23", 0) == 0; }

  private:
    std::string m_sqlState;
    std::string m_driverMessage;
    std::string m_statement;
};

}  // namespace tokeiya
