#pragma once

#include "engine/CCDWLineBase.hpp"

namespace tokeiya {

// A box outline with corners on the cell borders (x1, y1) and (x2, y2).
class CCDWRect : public CCDWLineBase {
  public:
    CCDWRect(int x1, int y1, int x2, int y2, COLORREF color, int style, int width)
        : CCDWLineBase(kRect, x1, y1, x2, y2, color, style, width, 0, 0) {}

    void Draw(CDC& dc, CCRBase& surface) const override;
    void WriteText(std::string& out) const override;
};

}  // namespace tokeiya
