#pragma once

#include <string>

#include "shell/CTokeiyaView.hpp"
#include "widgets/CCRWMain.hpp"

namespace tokeiya {

class CFunctionMenu;

// What every work screen shares: its drawing and function-key labels loaded by name, the
// view it belongs to (the login document and its database through it), and the shared
// work context. It draws nothing of its own and is never shown by itself.
class CCRWA_Tokeiya : public CCRWMain, public IWorkScreenHooks {
  public:
    // An empty name loads nothing: no drawing, or no function-key bar at all.
    CCRWA_Tokeiya(CTokeiyaView& view, const std::string& drawingName, const std::string& menuName);
    ~CCRWA_Tokeiya() override;

    void OnOptionsChanged() override;
    void OnPeriodicRefresh() override;

    CTokeiyaView& View() const { return m_view; }
    CTokeiyaDoc& Document() const { return m_view.Document(); }
    // The screen's bar; null for a screen without one.
    CFunctionMenu* FunctionMenu() const;

  protected:
    // Hides the main window; the program goes on in the notification area.
    void HideMainWindow();
    // The open editor's value into the current item: 1 when it changed, 0 when not (or
    // without an editor), -1 when the editor's text is no valid value: then, with a beep,
    // the value from before the edit is back and the editor open again.
    int TakeEdit();

    // The lists shown a page at a time. Row `row` of a list of `count` rows brought onto the
    // page of `pageRows` rows starting at `top` (moved as little as possible, a full page
    // kept where there is one); `cursor` becomes its place on the page. Nothing for a row
    // outside the list.
    static void MakeRowVisible(int row, int count, int pageRows, int& top, int& cursor);
    // Shows or removes the list's scroll bar, a vertical one in key mode at `col` over
    // `rows` lines from `line`; `bar` is the one shown now, null when none. Shown, it spans
    // rows 0 .. count - 1 and stands at `position`.
    void ShowListScrollBar(CCRWScrollBar*& bar, bool shown, int col, int line, int rows, int count,
                           int position);

  private:
    CTokeiyaView& m_view;
};

}  // namespace tokeiya
