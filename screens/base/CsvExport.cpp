#include "screens/base/CsvExport.hpp"

#include <glib.h>

#include "platform/Cp932.hpp"
#include "platform/TextHelpers.hpp"
#include "shell/CTokeiyaDoc.hpp"

namespace tokeiya {
namespace {

constexpr const char* kCsvSection = "FILE";
constexpr const char* kCsvFolderKey = "CsvFolder";

// Where the folder of a path ends: after its last "/" or "\" that is not the second byte
// of a double-byte character; npos when there is none.
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

// Writes the whole file or nothing: the text goes to a file beside it that then replaces
// it. Only its user may read it: it holds everyone's pay. False with GLib's reason (CP932)
// when that failed.
bool WriteWholeFile(const std::string& path, const std::string& text, std::string& reason) {
    GError* error = nullptr;
    const std::string native = cp932::ToUtf8(path);
    if (g_file_set_contents_full(native.c_str(), text.data(), static_cast<gssize>(text.size()),
                                 G_FILE_SET_CONTENTS_CONSISTENT, 0600, &error)) {
        return true;
    }
    reason = error != nullptr ? cp932::FromUtf8Dropping(error->message) : std::string();
    if (error != nullptr) {
        g_error_free(error);
    }
    return false;
}

}  // namespace

bool ExportCsvFile(CTokeiyaDoc& doc, const std::string& fileName, const std::string& text) {
    IDialogs* dialogs = doc.Dialogs();
    if (dialogs == nullptr) {
        return false;
    }
    CProfileStore& profile = doc.Profile();
    std::string folder = profile.GetProfileString(kCsvSection, kCsvFolderKey, "");
    if (folder.empty()) {
        bool ok = false;
        folder = SpecialFolderPath(SpecialFolder::Documents, ok);
    }
    if (!folder.empty() && FolderEnd(folder) != folder.size()) {
        folder += '/';
    }
    std::string path = folder + fileName;
    if (!dialogs->AskSaveFile(path, "csv")) {
        return false;
    }
    const size_t folderEnd = FolderEnd(path);
    if (folderEnd == std::string::npos) {
        dialogs->MessageBox("不正なファイルパスです。", MessageButtons::Ok);
        return false;
    }
    profile.WriteProfileString(kCsvSection, kCsvFolderKey, path.substr(0, folderEnd));
    std::string reason;
    if (!WriteWholeFile(path, text, reason)) {
        dialogs->MessageBox("ファイルを保存できませんでした。\n" + path + "\n" + reason,
                            MessageButtons::Ok);
        return false;
    }
    dialogs->MessageBox("データを保存しました。", MessageButtons::Ok);
    return true;
}

}  // namespace tokeiya
