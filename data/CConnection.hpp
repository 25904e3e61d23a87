#pragma once

#include <memory>
#include <string>

#include "data/SqlDialect.hpp"
#include "platform/odbc/CDatabase.hpp"

namespace tokeiya {

// The session's database connection together with the dialect of its engine, which every
// record class needs to build its SQL.
class CConnection {
  public:
    // Connects; throws CDBException when the driver refuses.
    explicit CConnection(const std::string& connect);

    CDatabase& Database() { return m_db; }
    const SqlDialect& Dialect() const { return *m_dialect; }
    // The connection string as the driver completed it.
    const std::string& GetConnect() const { return m_db.GetConnect(); }
    // The connection string as it was asked for.
    const std::string& RequestedConnect() const { return m_requested; }
    bool IsOpen() const { return m_db.IsOpen(); }
    void Close() { m_db.Close(); }

  private:
    std::string m_requested;
    CDatabase m_db;
    std::unique_ptr<SqlDialect> m_dialect;
};

}  // namespace tokeiya
