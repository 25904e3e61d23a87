#include "platform/gtk/RuntimeSocket.hpp"

#include <sys/stat.h>

#include <cstdlib>

namespace tokeiya::gtk {

std::optional<std::string> RuntimeSocket(const char* name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0') {
        return std::nullopt;
    }
    std::string socket = std::string(runtime) + "/" + name;
    struct stat info {};
    if (stat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) {
        return std::nullopt;
    }
    return socket;
}

}  // namespace tokeiya::gtk
