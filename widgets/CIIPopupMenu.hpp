#pragma once

#include <memory>
#include <string>

#include "widgets/CCRWMenuBase.hpp"
#include "widgets/CIIBase.hpp"

namespace tokeiya {

// A field edited with a pop-up list. Bound to an int (the usual case) it takes the chosen
// entry's code; bound to text it opens on the entry of that name and takes the name.
class CIIPopupMenu : public CIIBase {
  public:
    // popupX or popupY -1: next to the field (once attached), popupWidth x popupHeight in
    // 1/scale of the form's size (scale 0: pixels); otherwise at (popupX, popupY), all four
    // in 1/scale of the form (scale 0: cells).
    CIIPopupMenu(int popupX, int popupY, int popupWidth, int popupHeight, int* value, int scale);

    // The field whose cells show the value: highlighted while the list is open, and the
    // place the list opens next to.
    void AttachTo(int x, int y, int width);

    bool OpenEditor(IEditorForm& form) override;
    // An empty list gives nothing and leaves the variable.
    bool TakeResult(CCRWin& editor) override;

    // The list in `rect`, filled; null when it cannot be made.
    virtual std::unique_ptr<CCRWMenuBase> CreateMenu(IEditorForm& form, const CRect& rect) = 0;

    bool Attached() const { return m_attached; }

  protected:
    // The entry index of `name`; the first entry when none has it.
    static int IndexOfName(const CCRWMenuBase& menu, const std::string& name);

    bool m_attached = false;
    int m_popupX;
    int m_popupY;
    int m_popupWidth;
    int m_popupHeight;
    int m_scale;
};

}  // namespace tokeiya
