#pragma once

#include "engine/CCDWText.hpp"
#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

// A caption in its own text colour.
class CCDWTextAndColor : public CCDWText {
  public:
    CCDWTextAndColor(std::string text, int x, int y, COLORREF color)
        : CCDWText(kTextAndColor, std::move(text), x, y), m_color(color) {}

    void Draw(CDC& dc, CCRBase& surface) const override;
    std::int32_t GetStoredSize() const override { return CCDWText::GetStoredSize() + 4; }
    void WriteBinary(CByteWriter& out) const override;
    bool ReadBinaryBody(CByteReader& in) override;
    void WriteText(std::string& out) const override;

    COLORREF Color() const { return m_color; }

  private:
    COLORREF m_color;
};

}  // namespace tokeiya
