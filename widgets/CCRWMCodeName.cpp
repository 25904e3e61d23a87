#include "widgets/CCRWMCodeName.hpp"

namespace tokeiya {

using namespace win;

CCRWMCodeName::CCRWMCodeName(IHostWindow* host, const CRect& rect, int edgeWidth, int visibleRows,
                             int codeDigits, int nameWidth)
    : CCRWMNumber(host, rect, edgeWidth, 0, visibleRows, codeDigits, nameWidth, true) {}

void CCRWMCodeName::AddEntry(int code, std::string_view name) {
    m_entries.push_back(CCodeName{code, std::string(name), 0});
    SetCount(static_cast<int>(m_entries.size()));
}

std::string CCRWMCodeName::GetEntryText(int index) const {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) {
        return {};
    }
    return m_entries[static_cast<size_t>(index)].name;
}

int CCRWMCodeName::GetEntryCode(int index) const {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) {
        return 0;
    }
    return m_entries[static_cast<size_t>(index)].code;
}

}  // namespace tokeiya
