#pragma once

#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

// GDI pen styles, numbered as the definitions store them.
struct PenStyle {
    static constexpr int Solid = 0;
    static constexpr int Dash = 1;
    static constexpr int Dot = 2;
    static constexpr int DashDot = 3;
    static constexpr int DashDotDot = 4;
    static constexpr int Null = 5;
};

// A pen is a value: style, width in device units (0 draws one unit wide) and colour.
// An unknown style draws solid, as a definition with a damaged style should still show
// its lines.
class CPen {
  public:
    CPen() = default;
    CPen(int style, int width, COLORREF color)
        : m_style(style >= PenStyle::Solid && style <= PenStyle::Null ? style : PenStyle::Solid),
          m_width(width < 0 ? 0 : width),
          m_color(color) {}

    int Style() const { return m_style; }
    int Width() const { return m_width; }
    COLORREF Color() const { return m_color; }

    // GDI draws styled pens only one unit wide; wider ones come out solid.
    int EffectiveStyle() const {
        return m_width > 1 && m_style != PenStyle::Null ? PenStyle::Solid : m_style;
    }
    int EffectiveWidth() const { return m_width < 1 ? 1 : m_width; }

    friend bool operator==(const CPen&, const CPen&) = default;

  private:
    int m_style = PenStyle::Solid;
    int m_width = 0;
    COLORREF m_color = 0;
};

}  // namespace tokeiya
