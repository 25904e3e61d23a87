#include "widgets/CCRWSelecter.hpp"

#include "widgets/WidgetColors.hpp"

namespace tokeiya {

using namespace win;

CCRWSelecter::CCRWSelecter(IHostWindow* host, bool spaceEnds)
    : CCRWin(host, false),
      m_text(EditorColors::Global().text),
      m_back(EditorColors::Global().back) {
    Init(spaceEnds);
}

CCRWSelecter::CCRWSelecter(IHostWindow* host, const CRect& rect, int cols, int rows, int edgeWidth,
                           int padding, bool spaceEnds)
    : CCRWin(host, rect, cols, rows, edgeWidth, padding),
      m_text(EditorColors::Global().text),
      m_back(EditorColors::Global().back) {
    Init(spaceEnds);
}

CCRWSelecter::~CCRWSelecter() {
    // A selecter deleted without Close still leaves the form as it found it.
    if (m_highlighted) {
        Unhighlight(true);
    }
}

void CCRWSelecter::Init(bool spaceEnds) {
    SetPopupMode(true);
    SetExitKeys(nullptr, true);
    if (spaceEnds) {
        AddExitKey(VK_SPACE, -1);
    }
}

void CCRWSelecter::Highlight(CCRWin* form, int x, int y, int count) {
    if (m_highlighted) {
        Unhighlight(true);
    }
    m_form = form;
    m_fieldX = x;
    m_fieldY = y;
    m_fieldCount = count;
    if (form == nullptr) {
        m_savedCells.clear();
        return;
    }
    m_savedCells = form->CopyCells(x, y, count);
    // A marked cell inside the field would show through the highlight.
    form->ClearMark(x, y, count, 1);
    form->SetColors(m_text, m_back, x, y, count, 1, true);
    m_highlighted = true;
}

void CCRWSelecter::Unhighlight(bool freeSaved) {
    if (m_form != nullptr && !m_savedCells.empty()) {
        m_form->RestoreCells(m_savedCells, m_fieldX, m_fieldY, true);
    }
    if (freeSaved) {
        m_savedCells.clear();
    }
    m_highlighted = false;
}

void CCRWSelecter::PostExitKey(int virtualKey, int modifiers) {
    Unhighlight(true);
    CCRWin::PostExitKey(virtualKey, modifiers);
}

void CCRWSelecter::Close() {
    m_keyHost = nullptr;
    if (m_highlighted) {
        Unhighlight(true);
    }
}

}  // namespace tokeiya
