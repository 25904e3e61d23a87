#include "platform/gdi/CFont.hpp"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/Cp932.hpp"

namespace tokeiya {
namespace {

// GDI's size for a logical font of height 0.
constexpr int kDefaultHeight = 16;

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

}  // namespace

CFont::CFont(const LogFont& logFont, std::string familyUtf8, PangoFontMap* fontMap)
    : m_logFont(logFont),
      m_family(std::move(familyUtf8)),
      m_context(pango_font_map_create_context(fontMap)),
      m_noAttributes(pango_attr_list_new()),
      m_options(cairo_font_options_create()) {
    int em = logFont.height == 0 ? kDefaultHeight : std::abs(logFont.height);
    // A single-byte glyph of a CJK face is half an em wide; the logical width stretches it.
    m_xScale = logFont.width > 0 ? 2.0 * logFont.width / em : 1.0;
    cairo_matrix_init_scale(&m_fontMatrix, em * m_xScale, em);

    // Advances are taken whole, as GDI's are, so hinted metrics would only round twice.
    cairo_font_options_set_hint_metrics(m_options.get(), CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(m_context.get(), m_options.get());

    gdi::FontDescriptionPtr description(pango_font_description_new());
    pango_font_description_set_family(description.get(), m_family.c_str());
    pango_font_description_set_absolute_size(description.get(), em * PANGO_SCALE);
    pango_font_description_set_weight(
        description.get(),
        static_cast<PangoWeight>(logFont.weight <= 0 ? 400 : std::min(logFont.weight, 1000)));
    pango_context_set_font_description(m_context.get(), description.get());

    gdi::ObjectPtr<PangoFont> primary(
        pango_font_map_load_font(fontMap, m_context.get(), description.get()));
    if (primary != nullptr) {
        FaceIndex(primary.get());
    }
    if (!m_faces.empty()) {
        cairo_matrix_t identity;
        cairo_matrix_init_identity(&identity);
        gdi::ScaledFontPtr scaled(
            cairo_scaled_font_create(Face(0), &m_fontMatrix, &identity, m_options.get()));
        cairo_font_extents_t extents{};
        cairo_scaled_font_extents(scaled.get(), &extents);
        m_metrics.ascent = Round(extents.ascent);
        m_metrics.descent = Round(extents.descent);
    } else {
        m_metrics.ascent = Round(em * 0.88);
        m_metrics.descent = em - m_metrics.ascent;
    }
    m_metrics.height = m_metrics.ascent + m_metrics.descent;
    m_metrics.aveCharWidth = GlyphFor('0').advance;
}

std::uint16_t CFont::NextCode(std::string_view text, size_t& pos) {
    auto lead = static_cast<unsigned char>(text[pos]);
    if (cp932::IsLeadByte(lead) && pos + 1 < text.size()) {
        auto trail = static_cast<unsigned char>(text[pos + 1]);
        if (cp932::IsTrailByte(trail)) {
            pos += 2;
            return static_cast<std::uint16_t>(lead << 8 | trail);
        }
    }
    pos += 1;
    return lead;
}

const Glyph& CFont::GlyphFor(std::uint16_t code) const {
    if (code < 256) {
        if (!m_singleByteKnown[code]) {
            m_singleByte[code] = Shape(code);
            m_singleByteKnown[code] = true;
        }
        return m_singleByte[code];
    }
    auto found = m_doubleByte.find(code);
    if (found == m_doubleByte.end()) {
        found = m_doubleByte.emplace(code, Shape(code)).first;
    }
    return found->second;
}

int CFont::TextWidth(std::string_view text) const {
    int width = 0;
    for (size_t pos = 0; pos < text.size();) {
        width += GlyphFor(NextCode(text, pos)).advance;
    }
    return width;
}

Glyph CFont::Shape(std::uint16_t code) const {
    std::string bytes;
    if (code >= 256) {
        bytes.push_back(static_cast<char>(code >> 8));
    }
    bytes.push_back(static_cast<char>(code & 0xFF));
    std::string utf8 = cp932::ToUtf8(bytes);

    Glyph glyph;
    gdi::ItemListPtr items(pango_itemize(m_context.get(), utf8.c_str(), 0,
                                         static_cast<int>(utf8.size()), m_noAttributes.get(),
                                         nullptr));
    if (items == nullptr) {
        return glyph;
    }
    auto* item = static_cast<PangoItem*>(items->data);
    gdi::GlyphStringPtr shaped(pango_glyph_string_new());
    pango_shape(utf8.c_str() + item->offset, item->length, &item->analysis, shaped.get());
    if (shaped->num_glyphs < 1) {
        return glyph;
    }
    // A CP932 character is one code point and one glyph; anything more (a decomposed
    // form) keeps its first glyph.
    const PangoGlyphInfo& info = shaped->glyphs[0];
    glyph.advance = Round(pango_units_to_double(info.geometry.width) * m_xScale);
    bool drawable = info.glyph != PANGO_GLYPH_EMPTY && (info.glyph & PANGO_GLYPH_UNKNOWN_FLAG) == 0;
    if (drawable && item->analysis.font != nullptr) {
        glyph.index = info.glyph;
        glyph.face = FaceIndex(item->analysis.font);
        glyph.xOffset = pango_units_to_double(info.geometry.x_offset) * m_xScale;
        glyph.yOffset = pango_units_to_double(info.geometry.y_offset);
    }
    return glyph;
}

int CFont::FaceIndex(PangoFont* font) const {
    cairo_scaled_font_t* scaled = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font));
    if (scaled == nullptr) {
        return Glyph::kNoFace;
    }
    cairo_font_face_t* face = cairo_scaled_font_get_font_face(scaled);
    for (size_t i = 0; i < m_faces.size(); ++i) {
        if (m_faces[i].get() == face) {
            return static_cast<int>(i);
        }
    }
    m_faces.push_back(gdi::ReferenceFontFace(face));
    return static_cast<int>(m_faces.size() - 1);
}

}  // namespace tokeiya
