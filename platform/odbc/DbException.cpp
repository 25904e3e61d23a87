#include "platform/odbc/DbException.hpp"

namespace tokeiya {

CDBException::CDBException(std::string sqlState, std::string driverMessage, std::string statement,
                           int nativeError)
    : std::runtime_error("[" + sqlState + "] " + driverMessage),
      m_sqlState(std::move(sqlState)),
      m_driverMessage(std::move(driverMessage)),
      m_statement(std::move(statement)),
      m_nativeError(nativeError) {}

bool CDBException::IsConstraintViolation() const {
    constexpr int kSqliteConstraint = 19;
    return m_sqlState.rfind("23", 0) == 0 ||
           (m_sqlState == "HY000" && m_nativeError == kSqliteConstraint);
}

bool CDBException::IsConnectionLost() const {
    return m_sqlState.rfind("08", 0) == 0 || m_sqlState == "57P01" || m_sqlState == "57P02" ||
           m_sqlState == "57P03";
}

}  // namespace tokeiya
