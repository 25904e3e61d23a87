#include "widgets/CIIPopupMenu.hpp"

namespace tokeiya {

CIIPopupMenu::CIIPopupMenu(int popupX, int popupY, int popupWidth, int popupHeight, int* value,
                           int scale)
    : CIIBase(kPopup, 0, 0, 0),
      m_popupX(popupX),
      m_popupY(popupY),
      m_popupWidth(popupWidth),
      m_popupHeight(popupHeight),
      m_scale(scale) {
    Bind(value);
}

void CIIPopupMenu::AttachTo(int x, int y, int width) {
    m_x = x;
    m_y = y;
    m_width = width;
    m_attached = true;
}

int CIIPopupMenu::IndexOfName(const CCRWMenuBase& menu, const std::string& name) {
    for (int i = 0; i < menu.Count(); ++i) {
        if (menu.GetEntryText(i) == name) {
            return i;
        }
    }
    return 0;
}

bool CIIPopupMenu::OpenEditor(IEditorForm& form) {
    m_changed = false;
    EditorPlacement placement;
    placement.width = m_popupWidth;
    placement.height = m_popupHeight;
    placement.scale = m_scale;
    if ((m_popupX < 0 || m_popupY < 0) && m_attached) {
        placement.itemX = m_x;
        placement.itemY = m_y;
        placement.itemWidth = m_width;
        placement.placeNext = true;
    } else {
        placement.x = m_popupX;
        placement.y = m_popupY;
    }
    CRect rect;
    if (!form.PlaceEditor(placement, rect)) {
        return false;
    }
    std::unique_ptr<CCRWMenuBase> menu = CreateMenu(form, rect);
    if (menu == nullptr) {
        return false;
    }
    if (m_value != nullptr && (m_valueType == 1 || m_valueType == 2)) {
        menu->SelectIndex(IndexOfName(*menu, BoundText()), false);
        menu->Open(menu->GetCurrentCode(), false);
    } else {
        menu->Open(m_value != nullptr && m_valueType == 4 ? *ValueAs<int>() : 0, false);
    }
    if (m_attached) {
        menu->SetHighlightColors(form.EditorText(), form.EditorBack());
        menu->Highlight(&form.Cells(), m_x, m_y, m_width);
    }
    form.SetActiveEditor(std::move(menu));
    return true;
}

bool CIIPopupMenu::TakeResult(CCRWin& editor) {
    auto* menu = EditorToTake<CCRWMenuBase>(editor);
    if (menu == nullptr) {
        return false;
    }
    if (m_valueType == 4) {
        if (menu->GetCurrentIndex() < 0) {
            return false;
        }
        const int code = menu->GetCurrentCode();
        if (code != *ValueAs<int>()) {
            m_changed = true;
        }
        *ValueAs<int>() = code;
    } else if (m_valueType == 1 || m_valueType == 2) {
        const std::optional<std::string> name = menu->GetCurrentText();
        if (!name) {
            return false;
        }
        if (*name != BoundText()) {
            m_changed = true;
        }
        StoreText(*name);
    }
    return true;
}

}  // namespace tokeiya
