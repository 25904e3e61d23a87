#pragma once

#include <optional>
#include <string>

#include "widgets/CCRWSelecter.hpp"

namespace tokeiya {

// A pop-up list on a grid of its own: one entry per row, a cursor bar, paging, an optional
// scroll bar in two extra columns, type-ahead and mouse selection. It belongs to a field on
// a form, which stays highlighted while the list is open; every exit key (Enter confirms,
// Esc cancels, Left, Right, Tab, End, Ctrl+Up and Ctrl+Down leave) removes the highlight
// and hides the list first.
//
// Entries are counted from 0; the current entry is top + cursor, cursor being the visible
// row of the bar.
class CCRWMenuBase : public CCRWSelecter {
  public:
    // `cols` columns for the entries (plus two for the scroll bar) by `rows` rows in `rect`.
    CCRWMenuBase(win::IHostWindow* host, const CRect& rect, int cols, int rows, int edgeWidth,
                 int padding, int count, int visibleRows, bool scrollBar);
    ~CCRWMenuBase() override;

    // One click region per visible row, and one over the whole list for the wheel.
    virtual void LayoutRows();
    // The cells of visible row `row`; false in the base, which has no row layout.
    virtual bool GetRowRect(int row, CRect& rect) const;
    virtual void PlaceRowRegions();
    virtual CRect GetClientCells() const;
    virtual void DrawRow(int row) = 0;
    virtual void DrawEmptyRow(int row);
    virtual void DrawEmptyList();
    virtual void SetCount(int count);
    virtual void DrawRows();
    // top + cursor, or -1 without entries.
    virtual int GetCurrentIndex() const;
    virtual std::string GetEntryText(int index) const;
    // Nothing without entries.
    virtual std::optional<std::string> GetCurrentText() const;
    virtual int GetEntryCode(int index) const;
    // -1 without entries.
    virtual int GetCurrentCode() const;
    // Makes entry `index` current (clamped to the list), scrolling only when it is not
    // visible; the numbered menus take a code here instead.
    virtual void SelectEntry(int index, bool redraw);
    // Preselects `code` and shows the list; with `closeIfEmpty` an empty list only tells
    // the host that the menu closed.
    virtual void Open(int code, bool closeIfEmpty);
    virtual void Page(bool forward);
    // The character the type-ahead takes, or 0: letters and digits here.
    virtual int FilterTypeahead(int ch) const;
    virtual void ClearTypeahead();
    // Acts on the characters collected so far; -1 while they are not enough.
    virtual int TypeaheadDone();
    // Gives the field its normal colours back and tells the host the menu closed.
    virtual void Finish();
    virtual void UpdateScrollPos();

    // Selects entry `index` whatever SelectEntry takes.
    void SelectIndex(int index, bool redraw);

    void SetRect(const CRect& rect) override;
    void Close() override;

    bool OnUp(int modifiers, bool down) override;
    bool OnDown(int modifiers, bool down) override;
    bool OnPageUp(int modifiers, bool down) override;
    bool OnPageDown(int modifiers, bool down) override;
    bool OnChar(const win::Message& message) override;
    bool OnLButtonUp(int keys, int x, int y) override;
    bool OnLButtonDblClk(int keys, int x, int y) override;

    void OnLineUp(CCRWScrollBar* bar) override;
    void OnLineDown(CCRWScrollBar* bar) override;
    void OnPageUp(CCRWScrollBar* bar) override;
    void OnPageDown(CCRWScrollBar* bar) override;
    void OnThumbPosition(CCRWScrollBar* bar, int position) override;

    int Count() const { return m_count; }
    int Top() const { return m_top; }
    int Cursor() const { return m_cursor; }
    int VisibleRows() const { return m_visibleRows; }
    CCRWScrollBar* Bar() const { return m_bar; }
    const std::string& TypedSoFar() const { return m_typed; }

  protected:
    // The visible row under a pixel, or -1.
    int RowAt(int x, int y) const;
    void RedrawRow(int row);
    void MoveCursor(int step);
    // The bar moves to visible row `row`: the two rows are drawn again.
    void PutCursorOnRow(int row);

    int m_count = 0;
    int m_top = 0;
    int m_cursor = 0;
    int m_visibleRows;
    bool m_scrollBar;
    COLORREF m_rowText;
    COLORREF m_rowBack;
    COLORREF m_cursorText;
    COLORREF m_cursorBack;
    bool m_laidOut = false;
    int m_typeMax = 0;
    std::string m_typed;

  private:
    static constexpr int kRowRegions = 2;  // the kind of the row regions: clicks only

    CCRWScrollBar* m_bar = nullptr;
    // The next byte is the trail byte of a double-byte character typed into the list.
    bool m_trailFollows = false;
};

}  // namespace tokeiya
