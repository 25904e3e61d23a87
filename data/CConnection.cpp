#include "data/CConnection.hpp"

#include "platform/TextHelpers.hpp"
#include "platform/odbc/ConnectString.hpp"

namespace tokeiya {
namespace {

// psqlODBC wraps each statement of a transaction in a savepoint of its own and releases it
// afterwards, which releases every savepoint the statement made, and may roll back the
// whole transaction on an error. The program's transactions manage their savepoints
// themselves, so the driver is told to leave errors alone (rollback level 0). Its
// server-side prepared statements are named after the statement's address and outlive a
// failed transaction, so that a later statement at the same address is refused: the driver
// binds the parameters itself instead.
void SetPostgresOptions(CConnectString& options) {
    options.Set("Protocol", "7.4-0");
    options.Set("UseServerSidePrepare", "0");
}

bool NamesPostgres(const CConnectString& connect) {
    const std::string driver = UpperText(connect.Get("DRIVER"));
    return FindText(driver, "POSTGRES") != std::string::npos ||
           FindText(driver, "PSQLODBC") != std::string::npos;
}

}  // namespace

CConnection::CConnection(const std::string& connect) : m_requested(connect) {
    CConnectString options = CConnectString::Parse(connect);
    const bool knownPostgres = NamesPostgres(options);
    if (knownPostgres) {
        SetPostgresOptions(options);
    }
    m_db.OpenEx(knownPostgres ? options.ToString() : connect);
    m_dialect = SqlDialect::ForDbmsName(m_db.GetDBMSName());
    if (m_dialect->GetEngine() == SqlDialect::Engine::PostgreSQL && !knownPostgres) {
        // A data source name that turned out to be PostgreSQL: once more with the option.
        SetPostgresOptions(options);
        m_db.OpenEx(options.ToString());
    }
    m_db.SetSavepointSyntax(m_dialect->Savepoints());
}

}  // namespace tokeiya
