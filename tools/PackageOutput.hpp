#pragma once

// What the packing tools share: the record name a source file gives, and the package file
// replaced only once it is written whole.

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <system_error>

#include "platform/Cp932.hpp"

namespace tokeiya::tools {

// The record name of a source: its file name, in CP932 like every name inside the program;
// nothing when the file name has no CP932 form.
inline std::optional<std::string> RecordNameOf(const std::string& input) {
    return cp932::FromUtf8Strict(std::filesystem::path(input).filename().string());
}

// Writes `data` beside `output` and renames it over `output`, so that a failed write never
// leaves half a package behind.
inline bool WritePackage(const std::string& output, std::span<const unsigned char> data) {
    const std::string temporary = output + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data.data()),
                   static_cast<std::streamsize>(data.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, output, error);
    return !error;
}

}  // namespace tokeiya::tools
