#include "widgets/CCRWTString.hpp"

#include "platform/Cp932.hpp"

namespace tokeiya {

CCRWTString::CCRWTString(win::IHostWindow* host, const CRect& rect, int width, int alignment)
    : CCRWTBase(host, rect, width, 1, alignment) {}

void CCRWTString::Start(std::string_view text, int caretColumn, bool selectAll, int imeMode) {
    size_t fits = 0;
    while (fits < text.size() && text[fits] != '\n') {
        const size_t length =
            cp932::IsLeadByte(static_cast<unsigned char>(text[fits])) && fits + 1 < text.size() ? 2
                                                                                                : 1;
        if (fits + length > static_cast<size_t>(m_cols)) {
            break;
        }
        fits += length;
    }
    SetText(text.substr(0, fits));
    const int first = m_alignment == 1 ? m_cols - static_cast<int>(fits) : 0;
    int offset = 0;
    for (int col = first; col < caretColumn && offset < static_cast<int>(fits);) {
        const int length = cp932::IsLeadByte(static_cast<unsigned char>(text[offset])) ? 2 : 1;
        offset += length;
        col += length;
    }
    SetCaretOffset(offset);
    if (selectAll) {
        SelectAll();
    }
    m_imeMode = imeMode;
    SetMouseEnabled(true);
    Show(true, true);
}

}  // namespace tokeiya
