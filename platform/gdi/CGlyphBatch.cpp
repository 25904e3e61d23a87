#include "platform/gdi/CGlyphBatch.hpp"

namespace tokeiya {
namespace {

// Runs left over from earlier paints are kept empty for their memory, up to this many.
constexpr size_t kKeptRuns = 64;

}  // namespace

void CGlyphBatch::AddCentred(const std::shared_ptr<const CFont>& font, COLORREF color,
                             std::string_view character, const CRect& box) {
    if (character.empty()) {
        return;
    }
    size_t pos = 0;
    const Glyph& glyph = font->GlyphFor(CFont::NextCode(character, pos));
    const TextMetrics& metrics = font->Metrics();
    // Integer halves, as GDI centres.
    int x = box.left + (box.Width() - glyph.advance) / 2;
    int top = box.top + (box.Height() - metrics.height) / 2;
    Add(font, color, glyph, x, top + metrics.ascent);
}

void CGlyphBatch::AddText(const std::shared_ptr<const CFont>& font, COLORREF color,
                          std::string_view text, int x, int top) {
    int baseline = top + font->Metrics().ascent;
    for (size_t pos = 0; pos < text.size();) {
        const Glyph& glyph = font->GlyphFor(CFont::NextCode(text, pos));
        Add(font, color, glyph, x, baseline);
        x += glyph.advance;
    }
}

void CGlyphBatch::Add(const std::shared_ptr<const CFont>& font, COLORREF color, const Glyph& glyph,
                      int x, int baseline) {
    if (glyph.face == Glyph::kNoFace) {
        return;
    }
    RunFor(font, glyph.face, color)
        .glyphs.push_back(cairo_glyph_t{glyph.index, x + glyph.xOffset, baseline + glyph.yOffset});
}

CGlyphBatch::Run& CGlyphBatch::RunFor(const std::shared_ptr<const CFont>& font, int face,
                                      COLORREF color) {
    auto matches = [&](const Run& run) {
        return run.font == font && run.face == face && run.color == color;
    };
    // Consecutive cells mostly share font and colour.
    if (m_lastRun < m_runs.size() && matches(m_runs[m_lastRun])) {
        return m_runs[m_lastRun];
    }
    for (size_t i = 0; i < m_runs.size(); ++i) {
        if (matches(m_runs[i])) {
            m_lastRun = i;
            return m_runs[i];
        }
    }
    // An emptied run of another font is taken over, memory and all.
    for (size_t i = 0; i < m_runs.size(); ++i) {
        if (m_runs[i].glyphs.empty()) {
            m_runs[i].font = font;
            m_runs[i].face = face;
            m_runs[i].color = color;
            m_lastRun = i;
            return m_runs[i];
        }
    }
    m_runs.push_back(Run{font, face, color, {}});
    m_lastRun = m_runs.size() - 1;
    return m_runs.back();
}

void CGlyphBatch::Clear() {
    if (m_runs.size() > kKeptRuns) {
        m_runs.clear();
    }
    for (Run& run : m_runs) {
        run.glyphs.clear();
        run.font.reset();  // the cache, not an idle batch, decides how long a font lives
    }
    m_lastRun = 0;
}

bool CGlyphBatch::IsEmpty() const {
    for (const Run& run : m_runs) {
        if (!run.glyphs.empty()) {
            return false;
        }
    }
    return true;
}

}  // namespace tokeiya
