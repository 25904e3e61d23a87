#include "engine/CCDWLine.hpp"

#include "engine/CCRBase.hpp"

namespace tokeiya {

void CCDWLine::Draw(CDC& dc, CCRBase& surface) const {
    CPen previous = dc.SelectPen(Pen());
    dc.MoveTo(surface.ColumnToX(m_x1), surface.RowToY(m_y1));
    dc.LineTo(surface.ColumnToX(m_x2), surface.RowToY(m_y2));
    dc.SelectPen(previous);
}

void CCDWLine::WriteText(std::string& out) const {
    out += "L " + std::to_string(m_x1) + ',' + std::to_string(m_y1) + ',' + std::to_string(m_x2) +
           ',' + std::to_string(m_y2);
    AppendPenText(out);
    out += '\n';
}

}  // namespace tokeiya
