#include "engine/CCDWItem.hpp"

#include "engine/CCRBaseLimits.hpp"

namespace tokeiya {

void CCDWItem::Draw(CDC&, CCRBase&) const {}

void CCDWItem::WriteBinary(CByteWriter& out) const {
    WriteBinaryBase(out);
}

bool CCDWItem::ReadBinaryBody(CByteReader&) {
    return true;
}

void CCDWItem::WriteText(std::string&) const {}

void CCDWItem::WriteBinaryBase(CByteWriter& out) const {
    out.Int32(m_kind);
    out.Int32(m_layer);
    out.Int32(m_x1);
    out.Int32(m_y1);
    out.Int32(m_x2);
    out.Int32(m_y2);
}

bool CCDWItem::ReadBinaryBase(CByteReader& in) {
    std::int32_t values[5] = {};
    for (std::int32_t& value : values) {
        if (!in.Int32(value)) {
            return false;
        }
    }
    // The kind decides the layer; a stored layer that is none of the three would hide the
    // item for good.
    if (values[0] >= kFillLayer && values[0] <= kTextLayer) {
        m_layer = values[0];
    }
    m_x1 = CCRBaseLimits::Coordinate(values[1]);
    m_y1 = CCRBaseLimits::Coordinate(values[2]);
    m_x2 = CCRBaseLimits::Coordinate(values[3]);
    m_y2 = CCRBaseLimits::Coordinate(values[4]);
    return true;
}

}  // namespace tokeiya
