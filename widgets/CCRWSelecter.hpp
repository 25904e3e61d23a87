#pragma once

#include <vector>

#include "engine/CCRWin.hpp"

namespace tokeiya {

// The editor of a field whose value is chosen, not typed: it marks the field's cells on the
// form in the editor colours and waits for a key that ends the edit. It draws nothing of its
// own, except in the pop-up menus built on it, which have a grid of their own.
//
// The form is the window whose cells are highlighted; it outlives the selecter.
class CCRWSelecter : public CCRWin {
  public:
    // Without a grid of its own. Exit keys: the default table, and Space with `spaceEnds`.
    CCRWSelecter(win::IHostWindow* host, bool spaceEnds);
    // With `cols` x `rows` cells of its own in `rect` (edge width and padding in pixels).
    CCRWSelecter(win::IHostWindow* host, const CRect& rect, int cols, int rows, int edgeWidth,
                 int padding, bool spaceEnds);
    ~CCRWSelecter() override;

    // Keeps a copy of `count` cells from (x, y) of `form` and recolours them in the
    // selecter's colours.
    void Highlight(CCRWin* form, int x, int y, int count);
    // Puts the kept cells back exactly as they were (characters and colours) and redraws
    // them; with `freeSaved` the copy is dropped.
    void Unhighlight(bool freeSaved);

    // Every exit key removes the highlight before it leaves (the selecter hides first).
    void PostExitKey(int virtualKey, int modifiers) override;
    // Gives up the host's keys and removes a highlight still shown.
    void Close() override;

    void SetHighlightColors(COLORREF text, COLORREF back) {
        m_text = text;
        m_back = back;
    }
    COLORREF HighlightText() const { return m_text; }
    COLORREF HighlightBack() const { return m_back; }
    bool Highlighted() const { return m_highlighted; }
    CCRWin* Form() const { return m_form; }

  protected:
    CCRWin* m_form = nullptr;
    int m_fieldX = 0;
    int m_fieldY = 0;
    int m_fieldCount = 0;
    std::vector<CCRCell> m_savedCells;
    bool m_highlighted = false;

  private:
    void Init(bool spaceEnds);

    COLORREF m_text;
    COLORREF m_back;
};

}  // namespace tokeiya
