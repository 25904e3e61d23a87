#include "engine/CCRBase.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>

#include "engine/CCRFontDef.hpp"

namespace tokeiya {

namespace {

std::vector<CCRFontSet> DefaultFonts() {
    std::vector<CCRFontSet> fonts;
    for (const CCRFontDef& def : CCRFontDef::Defaults()) {
        fonts.push_back(def.ToFontSet());
    }
    return fonts;
}

// Truncation toward zero of a value that may lie outside int's range.
int TruncToInt(double value) {
    constexpr double kMax = std::numeric_limits<int>::max();
    constexpr double kMin = std::numeric_limits<int>::min();
    if (!(value == value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::trunc(value), kMin, kMax));
}

}  // namespace

CCRBase::CCRBase() : m_fonts(DefaultFonts()) {}

CCRBase::CCRBase(const CRect& rect, int cols, int rows, int edgeWidth, int padding)
    : m_fonts(DefaultFonts()), m_edgeWidth(edgeWidth), m_padding(padding) {
    m_rect = rect;
    SetGridSize(cols, rows);
}

CCRBase::~CCRBase() = default;

void CCRBase::SetRect(const CRect& rect) {
    CDrawRect::SetRect(rect);
    RecalcMetrics();
    for (const AttachedEntry& entry : m_attached) {
        entry.drawable->Relayout(*this);
    }
}

void CCRBase::RecalcMetrics() {
    if (m_rows < 1 || m_cols < 1 || m_rect.right < 1 || m_rect.bottom < 1) {
        return;
    }
    const double margin = 2.0 * static_cast<double>(Inset());
    // Margins wider than the rectangle leave no room: the cells shrink to nothing rather
    // than turn inside out.
    m_cellWidth = std::max(0.0, (m_rect.right - m_rect.left - margin) / m_cols);
    m_cellHeight = std::max(0.0, (m_rect.bottom - m_rect.top - margin) / m_rows);
    for (CCRFontSet& font : m_fonts) {
        int height = TruncToInt(font.scale * m_cellHeight);
        int width = TruncToInt(font.scale * m_cellWidth);
        // The glyph box fits the scaled cell and keeps the font's aspect.
        if (height < width * font.aspect) {
            width = TruncToInt(height / font.aspect);
        } else {
            height = TruncToInt(width * font.aspect);
        }
        // A rectangle smaller than its margins must not ask the font machinery for
        // negative sizes.
        font.logFont.height = std::max(0, height);
        font.logFont.width = std::max(0, width);
    }
    m_singleByteDrop =
        m_fonts.empty() ? 0 : TruncToInt(m_fonts[0].logFont.height * kSingleByteDropFactor + 0.5);
}

void CCRBase::SetRectAndPadding(const CRect& rect, int padding) {
    m_padding = padding;
    SetRect(rect);
}

bool CCRBase::SetFontScale(int index, double scale) {
    if (index < 0 || static_cast<size_t>(index) >= m_fonts.size()) {
        return false;
    }
    m_fonts[static_cast<size_t>(index)].scale = scale;
    return true;
}

void CCRBase::FreeCells() {
    m_cells.reset();
}

bool CCRBase::SetGridAndMargins(int cols, int rows, int edgeWidth, int padding) {
    m_edgeWidth = edgeWidth;
    m_padding = padding;
    return SetGridSize(cols, rows);
}

bool CCRBase::SetGridSize(int cols, int rows) {
    m_cells.reset();
    // A negative size is stored as no grid, so index arithmetic never sees it.
    m_cols = std::max(0, cols);
    m_rows = std::max(0, rows);
    if (m_cols == 0 || m_rows == 0) {
        return false;
    }
    const std::uint64_t count = std::uint64_t(m_cols) * std::uint64_t(m_rows);
    if (count * sizeof(CCRCell) >= (std::uint64_t{1} << 32)) {
        return false;
    }
    m_cells.reset(new (std::nothrow) CCRCell[count]);
    if (m_cells == nullptr) {
        return false;
    }
    std::fill_n(m_cells.get(), count, FreshCell());
    VerifyCharacters(0, m_rows);
    RecalcMetrics();
    return true;
}

const CCRCell* CCRBase::CellAt(int col, int row) const {
    if (m_cells == nullptr || col < 0 || row < 0 || col >= m_cols || row >= m_rows) {
        return nullptr;
    }
    return &Cell(col, row);
}

bool CCRBase::FitsGrid(int col, int row, int w, int h) const {
    return m_cells != nullptr && col >= 0 && row >= 0 && w >= 0 && h >= 0 &&
           std::int64_t{col} + w <= m_cols && std::int64_t{row} + h <= m_rows;
}

int CCRBase::ColumnToX(int col) const {
    return TruncToInt(m_rect.left + col * m_cellWidth + static_cast<double>(Inset()) + 0.5);
}

int CCRBase::RowToY(int row) const {
    return TruncToInt(m_rect.top + row * m_cellHeight + static_cast<double>(Inset()) + 0.5);
}

bool CCRBase::PixelToIndex(int& pixel, bool round, std::int64_t origin, std::int64_t end,
                           double cellSize, int count) {
    if (!(cellSize > 0)) {
        return false;
    }
    const bool inside = origin <= pixel && pixel <= end;
    double g = static_cast<double>(pixel - origin) / cellSize;
    if (round) {
        g += g < 0 ? -0.5 : 0.5;
    }
    const int result = TruncToInt(g);
    pixel = result;
    return result >= 0 && inside && (round || result < count);
}

bool CCRBase::XToColumn(int& x, bool round) const {
    const std::int64_t o = Inset();
    return PixelToIndex(x, round, m_rect.left + o, m_rect.right - o, m_cellWidth, m_cols);
}

bool CCRBase::YToRow(int& y, bool round) const {
    const std::int64_t o = Inset();
    return PixelToIndex(y, round, m_rect.top + o, m_rect.bottom - o, m_cellHeight, m_rows);
}

bool CCRBase::PointToCell(CPoint& point) const {
    const bool x = XToColumn(point.x, false);
    const bool y = YToRow(point.y, false);
    return x && y;
}

CRect CCRBase::CellRectToPixels(const CRect& cellRect) const {
    return CRect{ColumnToX(cellRect.left), RowToY(cellRect.top), ColumnToX(cellRect.right),
                 RowToY(cellRect.bottom)};
}

bool CCRBase::OnBorders(std::int64_t x, std::int64_t y) const {
    return m_cells != nullptr && x >= 0 && x <= m_cols && y >= 0 && y <= m_rows;
}

bool CCRBase::AddLine(int x1, int y1, int x2, int y2, COLORREF color, int style, int width) {
    if (!OnBorders(x1, y1) || !OnBorders(x2, y2)) {
        return false;
    }
    m_items.AddLineItem(x1, y1, x2, y2, color, style, width);
    return true;
}

bool CCRBase::AddHLines(int x1, int x2, int y, COLORREF color, int style, int width, int count,
                        int step) {
    const std::int64_t last = y + std::int64_t{step} * (std::int64_t{count} - 1);
    if (!OnBorders(x1, y) || !OnBorders(x2, last)) {
        return false;
    }
    m_items.AddHLinesItem(x1, x2, y, color, style, width, count, step);
    return true;
}

bool CCRBase::AddVLines(int y1, int y2, int x, COLORREF color, int style, int width, int count,
                        int step) {
    const std::int64_t last = x + std::int64_t{step} * (std::int64_t{count} - 1);
    if (!OnBorders(x, y1) || !OnBorders(last, y2)) {
        return false;
    }
    m_items.AddVLinesItem(y1, y2, x, color, style, width, count, step);
    return true;
}

bool CCRBase::AddRect(int x1, int y1, int x2, int y2, COLORREF color, int style, int width) {
    if (!OnBorders(x1, y1) || !OnBorders(x2, y2)) {
        return false;
    }
    m_items.AddRectItem(x1, y1, x2, y2, color, style, width);
    return true;
}

bool CCRBase::ClearCells(int what, bool redraw) {
    if (what < 1 || what > 3) {
        return false;
    }
    if ((what & 1) != 0 && m_cells != nullptr) {
        std::fill_n(m_cells.get(), size_t(m_cols) * size_t(m_rows), FreshCell());
        VerifyCharacters(0, m_rows);
    }
    if ((what & 2) != 0) {
        m_items.RemoveAll();
    }
    if (redraw && !m_holdRedraw) {
        InvalidateAll(true);
    }
    return true;
}

bool CCRBase::ChildRect(CRect& out, int col, int row, int w, int h, int scale) const {
    if (col < 0 || row < 0 || w < 0 || h < 0) {
        return false;
    }
    if (scale == 0) {
        if (!FitsGrid(col, row, w, h)) {
            return false;
        }
        out = CRect{ColumnToX(col), RowToY(row) + 1, ColumnToX(col + w), RowToY(row + h) - 1};
        return true;
    }
    scale = std::max(scale, 100);
    if (std::int64_t{col} + w > scale || std::int64_t{row} + h > scale) {
        return false;
    }
    auto part = [scale](int length, int units) {
        return static_cast<int>(std::lround(double(length) * units / scale));
    };
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    const int left = m_rect.left + part(width, col);
    const int top = m_rect.top + part(height, row);
    out = CRect{left, top, left + part(width, w), top + part(height, h)};
    return true;
}

bool CCRBase::InvalidateCells(const CRect&, bool) {
    return true;
}

bool CCRBase::InvalidateAll(bool) {
    return true;
}

void CCRBase::RequestRepaint(int col, int row, int w, int h) {
    if (!m_holdRedraw) {
        InvalidateCells(CRect{col, row, col + w, row + h}, false);
    }
}

bool CCRBase::Attach(CCRAttached& drawable, int layer) {
    if (layer < 0 || layer >= kLayerCount) {
        return false;
    }
    m_attached.push_back({&drawable, layer});
    return true;
}

bool CCRBase::Detach(CCRAttached& drawable) {
    auto removed = std::erase_if(
        m_attached, [&](const AttachedEntry& entry) { return entry.drawable == &drawable; });
    return removed > 0;
}

void CCRBase::DrawAttached(CDC& dc, int layer) {
    for (const AttachedEntry& entry : m_attached) {
        if (entry.layer == layer) {
            entry.drawable->Paint(dc);
        }
    }
}

}  // namespace tokeiya
