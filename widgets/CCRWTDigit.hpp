#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "widgets/CCRWTBase.hpp"

namespace tokeiya {

// The one-row editor of number items: right-aligned, wide enough for the sign, the integer
// digits, the point and the decimals, and refusing any keystroke that would leave a text
// no number of that shape could have.
class CCRWTDigit : public CCRWTBase {
  public:
    CCRWTDigit(win::IHostWindow* host, const CRect& rect, int digits, int decimals, bool isSigned);

    // The columns an editor of that shape needs.
    static int WidthFor(int digits, int decimals, bool isSigned);

    // Shows `value` (empty when it does not fit the shape) with the caret at its end, selects
    // everything when asked, keeps the input method out and shows the editor.
    virtual void Start(double value, bool selectAll);

    // Paste takes a clipboard text that is a number of the editor's shape; it replaces the
    // whole content, shown as Start shows a value.
    bool CanPaste() override;
    void EditPaste() override;

    // The number the text starts with; 0 when it starts with none ("", "-").
    double GetDouble();
    // The same without the decimals.
    int64_t GetInt64();

    double StartValue() const { return m_startValue; }
    int Digits() const { return m_digits; }
    int Decimals() const { return m_decimals; }
    bool IsSigned() const { return m_signed; }

  protected:
    // Full-width characters are turned half-width; only digits, "-" and "." remain.
    bool FilterChar(std::string& character) override;
    // Undoes the insertion (text, caret and selection) when the text stops being a number.
    void InsertTyped(const std::string& character) override;

  private:
    // Row 0 as typed.
    std::string Row();
    // The clipboard text as a value for this editor; nothing when it is none.
    std::optional<double> PastedValue();
    // Replaces the content with the value's text, caret at its end; false when it does not
    // fit.
    bool ShowValue(double value);

    int m_digits;
    int m_decimals;
    bool m_signed;
    double m_startValue = 0;
};

}  // namespace tokeiya
