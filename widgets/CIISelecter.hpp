#pragma once

#include "widgets/CIIBase.hpp"

namespace tokeiya {

// A field that is only marked while it has the focus: the screen acts on the exit key.
// It has no variable and nothing to take.
class CIISelecter : public CIIBase {
  public:
    static constexpr COLORREF kEditorColor = 0xFFFFFFFFu;

    CIISelecter(int x, int y, int width, bool spaceEnds);

    bool OpenEditor(IEditorForm& form) override;
    bool TakeResult(CCRWin& editor) override;

    bool m_spaceEnds;
    // kEditorColor: the form's editor colour.
    COLORREF m_foreColor = kEditorColor;
    COLORREF m_backColor = kEditorColor;
};

}  // namespace tokeiya
