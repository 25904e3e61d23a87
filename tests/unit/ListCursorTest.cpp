#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/WinMessages.hpp"
#include "screens/base/CListCursor.hpp"

namespace tokeiya {
namespace {

using namespace win;

// A cursor on a list of `count` rows with a page of 25 and `columns` fields, the page
// starting at list row `startTop`, the cursor on page row `startRow` and field `column`,
// then moved by `keys`.
struct MoveCase {
    const char* name;
    int count;
    int columns;
    int startTop;
    int startRow;
    int column;
    std::vector<int> keys;
    int top;
    int row;
    int endColumn;
    bool scrolledLast;
};

// The page starting at list row `top`: from the list's end, the row comes first.
void StartPageAt(CListCursor& cursor, int top) {
    cursor.MakeVisible(cursor.Count() - 1);
    cursor.MakeVisible(top);
}

const MoveCase kMoves[] = {
    {"down stays on the page", 30, 1, 0, 0, 0, {VK_DOWN}, 0, 1, 0, false},
    {"down from the page's last line scrolls by one", 30, 1, 0, 24, 0, {VK_DOWN}, 1, 24, 0, true},
    {"down stops on the last row", 3, 1, 0, 2, 0, {VK_DOWN}, 0, 2, 0, false},
    {"a full page stays put", 25, 1, 0, 0, 0, std::vector<int>(30, VK_DOWN), 0, 24, 0, false},
    {"up stops on the first row", 30, 1, 0, 0, 0, {VK_UP}, 0, 0, 0, false},
    {"up from the page's first line scrolls back", 30, 1, 5, 0, 0, {VK_UP}, 4, 0, 0, true},
    {"page down moves page and cursor", 31, 6, 0, 0, 0, {VK_NEXT}, 6, 19, 0, true},
    {"page down keeps the last page full", 30, 1, 0, 0, 0, {VK_NEXT}, 5, 20, 0, true},
    {"page down twice ends on the last row", 31, 6, 0, 0, 0, {VK_NEXT, VK_NEXT}, 6, 24, 0, false},
    {"page up twice is back at the start",
     31,
     1,
     0,
     0,
     0,
     {VK_NEXT, VK_NEXT, VK_PRIOR, VK_PRIOR},
     0,
     0,
     0,
     false},
    {"page keys on one page move only the cursor", 10, 1, 0, 3, 0, {VK_NEXT}, 0, 9, 0, false},
    {"page keys on an empty list", 0, 1, 0, 0, 0, {VK_NEXT, VK_PRIOR}, 0, 0, 0, false},
    {"enter goes along the fields", 5, 6, 0, 0, 0, {VK_RETURN, VK_RETURN}, 0, 0, 2, false},
    {"enter past the last field is the next row's first",
     5,
     6,
     0,
     0,
     5,
     {VK_RETURN},
     0,
     1,
     0,
     false},
    {"right on the last field of the last row stays", 5, 6, 0, 4, 5, {VK_RIGHT}, 0, 4, 5, false},
    {"left before the first field is the row above's last",
     5,
     6,
     0,
     2,
     0,
     {VK_LEFT},
     0,
     1,
     5,
     false},
    {"left on the first row's first field stays", 5, 6, 0, 0, 0, {VK_LEFT}, 0, 0, 0, false},
    {"one field: right is down, left is up",
     5,
     1,
     0,
     2,
     0,
     {VK_RIGHT, VK_RIGHT, VK_LEFT},
     0,
     3,
     0,
     false},
    {"up and down keep the field", 5, 6, 0, 2, 3, {VK_UP}, 0, 1, 3, false},
    {"other keys stay", 5, 6, 0, 2, 3, {VK_SPACE, VK_HOME}, 0, 2, 3, false},
};

TEST(ListCursor, MovesByKey) {
    for (const MoveCase& move : kMoves) {
        CListCursor cursor(25, move.columns);
        cursor.Reset(move.count);
        StartPageAt(cursor, move.startTop);
        cursor.Place(move.startRow, move.column);
        ASSERT_EQ(move.startTop, cursor.Top()) << move.name;
        CListCursor::Moved last;
        for (int key : move.keys) {
            last = cursor.Move(key);
        }
        EXPECT_EQ(move.top, cursor.Top()) << move.name;
        EXPECT_EQ(move.row, cursor.Row()) << move.name;
        EXPECT_EQ(move.endColumn, cursor.Column()) << move.name;
        EXPECT_EQ(move.scrolledLast, last.scrolled) << move.name;
    }
}

TEST(ListCursor, ARowOffThePageComesFirstOnAPageKeptFull) {
    struct Case {
        int top;
        int position;
        int newTop;
        int row;
        bool moved;
    };
    // 40 rows, 25 on a page.
    for (const Case& c :
         {Case{0, 10, 0, 10, false}, Case{0, 30, 15, 15, true}, Case{0, 39, 15, 24, true},
          Case{10, 5, 5, 0, true}, Case{10, 34, 10, 24, false}, Case{10, 40, 10, 0, false},
          Case{10, -1, 10, 0, false}}) {
        CListCursor cursor(25, 1);
        cursor.Reset(40);
        StartPageAt(cursor, c.top);
        ASSERT_EQ(c.top, cursor.Top());
        cursor.Place(0, 0);
        EXPECT_EQ(c.moved, cursor.MakeVisible(c.position)) << c.position;
        EXPECT_EQ(c.newTop, cursor.Top()) << c.position;
        EXPECT_EQ(c.row, cursor.Row()) << c.position;
    }
}

TEST(ListCursor, TheLastRowIsLeftOnlyByDownOrPastTheLastField) {
    CListCursor cursor(25, 3);
    cursor.Reset(4);
    cursor.MakeVisible(3);
    EXPECT_TRUE(cursor.WouldLeaveLastRow(VK_DOWN));
    EXPECT_FALSE(cursor.WouldLeaveLastRow(VK_RETURN)) << "the next field comes first";
    cursor.Place(3, 2);
    EXPECT_TRUE(cursor.WouldLeaveLastRow(VK_RETURN));
    EXPECT_TRUE(cursor.WouldLeaveLastRow(VK_RIGHT));
    EXPECT_FALSE(cursor.WouldLeaveLastRow(VK_NEXT));
    // A row added at the end is where Down then goes.
    cursor.SetCount(5);
    cursor.Move(VK_DOWN);
    EXPECT_EQ(4, cursor.Position());
    EXPECT_EQ(2, cursor.Column());
    cursor.Place(1, 0);
    EXPECT_FALSE(cursor.WouldLeaveLastRow(VK_DOWN));
    // Placing keeps the cursor on the list's rows.
    cursor.Place(20, 9);
    EXPECT_EQ(4, cursor.Row());
    EXPECT_EQ(2, cursor.Column());
}

}  // namespace
}  // namespace tokeiya
