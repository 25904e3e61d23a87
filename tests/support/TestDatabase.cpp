#include "tests/support/TestDatabase.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

#include "data/CSchemaSetup.hpp"
#include "platform/odbc/ConnectString.hpp"

namespace tokeiya::test {
namespace {

std::string UniqueDatabaseName() {
    static std::atomic<int> counter{0};
    return "tokeiya_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
}

std::string ServerOf(Engine engine) {
    if (engine == Engine::SQLite) {
        return {};
    }
    const char* server = std::getenv("TOKEIYA_TEST_PG");
    if (server == nullptr || *server == '\0') {
        throw std::runtime_error(
            "TOKEIYA_TEST_PG is not set: run the PostgreSQL tests through "
            "scripts/run-tests.sh");
    }
    return server;
}

}  // namespace

std::string EngineName(Engine engine) {
    return engine == Engine::SQLite ? "SQLite" : "PostgreSQL";
}

TestDatabase::TestDatabase(Engine engine, int version)
    : TestDatabase(engine, ServerOf(engine), version) {}

std::unique_ptr<TestDatabase> TestDatabase::OnServer(const std::string& serverConnect) {
    return std::unique_ptr<TestDatabase>(new TestDatabase(Engine::PostgreSQL, serverConnect));
}

TestDatabase::TestDatabase(Engine engine, const std::string& serverConnect, int version)
    : m_engine(engine) {
    if (engine == Engine::SQLite) {
        m_folder = std::make_unique<TempFolder>();
        m_connect = "DRIVER=SQLite3;Database=" + m_folder->Path() + "/test.db;Timeout=10000;";
    } else {
        m_serverConnect = serverConnect;
        m_databaseName = UniqueDatabaseName();
        CConnectString admin = CConnectString::Parse(m_serverConnect);
        admin.Set("Database", "postgres");
        CConnection postgres(admin.ToString());
        postgres.Database().ExecuteSQL("CREATE DATABASE " + m_databaseName + " ENCODING 'UTF8'");
        CConnectString own = CConnectString::Parse(m_serverConnect);
        own.Set("Database", m_databaseName);
        m_connect = own.ToString();
    }
    CConnection setup(m_connect);
    CSchemaSetup(setup).Upgrade(version);
}

TestDatabase::~TestDatabase() {
    m_connection.reset();
    try {
        if (m_engine == Engine::PostgreSQL) {
            CConnectString admin = CConnectString::Parse(m_serverConnect);
            admin.Set("Database", "postgres");
            CConnection postgres(admin.ToString());
            postgres.Database().ExecuteSQL("DROP DATABASE IF EXISTS " + m_databaseName);
        }
    } catch (const std::exception& e) {
        ADD_FAILURE() << "cannot drop the test database: " << e.what();
    }
}

CConnection& TestDatabase::Connection() {
    if (!m_connection) {
        m_connection = std::make_unique<CConnection>(m_connect);
    }
    return *m_connection;
}

std::unique_ptr<CConnection> TestDatabase::OpenAnother() const {
    return std::make_unique<CConnection>(m_connect);
}

}  // namespace tokeiya::test
