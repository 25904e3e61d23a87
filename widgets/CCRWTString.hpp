#pragma once

#include <string_view>

#include "widgets/CCRWTBase.hpp"

namespace tokeiya {

// The one-row editor of text and password items.
class CCRWTString : public CCRWTBase {
  public:
    // `width` columns by one row over `rect`; alignment 0 left, 1 right.
    CCRWTString(win::IHostWindow* host, const CRect& rect, int width, int alignment);

    // Puts `text` in (cut to the width, never through a double-byte character), the caret at
    // `caretColumn` (within the text, never on the second half of a character), selects
    // everything when asked, sets the input method mode and shows the editor.
    virtual void Start(std::string_view text, int caretColumn, bool selectAll, int imeMode);
};

}  // namespace tokeiya
