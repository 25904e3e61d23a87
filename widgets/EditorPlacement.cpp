#include "widgets/EditorPlacement.hpp"

#include <algorithm>
#include <cmath>

namespace tokeiya {

namespace {

// `units` of 1/scale of `extent` pixels; scale 0 counts pixels, below 100 as 100.
int Scaled(int units, int scale, int extent) {
    if (scale == 0) {
        return units;
    }
    scale = std::max(scale, 100);
    return static_cast<int>(std::lround(static_cast<double>(extent) * units / scale));
}

bool PlaceNext(const CCRBase& form, const EditorPlacement& p, CRect& rect) {
    const CRect& area = form.GetRect();
    const int width = Scaled(p.width, p.scale, area.Width());
    const int height = Scaled(p.height, p.scale, area.Height());
    if (width <= 0 || height <= 0 || width > area.Width() || p.itemX < 0 || p.itemY < 0 ||
        p.itemY >= form.Rows() || p.itemX >= form.Cols()) {
        return false;
    }
    int left = form.ColumnToX(p.itemX);
    int top = form.RowToY(p.itemY + 1);
    if (top + height > area.bottom) {
        top = form.RowToY(p.itemY) - height;
        if (top < area.top) {
            return false;
        }
    }
    if (left + width > area.right) {
        left = area.right - width;
    }
    left = std::max(left, area.left);
    rect = CRect{left, top, left + width, top + height};
    return true;
}

}  // namespace

bool PlaceEditorRect(const CCRBase& form, const EditorPlacement& placement, CRect& rect) {
    if (placement.placeNext) {
        return PlaceNext(form, placement, rect);
    }
    return form.ChildRect(rect, placement.x, placement.y, placement.width, placement.height,
                          placement.scale);
}

}  // namespace tokeiya
