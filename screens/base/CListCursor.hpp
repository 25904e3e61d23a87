#pragma once

namespace tokeiya {

// Where the cursor of a list screen stands: the list row at the top of the page, the
// cursor's row on the page, its field, and how many rows the list and a page have. Every
// key move of the list screens and the rule that brings a row onto the page live here;
// nothing is drawn.
class CListCursor {
  public:
    CListCursor(int pageRows, int columns) : m_pageRows(pageRows), m_columns(columns) {}

    int Top() const { return m_top; }
    int Row() const { return m_row; }
    int Column() const { return m_column; }
    int Count() const { return m_count; }
    int PageRows() const { return m_pageRows; }
    int Columns() const { return m_columns; }
    // The list row under the cursor.
    int Position() const { return m_top + m_row; }

    // A new list of `count` rows, the cursor on its first field.
    void Reset(int count);
    // The list grew or shrank; the cursor stays where it is.
    void SetCount(int count) { m_count = count; }
    // The cursor onto page row `row` (kept on the list's rows) and field `column`.
    void Place(int row, int column);

    // What a move did: the cursor reached another row, the page scrolled under it.
    struct Moved {
        bool row = false;
        bool scrolled = false;
    };
    // Enter and Right go to the next field, past the last to the next row's first; Left to
    // the previous field, before the first to the previous row's last; Up and Down a row;
    // Page Up and Page Down a page, with the page moving along. Other keys stay.
    Moved Move(int virtualKey);
    // Whether `virtualKey` at the current place would move past the list's last row: a list
    // that grows by a blank row adds it first.
    bool WouldLeaveLastRow(int virtualKey) const;
    // Brings list row `position` onto the page: a row off the page becomes its first line,
    // the page kept full where the list allows. Nothing for a row outside the list. True
    // when the page moved.
    bool MakeVisible(int position);

  private:
    Moved Down();
    Moved Up();
    Moved Page(int step);

    int m_pageRows;
    int m_columns;
    int m_top = 0;
    int m_row = 0;
    int m_column = 0;
    int m_count = 0;
};

}  // namespace tokeiya
