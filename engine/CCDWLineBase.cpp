#include "engine/CCDWLineBase.hpp"

#include <cstdio>
#include <string>

#include "engine/CCRBaseLimits.hpp"
#include "platform/TextHelpers.hpp"

namespace tokeiya {

namespace {

constexpr const char* kStyleNames[] = {"SOLOD", "DASH", "DOT", "DASHDOT", "DASHDOTDOT"};

}  // namespace

const char* CCDWLineBase::StyleName(int style) {
    return style >= 0 && style <= PenStyle::DashDotDot ? kStyleNames[style] : kStyleNames[0];
}

int CCDWLineBase::StyleFromName(std::string_view name) {
    const std::string upper = UpperText(std::string(name));
    for (int style = 0; style <= PenStyle::DashDotDot; ++style) {
        if (upper == kStyleNames[style]) {
            return style;
        }
    }
    return PenStyle::Solid;
}

void CCDWLineBase::WriteBinary(CByteWriter& out) const {
    WriteBinaryBase(out);
    out.UInt32(m_color);
    out.Int32(m_style);
    out.Int32(m_width);
    out.Int32(m_count);
    out.Int32(m_step);
}

bool CCDWLineBase::ReadBinaryBody(CByteReader& in) {
    std::uint32_t color = 0;
    std::int32_t values[4] = {};
    if (!in.UInt32(color)) {
        return false;
    }
    for (std::int32_t& value : values) {
        if (!in.Int32(value)) {
            return false;
        }
    }
    m_color = CCRBaseLimits::Color(color);
    m_style = CCRBaseLimits::PenStyle(values[0]);
    m_width = CCRBaseLimits::PenWidth(values[1]);
    m_count = CCRBaseLimits::LineCount(values[2]);
    m_step = CCRBaseLimits::LineStep(values[3]);
    return true;
}

void CCDWLineBase::AppendPenText(std::string& out) const {
    char fields[64];
    std::snprintf(fields, sizeof fields, ",%u,%u,%u,%s,%d", GetRValue(m_color), GetGValue(m_color),
                  GetBValue(m_color), StyleName(m_style), m_width);
    out += fields;
}

}  // namespace tokeiya
