#include "platform/SystemInfo.hpp"

#include <glib.h>
#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace tokeiya {
namespace {

struct FreeDeleter {
    void operator()(char* text) const { std::free(text); }
};

}  // namespace

std::optional<std::string> ComputerName() {
    char buffer[HOST_NAME_MAX + 1] = {};
    // A truncated name is not guaranteed to be terminated; the last byte always stays 0.
    if (gethostname(buffer, sizeof buffer - 1) != 0 || buffer[0] == '\0') {
        return std::nullopt;
    }
    return std::string(buffer);
}

std::string CurrentFolder() {
    const std::unique_ptr<char, FreeDeleter> path(getcwd(nullptr, 0));
    // Older C libraries report an unlinked directory as "(unreachable)/..." instead of
    // failing; only an absolute path is a usable folder.
    if (!path || path.get()[0] != '/') {
        return {};
    }
    std::string folder(path.get());
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string DocumentsFolder() {
    if (const char* documents = g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS)) {
        if (*documents != '\0') {
            return documents;
        }
    }
    const char* home = std::getenv("HOME");
    return home != nullptr ? std::string(home) : std::string();
}

}  // namespace tokeiya
