// tokeiya-dbsetup: creates or upgrades a Tokeiya database from the scripts built into the
// program, on any engine the program supports.
//
//   tokeiya-dbsetup                       the embedded database of the current user
//   tokeiya-dbsetup --sqlite FILE         an SQLite database file
//   tokeiya-dbsetup --connect "ODBC connection string"
//   tokeiya-dbsetup --status ...          only tell the versions

#include <glib.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "data/CConnection.hpp"
#include "data/CSchemaSetup.hpp"
#include "platform/Cp932.hpp"
#include "platform/PrivateKeyFile.hpp"
#include "platform/odbc/ConnectString.hpp"
#include "platform/odbc/DbException.hpp"

namespace {

constexpr const char* kUsage =
    "usage: tokeiya-dbsetup [--status] [--sqlite FILE | --connect ODBC-CONNECTION-STRING]\n"
    "Creates or upgrades a Tokeiya database. Without a target it sets up the embedded\n"
    "database of the current user ($XDG_DATA_HOME/tokeiya/tokeiya.db).\n";

std::string SqliteConnect(const std::string& file) {
    // Everyone's pay goes into it: only its user reads it.
    tokeiya::CreatePrivateFile(file);
    tokeiya::CConnectString s;
    s.Set("DRIVER", "SQLite3");
    s.Set("Database", tokeiya::cp932::FromUtf8(file));
    return s.ToString();
}

}  // namespace

int main(int argc, char** argv) {
    std::string connect;
    bool statusOnly = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--status") {
            statusOnly = true;
        } else if (arg == "--sqlite" && i + 1 < argc) {
            connect = SqliteConnect(argv[++i]);
        } else if (arg == "--connect" && i + 1 < argc) {
            connect = tokeiya::cp932::FromUtf8(argv[++i]);
        } else {
            std::fputs(kUsage, arg == "--help" ? stdout : stderr);
            return arg == "--help" ? 0 : 2;
        }
    }
    if (connect.empty()) {
        connect = SqliteConnect(std::string(g_get_user_data_dir()) + "/tokeiya/tokeiya.db");
    }
    try {
        tokeiya::CConnection connection(connect);
        tokeiya::CSchemaSetup setup(connection);
        int before = setup.CurrentVersion();
        int latest = setup.LatestVersion();
        if (statusOnly) {
            std::printf("database version %d, scripts up to %d\n", before, latest);
            return before == latest ? 0 : 3;
        }
        int after = setup.Upgrade();
        if (after == before) {
            std::printf("database is up to date (version %d)\n", after);
        } else {
            std::printf("database upgraded from version %d to %d\n", before, after);
        }
        return 0;
    } catch (const tokeiya::CDBException& e) {
        std::fprintf(stderr, "tokeiya-dbsetup: [%s] %s\n", e.SqlState().c_str(),
                     tokeiya::cp932::ToUtf8(e.DriverMessage()).c_str());
        if (!e.Statement().empty()) {
            std::fprintf(stderr, "statement: %s\n", tokeiya::cp932::ToUtf8(e.Statement()).c_str());
        }
        return 1;
    }
}
