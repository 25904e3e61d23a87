#include "platform/SystemInfo.hpp"

#include <glib.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/Cp932.hpp"

namespace tokeiya {
namespace {

struct FreeDeleter {
    void operator()(char* text) const { std::free(text); }
};

}  // namespace

std::optional<std::string> ComputerName() {
    // Room for the longest name the kernel keeps (64 bytes) and its terminator.
    char buffer[HOST_NAME_MAX + 2] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0 || buffer[0] == '\0') {
        return std::nullopt;
    }
    return ComputerNameText(buffer);
}

std::string ComputerNameText(const std::string& utf8) {
    if (std::optional<std::string> whole = cp932::FromUtf8Strict(utf8)) {
        return *whole;
    }
    std::string text;
    const char* p = utf8.c_str();
    const char* end = p + utf8.size();
    while (p < end) {
        const gunichar c = g_utf8_get_char_validated(p, end - p);
        if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(*p));
            text += escaped;
            ++p;
            continue;
        }
        const char* next = g_utf8_next_char(p);
        if (std::optional<std::string> one = cp932::FromUtf8Strict(std::string_view(p, next - p))) {
            text += *one;
        } else {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "U+%04X", static_cast<unsigned>(c));
            text += escaped;
        }
        p = next;
    }
    return text;
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

std::string ExecutableFolder() {
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        return {};
    }
    std::string folder(path, static_cast<size_t>(length));
    const size_t slash = folder.rfind('/');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
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
