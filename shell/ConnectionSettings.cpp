#include "shell/ConnectionSettings.hpp"

#include <glib.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/Cp932.hpp"
#include "platform/odbc/ConnectString.hpp"

namespace tokeiya {
namespace {

constexpr const char* kSqliteDriver = "SQLite3";
constexpr const char* kPostgresDriver = "PostgreSQL ANSI";
constexpr const char* kSqlServerDriver = "FreeTDS";

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// A field of a .pgpass line: ':' and '\' are escaped with '\'.
std::string PgPassField(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == ':' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

std::string PortText(int port, int defaultPort) {
    return std::to_string(port > 0 ? port : defaultPort);
}

}  // namespace

std::string ConnectionSettings::EmbeddedDatabasePath() {
    return std::string(g_get_user_data_dir()) + "/tokeiya/tokeiya.db";
}

std::string ConnectionSettings::DefaultConnectString() {
    ConnectionForm form;
    form.engine = DbEngine::SQLite;
    form.file = cp932::FromUtf8(EmbeddedDatabasePath());
    return Build(form, {});
}

std::string ConnectionSettings::Build(const ConnectionForm& form, const std::string& computerName) {
    CConnectString s;
    switch (form.engine) {
        case DbEngine::SQLite:
            s.Set("DRIVER", kSqliteDriver);
            s.Set("Database", form.file);
            // Other copies of the program may hold the file briefly; wait rather than fail.
            s.Set("Timeout", "10000");
            break;
        case DbEngine::PostgreSQL:
            s.Set("DRIVER", kPostgresDriver);
            s.Set("Servername", form.server);
            s.Set("Port", PortText(form.port, 5432));
            s.Set("Database", form.database);
            s.Set("Username", form.user);
            s.Set("ConnSettings", "SET client_encoding TO 'UTF8'");
            break;
        case DbEngine::SqlServer:
            s.Set("DRIVER", kSqlServerDriver);
            s.Set("Server", form.server);
            s.Set("Port", PortText(form.port, 1433));
            // The database a SQL Server installation is given unless said otherwise.
            s.Set("Database", form.database.empty() ? "Tokeiya" : form.database);
            s.Set("UID", form.user);
            s.Set("PWD", form.password);
            s.Set("APP", "Tokeiya");
            s.Set("WSID", computerName);
            s.Set("ClientCharset", "UTF-8");
            break;
    }
    return s.ToString();
}

ConnectionForm ConnectionSettings::ToForm(const std::string& connect) {
    CConnectString s = CConnectString::Parse(connect);
    std::string driver = s.Get("DRIVER");
    ConnectionForm form;
    if (IsSqlite(connect)) {
        form.engine = DbEngine::SQLite;
        form.file = s.Get("Database");
        return form;
    }
    if (Contains(driver, "PostgreSQL") || Contains(driver, "psqlodbc")) {
        form.engine = DbEngine::PostgreSQL;
        form.server = s.Has("Servername") ? s.Get("Servername") : s.Get("Server");
        form.user = s.Has("Username") ? s.Get("Username") : s.Get("UID");
    } else {
        form.engine = DbEngine::SqlServer;
        form.server = s.Get("Server");
        form.user = s.Get("UID");
    }
    form.port = std::atoi(s.Get("Port").c_str());
    form.database = s.Get("Database");
    return form;
}

std::string ConnectionSettings::ForStorage(const std::string& requested,
                                           const std::string& completed) {
    // Some drivers answer with "DSN=;" and no DRIVER key, which would not connect again.
    CConnectString s = CConnectString::Parse(requested);
    CConnectString driver = CConnectString::Parse(completed);
    for (const auto& [key, value] : driver.Pairs()) {
        if (!value.empty() && !(s.Has("DRIVER") && CConnectString::SameKey(key, "DSN"))) {
            s.Set(key, value);
        }
    }
    s.Remove("PWD");
    s.Remove("Password");
    return s.ToString();
}

bool ConnectionSettings::IsSqlite(const std::string& connect) {
    std::string driver = CConnectString::Parse(connect).Get("DRIVER");
    return Contains(driver, "SQLite") || Contains(driver, "sqlite");
}

bool ConnectionSettings::IsSqlServer(const std::string& connect) {
    return ToForm(connect).engine == DbEngine::SqlServer;
}

std::string ConnectionSettings::SqliteFile(const std::string& connect) {
    return CConnectString::Parse(connect).Get("Database");
}

std::string ConnectionSettings::Identity(const std::string& connect) {
    const ConnectionForm form = ToForm(connect);
    switch (form.engine) {
        case DbEngine::SQLite:
            return "sqlite|" + form.file;
        case DbEngine::PostgreSQL:
            return "postgresql|" + form.server + "|" + PortText(form.port, 5432) + "|" +
                   form.database;
        case DbEngine::SqlServer:
            break;
    }
    return "sqlserver|" + form.server + "|" + PortText(form.port, 1433) + "|" + form.database;
}

std::string ConnectionSettings::PasswordKey(const ConnectionForm& form) {
    return form.server + ":" + PortText(form.port, 1433) + ":" + form.database + ":" + form.user;
}

bool ConnectionSettings::SaveServerPassword(const ConnectionForm& form,
                                            IServerPasswords& passwords) {
    if (form.engine != DbEngine::SqlServer) {
        return true;
    }
    ConnectionForm stored = form;
    if (stored.database.empty()) {
        stored.database = "Tokeiya";
    }
    return passwords.Save(PasswordKey(stored), form.password);
}

std::string ConnectionSettings::WithServerPassword(const std::string& connect,
                                                   IServerPasswords& passwords) {
    const ConnectionForm form = ToForm(connect);
    CConnectString s = CConnectString::Parse(connect);
    if (form.engine != DbEngine::SqlServer || s.Has("PWD")) {
        return connect;
    }
    std::optional<std::string> password = passwords.Find(PasswordKey(form));
    if (!password) {
        return connect;
    }
    s.Set("PWD", *password);
    return s.ToString();
}

std::string ConnectionSettings::PasswordFile() {
    const char* file = std::getenv("PGPASSFILE");
    if (file != nullptr && *file != '\0') {
        return file;
    }
    return std::string(g_get_home_dir()) + "/.pgpass";
}

bool ConnectionSettings::SavePassword(const ConnectionForm& form, const std::string& path) {
    if (form.engine != DbEngine::PostgreSQL) {
        return true;
    }
    std::string prefix = PgPassField(cp932::ToUtf8(form.server)) + ":" + PortText(form.port, 5432) +
                         ":" + PgPassField(cp932::ToUtf8(form.database)) + ":" +
                         PgPassField(cp932::ToUtf8(form.user)) + ":";
    std::vector<std::string> lines;
    {
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind(prefix, 0) != 0) {
                lines.push_back(line);
            }
        }
    }
    if (!form.password.empty()) {
        lines.push_back(prefix + PgPassField(cp932::ToUtf8(form.password)));
    }
    std::ostringstream text;
    for (const std::string& line : lines) {
        text << line << '\n';
    }
    std::string contents = text.str();
    // libpq ignores a password file that others can read.
    GError* error = nullptr;
    gboolean ok = g_file_set_contents_full(path.c_str(), contents.data(),
                                           static_cast<gssize>(contents.size()),
                                           G_FILE_SET_CONTENTS_CONSISTENT, 0600, &error);
    if (error != nullptr) {
        g_error_free(error);
    }
    return ok != FALSE;
}

}  // namespace tokeiya
