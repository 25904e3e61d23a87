#include "widgets/CIITime.hpp"

#include <cstdio>
#include <memory>

#include "widgets/CCRWTTime.hpp"

namespace tokeiya {

using namespace win;

CIITime::CIITime(int x, int y, CTime* value, bool withSeconds, bool selectAllOnOpen)
    : CIIBase(kTime, x, y, withSeconds ? 8 : 5),
      m_withSeconds(withSeconds),
      m_selectAllOnOpen(selectAllOnOpen) {
    Bind(value);
    m_format = withSeconds ? "%02d:%02d:%02d" : "%02d:%02d";
    m_nullText.assign(static_cast<size_t>(m_width), ' ');
}

void CIITime::SetPosSize(int, int, int) {}

CTime* CIITime::Time() const {
    // Any binding but a CTime's is not a time.
    return m_valueType == 9 ? ValueAs<CTime>() : nullptr;
}

bool CIITime::OpenEditor(IEditorForm& form) {
    m_changed = false;
    if (Time() == nullptr) {
        return false;
    }
    CRect rect;
    if (!PlaceOnField(form, m_width, rect)) {
        return false;
    }
    auto editor = std::make_unique<CCRWTTime>(form.Cells().GetHost(), rect, m_withSeconds);
    UseEditorColors(*editor, form);
    editor->Start(*Time(), m_selectAllOnOpen);
    form.SetActiveEditor(std::move(editor));
    return true;
}

bool CIITime::TakeResult(CCRWin& editor) {
    auto* entry = dynamic_cast<CCRWTTime*>(&editor);
    if (Time() == nullptr || entry == nullptr) {
        return false;
    }
    CTime& value = *Time();
    const CTime old = value;
    if (!entry->ParseTimeInto(value)) {
        value = old;
        m_changed = false;
        return false;
    }
    if (IsEmptyTime(old) && IsEmptyTime(value)) {
        value = CTime();
        m_changed = false;
    } else {
        m_changed = value != old;
    }
    return true;
}

bool CIITime::GetText(std::string& text) const {
    if (Time() == nullptr || m_format.empty()) {
        return false;
    }
    const CTime& value = *Time();
    if (IsEmptyTime(value)) {
        text = m_nullText;
        return true;
    }
    char buffer[64];
    const int n = m_withSeconds
                      ? std::snprintf(buffer, sizeof buffer, m_format.c_str(), value.GetHour(),
                                      value.GetMinute(), value.GetSecond())
                      : std::snprintf(buffer, sizeof buffer, m_format.c_str(), value.GetHour(),
                                      value.GetMinute());
    if (n < 0) {
        return false;
    }
    text = buffer;
    return true;
}

}  // namespace tokeiya
