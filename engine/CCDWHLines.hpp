#pragma once

#include "engine/CCDWLineBase.hpp"

namespace tokeiya {

// `count` horizontal lines from column border x1 to x2, the first on row border y,
// the next ones `step` rows further down each (the rules of a table).
class CCDWHLines : public CCDWLineBase {
  public:
    CCDWHLines(int x1, int x2, int y, COLORREF color, int style, int width, int count, int step)
        : CCDWLineBase(kHLines, x1, y, x2, y, color, style, width, count, step) {}

    void Draw(CDC& dc, CCRBase& surface) const override;
    void WriteText(std::string& out) const override;
};

}  // namespace tokeiya
