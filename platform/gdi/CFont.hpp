#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/gdi/CairoGlue.hpp"
#include "platform/gdi/LogFont.hpp"

namespace tokeiya {

// What GDI's text metrics tell about a font, in device units.
struct TextMetrics {
    int height = 0;  // ascent + descent: the line a text occupies
    int ascent = 0;
    int descent = 0;
    int aveCharWidth = 0;  // advance of a single-byte character
};

// One character as the font draws it: its glyph in one of the font's faces (the face the
// font was asked for, or a fallback face that has the character), its placement and its
// advance in whole device units.
struct Glyph {
    static constexpr int kNoFace = -1;  // nothing to draw (a control or missing character)

    std::uint32_t index = 0;
    int face = kNoFace;
    double xOffset = 0;
    double yOffset = 0;
    int advance = 0;
};

// A realised logical font with its glyph cache. A character is shaped by Pango once, the
// first time it is asked for; afterwards drawing it is a table look-up, so a screen of
// thousands of cells costs no layout at all. Characters are CP932 codes: a single byte,
// or lead << 8 | trail.
class CFont {
  public:
    CFont(const LogFont& logFont, std::string familyUtf8, PangoFontMap* fontMap);
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    const LogFont& GetLogFont() const { return m_logFont; }
    const std::string& Family() const { return m_family; }
    const TextMetrics& Metrics() const { return m_metrics; }

    // The glyph of one character; the cache fills as characters are first seen.
    const Glyph& GlyphFor(std::uint16_t code) const;

    // Sum of the advances of a CP932 text.
    int TextWidth(std::string_view text) const;

    // What cairo needs to draw glyphs of face `face` in this font's size.
    cairo_font_face_t* Face(int face) const { return m_faces[static_cast<size_t>(face)].get(); }
    const cairo_matrix_t& FontMatrix() const { return m_fontMatrix; }
    const cairo_font_options_t* Options() const { return m_options.get(); }

    // Splits a CP932 text into character codes; a lead byte without its trail is taken as
    // a single byte.
    static std::uint16_t NextCode(std::string_view text, size_t& pos);

  private:
    Glyph Shape(std::uint16_t code) const;
    int FaceIndex(PangoFont* font) const;

    LogFont m_logFont;
    std::string m_family;
    gdi::ObjectPtr<PangoContext> m_context;
    gdi::AttrListPtr m_noAttributes;
    gdi::FontOptionsPtr m_options;
    cairo_matrix_t m_fontMatrix{};
    double m_xScale = 1.0;  // horizontal stretch that gives single-byte glyphs the asked width
    TextMetrics m_metrics;

    // Mutable: the cache and the faces it refers to grow on look-ups of a const font.
    mutable std::vector<gdi::FontFacePtr> m_faces;
    mutable std::array<Glyph, 256> m_singleByte{};
    mutable std::array<bool, 256> m_singleByteKnown{};
    mutable std::unordered_map<std::uint16_t, Glyph> m_doubleByte;
};

}  // namespace tokeiya
