#include "widgets/CIIDigit.hpp"

#include <cmath>
#include <cstdio>
#include <memory>

#include "widgets/CCRWTDigit.hpp"

namespace tokeiya {

using namespace win;

CIIDigit::CIIDigit(int x, int y, int digits, int decimals, float* value, bool isSigned)
    : CIIBase(kNumber, x, y, WidthFor(digits, decimals, isSigned)),
      m_digits(digits),
      m_decimals(decimals),
      m_signed(isSigned) {
    Bind(value);
}

CIIDigit::CIIDigit(int x, int y, int digits, long* value, bool isSigned)
    : CIIBase(kNumber, x, y, WidthFor(digits, 0, isSigned)),
      m_digits(digits),
      m_decimals(0),
      m_signed(isSigned) {
    Bind(value);
}

int CIIDigit::WidthFor(int digits, int decimals, bool isSigned) {
    return digits + (decimals > 0 ? decimals + 1 : 0) + (isSigned ? 1 : 0);
}

void CIIDigit::SetOptions(bool selectAllOnOpen, bool spaceEnds) {
    m_selectAllOnOpen = selectAllOnOpen;
    m_spaceEnds = spaceEnds;
}

void CIIDigit::SetDigits(int x, int y, int digits, int decimals) {
    m_x = x;
    m_y = y;
    m_digits = digits;
    m_decimals = decimals;
    m_width = WidthFor(digits, decimals, m_signed);
}

void CIIDigit::SetPosSize(int, int, int) {}

bool CIIDigit::OpenEditor(IEditorForm& form) {
    m_changed = false;
    if (m_value == nullptr) {
        return false;
    }
    m_width = WidthFor(m_digits, m_decimals, m_signed);
    CRect rect;
    if (!PlaceOnField(form, m_width, rect)) {
        return false;
    }
    auto editor =
        std::make_unique<CCRWTDigit>(form.Cells().GetHost(), rect, m_digits, m_decimals, m_signed);
    if (m_spaceEnds) {
        editor->AddExitKey(VK_SPACE, -1);
    }
    UseEditorColors(*editor, form);
    // A number bound to text has no value to show.
    editor->Start(BoundNumber(), m_selectAllOnOpen);
    form.SetActiveEditor(std::move(editor));
    return true;
}

bool CIIDigit::TakeResult(CCRWin& editor) {
    auto* entry = EditorToTake<CCRWTDigit>(editor);
    if (entry == nullptr) {
        return false;
    }
    const double number = entry->GetDouble();
    const long long integer = entry->GetInt64();
    const double old = BoundNumber();
    m_tookExactly = true;
    switch (m_valueType) {
        case 3:
            *ValueAs<short>() = static_cast<short>(integer);
            break;
        case 4:
            *ValueAs<int>() = static_cast<int>(integer);
            break;
        case 5:
            *ValueAs<long>() = static_cast<long>(integer);
            break;
        case 6: {
            const float stored = static_cast<float>(number);
            const double scale = std::pow(10.0, m_decimals);
            m_tookExactly = std::nearbyint(static_cast<double>(stored) * scale) ==
                            std::nearbyint(number * scale);
            *ValueAs<float>() = stored;
            break;
        }
        case 7:
            *ValueAs<double>() = number;
            break;
        case 8:
            *ValueAs<long long>() = integer;
            break;
        default:
            return true;
    }
    if (old != number) {
        m_changed = true;
    }
    return true;
}

bool CIIDigit::GetText(std::string& text) const {
    if (m_value == nullptr || m_format.empty()) {
        return false;
    }
    char buffer[64];
    int n = 0;
    switch (m_valueType) {
        case 3:
            n = std::snprintf(buffer, sizeof buffer, m_format.c_str(), int{*ValueAs<short>()});
            break;
        case 4:
            n = std::snprintf(buffer, sizeof buffer, m_format.c_str(), *ValueAs<int>());
            break;
        case 5:
            n = std::snprintf(buffer, sizeof buffer, m_format.c_str(),
                              static_cast<int>(*ValueAs<long>()));
            break;
        case 6:
            n = std::snprintf(buffer, sizeof buffer, m_format.c_str(),
                              static_cast<double>(*ValueAs<float>()));
            break;
        case 7:
            n = std::snprintf(buffer, sizeof buffer, m_format.c_str(), *ValueAs<double>());
            break;
        case 8:
            n = std::snprintf(buffer, sizeof buffer, m_format.c_str(), *ValueAs<long long>());
            break;
        default:
            // A number bound to text shows nothing new.
            return true;
    }
    if (n < 0) {
        return false;
    }
    text = buffer;
    return true;
}

}  // namespace tokeiya
