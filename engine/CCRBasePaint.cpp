#include "engine/CCRBase.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace tokeiya {

void CCRBase::Draw(CDC& dc) {
    if (m_cells == nullptr) {
        return;
    }
    DrawFrame(dc);
    DrawAttached(dc, 0);
    DrawCellBackgrounds(dc);
    DrawAttached(dc, 1);
    DrawLineItems(dc);
    DrawCellTexts(dc);
    DrawAttached(dc, 2);
}

void CCRBase::DrawFrame(CDC& dc) {
    CRect area = m_rect;
    if (m_edgeWidth > 0) {
        dc.FillSolidRect(area, m_edgeColor);
        // A band wider than half the rectangle covers all of it.
        const int band = std::max(0, std::min({m_edgeWidth, area.Width() / 2, area.Height() / 2}));
        area = CRect{area.left + band, area.top + band, area.right - band, area.bottom - band};
    }
    dc.FillSolidRect(area, m_defaultBackColor);
    // Fills and captions become cell content, painted below like any other cell.
    m_items.DrawLayer(dc, *this, CCDWItem::kFillLayer);
    m_items.DrawLayer(dc, *this, CCDWItem::kTextLayer);
}

void CCRBase::DrawCellBackgrounds(CDC& dc) {
    for (int row = 0; row < m_rows; ++row) {
        const int top = RowToY(row);
        const int bottom = RowToY(row + 1);
        int start = 0;
        while (start < m_cols) {
            const COLORREF back = Cell(start, row).EffectiveBack();
            int end = start + 1;
            while (end < m_cols && Cell(end, row).EffectiveBack() == back) {
                ++end;
            }
            // The frame already painted the default colour.
            if (back != m_defaultBackColor) {
                dc.FillSolidRect(CRect{ColumnToX(start), top, ColumnToX(end), bottom}, back);
            }
            start = end;
        }
    }
}

void CCRBase::DrawLineItems(CDC& dc) {
    m_items.DrawLayer(dc, *this, CCDWItem::kLineLayer);
}

void CCRBase::DrawCellTexts(CDC& dc) {
    std::array<std::shared_ptr<const CFont>, kMaxDrawFonts> fonts;
    int fontCount = 0;
    if (m_useDeviceFont || m_fonts.empty()) {
        fonts[0] = dc.GetCurrentFont();
        fontCount = 1;
    } else {
        fontCount = std::min<int>(kMaxDrawFonts, static_cast<int>(m_fonts.size()));
        for (int i = 0; i < fontCount; ++i) {
            fonts[i] = dc.CreateFont(m_fonts[static_cast<size_t>(i)].logFont);
        }
    }
    const bool switchFonts = !m_useDeviceFont && fontCount >= 2;
    const BkMode previousMode = dc.SetBkMode(BkMode::Transparent);
    const COLORREF previousColor = dc.SetTextColor(m_defaultTextColor);

    const int cellWidth = static_cast<int>(m_cellWidth);
    const int cellHeight = static_cast<int>(m_cellHeight);
    const char mask[1] = {kMaskChar};
    m_glyphs.Clear();
    for (int col = 0; col < m_cols; ++col) {
        for (int row = 0; row < m_rows; ++row) {
            const CCRCell& cell = Cell(col, row);
            if (cell.IsEmpty() || (cell.IsContinuation() && !m_maskText)) {
                continue;
            }
            // Masked, every non-empty cell shows one '*' of its own, so a double-byte
            // character shows as two: the cell count of a password stays visible, not
            // its characters.
            const std::string_view chars = m_maskText ? std::string_view(mask, 1) : cell.Chars();
            const bool wide = chars.size() == 2;
            const auto first = static_cast<unsigned char>(chars[0]);
            const int font = switchFonts && (wide || first >= 0x80) ? 1 : 0;
            CRect box;
            box.left = ColumnToX(col) - 1;
            box.right = box.left + 1 + cellWidth * (wide ? 2 : 1) + 1;
            box.top = RowToY(row) + (wide ? 0 : m_singleByteDrop);
            box.bottom = box.top + cellHeight + 2;
            m_glyphs.AddCentred(fonts[static_cast<size_t>(font)], cell.textColor, chars, box);
        }
    }
    dc.DrawGlyphBatch(m_glyphs);
    dc.SetTextColor(previousColor);
    dc.SetBkMode(previousMode);
}

}  // namespace tokeiya
