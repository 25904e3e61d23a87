#pragma once

#include "platform/gdi/ColorRef.hpp"

namespace tokeiya {

// The colours every editor a form opens receives (text entry windows and selecters
// highlighting their field). Process-wide: the application sets them once.
struct EditorColors {
    COLORREF text = RGB(0, 0, 0);
    COLORREF back = RGB(200, 230, 250);

    static EditorColors& Global();
};

// The colours of selected text in every editor, process-wide as the application sets them.
struct SelectionColors {
    COLORREF text = RGB(0, 0, 0);
    COLORREF back = RGB(128, 128, 255);

    static SelectionColors& Global();
};

// The rows of the pop-up menus: the normal rows and the cursor bar. Process-wide: the
// application sets them once.
struct MenuColors {
    COLORREF text = RGB(0, 0, 0);
    COLORREF back = RGB(200, 255, 200);
    COLORREF cursorText = RGB(255, 255, 255);
    COLORREF cursorBack = RGB(30, 120, 100);

    static MenuColors& Global();
};

}  // namespace tokeiya
