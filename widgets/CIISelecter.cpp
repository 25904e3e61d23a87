#include "widgets/CIISelecter.hpp"

#include <memory>

#include "widgets/CCRWSelecter.hpp"

namespace tokeiya {

CIISelecter::CIISelecter(int x, int y, int width, bool spaceEnds)
    : CIIBase(kHighlight, x, y, width), m_spaceEnds(spaceEnds) {}

bool CIISelecter::OpenEditor(IEditorForm& form) {
    m_changed = false;
    auto selecter = std::make_unique<CCRWSelecter>(form.Cells().GetHost(), m_spaceEnds);
    selecter->SetHighlightColors(m_foreColor == kEditorColor ? form.EditorText() : m_foreColor,
                                 m_backColor == kEditorColor ? form.EditorBack() : m_backColor);
    selecter->Highlight(&form.Cells(), m_x, m_y, m_width);
    form.SetActiveEditor(std::move(selecter));
    return true;
}

bool CIISelecter::TakeResult(CCRWin&) {
    return true;
}

}  // namespace tokeiya
