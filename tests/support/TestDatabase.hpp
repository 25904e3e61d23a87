#pragma once

#include <memory>
#include <string>

#include "data/CConnection.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya::test {

enum class Engine { SQLite, PostgreSQL };

// A fresh database with the current schema for one test: a temporary SQLite file, or a new
// database on the throwaway PostgreSQL cluster named by $TOKEIYA_TEST_PG (an ODBC
// connection string without a database). Dropped again on destruction.
class TestDatabase {
  public:
    // At schema `version` when given, else at the newest.
    explicit TestDatabase(Engine engine, int version = 0);
    // A PostgreSQL database on the server named by `serverConnect` (a connection string
    // without a database), for tests with a server of their own.
    static std::unique_ptr<TestDatabase> OnServer(const std::string& serverConnect);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // The connection string of the test database.
    const std::string& ConnectString() const { return m_connect; }
    // A connection opened for the test body (opened on first use).
    CConnection& Connection();
    // A second, independent connection, as another computer would have.
    std::unique_ptr<CConnection> OpenAnother() const;

  private:
    TestDatabase(Engine engine, const std::string& serverConnect, int version = 0);

    Engine m_engine;
    std::unique_ptr<TempFolder> m_folder;  // SQLite only
    std::string m_databaseName;
    std::string m_serverConnect;
    std::string m_connect;
    std::unique_ptr<CConnection> m_connection;
};

// Prints the engine in parameterised test names.
std::string EngineName(Engine engine);

}  // namespace tokeiya::test
