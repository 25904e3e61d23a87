#pragma once

#include <string>

namespace tokeiya::test {

// A PostgreSQL cluster of one test's own (scripts/pg-cluster.sh), listening on a Unix
// socket in a temporary folder, so that the test may stop and restart its server without
// disturbing the other tests. Removed on destruction.
class PgCluster {
  public:
    PgCluster();
    ~PgCluster();
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    // The connection string of the server, without a database.
    std::string ServerConnect() const;
    void Restart();
    void StopServer();
    void StartServer();

  private:
    void Run(const std::string& command) const;
    std::string m_folder;
};

}  // namespace tokeiya::test
