#include "platform/ProfileStore.hpp"

#include <glib.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "platform/Cp932.hpp"

namespace tokeiya {
namespace {

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, GErrorFree>;

struct GFree {
    void operator()(gchar* text) const { g_free(text); }
};
using GStringPtr = std::unique_ptr<gchar, GFree>;

// GKeyFile refuses (with a critical warning) names that would break the file's syntax;
// those are turned away here instead.
bool IsValidName(const std::string& name) {
    if (name.empty() || name.front() == ' ' || name.back() == ' ') {
        return false;
    }
    for (const char c : name) {
        if (c < 0x20 || c > 0x7E || c == '[' || c == ']' || c == '=') {
            return false;
        }
    }
    return true;
}

}  // namespace

bool CProfileStore::FileStamp::operator==(const FileStamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec;
}

void CProfileStore::KeyFileUnref::operator()(GKeyFile* keyFile) const {
    g_key_file_unref(keyFile);
}

CProfileStore::CProfileStore(std::string utf8Path)
    : m_path(std::move(utf8Path)), m_keyFile(g_key_file_new()) {
    Refresh();
}

CProfileStore::~CProfileStore() = default;

std::string CProfileStore::Beside(const std::string& settingsPath, const std::string& name) {
    gchar* folder = g_path_get_dirname(settingsPath.c_str());
    std::string path = std::string(folder) + "/" + name;
    g_free(folder);
    return path;
}

std::string CProfileStore::DefaultPath() {
    return std::string(g_get_user_config_dir()) + "/VA-V/Tokeiya.ini";
}

CProfileStore::FileStamp CProfileStore::StampOfFile() const {
    FileStamp stamp;
    struct stat info {};
    if (stat(m_path.c_str(), &info) == 0) {
        stamp.exists = true;
        stamp.device = info.st_dev;
        stamp.inode = info.st_ino;
        stamp.size = info.st_size;
        stamp.modified = info.st_mtim;
    }
    return stamp;
}

void CProfileStore::Refresh() const {
    const FileStamp stamp = StampOfFile();
    if (!m_loaded || !(*m_loaded == stamp)) {
        Load(stamp);
    }
}

void CProfileStore::Load(const FileStamp& stamp) const {
    m_keyFile.reset(g_key_file_new());
    m_setAsideOnWrite = false;
    if (stamp.exists) {
        GError* rawError = nullptr;
        if (!g_key_file_load_from_file(m_keyFile.get(), m_path.c_str(), G_KEY_FILE_KEEP_COMMENTS,
                                       &rawError)) {
            ErrorPtr error(rawError);
            m_keyFile.reset(g_key_file_new());
            m_setAsideOnWrite = true;
        }
    }
    m_loaded = stamp;
}

int CProfileStore::GetProfileInt(const std::string& section, const std::string& key,
                                 int defaultValue) const {
    if (!IsValidName(section) || !IsValidName(key)) {
        return defaultValue;
    }
    Refresh();
    GError* rawError = nullptr;
    const int value =
        g_key_file_get_integer(m_keyFile.get(), section.c_str(), key.c_str(), &rawError);
    ErrorPtr error(rawError);
    return error ? defaultValue : value;
}

std::string CProfileStore::GetProfileString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue) const {
    if (!IsValidName(section) || !IsValidName(key)) {
        return defaultValue;
    }
    Refresh();
    GError* rawError = nullptr;
    GStringPtr value(
        g_key_file_get_string(m_keyFile.get(), section.c_str(), key.c_str(), &rawError));
    ErrorPtr error(rawError);
    if (!value) {
        return defaultValue;
    }
    return cp932::FromUtf8(value.get());
}

bool CProfileStore::WriteProfileInt(const std::string& section, const std::string& key, int value) {
    if (!IsValidName(section) || !IsValidName(key)) {
        return false;
    }
    Refresh();
    g_key_file_set_integer(m_keyFile.get(), section.c_str(), key.c_str(), value);
    return Save();
}

bool CProfileStore::WriteProfileString(const std::string& section, const std::string& key,
                                       const std::string& value) {
    if (!IsValidName(section) || !IsValidName(key) || value.find('\0') != std::string::npos) {
        return false;
    }
    const std::optional<std::string> utf8 = cp932::ToUtf8Strict(value);
    if (!utf8) {
        return false;
    }
    Refresh();
    g_key_file_set_string(m_keyFile.get(), section.c_str(), key.c_str(), utf8->c_str());
    return Save();
}

bool CProfileStore::DeleteProfileKey(const std::string& section, const std::string& key) {
    if (!IsValidName(section) || !IsValidName(key)) {
        return false;
    }
    Refresh();
    if (g_key_file_has_key(m_keyFile.get(), section.c_str(), key.c_str(), nullptr) == FALSE) {
        return true;
    }
    g_key_file_remove_key(m_keyFile.get(), section.c_str(), key.c_str(), nullptr);
    return Save();
}

bool CProfileStore::Save() {
    // Whatever happens below, a failed save must not leave the unsaved value readable:
    // forgetting the stamp makes the next access reload the file as it is on disk.
    m_loaded.reset();

    GStringPtr folder(g_path_get_dirname(m_path.c_str()));
    if (g_mkdir_with_parents(folder.get(), 0700) != 0) {
        return false;
    }
    if (m_setAsideOnWrite) {
        const std::string asidePath = m_path + ".corrupt";
        if (std::rename(m_path.c_str(), asidePath.c_str()) != 0 && errno != ENOENT) {
            return false;
        }
        m_setAsideOnWrite = false;
    }

    gsize length = 0;
    GStringPtr data(g_key_file_to_data(m_keyFile.get(), &length, nullptr));
    GError* rawError = nullptr;
    const bool saved =
        g_file_set_contents_full(m_path.c_str(), data.get(), static_cast<gssize>(length),
                                 G_FILE_SET_CONTENTS_CONSISTENT, 0600, &rawError);
    ErrorPtr error(rawError);
    if (saved) {
        m_loaded = StampOfFile();
    }
    return saved;
}

}  // namespace tokeiya
