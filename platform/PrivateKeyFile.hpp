#pragma once

#include <glib.h>

#include <memory>
#include <string>

namespace tokeiya {

// A GLib key file kept where only its user can read it: the password and journal files.
struct KeyFileFree {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileFree>;

// The key file at `path` (UTF-8); empty when it is missing or unreadable, with `loaded`
// telling which when asked.
KeyFilePtr LoadKeyFile(const std::string& path, bool* loaded = nullptr);

// Replaces the file at once (readers see the old or the new one, never half) with mode
// 600, creating its folder (mode 700) when needed. False when it could not be written.
bool SavePrivateKeyFile(GKeyFile* file, const std::string& path);

// Creates an empty file at `path` (UTF-8) that only its user can read and write (mode
// 600), and its folder (mode 700), unless the file is there already; what is there is
// left as it is. False when it was missing and could not be made.
bool CreatePrivateFile(const std::string& path);

// A string value as std::string; empty when missing.
std::string KeyFileString(GKeyFile* file, const char* group, const char* key);

}  // namespace tokeiya
