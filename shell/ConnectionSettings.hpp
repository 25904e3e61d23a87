#pragma once

#include <string>

#include "shell/ConnectionForm.hpp"
#include "shell/ServerPasswords.hpp"

namespace tokeiya {

// Where the connection to the database comes from: the embedded SQLite file by default,
// the connection dialog's fields, and the password files of the servers.
class ConnectionSettings {
  public:
    // $XDG_DATA_HOME/tokeiya/tokeiya.db (UTF-8 path).
    static std::string EmbeddedDatabasePath();
    // The connection used when none is stored: the embedded database.
    static std::string DefaultConnectString();

    // The connection string for the dialog's fields. The password is left out for
    // PostgreSQL, which reads it from the password file (see SavePassword).
    static std::string Build(const ConnectionForm& form, const std::string& computerName);
    // The dialog's fields for a stored connection string (password empty).
    static ConnectionForm ToForm(const std::string& connect);
    // The string to keep in the settings file: what was asked for, completed by what the
    // driver reported (its empty keys dropped), without any password.
    static std::string ForStorage(const std::string& requested, const std::string& completed);
    // Keeps a PostgreSQL password in the password file (mode 600), replacing the line for
    // the same server, port, database and user. False when the file cannot be written.
    static bool SavePassword(const ConnectionForm& form, const std::string& passwordFile);
    // The file libpq reads passwords from: $PGPASSFILE, else ~/.pgpass.
    static std::string PasswordFile();
    // The key of a SQL Server password in IServerPasswords: server, port, database, user.
    static std::string PasswordKey(const ConnectionForm& form);
    // Keeps a SQL Server password where only its user can read it; other engines keep
    // theirs elsewhere (SavePassword). False when it could not be kept.
    static bool SaveServerPassword(const ConnectionForm& form, IServerPasswords& passwords);
    // A stored SQL Server connection with its kept password added for connecting (the
    // settings file never holds it); any other string unchanged.
    static std::string WithServerPassword(const std::string& connect, IServerPasswords& passwords);
    // True when the connection string names an SQLite database.
    static bool IsSqlite(const std::string& connect);
    // True when it names a SQL Server (anything but SQLite and PostgreSQL).
    static bool IsSqlServer(const std::string& connect);
    // The database file an SQLite connection string names.
    static std::string SqliteFile(const std::string& connect);
    // What tells one database from another, whatever else the string holds: the engine
    // with the file, or with the server, port and database.
    static std::string Identity(const std::string& connect);
};

}  // namespace tokeiya
