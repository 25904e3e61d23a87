#pragma once

#include <string>

#include "platform/Dialogs.hpp"
#include "platform/ProfileStore.hpp"

namespace tokeiya {

// Where the folder of a path ends: after its last "/" or "\" that is not the second byte
// of a double-byte character; npos when there is none.
size_t FolderEnd(const std::string& path);

// The desktop's save dialog proposing `name` in the folder last chosen for `folderKey`
// (section "FILE"; the documents folder the first time). The folder chosen is remembered
// for the next time. False when cancelled, or when the path chosen has no folder (told).
bool AskSavePath(IDialogs& dialogs, CProfileStore& profile, const char* folderKey,
                 const std::string& name, const std::string& extension, std::string& path);

}  // namespace tokeiya
