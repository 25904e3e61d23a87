#include "engine/CCDWBackColor.hpp"

#include <cstdio>

#include "engine/CCRBase.hpp"

namespace tokeiya {

void CCDWBackColor::Draw(CDC&, CCRBase& surface) const {
    surface.SetBackColor(m_color, m_x1, m_y1, m_x2 - m_x1, m_y2 - m_y1, false);
}

void CCDWBackColor::WriteBinary(CByteWriter& out) const {
    WriteBinaryBase(out);
    out.UInt32(m_color);
}

bool CCDWBackColor::ReadBinaryBody(CByteReader& in) {
    return in.UInt32(m_color);
}

void CCDWBackColor::WriteText(std::string& out) const {
    char line[96];
    std::snprintf(line, sizeof line, "BF %d,%d,%d,%d,%u,%u,%u\n", m_x1, m_y1, m_x2, m_y2,
                  GetRValue(m_color), GetGValue(m_color), GetBValue(m_color));
    out += line;
}

}  // namespace tokeiya
