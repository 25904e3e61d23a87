#include "engine/CCDWHLines.hpp"

#include "engine/CCRBase.hpp"

namespace tokeiya {

void CCDWHLines::Draw(CDC& dc, CCRBase& surface) const {
    const int left = surface.ColumnToX(m_x1);
    const int right = surface.ColumnToX(m_x2);
    CPen previous = dc.SelectPen(Pen());
    ForEachLine(m_y1, surface.Rows(), [&](int border) {
        const int y = surface.RowToY(border);
        dc.MoveTo(left, y);
        dc.LineTo(right, y);
    });
    dc.SelectPen(previous);
}

void CCDWHLines::WriteText(std::string& out) const {
    out += "HL " + std::to_string(m_x1) + ',' + std::to_string(m_x2) + ',' + std::to_string(m_y1);
    AppendPenText(out);
    out += ',' + std::to_string(m_count) + ',' + std::to_string(m_step) + '\n';
}

}  // namespace tokeiya
