#include "engine/CCDWVLines.hpp"

#include "engine/CCRBase.hpp"

namespace tokeiya {

void CCDWVLines::Draw(CDC& dc, CCRBase& surface) const {
    const int top = surface.RowToY(m_y1);
    const int bottom = surface.RowToY(m_y2);
    CPen previous = dc.SelectPen(Pen());
    ForEachLine(m_x1, surface.Cols(), [&](int border) {
        const int x = surface.ColumnToX(border);
        dc.MoveTo(x, top);
        dc.LineTo(x, bottom);
    });
    dc.SelectPen(previous);
}

void CCDWVLines::WriteText(std::string& out) const {
    out += "VL " + std::to_string(m_y1) + ',' + std::to_string(m_y2) + ',' + std::to_string(m_x1);
    AppendPenText(out);
    out += ',' + std::to_string(m_count) + ',' + std::to_string(m_step) + '\n';
}

}  // namespace tokeiya
