#pragma once

#include <string>

#include "widgets/CIIBase.hpp"

namespace tokeiya {

// A text field, edited in a one-row text editor of the field's width.
class CIIString : public CIIBase {
  public:
    CIIString(int x, int y, int width, std::string* value, int imeMode, bool spaceEnds,
              bool imeAllowed);

    bool OpenEditor(IEditorForm& form) override;
    bool TakeResult(CCRWin& editor) override;
    // The text (stars when masked) padded with blanks to the width; a longer text whole.
    bool GetText(std::string& text) const override;

    bool m_selectAllOnOpen = true;
    int m_caretColumn = 0;
    int m_imeMode;
    bool m_spaceEnds;
    bool m_masked = false;
    bool m_asciiOnly = false;
    bool m_imeAllowed;
    // The editor opens empty and a result left empty keeps the value, so that the value is
    // never shown or selected for copying (passwords).
    bool m_opensEmpty = false;
};

// A password: printable ASCII only, shown as stars, no input method. Its editor opens
// empty: what is typed replaces the password, nothing typed keeps it.
class CIIPassword : public CIIString {
  public:
    CIIPassword(int x, int y, int width, std::string* value);
};

}  // namespace tokeiya
