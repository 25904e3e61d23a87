#pragma once

#include <string_view>

#include "platform/gdi/LogFont.hpp"

namespace tokeiya {

// One font of a surface: the logical font whose height and width the metrics derive from
// the cell size, the glyph height as a fraction of the cell, and height / width.
struct CCRFontSet {
    static constexpr size_t kMaxFaceBytes = 31;

    LogFont logFont;
    double scale = 0.85;
    double aspect = 2.0;

    // Keeps at most 31 bytes and never ends on half a double-byte character.
    void SetFaceName(std::string_view face);
};

}  // namespace tokeiya
