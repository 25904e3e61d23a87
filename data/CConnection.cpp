#include "data/CConnection.hpp"

namespace tokeiya {

CConnection::CConnection(const std::string& connect) : m_requested(connect) {
    m_db.OpenEx(connect);
    m_dialect = SqlDialect::ForDbmsName(m_db.GetDBMSName());
}

}  // namespace tokeiya
