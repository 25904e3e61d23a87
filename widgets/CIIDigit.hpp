#pragma once

#include <string>

#include "widgets/CIIBase.hpp"

namespace tokeiya {

// A number field, edited in a right-aligned number editor. Its width follows from the
// digits: the integer digits, the point and decimals when there are decimals, the sign.
class CIIDigit : public CIIBase {
  public:
    CIIDigit(int x, int y, int digits, int decimals, float* value, bool isSigned);
    CIIDigit(int x, int y, int digits, long* value, bool isSigned);

    // The width an item of that shape has.
    static int WidthFor(int digits, int decimals, bool isSigned);

    void SetOptions(bool selectAllOnOpen, bool spaceEnds);
    // Moves the item and gives it other digits; the sign stays as it was.
    virtual void SetDigits(int x, int y, int digits, int decimals);

    bool OpenEditor(IEditorForm& form) override;
    // Integer variables take the integer part of the text (12.5 gives 12), float and double
    // the number; a change is a different number.
    bool TakeResult(CCRWin& editor) override;
    // Whether the bound variable holds the number last taken as it was typed, to the item's
    // decimals: a float keeps whole numbers exactly only up to 16,777,216.
    bool TookExactly() const { return m_tookExactly; }
    // The value through m_format; nothing without a format.
    bool GetText(std::string& text) const override;
    // The width follows from the digits alone.
    void SetPosSize(int x, int y, int width) override;

    int Digits() const { return m_digits; }
    int Decimals() const { return m_decimals; }
    bool IsSigned() const { return m_signed; }

  private:
    int m_digits;
    int m_decimals;
    bool m_signed;
    bool m_selectAllOnOpen = true;
    bool m_spaceEnds = false;
    bool m_tookExactly = true;
};

}  // namespace tokeiya
