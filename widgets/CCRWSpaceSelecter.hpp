#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/CCRWin.hpp"

namespace tokeiya {

// The editor of a field that cycles through a short fixed list of texts: Space or a click
// on the field shows the next one, written straight into the field's cells on the form in
// the selection colours. The arrow keys leave as exit keys; Enter and Esc end the edit as in
// every window. The form outlives the selecter.
class CCRWSpaceSelecter : public CCRWin {
  public:
    // The field is `width` cells from (x, y) of `form`.
    CCRWSpaceSelecter(win::IHostWindow* host, CCRWin* form, int x, int y, int width);
    ~CCRWSpaceSelecter() override;

    void AddEntry(std::string_view text);
    // Shows entry `index`; nothing when there is no such entry.
    virtual void SelectIndex(int index, bool redraw);
    // Shows the last entry equal to `text`; nothing when none is.
    virtual void SelectText(std::string_view text, bool redraw);

    bool OnChar(const win::Message& message) override;
    bool OnLeft(int modifiers, bool down) override;
    bool OnUp(int modifiers, bool down) override;
    bool OnRight(int modifiers, bool down) override;
    bool OnDown(int modifiers, bool down) override;
    bool OnLButtonUp(int keys, int x, int y) override;
    // Gives the field the form's normal colours back; the last entry shown stays until the
    // item draws its value.
    void Close() override;

    int Current() const { return m_current; }
    const std::vector<std::string>& Entries() const { return m_entries; }
    // The text shown, or empty when there are no entries.
    std::string CurrentText() const;

  private:
    void Cycle();
    bool PostArrow(int virtualKey, int modifiers, bool down);

    CCRWin* m_form;
    std::vector<std::string> m_entries;
    int m_x;
    int m_y;
    int m_width;
    int m_current = 0;
    bool m_closed = false;
};

// Blank or "○".
class CCRWS_MaruNull : public CCRWSpaceSelecter {
  public:
    CCRWS_MaruNull(win::IHostWindow* host, CCRWin* form, int x, int y);
};

// Blank, "前" (the day before) or "翌" (the day after).
class CCRWS_TimeOption : public CCRWSpaceSelecter {
  public:
    CCRWS_TimeOption(win::IHostWindow* host, CCRWin* form, int x, int y);
};

}  // namespace tokeiya
