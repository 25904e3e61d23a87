#pragma once

#include <cstdint>

// Colours as GDI writes them: red in the low byte, then green, then blue (0x00BBGGRR).
namespace tokeiya {

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

constexpr unsigned GetRValue(COLORREF c) {
    return c & 0xFFu;
}
constexpr unsigned GetGValue(COLORREF c) {
    return (c >> 8) & 0xFFu;
}
constexpr unsigned GetBValue(COLORREF c) {
    return (c >> 16) & 0xFFu;
}

}  // namespace tokeiya
