#pragma once

#include <cairo.h>

#include <memory>
#include <string_view>
#include <vector>

#include "platform/gdi/CFont.hpp"
#include "platform/gdi/CRect.hpp"
#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

// Characters collected for one paint, grouped by font face and colour, so that a whole
// screen of text is drawn with one cairo_show_glyphs per group instead of one call per
// cell. Reuse one batch across paints: Clear keeps the memory.
class CGlyphBatch {
  public:
    // One character (1 or 2 CP932 bytes) centred in `box` on one line, placed exactly as
    // CDC::DrawTextInBox places it. Not clipped to the box.
    void AddCentred(const std::shared_ptr<const CFont>& font, COLORREF color,
                    std::string_view character, const CRect& box);

    // A text whose top-left corner is (x, top), as CDC::TextOut places it.
    void AddText(const std::shared_ptr<const CFont>& font, COLORREF color, std::string_view text,
                 int x, int top);

    void Clear();
    bool IsEmpty() const;

    struct Run {
        std::shared_ptr<const CFont> font;
        int face = 0;
        COLORREF color = 0;
        std::vector<cairo_glyph_t> glyphs;
    };
    const std::vector<Run>& Runs() const { return m_runs; }

  private:
    void Add(const std::shared_ptr<const CFont>& font, COLORREF color, const Glyph& glyph, int x,
             int baseline);
    Run& RunFor(const std::shared_ptr<const CFont>& font, int face, COLORREF color);

    std::vector<Run> m_runs;
    size_t m_lastRun = 0;
};

}  // namespace tokeiya
