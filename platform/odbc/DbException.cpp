#include "platform/odbc/DbException.hpp"

namespace tokeiya {

CDBException::CDBException(std::string sqlState, std::string driverMessage, std::string statement)
    : std::runtime_error("[" + sqlState + "] " + driverMessage),
      m_sqlState(std::move(sqlState)),
      m_driverMessage(std::move(driverMessage)),
      m_statement(std::move(statement)) {}

}  // namespace tokeiya
