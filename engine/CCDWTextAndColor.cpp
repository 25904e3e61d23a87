#include "engine/CCDWTextAndColor.hpp"

#include <cstdio>

#include "engine/CCRBase.hpp"
#include "engine/CCRBaseLimits.hpp"

namespace tokeiya {

void CCDWTextAndColor::Draw(CDC&, CCRBase& surface) const {
    surface.PutText(m_text, m_x1, m_y1, m_color, false);
}

void CCDWTextAndColor::WriteBinary(CByteWriter& out) const {
    WriteBinaryBase(out);
    out.UInt32(m_color);
    WriteBinaryText(out);
}

bool CCDWTextAndColor::ReadBinaryBody(CByteReader& in) {
    std::uint32_t color = 0;
    if (!in.UInt32(color) || !ReadBinaryText(in)) {
        return false;
    }
    m_color = CCRBaseLimits::Color(color);
    return true;
}

void CCDWTextAndColor::WriteText(std::string& out) const {
    char fields[64];
    std::snprintf(fields, sizeof fields, ",%d,%d,%u,%u,%u\n", m_x1, m_y1, GetRValue(m_color),
                  GetGValue(m_color), GetBValue(m_color));
    out += "TC " + EncodeCommas(m_text) + fields;
}

}  // namespace tokeiya
