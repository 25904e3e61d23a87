#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The function-key label package: a series of fixed-size records, one per screen, each
//   name       64 bytes, NUL-terminated and padded
//   fileValue   4 bytes, 32-bit little-endian
//   labels     12 keys x 3 label sets x 20 bytes, each NUL-terminated
// read front to back until the first record whose name matches. Texts are CP932.
namespace tokeiya::gfd {

inline constexpr int kKeys = 12;
inline constexpr int kLabelSets = 3;
inline constexpr std::size_t kNameBytes = 64;
inline constexpr std::size_t kLabelBytes = 20;
inline constexpr std::size_t kRecordBytes =
    kNameBytes + 4 + static_cast<std::size_t>(kKeys * kLabelSets) * kLabelBytes;
// What a record holds of a name or a label: the field less its terminating NUL.
inline constexpr std::size_t kMaxNameBytes = kNameBytes - 1;
inline constexpr std::size_t kMaxLabelBytes = kLabelBytes - 1;
inline constexpr std::int32_t kDefaultFileValue = 3;

struct LabelRecord {
    std::string name;
    std::int32_t fileValue = kDefaultFileValue;
    // labels[key - 1][set]
    std::array<std::array<std::string, kLabelSets>, kKeys> labels;
};

// Why `text` cannot be stored as a label (too long, a NUL inside, a double-byte character
// cut short); empty when it can.
std::string CheckLabel(std::string_view text);
// The same for a record name.
std::string CheckName(std::string_view name);

// Appends the record's 788 bytes; false, with nothing appended, when a name or a label
// cannot be stored.
bool AppendRecord(std::vector<unsigned char>& out, const LabelRecord& record);

// One record from exactly kRecordBytes bytes. A field without its NUL is cut before its
// last byte, as the program's fixed buffers hold it.
LabelRecord DecodeRecord(const unsigned char* bytes);

// The first record named `name` in the package at `path`; nothing when the file cannot be
// opened or holds no such record. A trailing partial record is not read.
std::optional<LabelRecord> FindRecord(const std::string& path, std::string_view name);

// The readable source of one record (CP932 text, one setting a line):
//   # a comment; blank lines are skipped
//   Value = 3          the record's fileValue (3 when not given)
//   F5 = 行削除         key 5 in all three label sets
//   F5 = 行削除|削除|    key 5 per label set; an empty part is an empty label
// Keys not named stay empty in every set. A label set not given takes the first label,
// as the bar's SetLabels does; spaces around a label are not part of it. Returns the
// record, or nothing with `error` saying which line is wrong.
std::optional<LabelRecord> ParseSource(std::string_view text, const std::string& name,
                                       std::string& error);

}  // namespace tokeiya::gfd
