#include "tests/support/PgCluster.hpp"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace tokeiya::test {
namespace {

std::string Script() {
    return std::string(TOKEIYA_SOURCE_DIR) + "/scripts/pg-cluster.sh";
}

}  // namespace

PgCluster::PgCluster() {
    FILE* out = popen((Script() + " start").c_str(), "r");
    if (out == nullptr) {
        throw std::runtime_error("cannot run pg-cluster.sh");
    }
    char line[512] = {};
    if (std::fgets(line, sizeof line, out) != nullptr) {
        m_folder = line;
    }
    const int status = pclose(out);
    while (!m_folder.empty() && (m_folder.back() == '\n' || m_folder.back() == '\r')) {
        m_folder.pop_back();
    }
    if (status != 0 || m_folder.empty()) {
        throw std::runtime_error("pg-cluster.sh start failed");
    }
}

PgCluster::~PgCluster() {
    // A cluster that will not stop is left to the temporary folder's clean-up.
    static_cast<void>(!std::system((Script() + " stop '" + m_folder + "'").c_str()));
}

std::string PgCluster::ServerConnect() const {
    return "DRIVER=PostgreSQL ANSI;Servername=" + m_folder +
           ";Port=5432;Username=postgres;ConnSettings=SET client_encoding TO 'UTF8';";
}

void PgCluster::Run(const std::string& command) const {
    if (std::system((Script() + " " + command + " '" + m_folder + "'").c_str()) != 0) {
        throw std::runtime_error("pg-cluster.sh " + command + " failed");
    }
}

void PgCluster::Restart() {
    Run("restart");
}

void PgCluster::StopServer() {
    Run("server-stop");
}

void PgCluster::StartServer() {
    Run("server-start");
}

}  // namespace tokeiya::test
