#include "platform/PrivateKeyFile.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace tokeiya {

KeyFilePtr LoadKeyFile(const std::string& path, bool* loaded) {
    KeyFilePtr file(g_key_file_new());
    const gboolean ok =
        g_key_file_load_from_file(file.get(), path.c_str(), G_KEY_FILE_NONE, nullptr);
    if (loaded != nullptr) {
        *loaded = ok != FALSE;
    }
    return file;
}

bool SavePrivateKeyFile(GKeyFile* file, const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (!folder.empty()) {
        g_mkdir_with_parents(folder.c_str(), 0700);
    }
    gsize length = 0;
    gchar* data = g_key_file_to_data(file, &length, nullptr);
    const gboolean ok = g_file_set_contents_full(path.c_str(), data, static_cast<gssize>(length),
                                                 G_FILE_SET_CONTENTS_CONSISTENT, 0600, nullptr);
    g_free(data);
    return ok != FALSE;
}

bool CreatePrivateFile(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (!folder.empty()) {
        g_mkdir_with_parents(folder.c_str(), 0700);
    }
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return errno == EEXIST;
    }
    close(fd);
    return true;
}

std::string KeyFileString(GKeyFile* file, const char* group, const char* key) {
    gchar* value = g_key_file_get_string(file, group, key, nullptr);
    std::string text = value != nullptr ? value : "";
    g_free(value);
    return text;
}

}  // namespace tokeiya
