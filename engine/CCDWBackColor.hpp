#pragma once

#include "engine/CCDWItem.hpp"
#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

// Gives the cells x1..x2-1 x y1..y2-1 a background colour each time the surface paints.
class CCDWBackColor : public CCDWItem {
  public:
    static constexpr std::int32_t kStoredSize = kBaseSize + 4;

    CCDWBackColor(int x1, int y1, int x2, int y2, COLORREF color)
        : CCDWItem(kBackColor, kFillLayer, x1, y1, x2, y2), m_color(color) {}

    void Draw(CDC& dc, CCRBase& surface) const override;
    std::int32_t GetStoredSize() const override { return kStoredSize; }
    void WriteBinary(CByteWriter& out) const override;
    bool ReadBinaryBody(CByteReader& in) override;
    void WriteText(std::string& out) const override;

    COLORREF Color() const { return m_color; }

  private:
    COLORREF m_color;
};

}  // namespace tokeiya
