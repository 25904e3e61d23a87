#include "widgets/CCRWTDigit.hpp"

#include "widgets/TextEntryRules.hpp"

namespace tokeiya {

int CCRWTDigit::WidthFor(int digits, int decimals, bool isSigned) {
    return (isSigned ? 1 : 0) + (decimals > 0 ? digits + decimals + 1 : digits);
}

CCRWTDigit::CCRWTDigit(win::IHostWindow* host, const CRect& rect, int digits, int decimals,
                       bool isSigned)
    : CCRWTBase(host, rect, WidthFor(digits, decimals, isSigned), 1, 1),
      m_digits(digits),
      m_decimals(decimals),
      m_signed(isSigned) {
    // Right-aligned: the caret of the empty text stands after the last column.
    SetCaretOffset(0);
}

void CCRWTDigit::Start(double value, bool selectAll) {
    m_startValue = value;
    if (!ShowValue(value)) {
        SetText("");
    }
    if (selectAll) {
        SelectAll();
    }
    m_imeMode = 0;
    SetMouseEnabled(true);
    Show(true, true);
}

bool CCRWTDigit::ShowValue(double value) {
    const std::optional<std::string> text = FormatNumber(value, m_digits, m_decimals, m_signed);
    if (!text) {
        return false;
    }
    SetText(*text);
    SetCaretOffset(static_cast<int>(Text().size()));
    return true;
}

bool CCRWTDigit::FilterChar(std::string& character) {
    const std::optional<char> half = HalfWidthOf(character);
    if (!half || !((*half >= '0' && *half <= '9') || *half == '-' || *half == '.')) {
        return false;
    }
    character.assign(1, *half);
    return true;
}

void CCRWTDigit::InsertTyped(const std::string& character) {
    const Snapshot before = TakeSnapshot();
    CCRWTBase::InsertTyped(character);
    if (!IsValidNumberText(Text(), m_digits, m_decimals, m_signed)) {
        RestoreSnapshot(before);
    }
}

std::optional<double> CCRWTDigit::PastedValue() {
    std::string text;
    if (GetHost() == nullptr || !GetHost()->GetClipboardText(text) ||
        !IsValidNumberText(text, m_digits, m_decimals, m_signed)) {
        return std::nullopt;
    }
    // A valid text that holds no number ("", "-", ".") has no value to paste.
    return LeadingNumber(text);
}

bool CCRWTDigit::CanPaste() {
    return PastedValue().has_value();
}

void CCRWTDigit::EditPaste() {
    if (const std::optional<double> value = PastedValue()) {
        ShowValue(*value);
    }
}

std::string CCRWTDigit::Row() {
    std::string text;
    GetRowText(text, 0);
    return text;
}

double CCRWTDigit::GetDouble() {
    return LeadingNumber(Row()).value_or(0);
}

int64_t CCRWTDigit::GetInt64() {
    return LeadingInteger(Row()).value_or(0);
}

}  // namespace tokeiya
