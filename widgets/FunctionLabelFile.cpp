#include "widgets/FunctionLabelFile.hpp"

#include <charconv>
#include <cstring>
#include <fstream>

#include "platform/Cp932.hpp"

namespace tokeiya::gfd {
namespace {

// Why `text` is not whole CP932 that fits `limit` bytes; empty when it is.
std::string CheckText(std::string_view text, std::size_t limit, const char* what) {
    if (text.size() > limit) {
        return std::string(what) + " is " + std::to_string(text.size()) + " bytes, at most " +
               std::to_string(limit) + " fit";
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0) {
            return std::string(what) + " holds a NUL byte";
        }
        if (cp932::IsLeadByte(c)) {
            if (i + 1 >= text.size() ||
                !cp932::IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
                return std::string(what) + " cuts a double-byte character short";
            }
            ++i;
        }
    }
    return {};
}

void AppendField(std::vector<unsigned char>& out, std::string_view text, std::size_t size) {
    out.insert(out.end(), text.begin(), text.end());
    out.insert(out.end(), size - text.size(), 0);
}

std::string ReadField(const unsigned char* bytes, std::size_t size) {
    const auto* text = reinterpret_cast<const char*>(bytes);
    return std::string(text, strnlen(text, size - 1));
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Splits at '|' between characters: a trail byte may be 0x7C too.
std::vector<std::string_view> SplitLabels(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (cp932::IsLeadByte(c) && i + 1 < text.size()) {
            ++i;
        } else if (c == '|') {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string CheckLabel(std::string_view text) {
    return CheckText(text, kMaxLabelBytes, "the label");
}

std::string CheckName(std::string_view name) {
    if (name.empty()) {
        return "the name is empty";
    }
    return CheckText(name, kMaxNameBytes, "the name");
}

bool AppendRecord(std::vector<unsigned char>& out, const LabelRecord& record) {
    if (!CheckName(record.name).empty()) {
        return false;
    }
    for (const auto& key : record.labels) {
        for (const std::string& label : key) {
            if (!CheckLabel(label).empty()) {
                return false;
            }
        }
    }
    out.reserve(out.size() + kRecordBytes);
    AppendField(out, record.name, kNameBytes);
    const auto value = static_cast<std::uint32_t>(record.fileValue);
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<unsigned char>((value >> shift) & 0xFF));
    }
    for (const auto& key : record.labels) {
        for (const std::string& label : key) {
            AppendField(out, label, kLabelBytes);
        }
    }
    return true;
}

LabelRecord DecodeRecord(const unsigned char* bytes) {
    LabelRecord record;
    record.name = ReadField(bytes, kNameBytes);
    const unsigned char* value = bytes + kNameBytes;
    record.fileValue = static_cast<std::int32_t>(static_cast<std::uint32_t>(value[0]) |
                                                 (static_cast<std::uint32_t>(value[1]) << 8) |
                                                 (static_cast<std::uint32_t>(value[2]) << 16) |
                                                 (static_cast<std::uint32_t>(value[3]) << 24));
    const unsigned char* label = value + 4;
    for (auto& key : record.labels) {
        for (std::string& text : key) {
            text = ReadField(label, kLabelBytes);
            label += kLabelBytes;
        }
    }
    return record;
}

std::optional<LabelRecord> FindRecord(const std::string& path, std::string_view name) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::array<unsigned char, kRecordBytes> buffer{};
    while (file.read(reinterpret_cast<char*>(buffer.data()),
                     static_cast<std::streamsize>(buffer.size()))) {
        // Only the name is looked at until it matches.
        const auto* text = reinterpret_cast<const char*>(buffer.data());
        if (std::string_view(text, strnlen(text, kMaxNameBytes)) == name) {
            return DecodeRecord(buffer.data());
        }
    }
    return std::nullopt;
}

std::optional<LabelRecord> ParseSource(std::string_view text, const std::string& name,
                                       std::string& error) {
    error.clear();
    if (std::string why = CheckName(name); !why.empty()) {
        error = why;
        return std::nullopt;
    }
    LabelRecord record;
    record.name = name;
    std::array<bool, kKeys> seen{};
    bool valueSeen = false;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = Trim(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return std::nullopt;
        };
        // '=' (0x3D) is never the second byte of a double-byte character.
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return fail("expected \"Fn = label\" or \"Value = n\"");
        }
        const std::string_view setting = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (setting == "Value") {
            const std::optional<int> number = ParseInt(value);
            if (!number) {
                return fail("the value is not a whole number");
            }
            if (valueSeen) {
                return fail("the value is given twice");
            }
            valueSeen = true;
            record.fileValue = *number;
            continue;
        }
        const std::optional<int> key =
            setting.size() >= 2 && (setting[0] == 'F' || setting[0] == 'f')
                ? ParseInt(setting.substr(1))
                : std::nullopt;
        if (!key || *key < 1 || *key > kKeys) {
            return fail("unknown setting \"" + std::string(setting) + "\" (F1 to F12 or Value)");
        }
        auto& slot = seen[static_cast<std::size_t>(*key - 1)];
        if (slot) {
            return fail("F" + std::to_string(*key) + " is given twice");
        }
        slot = true;
        const std::vector<std::string_view> parts = SplitLabels(value);
        if (parts.size() > static_cast<std::size_t>(kLabelSets)) {
            return fail("more than three labels");
        }
        auto& labels = record.labels[static_cast<std::size_t>(*key - 1)];
        for (std::size_t set = 0; set < labels.size(); ++set) {
            const std::string_view label = set < parts.size() ? Trim(parts[set]) : Trim(parts[0]);
            if (std::string why = CheckLabel(label); !why.empty()) {
                return fail(why);
            }
            labels[set] = std::string(label);
        }
    }
    return record;
}

}  // namespace tokeiya::gfd
