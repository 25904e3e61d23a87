#include "widgets/CCRWSpaceSelecter.hpp"

#include "widgets/WidgetColors.hpp"

namespace tokeiya {

using namespace win;

CCRWSpaceSelecter::CCRWSpaceSelecter(IHostWindow* host, CCRWin* form, int x, int y, int width)
    : CCRWin(host, false), m_form(form), m_x(x), m_y(y), m_width(width) {
    SetPopupMode(host != nullptr);
    SetMouseEnabled(true);
}

CCRWSpaceSelecter::~CCRWSpaceSelecter() = default;

void CCRWSpaceSelecter::AddEntry(std::string_view text) {
    m_entries.emplace_back(text);
}

void CCRWSpaceSelecter::SelectIndex(int index, bool redraw) {
    if (m_entries.empty() || index < 0 || index >= static_cast<int>(m_entries.size())) {
        return;
    }
    m_current = index;
    if (m_form == nullptr || m_width <= 0) {
        return;
    }
    const SelectionColors& colors = SelectionColors::Global();
    // Blanks first, so that a shorter entry leaves nothing of a longer one behind.
    m_form->PutTextAndBack(std::string(static_cast<size_t>(m_width), ' '), m_x, m_y, colors.text,
                           colors.back, false);
    const std::string& text = m_entries[static_cast<size_t>(index)];
    m_form->PutText(std::string_view(text).substr(0, static_cast<size_t>(m_width)), m_x, m_y,
                    colors.text, false);
    if (redraw) {
        m_form->InvalidateCells(CRect{m_x, m_y, m_x + m_width, m_y + 1}, false);
    }
}

void CCRWSpaceSelecter::SelectText(std::string_view text, bool redraw) {
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i] == text) {
            SelectIndex(static_cast<int>(i), redraw);
        }
    }
}

std::string CCRWSpaceSelecter::CurrentText() const {
    if (m_current < 0 || m_current >= static_cast<int>(m_entries.size())) {
        return {};
    }
    return m_entries[static_cast<size_t>(m_current)];
}

void CCRWSpaceSelecter::Cycle() {
    if (m_entries.empty()) {
        return;
    }
    SelectIndex((m_current + 1) % static_cast<int>(m_entries.size()), true);
}

bool CCRWSpaceSelecter::OnChar(const Message& message) {
    if (message.wParam != static_cast<WPARAM>(' ')) {
        return false;
    }
    Cycle();
    return true;
}

bool CCRWSpaceSelecter::PostArrow(int virtualKey, int modifiers, bool down) {
    if (!down) {
        return false;
    }
    PostExitKey(virtualKey, modifiers);
    return true;
}

bool CCRWSpaceSelecter::OnLeft(int modifiers, bool down) {
    return PostArrow(VK_LEFT, modifiers, down);
}

bool CCRWSpaceSelecter::OnUp(int modifiers, bool down) {
    return PostArrow(VK_UP, modifiers, down);
}

bool CCRWSpaceSelecter::OnRight(int modifiers, bool down) {
    return PostArrow(VK_RIGHT, modifiers, down);
}

bool CCRWSpaceSelecter::OnDown(int modifiers, bool down) {
    return PostArrow(VK_DOWN, modifiers, down);
}

bool CCRWSpaceSelecter::OnLButtonUp(int, int x, int y) {
    if (m_form == nullptr || m_width <= 0) {
        return false;
    }
    const CRect field = m_form->CellRectToPixels(CRect{m_x, m_y, m_x + m_width, m_y + 1});
    if (!field.Contains(CPoint{x, y})) {
        return false;
    }
    Cycle();
    return true;
}

void CCRWSpaceSelecter::Close() {
    m_keyHost = nullptr;
    if (m_form != nullptr && !m_closed) {
        m_form->ResetColors(m_x, m_y, m_width, 1);
    }
    m_closed = true;
}

CCRWS_MaruNull::CCRWS_MaruNull(IHostWindow* host, CCRWin* form, int x, int y)
    : CCRWSpaceSelecter(host, form, x, y, 2) {
    AddEntry("  ");
    AddEntry("○");
}

CCRWS_TimeOption::CCRWS_TimeOption(IHostWindow* host, CCRWin* form, int x, int y)
    : CCRWSpaceSelecter(host, form, x, y, 2) {
    AddEntry("  ");
    AddEntry("前");
    AddEntry("翌");
}

}  // namespace tokeiya
