#include "screens/base/CsvExport.hpp"

#include <glib.h>

#include "platform/Cp932.hpp"
#include "screens/base/SavePathDialog.hpp"
#include "shell/CTokeiyaDoc.hpp"

namespace tokeiya {
namespace {

constexpr const char* kCsvFolderKey = "CsvFolder";

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
    std::string path;
    if (dialogs == nullptr ||
        !AskSavePath(*dialogs, doc.Profile(), kCsvFolderKey, fileName, "csv", path)) {
        return false;
    }
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
