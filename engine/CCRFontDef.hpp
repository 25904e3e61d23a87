#pragma once

#include <string>
#include <vector>

#include "engine/CCRFontSet.hpp"
#include "platform/gdi/LogFont.hpp"

namespace tokeiya {

// One entry of the program's default font table, which every new surface copies.
struct CCRFontDef {
    std::string faceName;
    double scale = 0.85;
    int charset = Charset::Default;
    double aspect = 2.0;
    int reserved = 0;

    CCRFontSet ToFontSet() const;

    // Built on first use: font 0 (single-byte) and font 1 (double-byte and half-width
    // katakana) are both "ＭＳ ゴシック" at 0.9 of the cell. The table never changes after,
    // so every thread sees the same one.
    static const std::vector<CCRFontDef>& Defaults();
};

}  // namespace tokeiya
