#include "screens/base/SavePathDialog.hpp"

#include "platform/Cp932.hpp"
#include "platform/TextHelpers.hpp"

namespace tokeiya {

namespace {
constexpr const char* kFileSection = "FILE";
}  // namespace

size_t FolderEnd(const std::string& path) {
    size_t end = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (cp932::IsLeadByte(byte) && i + 1 < path.size()) {
            ++i;
        } else if (byte == '/' || byte == '\\') {
            end = i + 1;
        }
    }
    return end;
}

bool AskSavePath(IDialogs& dialogs, CProfileStore& profile, const char* folderKey,
                 const std::string& name, const std::string& extension, std::string& path) {
    std::string folder = profile.GetProfileString(kFileSection, folderKey, "");
    if (folder.empty()) {
        bool ok = false;
        folder = SpecialFolderPath(SpecialFolder::Documents, ok);
    }
    if (!folder.empty() && FolderEnd(folder) != folder.size()) {
        folder += '/';
    }
    path = folder + name;
    if (!dialogs.AskSaveFile(path, extension)) {
        return false;
    }
    const size_t folderEnd = FolderEnd(path);
    if (folderEnd == std::string::npos) {
        dialogs.MessageBox("不正なファイルパスです。", MessageButtons::Ok);
        return false;
    }
    profile.WriteProfileString(kFileSection, folderKey, path.substr(0, folderEnd));
    return true;
}

}  // namespace tokeiya
