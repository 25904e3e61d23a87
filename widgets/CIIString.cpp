#include "widgets/CIIString.hpp"

#include <memory>

#include "widgets/CCRWTString.hpp"

namespace tokeiya {

using namespace win;

CIIString::CIIString(int x, int y, int width, std::string* value, int imeMode, bool spaceEnds,
                     bool imeAllowed)
    : CIIBase(kText, x, y, width),
      m_imeMode(imeMode),
      m_spaceEnds(spaceEnds),
      m_imeAllowed(imeAllowed) {
    Bind(value);
}

bool CIIString::OpenEditor(IEditorForm& form) {
    m_changed = false;
    if (m_value == nullptr) {
        return false;
    }
    const std::string text = m_opensEmpty ? std::string() : BoundText();
    // A text the field cannot hold whole is not edited in it.
    if (static_cast<int>(text.size()) > m_width) {
        return false;
    }
    CRect rect;
    if (!PlaceOnField(form, m_width, rect)) {
        return false;
    }
    auto editor = std::make_unique<CCRWTString>(form.Cells().GetHost(), rect, m_width, 0);
    if (m_spaceEnds) {
        editor->AddExitKey(VK_SPACE, -1);
    }
    UseEditorColors(*editor, form);
    editor->SetMaskText(m_masked);
    editor->SetAsciiOnly(m_asciiOnly);
    editor->SetImeAllowed(m_imeAllowed);
    editor->Start(text, m_caretColumn, m_selectAllOnOpen, m_imeMode);
    form.SetActiveEditor(std::move(editor));
    return true;
}

bool CIIString::TakeResult(CCRWin& editor) {
    auto* entry = EditorToTake<CCRWTString>(editor);
    if (entry == nullptr) {
        return false;
    }
    const std::string text = entry->Text();
    if (m_opensEmpty && text.empty()) {
        return true;
    }
    if (text != BoundText()) {
        m_changed = true;
    }
    StoreText(text);
    return true;
}

bool CIIString::GetText(std::string& text) const {
    if (m_value == nullptr || (m_valueType != 1 && m_valueType != 2)) {
        return false;
    }
    text = BoundText();
    if (m_masked) {
        text.assign(text.size(), '*');
    }
    if (static_cast<int>(text.size()) < m_width) {
        text.append(static_cast<size_t>(m_width) - text.size(), ' ');
    }
    return true;
}

CIIPassword::CIIPassword(int x, int y, int width, std::string* value)
    : CIIString(x, y, width, value, 0, false, false) {
    m_caretColumn = 0;
    m_selectAllOnOpen = true;
    m_masked = true;
    m_asciiOnly = true;
    m_opensEmpty = true;
}

}  // namespace tokeiya
