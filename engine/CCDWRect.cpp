#include "engine/CCDWRect.hpp"

#include "engine/CCRBase.hpp"

namespace tokeiya {

void CCDWRect::Draw(CDC& dc, CCRBase& surface) const {
    const int left = surface.ColumnToX(m_x1);
    const int top = surface.RowToY(m_y1);
    const int right = surface.ColumnToX(m_x2);
    const int bottom = surface.RowToY(m_y2);
    CPen previous = dc.SelectPen(Pen());
    dc.MoveTo(left, top);
    dc.LineTo(left, bottom);
    dc.LineTo(right, bottom);
    dc.LineTo(right, top);
    dc.LineTo(left, top);
    dc.SelectPen(previous);
}

void CCDWRect::WriteText(std::string& out) const {
    out += "R " + std::to_string(m_x1) + ',' + std::to_string(m_y1) + ',' + std::to_string(m_x2) +
           ',' + std::to_string(m_y2);
    AppendPenText(out);
    out += '\n';
}

}  // namespace tokeiya
