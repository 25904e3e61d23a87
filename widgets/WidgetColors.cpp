#include "widgets/WidgetColors.hpp"

namespace tokeiya {

EditorColors& EditorColors::Global() {
    static EditorColors colors;
    return colors;
}

SelectionColors& SelectionColors::Global() {
    static SelectionColors colors;
    return colors;
}

MenuColors& MenuColors::Global() {
    static MenuColors colors;
    return colors;
}

}  // namespace tokeiya
