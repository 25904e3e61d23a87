#include "printing/CPrintSetRecord.hpp"

#include <algorithm>
#include <cstring>

#include "platform/TextHelpers.hpp"

namespace tokeiya {
namespace {

constexpr size_t kNameAt = 4;
constexpr size_t kDriverAt = 36;
constexpr size_t kDeviceAt = 164;
constexpr size_t kPortAt = 292;
constexpr size_t kAdjustXAt = 420;
constexpr size_t kAdjustYAt = 424;
constexpr size_t kPaperCheckAt = 428;
constexpr size_t kSettingsAt = 432;

std::string Fit(const std::string& text, size_t fieldBytes) {
    return LeftBytes(text, static_cast<int>(fieldBytes - 1), false);
}

void PutInt(std::array<unsigned char, CPrintSetRecord::kSize>& bytes, size_t at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<unsigned char>(u >> (8 * i));
    }
}

std::int32_t GetInt(std::span<const unsigned char, CPrintSetRecord::kSize> bytes, size_t at) {
    std::uint32_t u = 0;
    for (size_t i = 0; i < 4; ++i) {
        u |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    }
    return static_cast<std::int32_t>(u);
}

void PutText(std::array<unsigned char, CPrintSetRecord::kSize>& bytes, size_t at, size_t size,
             const std::string& text) {
    std::memcpy(bytes.data() + at, text.data(), std::min(text.size(), size));
}

std::string GetText(std::span<const unsigned char, CPrintSetRecord::kSize> bytes, size_t at,
                    size_t size) {
    const auto* first = reinterpret_cast<const char*>(bytes.data() + at);
    return std::string(first, strnlen(first, size));
}

}  // namespace

std::string WholeLines(const std::string& text, size_t bytes) {
    if (text.size() <= bytes) {
        return text;
    }
    const size_t lastLineEnd = text.rfind('\n', bytes - 1);
    return lastLineEnd == std::string::npos ? std::string() : text.substr(0, lastLineEnd + 1);
}

void CPrintSetRecord::SetName(const std::string& text) {
    name = Fit(text, kNameBytes);
}

void CPrintSetRecord::SetPrinter(const PrinterSetup& setup) {
    driver = Fit(setup.driver, kDeviceNameBytes);
    device = Fit(setup.device, kDeviceNameBytes);
    port = Fit(setup.port, kDeviceNameBytes);
    settings = WholeLines(setup.settings, kSettingsBytes);
}

std::array<unsigned char, CPrintSetRecord::kSize> CPrintSetRecord::ToBytes() const {
    std::array<unsigned char, kSize> bytes{};
    PutInt(bytes, 0, slot);
    PutText(bytes, kNameAt, kNameBytes - 1, name);
    PutText(bytes, kDriverAt, kDeviceNameBytes - 1, driver);
    PutText(bytes, kDeviceAt, kDeviceNameBytes - 1, device);
    PutText(bytes, kPortAt, kDeviceNameBytes - 1, port);
    PutInt(bytes, kAdjustXAt, adjustX);
    PutInt(bytes, kAdjustYAt, adjustY);
    PutInt(bytes, kPaperCheckAt, paperCheck ? 1 : 0);
    PutText(bytes, kSettingsAt, kSettingsBytes, settings);
    return bytes;
}

CPrintSetRecord CPrintSetRecord::FromBytes(std::span<const unsigned char, kSize> bytes) {
    CPrintSetRecord record;
    record.slot = GetInt(bytes, 0);
    record.name = GetText(bytes, kNameAt, kNameBytes);
    record.driver = GetText(bytes, kDriverAt, kDeviceNameBytes);
    record.device = GetText(bytes, kDeviceAt, kDeviceNameBytes);
    record.port = GetText(bytes, kPortAt, kDeviceNameBytes);
    record.adjustX = GetInt(bytes, kAdjustXAt);
    record.adjustY = GetInt(bytes, kAdjustYAt);
    record.paperCheck = GetInt(bytes, kPaperCheckAt) != 0;
    record.settings = GetText(bytes, kSettingsAt, kSettingsBytes);
    return record;
}

}  // namespace tokeiya
