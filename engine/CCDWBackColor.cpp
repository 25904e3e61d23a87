#include "engine/CCDWBackColor.hpp"

#include <climits>
#include <cstdint>
#include <cstdio>

#include "engine/CCRBase.hpp"
#include "engine/CCRBaseLimits.hpp"

namespace tokeiya {

void CCDWBackColor::Draw(CDC&, CCRBase& surface) const {
    // Corners far apart (a damaged package) give a size beyond int: no grid is that large,
    // so the fill is refused as the surface would refuse it, without computing the size.
    const std::int64_t w = std::int64_t{m_x2} - m_x1;
    const std::int64_t h = std::int64_t{m_y2} - m_y1;
    if (w < INT_MIN || w > INT_MAX || h < INT_MIN || h > INT_MAX) {
        return;
    }
    surface.SetBackColor(m_color, m_x1, m_y1, static_cast<int>(w), static_cast<int>(h), false);
}

void CCDWBackColor::WriteBinary(CByteWriter& out) const {
    WriteBinaryBase(out);
    out.UInt32(m_color);
}

bool CCDWBackColor::ReadBinaryBody(CByteReader& in) {
    std::uint32_t color = 0;
    if (!in.UInt32(color)) {
        return false;
    }
    m_color = CCRBaseLimits::Color(color);
    return true;
}

void CCDWBackColor::WriteText(std::string& out) const {
    char line[96];
    std::snprintf(line, sizeof line, "BF %d,%d,%d,%d,%u,%u,%u\n", m_x1, m_y1, m_x2, m_y2,
                  GetRValue(m_color), GetGValue(m_color), GetBValue(m_color));
    out += line;
}

}  // namespace tokeiya
