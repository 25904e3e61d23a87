#include "platform/gdi/CDC.hpp"

#include <cmath>
#include <utility>

namespace tokeiya {
namespace {

// GDI's cosmetic pen patterns, on and off lengths in device units.
struct Dashes {
    const double* lengths;
    int count;
};

Dashes DashesFor(int style) {
    static constexpr double kDash[] = {18, 6};
    static constexpr double kDot[] = {3, 3};
    static constexpr double kDashDot[] = {9, 6, 3, 6};
    static constexpr double kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
        case PenStyle::Dash:
            return {kDash, 2};
        case PenStyle::Dot:
            return {kDot, 2};
        case PenStyle::DashDot:
            return {kDashDot, 4};
        case PenStyle::DashDotDot:
            return {kDashDotDot, 6};
        default:
            return {nullptr, 0};
    }
}

}  // namespace

CDC::CDC(gdi::CairoPtr cr, CFontCache& fonts) : m_cr(std::move(cr)), m_fonts(fonts) {
    // GDI's lines and fills are aliased; antialiasing would smear one-pixel rules over two.
    cairo_set_antialias(m_cr.get(), CAIRO_ANTIALIAS_NONE);
}

void CDC::Retarget(gdi::CairoPtr cr) {
    m_cr = std::move(cr);
    cairo_set_antialias(m_cr.get(), CAIRO_ANTIALIAS_NONE);
}

COLORREF CDC::SetTextColor(COLORREF color) {
    return std::exchange(m_textColor, color);
}

COLORREF CDC::SetBkColor(COLORREF color) {
    return std::exchange(m_bkColor, color);
}

BkMode CDC::SetBkMode(BkMode mode) {
    return std::exchange(m_bkMode, mode);
}

std::shared_ptr<const CFont> CDC::CreateFont(const LogFont& logFont) {
    return m_fonts.Get(logFont);
}

std::shared_ptr<const CFont> CDC::SelectFont(const LogFont& logFont) {
    return SelectFont(CreateFont(logFont));
}

std::shared_ptr<const CFont> CDC::SelectFont(std::shared_ptr<const CFont> font) {
    return std::exchange(m_font, std::move(font));
}

const std::shared_ptr<const CFont>& CDC::GetCurrentFont() {
    if (m_font == nullptr) {
        m_font = CreateFont(LogFont{});
    }
    return m_font;
}

TextMetrics CDC::GetTextMetrics() {
    return GetCurrentFont()->Metrics();
}

CSize CDC::GetTextExtent(std::string_view text) {
    const CFont& font = *GetCurrentFont();
    return CSize{font.TextWidth(text), font.Metrics().height};
}

CPen CDC::SelectPen(const CPen& pen) {
    return std::exchange(m_pen, pen);
}

std::optional<COLORREF> CDC::SelectBrush(std::optional<COLORREF> color) {
    return std::exchange(m_brush, color);
}

void CDC::SetSource(COLORREF color) {
    cairo_set_source_rgb(m_cr.get(), GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
}

CPoint CDC::MoveTo(int x, int y) {
    m_dashPhase = 0;
    return std::exchange(m_position, CPoint{x, y});
}

void CDC::LineTo(int x, int y) {
    Segment(m_position, CPoint{x, y});
    m_position = CPoint{x, y};
}

void CDC::Polyline(std::span<const CPoint> points) {
    m_dashPhase = 0;
    for (size_t i = 1; i < points.size(); ++i) {
        Segment(points[i - 1], points[i]);
    }
}

void CDC::Polygon(std::span<const CPoint> points) {
    if (points.size() < 2) {
        return;
    }
    if (m_brush.has_value()) {
        cairo_t* cr = m_cr.get();
        cairo_new_path(cr);
        for (const CPoint& p : points) {
            cairo_line_to(cr, p.x, p.y);
        }
        cairo_close_path(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        SetSource(*m_brush);
        cairo_fill(cr);
    }
    m_dashPhase = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        Segment(points[i], points[(i + 1) % points.size()]);
    }
}

void CDC::Rectangle(const CRect& rect) {
    if (rect.IsEmpty()) {
        return;
    }
    if (m_brush.has_value()) {
        FillRect(rect, *m_brush);
    }
    const CPoint corners[] = {{rect.left, rect.top},
                              {rect.right - 1, rect.top},
                              {rect.right - 1, rect.bottom - 1},
                              {rect.left, rect.bottom - 1},
                              {rect.left, rect.top}};
    Polyline(corners);
}

// A segment covers the pixels GDI's line does: from its first point up to, not including,
// its last. Axis-parallel segments, the common case, are exact; slanted ones are close.
void CDC::Segment(CPoint from, CPoint to) {
    if (m_pen.Style() == PenStyle::Null || from == to) {
        return;
    }
    int width = m_pen.EffectiveWidth();
    double centre = width % 2 == 1 ? 0.5 : 0.0;  // odd widths straddle a pixel row's middle
    double x1 = from.x + centre, y1 = from.y + centre;
    double x2 = to.x + centre, y2 = to.y + centre;
    if (from.y == to.y) {
        // A butt-capped stroke covers [x1, x2): shift a leftward one by a pixel so that
        // its first point is in and its last out.
        double shift = from.x < to.x ? 0 : 1;
        x1 = from.x + shift;
        x2 = to.x + shift;
    } else if (from.x == to.x) {
        double shift = from.y < to.y ? 0 : 1;
        y1 = from.y + shift;
        y2 = to.y + shift;
    }
    bool dashed = m_pen.EffectiveStyle() != PenStyle::Solid;
    if (dashed && m_bkMode == BkMode::Opaque) {
        // GDI paints the gaps of a styled line in the background colour.
        SetSource(m_bkColor);
        StrokeSegment(x1, y1, x2, y2, false);
    }
    SetSource(m_pen.Color());
    StrokeSegment(x1, y1, x2, y2, dashed);
    m_dashPhase += std::hypot(x2 - x1, y2 - y1);
}

void CDC::StrokeSegment(double x1, double y1, double x2, double y2, bool dashed) {
    cairo_t* cr = m_cr.get();
    int width = m_pen.EffectiveWidth();
    cairo_set_line_width(cr, width);
    // Wide GDI pens end round; one-unit lines end exactly at their pixels.
    cairo_set_line_cap(cr, width > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (dashed) {
        Dashes dashes = DashesFor(m_pen.EffectiveStyle());
        cairo_set_dash(cr, dashes.lengths, dashes.count, m_dashPhase);
    } else {
        cairo_set_dash(cr, nullptr, 0, 0);
    }
    cairo_new_path(cr);
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x2, y2);
    cairo_stroke(cr);
}

void CDC::FillRect(const CRect& rect, COLORREF color) {
    if (rect.IsEmpty()) {
        return;
    }
    cairo_t* cr = m_cr.get();
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
    SetSource(color);
    cairo_fill(cr);
}

void CDC::FillSolidRect(const CRect& rect, COLORREF color) {
    // The fill leaves its colour as the background colour, as it always has on Windows;
    // code that fills a box and then writes into it opaquely relies on that.
    SetBkColor(color);
    FillRect(rect, color);
}

void CDC::FrameRect(const CRect& rect, COLORREF color) {
    if (rect.IsEmpty()) {
        return;
    }
    FillRect({rect.left, rect.top, rect.right, rect.top + 1}, color);
    FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
    FillRect({rect.left, rect.top, rect.left + 1, rect.bottom}, color);
    FillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

void CDC::Draw3dRect(const CRect& rect, COLORREF topLeft, COLORREF bottomRight) {
    if (rect.IsEmpty()) {
        return;
    }
    FillSolidRect({rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
    FillSolidRect({rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
    FillSolidRect({rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
    FillSolidRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
}

void CDC::OpaqueTextBackground(int x, int y, std::string_view text) {
    if (m_bkMode == BkMode::Opaque) {
        CSize extent = GetTextExtent(text);
        FillRect({x, y, x + extent.cx, y + extent.cy}, m_bkColor);
    }
}

void CDC::TextOut(int x, int y, std::string_view text) {
    OpaqueTextBackground(x, y, text);
    m_scratch.Clear();
    m_scratch.AddText(GetCurrentFont(), m_textColor, text, x, y);
    DrawGlyphBatch(m_scratch);
    m_scratch.Clear();
}

void CDC::DrawTextInBox(std::string_view text, const CRect& box) {
    if (box.IsEmpty()) {
        return;
    }
    CSize extent = GetTextExtent(text);
    int x = box.left + (box.Width() - extent.cx) / 2;
    int y = box.top + (box.Height() - extent.cy) / 2;
    cairo_t* cr = m_cr.get();
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, box.left, box.top, box.Width(), box.Height());
    cairo_clip(cr);
    TextOut(x, y, text);
    cairo_restore(cr);
}

void CDC::DrawGlyphBatch(const CGlyphBatch& batch) {
    cairo_t* cr = m_cr.get();
    for (const CGlyphBatch::Run& run : batch.Runs()) {
        if (run.glyphs.empty()) {
            continue;
        }
        cairo_set_font_face(cr, run.font->Face(run.face));
        cairo_set_font_matrix(cr, &run.font->FontMatrix());
        cairo_set_font_options(cr, run.font->Options());
        SetSource(run.color);
        cairo_show_glyphs(cr, run.glyphs.data(), static_cast<int>(run.glyphs.size()));
    }
}

void CDC::IntersectClipRect(const CRect& rect) {
    cairo_t* cr = m_cr.get();
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.left, rect.top, rect.Width() < 0 ? 0 : rect.Width(),
                    rect.Height() < 0 ? 0 : rect.Height());
    cairo_clip(cr);
}

void CDC::ResetClip() {
    cairo_reset_clip(m_cr.get());
}

CRect CDC::GetClipBox() const {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_clip_extents(m_cr.get(), &x1, &y1, &x2, &y2);
    return CRect{static_cast<int>(std::floor(x1)), static_cast<int>(std::floor(y1)),
                 static_cast<int>(std::ceil(x2)), static_cast<int>(std::ceil(y2))};
}

void CDC::BitBlt(const CRect& dest, const CDC& source, CPoint sourceOrigin) {
    if (dest.IsEmpty()) {
        return;
    }
    cairo_t* cr = m_cr.get();
    cairo_surface_t* from = cairo_get_target(source.Cairo());
    cairo_surface_flush(from);
    cairo_save(cr);
    cairo_set_source_surface(cr, from, dest.left - sourceOrigin.x, dest.top - sourceOrigin.y);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_new_path(cr);
    cairo_rectangle(cr, dest.left, dest.top, dest.Width(), dest.Height());
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace tokeiya
