#include "widgets/CIISpaceSelecter.hpp"

namespace tokeiya {

CIISpaceSelecter::CIISpaceSelecter(int x, int y, int width, int* value)
    : CIIBase(kSpaceSelect, x, y, width) {
    BindMapped(value);
}

int CIISpaceSelecter::GetInitialIndex() const {
    return 0;
}

void CIISpaceSelecter::SaveOtherValue() {
    if (m_valueType != -1 || m_value == nullptr) {
        return;
    }
    m_savedMapped = *ValueAs<int>();
    m_hasSavedMapped = true;
}

bool CIISpaceSelecter::RestoreOtherValue() {
    if (m_valueType != -1 || m_value == nullptr || !m_hasSavedMapped) {
        return false;
    }
    *ValueAs<int>() = m_savedMapped;
    m_changed = false;
    return true;
}

bool CIISpaceSelecter::OpenEditor(IEditorForm& form) {
    m_changed = false;
    if (m_value == nullptr) {
        return false;
    }
    // The selecter writes into the field's own cells; the form remembers where they are.
    CRect rect;
    if (!PlaceOnField(form, m_width, rect)) {
        return false;
    }
    std::unique_ptr<CCRWSpaceSelecter> selecter = CreateSelecter(form);
    if (selecter == nullptr) {
        return false;
    }
    switch (m_valueType) {
        case 1:
        case 2:
            selecter->SelectText(BoundText(), true);
            break;
        case 4:
            selecter->SelectIndex(*ValueAs<int>(), true);
            break;
        default:
            selecter->SelectIndex(GetInitialIndex(), true);
            break;
    }
    form.SetActiveEditor(std::move(selecter));
    return true;
}

bool CIISpaceSelecter::TakeResult(CCRWin& editor) {
    auto* selecter = EditorToTake<CCRWSpaceSelecter>(editor);
    if (selecter == nullptr) {
        return false;
    }
    if (m_valueType == 1 || m_valueType == 2) {
        const std::string text = selecter->CurrentText();
        if (text != BoundText()) {
            m_changed = true;
        }
        StoreText(text);
    } else if (m_valueType == 4) {
        if (selecter->Current() != *ValueAs<int>()) {
            m_changed = true;
        }
        *ValueAs<int>() = selecter->Current();
    }
    return true;
}

CIISS_MaruNull::CIISS_MaruNull(int x, int y, int* flag) : CIISpaceSelecter(x, y, 2, flag) {}

void CIISS_MaruNull::Bind(int* flag) {
    // Mapped rather than an index: any non-zero flag opens on "○".
    BindMapped(flag);
}

std::unique_ptr<CCRWSpaceSelecter> CIISS_MaruNull::CreateSelecter(IEditorForm& form) {
    return std::make_unique<CCRWS_MaruNull>(form.Cells().GetHost(), &form.Cells(), m_x, m_y);
}

int CIISS_MaruNull::GetInitialIndex() const {
    return m_value != nullptr && *ValueAs<int>() != 0 ? 1 : 0;
}

bool CIISS_MaruNull::TakeResult(CCRWin& editor) {
    auto* selecter = EditorToTake<CCRWSpaceSelecter>(editor);
    if (selecter == nullptr) {
        return false;
    }
    const int flag = selecter->Current() != 0 ? 1 : 0;
    if (flag != *ValueAs<int>()) {
        m_changed = true;
    }
    *ValueAs<int>() = flag;
    return true;
}

CIISS_TimeOption::CIISS_TimeOption(int x, int y, int* option) : CIISpaceSelecter(x, y, 2, option) {}

void CIISS_TimeOption::Bind(long* option) {
    BindValue(option, 5);
}

long CIISS_TimeOption::Option() const {
    if (m_value == nullptr) {
        return 0;
    }
    return m_valueType == 5 ? *ValueAs<long>() : *ValueAs<int>();
}

void CIISS_TimeOption::SetOption(long option) const {
    if (m_valueType == 5) {
        *ValueAs<long>() = option;
    } else {
        *ValueAs<int>() = static_cast<int>(option);
    }
}

std::unique_ptr<CCRWSpaceSelecter> CIISS_TimeOption::CreateSelecter(IEditorForm& form) {
    return std::make_unique<CCRWS_TimeOption>(form.Cells().GetHost(), &form.Cells(), m_x, m_y);
}

int CIISS_TimeOption::GetInitialIndex() const {
    return static_cast<int>(Option());
}

bool CIISS_TimeOption::TakeResult(CCRWin& editor) {
    auto* selecter = EditorToTake<CCRWSpaceSelecter>(editor);
    if (selecter == nullptr) {
        return false;
    }
    const long option = selecter->Current();
    if (option != Option()) {
        m_changed = true;
    }
    SetOption(option);
    return true;
}

}  // namespace tokeiya
