#pragma once

#include <string_view>
#include <type_traits>

#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

// One character cell. Bytes 0..2 read as a C string of 0, 1 or 2 characters: byte 0 is 0
// for an empty cell, 1 for the right half of a double-byte character (its bytes live in
// the cell to the left), else the character or its lead byte; byte 1 is the trail byte.
struct CCRCell {
    static constexpr unsigned char kEmpty = 0;
    static constexpr unsigned char kContinuation = 1;
    static constexpr COLORREF kNoMark = 0xFFFFFFFFu;

    unsigned char bytes[4] = {kEmpty, 0, 0, 0};
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF markColor = kNoMark;  // a highlight that overrides backColor
    COLORREF backColor = RGB(255, 255, 255);

    static CCRCell Fresh(COLORREF text, COLORREF back) {
        CCRCell cell;
        cell.textColor = text;
        cell.backColor = back;
        return cell;
    }

    bool IsEmpty() const { return bytes[0] == kEmpty; }
    bool IsContinuation() const { return bytes[0] == kContinuation; }
    bool HasCharacter() const { return bytes[0] > kContinuation; }
    bool IsDoubleByte() const { return HasCharacter() && bytes[1] != 0; }
    COLORREF EffectiveBack() const { return markColor != kNoMark ? markColor : backColor; }

    // The cell's own character bytes; empty for empty and continuation cells.
    std::string_view Chars() const {
        if (!HasCharacter()) {
            return {};
        }
        return std::string_view(reinterpret_cast<const char*>(bytes), bytes[1] != 0 ? 2 : 1);
    }
};

static_assert(std::is_trivially_copyable_v<CCRCell>);
static_assert(sizeof(CCRCell) == 16);

}  // namespace tokeiya
