#pragma once

#include "engine/CCDWLineBase.hpp"

namespace tokeiya {

// `count` vertical lines from row border y1 to y2, the first on column border x, the
// next ones `step` columns further right each.
class CCDWVLines : public CCDWLineBase {
  public:
    CCDWVLines(int y1, int y2, int x, COLORREF color, int style, int width, int count, int step)
        : CCDWLineBase(kVLines, x, y1, x, y2, color, style, width, count, step) {}

    void Draw(CDC& dc, CCRBase& surface) const override;
    void WriteText(std::string& out) const override;
};

}  // namespace tokeiya
