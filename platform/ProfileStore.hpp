#pragma once

#include <sys/types.h>

#include <ctime>
#include <memory>
#include <optional>
#include <string>

typedef struct _GKeyFile GKeyFile;  // NOLINT(bugprone-reserved-identifier): GLib's own name

namespace tokeiya {

// The per-user settings: int and text values under a section and a key, kept in an INI
// file. Texts are CP932 here and UTF-8 in the file; section and key names are ASCII.
//
// Every write saves the whole file at once by replacing it atomically, with the folder
// created as 0700 and the file as 0600. Before each read or write the file is loaded again
// if another store (in this process or another) has replaced it since, so that two stores
// on one file never undo each other's writes.
//
// A file that exists but cannot be read as settings reads as an empty store and is left
// as it is until the first write, which moves it aside to "<path>.corrupt" before saving.
class CProfileStore {
  public:
    explicit CProfileStore(std::string utf8Path);
    ~CProfileStore();
    CProfileStore(const CProfileStore&) = delete;
    CProfileStore& operator=(const CProfileStore&) = delete;

    // $XDG_CONFIG_HOME/VA-V/Tokeiya.ini
    static std::string DefaultPath();
    const std::string& Path() const { return m_path; }
    // The file `name` in the settings file's folder (UTF-8): the program's other private
    // files are kept beside its settings.
    static std::string Beside(const std::string& settingsPath, const std::string& name);
    std::string Beside(const std::string& name) const { return Beside(m_path, name); }

    // A missing key, or a value that is not a whole number in int range, gives the default.
    int GetProfileInt(const std::string& section, const std::string& key, int defaultValue) const;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const;

    // False when nothing was saved: a bad name, a text that is not valid CP932 or holds a
    // NUL byte, or a file that could not be written.
    bool WriteProfileInt(const std::string& section, const std::string& key, int value);
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value);
    // Removes the key; true when it is gone (or was never there) from the saved file.
    bool DeleteProfileKey(const std::string& section, const std::string& key);

  private:
    // Identifies one version of the file on disk; an atomic replace changes the inode.
    struct FileStamp {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        bool operator==(const FileStamp& other) const;
    };
    struct KeyFileUnref {
        void operator()(GKeyFile* keyFile) const;
    };

    FileStamp StampOfFile() const;
    void Refresh() const;
    void Load(const FileStamp& stamp) const;
    bool Save();

    std::string m_path;
    // The file's contents as last loaded or saved; reloaded lazily, hence mutable.
    mutable std::unique_ptr<GKeyFile, KeyFileUnref> m_keyFile;
    mutable std::optional<FileStamp> m_loaded;
    mutable bool m_setAsideOnWrite = false;
};

}  // namespace tokeiya
