#include "printing/CPrintSetRecord.hpp"

#include <algorithm>
#include <string_view>

#include "engine/CByteReader.hpp"
#include "engine/CByteWriter.hpp"
#include "platform/TextHelpers.hpp"

namespace tokeiya {
namespace {

std::string Fit(const std::string& text, size_t fieldBytes) {
    return LeftBytes(text, static_cast<int>(fieldBytes - 1), false);
}

// A text field of `fieldBytes`, of which at most `textBytes` hold the text and the rest NULs.
void PutText(CByteWriter& out, const std::string& text, size_t fieldBytes, size_t textBytes) {
    const size_t used = std::min(text.size(), textBytes);
    out.Bytes(std::string_view(text).substr(0, used));
    out.Zeros(fieldBytes - used);
}

// A text field of `fieldBytes`: the text ends at the first NUL.
std::string GetText(CByteReader& in, size_t fieldBytes) {
    std::string field;
    in.Bytes(fieldBytes, field);
    return field.substr(0, field.find('\0'));
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
    static_assert(4 + kNameBytes + 3 * kDeviceNameBytes + 3 * 4 + kSettingsBytes == kSize);
    CByteWriter out;
    out.Int32(slot);
    PutText(out, name, kNameBytes, kNameBytes - 1);
    PutText(out, driver, kDeviceNameBytes, kDeviceNameBytes - 1);
    PutText(out, device, kDeviceNameBytes, kDeviceNameBytes - 1);
    PutText(out, port, kDeviceNameBytes, kDeviceNameBytes - 1);
    out.Int32(adjustX);
    out.Int32(adjustY);
    out.Int32(paperCheck ? 1 : 0);
    PutText(out, settings, kSettingsBytes, kSettingsBytes);
    std::array<unsigned char, kSize> bytes{};
    std::copy_n(out.Data().begin(), std::min(out.Data().size(), kSize), bytes.begin());
    return bytes;
}

CPrintSetRecord CPrintSetRecord::FromBytes(std::span<const unsigned char, kSize> bytes) {
    CByteReader in(bytes);
    CPrintSetRecord record;
    std::int32_t paperCheck = 0;
    in.Int32(record.slot);
    record.name = GetText(in, kNameBytes);
    record.driver = GetText(in, kDeviceNameBytes);
    record.device = GetText(in, kDeviceNameBytes);
    record.port = GetText(in, kDeviceNameBytes);
    in.Int32(record.adjustX);
    in.Int32(record.adjustY);
    in.Int32(paperCheck);
    record.paperCheck = paperCheck != 0;
    record.settings = GetText(in, kSettingsBytes);
    return record;
}

}  // namespace tokeiya
