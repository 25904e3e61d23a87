#pragma once

#include "engine/CCRBase.hpp"

namespace tokeiya {

// Where an editor goes on a form, kept so that the form can place it again after a resize:
// over cells (x, y, width, height in units of 1/scale of the form, scale 0 meaning cells),
// or, with placeNext, width x height (in 1/scale of the form's size, scale 0 meaning
// pixels) next to the item's cells (itemX, itemY, itemWidth).
struct EditorPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int scale = 0;
    int itemX = 0;
    int itemY = 0;
    int itemWidth = 0;
    bool placeNext = false;
};

// The editor's pixel rectangle on `form`; false when it does not fit. Next to the item, the
// editor goes directly below its cells, above them when it would pass the bottom of the
// form, and moves left when it would pass the right edge; it fails when it fits nowhere.
bool PlaceEditorRect(const CCRBase& form, const EditorPlacement& placement, CRect& rect);

}  // namespace tokeiya
