#pragma once

#include <string>

namespace tokeiya {

// The database engines a connection can name.
enum class DbEngine { SQLite, PostgreSQL, SqlServer };

// What the connection dialog asks for, standing in for an ODBC driver's own prompt. Texts
// are CP932; errorText, when not empty, is the failure the dialog is shown again for.
struct ConnectionForm {
    DbEngine engine = DbEngine::SQLite;
    std::string file;  // SQLite database file
    std::string server;
    int port = 0;  // 0: the engine's default port
    std::string database;
    std::string user;
    std::string password;
    std::string errorText;
};

}  // namespace tokeiya
