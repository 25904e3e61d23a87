#pragma once

#include <memory>

#include "engine/CCRWin.hpp"
#include "widgets/EditorPlacement.hpp"

namespace tokeiya {

// What an input item needs of the form it opens its editor on: the form's cells, where the
// editor goes, the colours every editor gets, and the one editor the form keeps open.
class IEditorForm {
  public:
    virtual ~IEditorForm() = default;

    // The form's own window: its cells hold the items' values.
    virtual CCRWin& Cells() = 0;
    // The editor's rectangle for `placement`, remembered for the form's next layout; false
    // when it does not fit.
    virtual bool PlaceEditor(const EditorPlacement& placement, CRect& rect) = 0;
    virtual COLORREF EditorText() const = 0;
    virtual COLORREF EditorBack() const = 0;
    // The form takes the editor the current item opened; it replaces any other.
    virtual void SetActiveEditor(std::unique_ptr<CCRWin> editor) = 0;
};

}  // namespace tokeiya
