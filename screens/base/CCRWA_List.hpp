#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/odbc/DbException.hpp"
#include "screens/base/CCRWA_Tokeiya.hpp"
#include "screens/base/CListCursor.hpp"

namespace tokeiya {

class CIIBase;
class CIIDbCodeMenu;

// Where a list stands on its screen: a page of `pageRows` lines from `firstLine`, each
// row's text from `rowColumn` over `rowWidth` cells, the scroll bar in `scrollBarColumn`,
// and the cell that marks a row not stored yet in `markColumn` (none when negative).
struct ListLayout {
    int firstLine;
    int pageRows;
    int rowColumn;
    int rowWidth;
    int scrollBarColumn;
    int markColumn = -1;
};

// One field of a list row: where its item stands on the row's line, the cells a click
// picks it by, the item that edits it, and the code list that Space and a right click
// open instead (null where there is none). `bind` binds the item or the code list to the
// field of list row `position`; a field without it (a bar over the row) binds nothing.
struct ListField {
    int x;
    int clickFirst;
    int clickWidth;
    CIIBase* item;
    CIIDbCodeMenu* codes = nullptr;
    int codesWidth = 0;
    std::function<void(CIIBase& item, int position)> bind;
};

// A code field above the list that chooses which rows it shows, on `line`, picked by a
// click on `clickWidth` cells from `clickFirst`.
struct ListFilter {
    CIIDbCodeMenu* codes = nullptr;
    int line = 0;
    int clickFirst = 0;
    int clickWidth = 0;
};

// What storing a row came to.
enum class StoreResult {
    Stored,
    Kept,   // not complete yet: it stays on the screen only
    Told,   // refused or failed, and the user has been told why
    NoRow,  // the row to update was not there any more
};

// A screen that lists rows a page at a time and edits them field by field in place: the
// cursor and its key moves, the page and its scroll bar, clicks on the fields, the code
// lists of code fields, a filter above the list, and storing the edit in progress before
// the cursor leaves it. A list screen supplies its fields, what a row says, how a changed
// value is checked and how a row is stored; the rules of moving are written once here.
class CCRWA_List : public CCRWA_Tokeiya {
  public:
    CCRWA_List(CTokeiyaView& view, const std::string& drawingName, const std::string& menuName,
               const ListLayout& layout);
    ~CCRWA_List() override;

    void Activate() override;
    bool OnExitKey(int virtualKey, int modifiers) override;
    bool LeaveEdit() override { return StoreEdit(); }
    // Rows changed but not stored (not complete yet, or the database failed) would be lost
    // with the screen: the user is told and may go back to the first of them.
    bool ConfirmLeave() override;
    bool OnLButtonDown(int keys, int x, int y) override;
    bool OnRButtonDown(int keys, int x, int y) override;
    void OnThumbPosition(CCRWScrollBar* bar, int position) override;

    // The scroll bar moved to list row `position`: once the edit in progress is stored,
    // that row is made visible and the cursor goes to its first field.
    void OnScroll(int position);

    int Top() const { return m_cursor.Top(); }
    int Cursor() const { return m_cursor.Row(); }
    // The cursor's field; FilterColumn() while the filter is open.
    int Column() const { return m_onFilter ? FilterColumn() : m_cursor.Column(); }
    bool MenuOpen() const { return m_menuOpen; }
    CCRWScrollBar* ScrollBar() const { return m_scrollBar; }
    // The column number that stands for the filter: the one after the last field.
    int FilterColumn() const { return static_cast<int>(m_fields.size()); }
    // Why a code its list does not hold is refused.
    static std::string NotListedText(int code);
    // Whether list row `position` holds a change the database does not have. By default
    // the list remembers the positions whose store did not go through, which holds while
    // rows keep their places; a list that reorders or removes rows answers from its rows.
    virtual bool Unstored(int position) const { return m_unstored.contains(position); }
    // The mark on such a row, and what the user is asked when leaving it behind.
    static constexpr const char* kUnstoredMark = "*";
    static constexpr const char* kUnstoredQuestion =
        "「*」の印の行は、入力が終わっていないため保存されていません。\n"
        "戻って入力を続けますか？ (「いいえ」では、その入力は失われます)";

  protected:
    // The fields of a row (with their click regions on every page line) and the filter.
    void SetFields(std::vector<ListField> fields, ListFilter filter = {});

    virtual int RowCount() const = 0;
    virtual std::string RowText(int position) const = 0;
    // What the first line says while the list has no rows.
    virtual std::string EmptyListText() const { return {}; }
    // Drawn with the rows, below them.
    virtual void DrawFooter() {}
    // Adds a blank row at the end for a new entry; false when the list does not grow.
    virtual bool AppendRow() { return false; }
    // Whether the value just taken into field `column` of row `position` may stay. A check
    // that refuses says why through Refuse; a bare false is told in general words.
    virtual bool CheckEdit(int position, int column);
    // For CheckEdit: remembers why the value is refused, for the title line, and gives false.
    bool Refuse(std::string reason);
    // Stores row `position` after one of its fields changed.
    virtual StoreResult StoreRow(int position);
    // The filter took a new code: the list is read again.
    virtual void OnFilterChosen() {}
    // Opens the first field of page row `row`, where the user went back to a row not stored.
    virtual void FocusUnstored(int row) { Focus(row, 0, false); }
    // Told when an update finds its row gone.
    virtual std::string RowMissingText() const;

    // The list was read anew: any editor is closed and the cursor goes to its first row.
    void ListLoaded();
    void DrawRows();
    void DrawRow(int position);
    // Closes any editor and opens field `column` on page row `row`, or its code list with
    // `menu`; a code list that cannot be read leaves the code to be typed. FilterColumn()
    // opens the filter.
    void Focus(int row, int column, bool menu);
    // Takes the open editor's value, checks it and stores the row when it changed. False
    // when it was refused: the value from before is back, with a beep, and the field (its
    // code list, where it has one) open again.
    bool StoreEdit();
    void MakeVisible(int position);
    int Position() const { return m_cursor.Position(); }
    bool OnFilter() const { return m_onFilter; }
    // The page row and field under a mouse position; false outside them.
    bool FieldAt(int x, int y, int& row, int& column) const;
    // For a cursor that leaves the list for fields above it: the bar goes until Focus.
    void HideScrollBar() { ShowScrollBar(false); }

    // Stores `row` through `save` on a copy, so that the row takes an id only from a store
    // that succeeded: a failed insert leaves it new, and the next change inserts again.
    // `save` returns the record class's result (0: no row to update).
    template <class Row, class Save>
    static StoreResult StoreCopy(Row& row, Save&& save) {
        Row stored = row;
        try {
            if (save(stored) == 0) {
                return StoreResult::NoRow;
            }
        } catch (const CDBException&) {
            // The connection has told the user; what was typed stays on the screen.
            return StoreResult::Told;
        }
        row = stored;
        return StoreResult::Stored;
    }

  private:
    void FocusFilter();
    void ShowScrollBar(bool shown);
    // The mark of row `position` on page row `row`.
    void DrawMark(int row, int position);
    bool Click(int x, int y, bool right);
    const ListField& Field(int column) const { return m_fields[static_cast<size_t>(column)]; }

    ListLayout m_layout;
    CListCursor m_cursor;
    std::vector<ListField> m_fields;
    ListFilter m_filter;
    std::string m_refusal;
    // Rows whose last change was kept on the screen only, by position: the default answer
    // of Unstored.
    std::set<int> m_unstored;
    // Page rows that show the mark, so that only they are cleared.
    std::set<int> m_markedRows;
    bool m_menuOpen = false;
    bool m_onFilter = false;
    CCRWScrollBar* m_scrollBar = nullptr;  // owned by the window while shown
};

}  // namespace tokeiya
