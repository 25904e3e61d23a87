#include "app/CommandLine.hpp"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Cp932.hpp"
#include "platform/ProfileStore.hpp"
#include "shell/CAttendanceJournal.hpp"
#include "shell/ConnectionSettings.hpp"

namespace tokeiya::app {
namespace {

// One screen: what the program does at login and logout, the files it keeps for this user
// (the real paths, after $XDG_CONFIG_HOME and the like) and how to move it to a server.
void PrintHelp() {
    std::printf(
        "usage: tokeiya [--help | --version]\n"
        "%s (Tokeiya): attendance, schedule and pay for a small office. Started when the\n"
        "user logs in to the desktop it stamps the arrival; ending it, or the desktop\n"
        "session, stamps the departure (as its options say). One copy runs per user.\n"
        "\n"
        "This user's files:\n"
        "  settings           %s\n"
        "  embedded database  %s\n"
        "                     (used while no server is set; created at the first start)\n"
        "  pending stamps     %s\n"
        "                     (stamps the database did not take, written at the next login)\n"
        "\n"
        "To use the office's PostgreSQL server, create its tables once with\n"
        "  tokeiya-dbsetup --connect \"ODBC-CONNECTION-STRING\"\n"
        "then, on each PC, either put the same string in the settings file:\n"
        "  [DATABASE]\n"
        "  Connection=DRIVER=PostgreSQL ANSI;Servername=HOST;Port=5432;Database=tokeiya;\n"
        "    Username=USER;ConnSettings=SET client_encoding TO 'UTF8';   (on one line)\n"
        "or remove the [DATABASE] section: the database dialog asks at the next start.\n"
        "\n"
        "  --help     this text\n"
        "  --version  the version\n",
        cp932::ToUtf8("とけい屋").c_str(), CProfileStore::DefaultPath().c_str(),
        ConnectionSettings::EmbeddedDatabasePath().c_str(),
        CAttendanceJournal::DefaultPath().c_str());
}

}  // namespace

std::optional<int> AnswerInformationOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintHelp();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tokeiya %s\n", TOKEIYA_VERSION);
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> RefuseLeftoverArguments(int argc, char** argv) {
    if (argc <= 1) {
        return std::nullopt;
    }
    std::fprintf(stderr, "tokeiya: unknown argument \"%s\" (tokeiya --help lists the options)\n",
                 argv[1]);
    return 2;
}

}  // namespace tokeiya::app
