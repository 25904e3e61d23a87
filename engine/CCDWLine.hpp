#pragma once

#include "engine/CCDWLineBase.hpp"

namespace tokeiya {

// A segment from border point (x1, y1) to (x2, y2).
class CCDWLine : public CCDWLineBase {
  public:
    CCDWLine(int x1, int y1, int x2, int y2, COLORREF color, int style, int width)
        : CCDWLineBase(kLine, x1, y1, x2, y2, color, style, width, 0, 0) {}

    void Draw(CDC& dc, CCRBase& surface) const override;
    void WriteText(std::string& out) const override;
};

}  // namespace tokeiya
