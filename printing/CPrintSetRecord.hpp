#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/gdi/IPrinting.hpp"

namespace tokeiya {

// One named printer setting as the print settings file keeps it: 2636 bytes, little-endian.
// slot (int32, -1 = not stored yet), name (32), driver, device and port names (128 each,
// NUL-terminated CP932), X and Y adjustment (int32, tenths of a millimetre toward the left
// and upward), paper check (int32) and 2204 bytes for the printer's settings text.
struct CPrintSetRecord {
    static constexpr size_t kSize = 2636;
    static constexpr size_t kNameBytes = 32;
    static constexpr size_t kDeviceNameBytes = 128;
    static constexpr size_t kSettingsBytes = 2204;

    std::int32_t slot = -1;
    std::string name;
    std::string driver;
    std::string device;
    std::string port;
    std::int32_t adjustX = 0;
    std::int32_t adjustY = 0;
    bool paperCheck = false;
    std::string settings;

    // Names cut on a character boundary to what their fields hold (one byte stays for the
    // NUL); the settings text cut after its last whole line that fits, so that what is
    // kept still reads as settings.
    void SetName(const std::string& text);
    void SetPrinter(const PrinterSetup& setup);
    PrinterSetup Printer() const { return PrinterSetup{driver, device, port, settings}; }

    std::array<unsigned char, kSize> ToBytes() const;
    // A record read back; a text field without its NUL ends at the field's end.
    static CPrintSetRecord FromBytes(std::span<const unsigned char, kSize> bytes);
};

// The longest start of `text` of at most `bytes` bytes that ends at the end of a line (or is
// the whole text); lines are never cut, so neither is a character.
std::string WholeLines(const std::string& text, size_t bytes);

}  // namespace tokeiya
