#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "platform/gdi/CFont.hpp"
#include "platform/gdi/CFontCache.hpp"
#include "platform/gdi/CGlyphBatch.hpp"
#include "platform/gdi/CPen.hpp"
#include "platform/gdi/CRect.hpp"
#include "platform/gdi/CairoGlue.hpp"
#include "platform/gdi/ColorRef.hpp"
#include "platform/gdi/LogFont.hpp"

namespace tokeiya {

enum class BkMode { Transparent = 1, Opaque = 2 };

// A GDI-like device context over a cairo context. Coordinates are device units with the
// origin at the top left; lines, fills and polygons are drawn without antialiasing and
// cover the pixels GDI covers, text is CP932 and drawn through each font's glyph cache.
// Starts as GDI does: black text on a white, opaque background, a black one-unit solid
// pen; the brush starts hollow, so Rectangle and Polygon outline only until one is set.
class CDC {
  public:
    explicit CDC(gdi::CairoPtr cr, CFontCache& fonts = CFontCache::ForThisThread());
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    cairo_t* Cairo() const { return m_cr.get(); }

    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_textColor; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bkColor; }
    BkMode SetBkMode(BkMode mode);
    BkMode GetBkMode() const { return m_bkMode; }

    // Fonts come from the cache: creating the same logical font twice costs a look-up.
    std::shared_ptr<const CFont> CreateFont(const LogFont& logFont);
    // Both return the font selected before.
    std::shared_ptr<const CFont> SelectFont(const LogFont& logFont);
    std::shared_ptr<const CFont> SelectFont(std::shared_ptr<const CFont> font);
    const std::shared_ptr<const CFont>& GetCurrentFont();
    TextMetrics GetTextMetrics();
    CSize GetTextExtent(std::string_view text);

    CPen SelectPen(const CPen& pen);
    const CPen& GetCurrentPen() const { return m_pen; }
    // nullopt is the hollow brush. Returns the brush selected before.
    std::optional<COLORREF> SelectBrush(std::optional<COLORREF> color);

    // Lines include their first point and leave out their last, as GDI's do.
    CPoint MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const CPoint> points);
    // Filled with the brush (even-odd rule), outlined with the pen.
    void Polygon(std::span<const CPoint> points);
    // Outline on the rectangle's outermost pixels; the inside filled with the brush.
    void Rectangle(const CRect& rect);

    // Also makes the colour the background colour, as MFC's FillSolidRect does.
    void FillSolidRect(const CRect& rect, COLORREF color);
    // One-unit frames inside the rectangle.
    void FrameRect(const CRect& rect, COLORREF color);
    void Draw3dRect(const CRect& rect, COLORREF topLeft, COLORREF bottomRight);

    // (x, y) is the top left of the text's line.
    void TextOut(int x, int y, std::string_view text);
    // Centred horizontally and vertically on one line, clipped to the box.
    void DrawTextInBox(std::string_view text, const CRect& box);
    // The batch's runs in the batch's own colours; background mode does not apply.
    void DrawGlyphBatch(const CGlyphBatch& batch);

    void IntersectClipRect(const CRect& rect);
    void ResetClip();
    CRect GetClipBox() const;

    // Copies the source's pixels, replacing what is under `dest`.
    void BitBlt(const CRect& dest, const CDC& source, CPoint sourceOrigin);

  protected:
    // Draws on `cr` from now on (a printer starts each document on a surface of its own);
    // colours, pen, brush and font stay as they were.
    void Retarget(gdi::CairoPtr cr);

  private:
    void SetSource(COLORREF color);
    void FillRect(const CRect& rect, COLORREF color);
    void Segment(CPoint from, CPoint to);
    void StrokeSegment(double x1, double y1, double x2, double y2, bool dashed);
    void OpaqueTextBackground(int x, int y, std::string_view text);

    gdi::CairoPtr m_cr;
    CFontCache& m_fonts;
    COLORREF m_textColor = RGB(0, 0, 0);
    COLORREF m_bkColor = RGB(255, 255, 255);
    BkMode m_bkMode = BkMode::Opaque;
    std::shared_ptr<const CFont> m_font;
    CPen m_pen;
    std::optional<COLORREF> m_brush;
    CPoint m_position;
    double m_dashPhase = 0;  // a styled line's pattern runs on from one LineTo to the next
    CGlyphBatch m_scratch;
};

}  // namespace tokeiya
