#include "widgets/CIIDbCodeMenu.hpp"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "data/CCodeNameSet.hpp"
#include "widgets/CCRWMCodeName.hpp"

namespace tokeiya {

CIIDbCodeMenu::CIIDbCodeMenu(Setup setup)
    : CIIPopupMenu(setup.popupX, setup.popupY, setup.popupWidth, setup.popupHeight, setup.value,
                   kScale),
      m_extraFilter(std::move(setup.extraFilter)),
      m_database(setup.database),
      m_table(std::move(setup.table)),
      m_menuRows(setup.menuRows),
      m_codeDigits(setup.codeDigits),
      m_nameWidth(setup.nameWidth),
      m_nameOut(setup.nameOut) {}

bool CIIDbCodeMenu::GetText(std::string& text) const {
    if (!m_attached || m_value == nullptr || m_valueType != 4) {
        return false;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*d", m_codeDigits, *ValueAs<int>());
    text = buffer;
    return true;
}

bool CIIDbCodeMenu::TakeResult(CCRWin& editor) {
    if (!CIIPopupMenu::TakeResult(editor)) {
        return false;
    }
    if (m_nameOut != nullptr) {
        if (auto* menu = dynamic_cast<CCRWMenuBase*>(&editor)) {
            *m_nameOut = menu->GetCurrentText().value_or(std::string());
        }
    }
    return true;
}

std::unique_ptr<CCRWMenuBase> CIIDbCodeMenu::CreateMenu(IEditorForm& form, const CRect& rect) {
    if (m_database == nullptr) {
        return nullptr;
    }
    CCodeNameSet set(*m_database, m_table);
    std::vector<CCodeName> rows;
    if (!set.Load(rows, m_extraFilter)) {
        return nullptr;
    }
    auto menu = std::make_unique<CCRWMCodeName>(form.Cells().GetHost(), rect, 2, m_menuRows,
                                                m_codeDigits, m_nameWidth);
    for (const CCodeName& row : rows) {
        menu->AddEntry(row.code, row.name);
    }
    return menu;
}

int CIIDbCodeMenu::LookupName(CCRWTBase& editor, std::string* name) {
    return LookupName(std::strtoll(editor.Text().c_str(), nullptr, 10), name);
}

int CIIDbCodeMenu::LookupName(CCRWTDigit& editor, std::string* name) {
    return LookupName(editor.GetInt64(), name);
}

int CIIDbCodeMenu::LookupName(long long code, std::string* name) {
    std::string found;
    if (name != nullptr) {
        name->clear();
    }
    // No code list holds a code beyond int; such a number finds nothing.
    if (m_database == nullptr || code < INT_MIN || code > INT_MAX) {
        return 0;
    }
    CCodeNameSet set(*m_database, m_table);
    if (set.FindName(static_cast<int>(code), m_extraFilter, found) == 0) {
        return 0;
    }
    if (name != nullptr) {
        *name = found;
    }
    return 1;
}

}  // namespace tokeiya
