#pragma once

#include <compare>
#include <string>

namespace tokeiya {

// The part of a GDI logical font the program sets. `height` is the glyph height (the em)
// in device units and `width` the width of a single-byte glyph; 0 width keeps the face's
// own proportions. `faceName` is CP932, as stored in the screen definitions.
struct LogFont {
    int height = 0;
    int width = 0;
    int weight = 400;
    int charset = 1;
    std::string faceName;

    friend auto operator<=>(const LogFont&, const LogFont&) = default;
    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// GDI character sets the definitions name.
struct Charset {
    static constexpr int Ansi = 0;
    static constexpr int Default = 1;
    static constexpr int ShiftJis = 128;
    static constexpr int Gb2312 = 134;
    static constexpr int ChineseBig5 = 136;
};

}  // namespace tokeiya
