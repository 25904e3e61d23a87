#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/TextHelpers.hpp"
#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

// The bounds of every number a screen definition may set, whether it comes from a text
// definition (.tgd) or a package record (.ggd). Definitions are data from outside the
// program, so both readers hold each value to its bounds where they read it.
//
// The rule is the same for both readers: a value outside its range is clamped to the
// nearest bound (a damaged value still gives something that can be drawn), while what
// decides how much there is to build is refused: a grid beyond the largest one, or, in a
// package, more fonts or items than a record may hold (the record is refused). A text
// definition, being lines, keeps its first fonts and items and ignores the rest.
//
// Every bound lies far beyond what a real screen or printed form uses (the widest screen
// is 152 x 35 cells with a 3-pixel frame and 6 pixels of padding), so no sensible
// definition is changed by them.
struct CCRBaseLimits {
    // Frame band and padding, pixels (device units when printing): 0..1000. More would
    // leave no room for cells on any screen or page; negative margins mean nothing.
    static constexpr int kMaxMargin = 1000;
    // Grid: 0..1024 columns and rows; a negative size means no grid, a larger one is
    // refused (the definition is not applied).
    static constexpr int kMaxGridSide = 1024;
    // Fonts: a package record holds at most 4 (more is refused); a text definition keeps
    // its first 8 (only 4 are ever drawn).
    static constexpr std::size_t kMaxPackageFonts = 4;
    static constexpr std::size_t kMaxTextFonts = 8;
    // Glyph height as a fraction of the cell: 0..4. Glyph height / width: 0.1..10.
    // A value that is not a number takes the lower bound.
    static constexpr double kMaxFontScale = 4.0;
    static constexpr double kMinFontAspect = 0.1;
    static constexpr double kMaxFontAspect = 10.0;
    // Drawing items per definition: 10000 (real layouts have about a hundred).
    static constexpr std::int64_t kMaxItems = 10000;
    // Item positions, cell borders: -1024..1024, enough to reach past either side of the
    // largest grid.
    static constexpr int kMaxCoordinate = kMaxGridSide;
    // Pen width, pixels: 0..64 (0 draws one pixel wide, as GDI does).
    static constexpr int kMaxPenWidth = 64;
    // Lines of a family: 0..1025 (every border of the largest grid); the distance between
    // them: -1024..1024 cells.
    static constexpr int kMaxLineCount = kMaxGridSide + 1;
    static constexpr int kMaxLineStep = kMaxGridSide;
    // Caption bytes: 1024, longer captions are cut after their last whole character (no
    // grid shows more).
    static constexpr std::size_t kMaxCaptionBytes = kMaxGridSide;

    static int Margin(std::int64_t value) { return Clamp(value, 0, kMaxMargin); }
    static int GridSide(int value) { return value < 0 ? 0 : value; }
    static bool GridFits(std::int64_t cols, std::int64_t rows) {
        return cols <= kMaxGridSide && rows <= kMaxGridSide;
    }
    static double FontScale(double value) { return ClampDouble(value, 0.0, kMaxFontScale); }
    static double FontAspect(double value) {
        return ClampDouble(value, kMinFontAspect, kMaxFontAspect);
    }
    static int Coordinate(std::int64_t value) {
        return Clamp(value, -kMaxCoordinate, kMaxCoordinate);
    }
    static int PenWidth(std::int64_t value) { return Clamp(value, 0, kMaxPenWidth); }
    // Styles 0..4 (solid, dash, dot, dash-dot, dash-dot-dot); anything else is solid.
    static int PenStyle(std::int64_t value) { return value >= 0 && value <= 4 ? int(value) : 0; }
    static int LineCount(std::int64_t value) { return Clamp(value, 0, kMaxLineCount); }
    static int LineStep(std::int64_t value) { return Clamp(value, -kMaxLineStep, kMaxLineStep); }
    // COLORREF is 0x00BBGGRR: the high byte is not part of the colour.
    static COLORREF Color(std::uint32_t value) { return value & 0x00FFFFFFu; }
    static std::string Caption(std::string_view text) {
        return LeftBytes(std::string(text), static_cast<int>(kMaxCaptionBytes), false);
    }

  private:
    static int Clamp(std::int64_t value, int low, int high) {
        return static_cast<int>(value < low ? low : value > high ? high : value);
    }
    static double ClampDouble(double value, double low, double high) {
        if (!(value >= low)) {
            return low;
        }
        return value > high ? high : value;
    }
};

}  // namespace tokeiya
