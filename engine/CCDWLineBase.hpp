#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "engine/CCDWItem.hpp"
#include "platform/gdi/CPen.hpp"
#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

// What the four line kinds share: the pen, and for the families the number of lines and
// the distance between them in cells.
class CCDWLineBase : public CCDWItem {
  public:
    static constexpr std::int32_t kStoredSize = kBaseSize + 20;

    std::int32_t GetStoredSize() const override { return kStoredSize; }
    void WriteBinary(CByteWriter& out) const override;
    bool ReadBinaryBody(CByteReader& in) override;

    COLORREF Color() const { return m_color; }
    std::int32_t Style() const { return m_style; }
    std::int32_t Width() const { return m_width; }
    std::int32_t Count() const { return m_count; }
    std::int32_t Step() const { return m_step; }

    // Style names as the definitions write them ("SOLOD" is the solid pen); an unknown
    // style is written as SOLOD, an unknown name (any case) reads as solid.
    static const char* StyleName(int style);
    static int StyleFromName(std::string_view name);

  protected:
    CCDWLineBase(std::int32_t kind, int x1, int y1, int x2, int y2, COLORREF color, int style,
                 int width, int count, int step)
        : CCDWItem(kind, kLineLayer, x1, y1, x2, y2),
          m_color(color),
          m_style(style),
          m_width(width),
          m_count(count),
          m_step(step) {}

    CPen Pen() const { return CPen(m_style, m_width, m_color); }
    // Calls draw(border) for the family's lines that lie on the borders 0..limit, in order.
    // Lines beyond the grid are not drawn, so a damaged count or step read from a
    // definition costs at most limit + 1 lines and never overflows.
    template <typename Draw>
    void ForEachLine(int first, int limit, Draw draw) const {
        const std::int64_t lines =
            m_step == 0 ? std::min<std::int64_t>(m_count, 1) : std::int64_t{m_count};
        std::int64_t i = 0;
        if (m_step != 0 && (first < 0 || first > limit)) {
            // Skip ahead to the first line that can be on the grid.
            const std::int64_t target = first < 0 ? 0 : limit;
            i = std::max<std::int64_t>(0, (target - first) / m_step);
        }
        for (; i < lines; ++i) {
            const std::int64_t border = first + i * std::int64_t{m_step};
            if (border >= 0 && border <= limit) {
                draw(static_cast<int>(border));
            } else if ((m_step > 0 && border > limit) || (m_step < 0 && border < 0)) {
                break;
            }
        }
    }
    // ",red,green,blue,style,width": the fields every line kind writes after its positions.
    void AppendPenText(std::string& out) const;

    COLORREF m_color;
    std::int32_t m_style;
    std::int32_t m_width;
    std::int32_t m_count;
    std::int32_t m_step;
};

}  // namespace tokeiya
