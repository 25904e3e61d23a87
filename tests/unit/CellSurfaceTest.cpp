#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/CCRBase.hpp"
#include "engine/CCRFontDef.hpp"
#include "platform/gdi/CMemoryDC.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 200);

// The standard test surface: 80 x 25 cells of 10 x 20 pixels.
CCRBase Screen80x25() {
    return CCRBase(CRect{0, 0, 800, 500}, 80, 25, 0, 0);
}

// A surface that records its repaint requests.
class RecordingSurface : public CCRBase {
  public:
    RecordingSurface() : CCRBase(CRect{0, 0, 100, 40}, 10, 2, 0, 0) {}
    bool InvalidateCells(const CRect& cellRect, bool) override {
        requests.push_back(cellRect);
        return true;
    }
    bool InvalidateAll(bool) override {
        ++allRequests;
        return true;
    }
    std::vector<CRect> requests;
    int allRequests = 0;
};

std::string Row(CCRBase& s, int row, int from = 0, int to = -1, bool whole = false) {
    std::string out = "<refused>";
    s.GetRowText(out, row, from, to, whole);
    return out;
}

TEST(CellSurface, MetricsOfAn80By25GridFollowTheRectangle) {
    CCRBase s = Screen80x25();
    EXPECT_DOUBLE_EQ(10.0, s.CellWidth());
    EXPECT_DOUBLE_EQ(20.0, s.CellHeight());
    ASSERT_EQ(2u, s.Fonts().size());
    for (const CCRFontSet& font : s.Fonts()) {
        EXPECT_EQ(18, font.logFont.height);
        EXPECT_EQ(9, font.logFont.width);
        EXPECT_EQ(Charset::ShiftJis, font.logFont.charset);
        EXPECT_EQ("ＭＳ ゴシック", font.logFont.faceName);
    }
    EXPECT_EQ(1, s.SingleByteDrop());
    EXPECT_EQ(800, s.ColumnToX(80));
    EXPECT_EQ(500, s.RowToY(25));

    // Edge and padding come off both sides; a wide cell keeps the aspect through the height.
    s.SetGridAndMargins(80, 25, 2, 3);
    s.SetRect(CRect{0, 0, 1610, 510});
    EXPECT_DOUBLE_EQ(20.0, s.CellWidth());
    EXPECT_DOUBLE_EQ(20.0, s.CellHeight());
    EXPECT_EQ(18, s.Fonts()[0].logFont.height);
    EXPECT_EQ(9, s.Fonts()[0].logFont.width);
    EXPECT_EQ(5, s.ColumnToX(0));
    EXPECT_EQ(25, s.RowToY(1));

    // A font scale applies at the next recalculation only.
    EXPECT_TRUE(s.SetFontScale(1, 0.5));
    EXPECT_FALSE(s.SetFontScale(2, 0.5));
    EXPECT_EQ(18, s.Fonts()[1].logFont.height);
    s.RecalcMetrics();
    EXPECT_EQ(10, s.Fonts()[1].logFont.height);
    EXPECT_EQ(5, s.Fonts()[1].logFont.width);

    // An empty rectangle leaves the metrics alone.
    s.SetRect(CRect{0, 0, 0, 0});
    EXPECT_DOUBLE_EQ(20.0, s.CellWidth());
}

TEST(CellSurface, PutTextWritesCellsAndKeepsDoubleByteCharactersWhole) {
    struct Case {
        const char* name;
        std::string text;
        int col, row;
        int written;
        std::string rowText;
    };
    // A 10-column row.
    const Case cases[] = {
        {"ascii", "AB", 0, 0, 2, "AB"},
        {"double-byte", "合計", 2, 0, 4, "合計"},
        {"straddling the right edge", "A全", 8, 0, 1, "A"},
        {"double-byte in the last column", "全", 9, 0, 0, ""},
        {"clipped at the right edge", "0123456789AB", 5, 0, 5, "01234"},
        {"half-width katakana is one cell", "ｶﾅ", 0, 1, 2, "ｶﾅ"},
        {"lone lead byte at the end", std::string("A") + char(0x8D), 0, 0, 1, "A"},
        {"row past the grid", "A", 0, 2, 0, ""},
        {"negative column", "A", -1, 0, 0, ""},
        {"column past the grid", "A", 10, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCRBase s(CRect{0, 0, 100, 40}, 10, 2, 0, 0);
        EXPECT_EQ(c.written, s.PutText(c.text, c.col, c.row, kRed, false));
        std::string all;
        s.GetText(all, 0, 0, -1, 1, false);
        EXPECT_EQ(c.rowText, all);
    }
}

TEST(CellSurface, DoubleByteCharacterIsALeadCellAndAContinuationCell) {
    CCRBase s(CRect{0, 0, 100, 40}, 10, 2, 0, 0);
    ASSERT_EQ(2, s.PutText("全", 3, 1, kBlue, false));
    const CCRCell* lead = s.CellAt(3, 1);
    const CCRCell* rest = s.CellAt(4, 1);
    ASSERT_NE(nullptr, lead);
    ASSERT_NE(nullptr, rest);
    EXPECT_EQ("全", lead->Chars());
    EXPECT_TRUE(rest->IsContinuation());
    EXPECT_EQ(kBlue, lead->textColor);
    EXPECT_EQ(kBlue, rest->textColor);
    EXPECT_EQ(kWhite, lead->backColor) << "PutText leaves backgrounds alone";
    EXPECT_EQ("全", Row(s, 1, 3, 4));
    EXPECT_EQ("全", Row(s, 1));
    EXPECT_EQ("", Row(s, 1, 4, 4)) << "a continuation cell alone contributes nothing";
    EXPECT_EQ(nullptr, s.CellAt(10, 0));
    EXPECT_EQ(nullptr, s.CellAt(0, -1));
}

// One character per cell: '.' empty, '>' continuation, else the cell's own character.
std::string Cells(const CCRBase& s, int row) {
    std::string out;
    for (int col = 0; col < s.Cols(); ++col) {
        const CCRCell* cell = s.CellAt(col, row);
        out += cell->IsEmpty()          ? std::string(".")
               : cell->IsContinuation() ? std::string(">")
                                        : std::string(cell->Chars());
    }
    return out;
}

TEST(CellSurface, OverwritingHalfACharacterBlanksTheOtherHalfAndRepaintsIt) {
    struct Case {
        const char* name;
        std::string before;
        int beforeCol;
        std::string text;
        int col;
        std::string after;
        int written;
        CRect repaint;  // empty when no request is expected
    };
    // A 10-column row; 合 at the start, in the middle or at the end of it.
    const Case cases[] = {
        {"start, lead, single-byte", "合", 0, "A", 0, "A.........", 1, {0, 0, 2, 1}},
        {"start, right half, single-byte", "合", 0, "A", 1, ".A........", 1, {0, 0, 2, 1}},
        {"start, lead, double-byte", "合", 0, "全", 0, "全>........", 2, {0, 0, 2, 1}},
        {"start, right half, double-byte", "合", 0, "全", 1, ".全>.......", 2, {0, 0, 3, 1}},
        {"middle, lead, single-byte", "合", 4, "A", 4, "....A.....", 1, {4, 0, 6, 1}},
        {"middle, right half, single-byte", "合", 4, "A", 5, ".....A....", 1, {4, 0, 6, 1}},
        {"middle, lead, double-byte", "合", 4, "全", 4, "....全>....", 2, {4, 0, 6, 1}},
        {"middle, right half, double-byte", "合", 4, "全", 5, ".....全>...", 2, {4, 0, 7, 1}},
        {"end, lead, single-byte", "合", 8, "A", 8, "........A.", 1, {8, 0, 10, 1}},
        {"end, right half, single-byte", "合", 8, "A", 9, ".........A", 1, {8, 0, 10, 1}},
        {"end, lead, double-byte", "合", 8, "全", 8, "........全>", 2, {8, 0, 10, 1}},
        {"end, right half, double-byte is dropped", "合", 8, "全", 9, "........合>", 0, {}},
        {"across two characters", "合計", 0, "AB", 1, ".AB.......", 2, {0, 0, 4, 1}},
        {"half-width katakana over a right half", "合", 2, "ｶ", 3, "...ｶ......", 1, {2, 0, 4, 1}},
        {"straddling text ends on a left half",
         "合計",
         6,
         "XYZ全",
         6,
         "......XYZ.",
         3,
         {6, 0, 10, 1}},
        {"a whole character over a whole one", "合計", 0, "全", 2, "合>全>......", 2, {2, 0, 4, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSurface s;
        s.PutText(c.before, c.beforeCol, 0, false);
        EXPECT_EQ(c.written, s.PutText(c.text, c.col, 0, kRed, true));
        EXPECT_EQ(c.after, Cells(s, 0));
        EXPECT_TRUE(s.CharactersWhole());
        if (c.repaint.IsEmpty()) {
            EXPECT_TRUE(s.requests.empty());
        } else {
            ASSERT_EQ(1u, s.requests.size());
            EXPECT_EQ(c.repaint, s.requests[0]);
        }
    }
}

TEST(CellSurface, EveryWriterKeepsCharactersWhole) {
    // PutTextAndBack colours only the cells its text took, but repaints the blanked half.
    RecordingSurface s;
    s.PutText("合計", 3, 0, false);
    EXPECT_EQ(1, s.PutTextAndBack("A", 4, 0, kRed, kYellow, true));
    EXPECT_EQ("....A計>...", Cells(s, 0));
    EXPECT_EQ(kWhite, s.CellAt(3, 0)->backColor);
    EXPECT_EQ(kYellow, s.CellAt(4, 0)->backColor);
    ASSERT_EQ(1u, s.requests.size());
    EXPECT_EQ((CRect{3, 0, 5, 1}), s.requests[0]);

    // Captions of the definition are written into the cells when the frame is painted.
    s.Items().AddTextItem("X", 6, 0);
    s.Items().AddColoredTextItem("全", 1, 1, kBlue);
    s.PutText("合計", 0, 1, false);
    CMemoryDC dc(100, 40);
    s.DrawFrame(dc);
    EXPECT_EQ("....A.X...", Cells(s, 0));
    EXPECT_EQ(".全>.......", Cells(s, 1));
    EXPECT_TRUE(s.CharactersWhole());

    // The text ends at a NUL; the continuation marker cannot be forged.
    RecordingSurface t;
    t.PutText("合", 0, 0, false);
    EXPECT_EQ(2, t.PutText(std::string("B\1", 2), 1, 0, false));
    EXPECT_EQ(".B........", Cells(t, 0));
    EXPECT_EQ(1, t.PutText(std::string("C\0D", 3), 5, 0, false));
    EXPECT_EQ(".B...C....", Cells(t, 0));
    EXPECT_TRUE(t.CharactersWhole());

    t.ClearCells(1, false);
    EXPECT_EQ("..........", Cells(t, 0));
    t.SetGridSize(3, 1);
    EXPECT_EQ(2, t.PutText("全", 1, 0, false));
    EXPECT_EQ(0, t.PutText("全", 2, 0, false)) << "no room for both halves";
    EXPECT_EQ(".全>", Cells(t, 0));
}

// Random writes of mixed text anywhere: no sequence of writes may leave half a character,
// and what a write reports as written reads back.
TEST(CellSurface, RandomWritesNeverBreakACharacter) {
    const std::string pieces[] = {"A", "全", "ｶ", "合計", "x全y", "ﾃｽﾄ", "表示"};
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t bound) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % bound;
    };
    CCRBase s(CRect{0, 0, 100, 60}, 9, 3, 0, 0);
    for (int i = 0; i < 3000; ++i) {
        const std::string& text = pieces[next(std::size(pieces))];
        const int col = static_cast<int>(next(10));
        const int row = static_cast<int>(next(3));
        const int written = s.PutText(text, col, row, false);
        ASSERT_TRUE(s.CharactersWhole()) << "write " << i << " at " << col << "," << row;
        if (written > 0) {
            std::string back;
            ASSERT_TRUE(s.GetRowText(back, row, col, col + written - 1, false));
            EXPECT_EQ(text.substr(0, back.size()), back) << "write " << i;
            EXPECT_EQ(static_cast<size_t>(written), back.size()) << "write " << i;
        }
    }
}

TEST(CellSurface, BrokenCharactersAreFound) {
    auto cell = [](unsigned char first, unsigned char trail) {
        CCRCell c;
        c.bytes[0] = first;
        c.bytes[1] = trail;
        return c;
    };
    const CCRCell empty = cell(0, 0);
    const CCRCell single = cell('A', 0);
    const CCRCell lead = cell(0x8D, 0x87);
    const CCRCell rest = cell(CCRCell::kContinuation, 0);
    struct Case {
        const char* name;
        std::vector<CCRCell> row;
        int broken;
    };
    const Case cases[] = {
        {"whole characters", {single, lead, rest, empty, lead, rest}, -1},
        {"no cells", {}, -1},
        {"lead in the last column", {single, empty, lead}, 2},
        {"lead without its right half", {lead, single, empty}, 0},
        {"right half at the start", {rest, single}, 0},
        {"right half after a single byte", {single, rest}, 1},
        {"two right halves", {lead, rest, rest}, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.broken, CCRBase::BrokenCharacterColumn(c.row)) << c.name;
    }
}

TEST(CellSurface, GetRowTextSkipsEmptiesAndHonoursItsRange) {
    CCRBase s(CRect{0, 0, 100, 40}, 10, 2, 0, 0);
    s.PutText("A", 0, 0, false);
    s.PutText("B", 2, 0, false);
    s.PutText("合", 4, 0, false);
    s.PutText("Z", 9, 0, false);
    struct Case {
        int from, to;
        bool whole;
        std::string expected;
    };
    const Case cases[] = {
        {0, 2, false, "AB"},        {0, -1, false, "AB合Z"},     {0, 99, false, "AB合Z"},
        {0, 4, false, "AB合"},      {0, 4, true, "AB"},          {0, 5, true, "AB合"},
        {5, 9, false, "Z"},         {3, 3, false, ""},           {9, 9, false, "Z"},
        {5, 4, false, "<refused>"}, {-1, 3, false, "<refused>"}, {10, -1, false, "<refused>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, Row(s, 0, c.from, c.to, c.whole))
            << "from " << c.from << " to " << c.to << " whole " << c.whole;
    }
    EXPECT_EQ("<refused>", Row(s, 2));
}

TEST(CellSurface, GetTextJoinsRowsWithoutSeparators) {
    CCRBase s(CRect{0, 0, 100, 60}, 10, 3, 0, 0);
    s.PutText("0123456789", 0, 0, false);
    s.PutText("abcdefghij", 0, 1, false);
    s.PutText("KLMNOPQR合", 0, 2, false);
    std::string out;
    ASSERT_TRUE(s.GetText(out, 7, 0, 2, 2, false));
    EXPECT_EQ("789abcdefghijKLM", out);
    ASSERT_TRUE(s.GetText(out, 8, 1, 8, 2, true));
    EXPECT_EQ("ijKLMNOPQR", out) << "whole characters only on the last row";
    ASSERT_TRUE(s.GetText(out, 8, 1, 8, 2, false));
    EXPECT_EQ("ijKLMNOPQR合", out);
    ASSERT_TRUE(s.GetText(out, 2, 1, 4, 1, false));
    EXPECT_EQ("cde", out);
    out = "kept";
    EXPECT_FALSE(s.GetText(out, 0, 2, 0, 1, false));
    EXPECT_FALSE(s.GetText(out, 0, 1, 0, 3, false));
    EXPECT_EQ("kept", out);
}

TEST(CellSurface, ColourRangesMustFitTheGrid) {
    struct Case {
        int col, row, w, h;
        bool accepted;
    };
    // 10 x 2 grid.
    const Case cases[] = {
        {0, 0, 10, 2, true},  {0, 1, 10, 1, true},  {0, 1, 1, 2, false},
        {9, 0, 1, 1, true},   {9, 0, 2, 1, false},  {-1, 0, 1, 1, false},
        {0, -1, 1, 1, false}, {0, 0, -1, 1, false}, {0, 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.col << "," << c.row << " " << c.w << "x" << c.h);
        CCRBase s(CRect{0, 0, 100, 40}, 10, 2, 0, 0);
        EXPECT_EQ(c.accepted, s.SetColors(kRed, kBlue, c.col, c.row, c.w, c.h, false));
        EXPECT_EQ(c.accepted, s.SetBackColor(kRed, c.col, c.row, c.w, c.h, false));
        EXPECT_EQ(c.accepted, s.SetTextColor(kRed, c.col, c.row, c.w, c.h, false));
        EXPECT_EQ(c.accepted, s.SetMarkColor(kRed, c.col, c.row, c.w, c.h, false));
        EXPECT_EQ(c.accepted, s.SetTextAndMarkColor(kRed, kBlue, c.col, c.row, c.w, c.h, false));
        EXPECT_EQ(c.accepted, s.ClearMark(c.col, c.row, c.w, c.h));
        EXPECT_EQ(c.accepted, s.ResetColors(c.col, c.row, c.w, c.h));
        EXPECT_EQ(c.accepted, s.FillBackColor(c.col, c.row, c.col + c.w, c.row + c.h, kRed));
        if (!c.accepted) {
            for (int row = 0; row < 2; ++row) {
                for (int col = 0; col < 10; ++col) {
                    EXPECT_EQ(kWhite, s.CellAt(col, row)->backColor) << col << "," << row;
                }
            }
        }
    }
}

TEST(CellSurface, MarkOverridesBackgroundUntilClearedOrReset) {
    CCRBase s(CRect{0, 0, 100, 40}, 10, 2, 0, 0);
    s.SetColors(kRed, kYellow, CRect{1, 0, 4, 1}, false);
    s.SetMarkColor(kBlue, 2, 0, 1, 1, false);
    EXPECT_EQ(kYellow, s.CellAt(1, 0)->EffectiveBack());
    EXPECT_EQ(kBlue, s.CellAt(2, 0)->EffectiveBack());
    EXPECT_EQ(kRed, s.CellAt(2, 0)->textColor);
    s.ClearMark(0, 0, 10, 1);
    EXPECT_EQ(kYellow, s.CellAt(2, 0)->EffectiveBack());
    s.SetDefaultColors(kBlue, kBlack);
    s.ResetAllColors();
    EXPECT_EQ(kBlue, s.CellAt(2, 0)->textColor);
    EXPECT_EQ(kBlack, s.CellAt(2, 0)->EffectiveBack());
    // Back colour only on the cells the text took.
    EXPECT_EQ(3, s.PutTextAndBack("合X", 5, 1, kRed, kYellow, false));
    EXPECT_EQ(kBlack, s.CellAt(4, 1)->backColor);
    EXPECT_EQ(kYellow, s.CellAt(5, 1)->backColor);
    EXPECT_EQ(kYellow, s.CellAt(7, 1)->backColor);
    EXPECT_EQ(kBlack, s.CellAt(8, 1)->backColor);
}

TEST(CellSurface, RepaintRequestsCoverTheChangedCellsUnlessHeld) {
    RecordingSurface s;
    s.PutText("合計X", 2, 1, true);
    s.PutText("not asked", 0, 0, false);
    s.SetBackColor(kRed, 1, 0, 3, 2, true);
    s.ClearMark(0, 0, 1, 1);
    s.ClearCells(1, true);
    ASSERT_EQ(3u, s.requests.size());
    EXPECT_EQ((CRect{2, 1, 7, 2}), s.requests[0]);
    EXPECT_EQ((CRect{1, 0, 4, 2}), s.requests[1]);
    EXPECT_EQ((CRect{0, 0, 1, 1}), s.requests[2]);
    EXPECT_EQ(1, s.allRequests);

    s.requests.clear();
    s.SetHoldRedraw(true);
    s.PutTextAndBack("A", 0, 0, true);
    s.ResetColors(0, 0, 1, 1);
    s.ClearCells(1, true);
    EXPECT_TRUE(s.requests.empty());
    EXPECT_EQ(1, s.allRequests);
}

TEST(CellSurface, LineItemsMustLieOnTheGridBorders) {
    struct Case {
        const char* name;
        bool (*add)(CCRBase&);
        bool accepted;
    };
    // 80 x 25.
    const Case cases[] = {
        {"HL last line on the bottom border",
         [](CCRBase& s) { return s.AddHLines(0, 80, 24, kBlack, 0, 1, 2, 1); }, true},
        {"HL last line below the grid",
         [](CCRBase& s) { return s.AddHLines(0, 80, 24, kBlack, 0, 1, 2, 2); }, false},
        {"HL right end past the grid",
         [](CCRBase& s) { return s.AddHLines(0, 81, 0, kBlack, 0, 1, 1, 1); }, false},
        {"VL last line on the right border",
         [](CCRBase& s) { return s.AddVLines(0, 25, 70, kBlack, 0, 1, 11, 1); }, true},
        {"VL last line right of the grid",
         [](CCRBase& s) { return s.AddVLines(0, 25, 70, kBlack, 0, 1, 12, 1); }, false},
        {"line corner to corner", [](CCRBase& s) { return s.AddLine(0, 0, 80, 25, kBlack, 0, 1); },
         true},
        {"line from a negative column",
         [](CCRBase& s) { return s.AddLine(-1, 0, 80, 25, kBlack, 0, 1); }, false},
        {"rect below the grid", [](CCRBase& s) { return s.AddRect(0, 0, 10, 26, kBlack, 0, 1); },
         false},
        {"rect on the grid", [](CCRBase& s) { return s.AddRect(1, 1, 10, 25, kBlack, 0, 1); },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCRBase s = Screen80x25();
        EXPECT_EQ(c.accepted, c.add(s));
        EXPECT_EQ(c.accepted ? 1u : 0u, s.Items().Size());
    }
}

TEST(CellSurface, EmptyGridRefusesEveryCellOperation) {
    CCRBase s = Screen80x25();
    s.PutText("A", 0, 0, false);
    EXPECT_FALSE(s.SetGridSize(0, 25));
    EXPECT_FALSE(s.HasCells());
    std::string out;
    EXPECT_EQ(0, s.PutText("A", 0, 0, false));
    EXPECT_EQ(0, s.PutTextAndBack("A", 0, 0, kRed, kBlue, false));
    EXPECT_FALSE(s.SetColors(kRed, kBlue, 0, 0, 0, 0, false));
    EXPECT_FALSE(s.ResetAllColors());
    EXPECT_FALSE(s.GetRowText(out, 0, 0, -1, false));
    EXPECT_FALSE(s.GetText(out, 0, 0, 0, 1, false));
    EXPECT_FALSE(s.FillBackColor(0, 0, 0, 0, kRed));
    EXPECT_FALSE(s.AddLine(0, 0, 0, 0, kRed, 0, 1));
    CRect child;
    EXPECT_FALSE(s.ChildRect(child, 0, 0, 0, 0, 0));
    CPoint p{5, 5};
    EXPECT_FALSE(s.CellHitForCaret(p, 0));
    CMemoryDC dc(20, 20);
    s.Draw(dc);
    EXPECT_EQ(0u, dc.GetPixel(5, 5)) << "nothing painted without cells";

    EXPECT_FALSE(s.SetGridSize(-3, 4));
    EXPECT_EQ(0, s.Cols());
    EXPECT_FALSE(s.SetGridSize(70000, 70000)) << "a buffer of 2^32 bytes or more is refused";
    EXPECT_TRUE(s.SetGridSize(80, 25));
    EXPECT_EQ("", Row(s, 0)) << "a rebuilt grid is all fresh cells";
}

TEST(CellSurface, PixelsMapToCellsAndBorders) {
    CCRBase s(CRect{0, 0, 110, 50}, 10, 2, 2, 3);  // cells 10 x 20 from (5, 5)
    struct Case {
        int x;
        bool round;
        int column;
        bool inside;
    };
    const Case cases[] = {
        {5, false, 0, true},   {14, false, 0, true},    {15, false, 1, true},
        {104, false, 9, true}, {105, false, 10, false}, {106, false, 10, false},
        {4, false, 0, false},  {-20, false, -2, false}, {9, true, 0, true},
        {10, true, 1, true},   {105, true, 10, true},   {0, true, -1, false},
    };
    for (const Case& c : cases) {
        int x = c.x;
        EXPECT_EQ(c.inside, s.XToColumn(x, c.round)) << "x " << c.x << " round " << c.round;
        EXPECT_EQ(c.column, x) << "x " << c.x << " round " << c.round;
    }
    int y = 25;
    EXPECT_TRUE(s.YToRow(y, false));
    EXPECT_EQ(1, y);
    CPoint p{57, 26};
    EXPECT_TRUE(s.PointToCell(p));
    EXPECT_EQ((CPoint{5, 1}), p);
    EXPECT_EQ((CRect{25, 25, 55, 45}), s.CellRectToPixels(CRect{2, 1, 5, 2}));
}

TEST(CellSurface, CaretHitLandsOnCharacterBorders) {
    CCRBase s(CRect{0, 0, 100, 20}, 10, 1, 0, 0);
    s.PutText("AB合", 0, 0, false);  // A 0, B 1, 合 2-3, empty 4..9
    struct Case {
        int x, direction;
        int col;
        bool inside;
    };
    const Case cases[] = {
        {2, 0, 0, true},      // left half of A
        {7, 0, 1, true},      // right half of A: the nearer border
        {22, 0, 2, true},     // lead half of 合
        {35, 0, 4, true},     // continuation half of 合: after the character
        {75, 0, 7, true},     // empty cell
        {75, -1, 4, true},    // back over the empties to just after 合
        {45, 1, 10, true},    // forward over the empties to the end of the row
        {250, 0, 10, false},  // right of the grid: clamped to the end
        {250, -1, 4, false}, {-8, 0, 0, false},
    };
    for (const Case& c : cases) {
        CPoint p{c.x, 5};
        EXPECT_EQ(c.inside, s.CellHitForCaret(p, c.direction)) << "x " << c.x;
        EXPECT_EQ((CPoint{c.col, 0}), p) << "x " << c.x << " direction " << c.direction;
    }
    CPoint inside{15, 5};
    EXPECT_TRUE(s.CellHitForCaret(inside, 0));
    CPoint below{15, 30};
    EXPECT_FALSE(s.CellHitForCaret(below, 0));
}

TEST(CellSurface, CaretHitOnSingleByteTextGoesToTheNearerBorderAndBackToTheText) {
    // Cells 10 x 20 pixels from (5, 5): the frame inset counts in both roundings.
    CCRBase s(CRect{0, 0, 110, 50}, 10, 2, 2, 3);
    s.PutText("abc", 0, 0, false);  // a 0, b 1, c 2, empty 3..9
    s.PutText("xｱ", 0, 1, false);   // a half-width katakana is single-byte too
    struct Case {
        int x, y, direction;
        int col;
        bool inside;
    };
    const Case cases[] = {
        {9, 10, -1, 0, true},     // left half of a
        {11, 10, -1, 1, true},    // right half of a: after it
        {29, 10, -1, 2, true},    // left half of c
        {31, 10, -1, 3, true},    // right half of the last character: after it
        {34, 10, 0, 3, true},     //   the same without moving
        {34, 10, 1, 10, true},    //   moving right: over the empties to the end of the row
        {30, 10, -1, 3, true},    // the middle of c counts as its right half
        {35, 10, -1, 3, true},    // the first empty cell: just after c
        {80, 10, -1, 3, true},    // far right of the text: back to just after c
        {80, 10, 0, 7, true},     //   without moving: the cell hit
        {80, 10, 1, 10, true},    //   moving right: the end of the row
        {104, 10, -1, 3, true},   // the last pixel of the grid
        {300, 10, -1, 3, false},  // right of the grid
        {-40, 10, -1, 0, false},  // left of the grid
        {2, 10, -1, 0, false},    // in the frame, left of a
        {21, 30, -1, 2, true},    // right half of the katakana: after it
        {19, 30, -1, 1, true},    // left half of the katakana
        {60, 30, -1, 2, true},    // right of the second row's text
        {60, 45, -1, 2, false},   // below the grid: the last row
    };
    for (const Case& c : cases) {
        CPoint p{c.x, c.y};
        EXPECT_EQ(c.inside, s.CellHitForCaret(p, c.direction)) << "x " << c.x << " y " << c.y;
        EXPECT_EQ((CPoint{c.col, c.y < 25 ? 0 : 1}), p)
            << "x " << c.x << " y " << c.y << " direction " << c.direction;
    }
}

TEST(CellSurface, CaretHitNeverLandsBetweenTheCellsOfADoubleByteCharacter) {
    CCRBase s(CRect{0, 0, 100, 40}, 10, 2, 0, 0);
    s.PutText("a合b", 0, 0, false);  // a 0, 合 1-2, b 3
    s.PutText("出勤", 0, 1, false);  // 出 0-1, 勤 2-3
    for (int row = 0; row < 2; ++row) {
        for (int x = -5; x < 110; ++x) {
            for (int direction = -1; direction <= 1; ++direction) {
                CPoint p{x, row * 20 + 10};
                s.CellHitForCaret(p, direction);
                ASSERT_EQ(row, p.y);
                if (p.x > 0 && p.x < 10) {
                    EXPECT_FALSE(s.CellAt(p.x, row)->IsContinuation())
                        << "x " << x << " row " << row << " direction " << direction << " lands at "
                        << p.x;
                }
            }
        }
    }
    // Either half of the character decides the side: lead before it, continuation after it.
    struct Case {
        int x, y, direction;
        int col;
    };
    const Case cases[] = {
        {10, 10, -1, 1}, {19, 10, -1, 1}, {20, 10, -1, 3}, {29, 10, -1, 3}, {10, 10, 0, 1},
        {29, 10, 0, 3},  {29, 10, 1, 3},  {60, 10, -1, 4}, {5, 30, -1, 0},  {15, 30, -1, 2},
        {35, 30, -1, 4}, {80, 30, -1, 4}, {35, 30, 1, 10},
    };
    for (const Case& c : cases) {
        CPoint p{c.x, c.y};
        s.CellHitForCaret(p, c.direction);
        EXPECT_EQ(c.col, p.x) << "x " << c.x << " y " << c.y << " direction " << c.direction;
    }
}

TEST(CellSurface, ChildRectInCellsOrProportionalUnits) {
    CCRBase s(CRect{0, 0, 800, 500}, 80, 25, 0, 0);
    CRect r;
    ASSERT_TRUE(s.ChildRect(r, 10, 2, 20, 3, 0));
    EXPECT_EQ((CRect{100, 41, 300, 99}), r);
    EXPECT_TRUE(s.ChildRect(r, 60, 22, 20, 3, 0));
    EXPECT_FALSE(s.ChildRect(r, 61, 22, 20, 3, 0));
    ASSERT_TRUE(s.ChildRect(r, 10, 20, 50, 40, 100));
    EXPECT_EQ((CRect{80, 100, 480, 300}), r);
    ASSERT_TRUE(s.ChildRect(r, 10, 20, 50, 40, 7)) << "a scale below 100 counts as 100";
    EXPECT_EQ((CRect{80, 100, 480, 300}), r);
    EXPECT_FALSE(s.ChildRect(r, 60, 0, 41, 10, 100));
    EXPECT_TRUE(s.ChildRect(r, 0, 0, 3, 3, 3 * 100));
}

TEST(CellSurface, ClearCellsResetsCellsItemsOrBoth) {
    struct Case {
        int what;
        bool result;
        bool cellsCleared;
        bool itemsCleared;
    };
    const Case cases[] = {{0, false, false, false}, {1, true, true, false},
                          {2, true, false, true},   {3, true, true, true},
                          {4, false, false, false}, {-1, false, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CCRBase s = Screen80x25();
        s.PutText("X", 0, 0, false);
        s.SetBackColor(kRed, 0, 0, 1, 1, false);
        s.AddLine(0, 0, 1, 1, kBlack, 0, 1);
        EXPECT_EQ(c.result, s.ClearCells(c.what, false));
        EXPECT_EQ(c.cellsCleared, s.CellAt(0, 0)->IsEmpty());
        EXPECT_EQ(c.cellsCleared ? kWhite : kRed, s.CellAt(0, 0)->backColor);
        EXPECT_EQ(c.itemsCleared, s.Items().IsEmpty());
    }
}

// Records when it was painted among the surface's steps.
class Probe : public CCRAttached {
  public:
    Probe(std::vector<std::string>& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void Paint(CDC& dc) override {
        // What the surface has painted so far at the cell (1, 0), which is red.
        const auto& bitmap = static_cast<const CMemoryDC&>(dc);
        m_log.push_back(m_name + (bitmap.GetPixel(15, 5) == kRed ? " after backgrounds"
                                                                 : " before backgrounds"));
    }
    void Relayout(const CCRBase& surface) override {
        m_log.push_back(m_name + " relayout " + std::to_string(surface.ColumnToX(1)));
    }

  private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

TEST(CellSurface, AttachedDrawablesPaintAtTheirLayerAndFollowTheRectangle) {
    std::vector<std::string> log;
    Probe top(log, "top");
    Probe bottom(log, "bottom");
    Probe never(log, "never");
    CCRBase s(CRect{0, 0, 100, 20}, 10, 1, 0, 0);
    s.SetBackColor(kRed, 1, 0, 1, 1, false);
    EXPECT_TRUE(s.Attach(top, 2));
    EXPECT_TRUE(s.Attach(bottom, 0));
    EXPECT_FALSE(s.Attach(never, 3));
    CMemoryDC dc(100, 20);
    s.Draw(dc);
    s.SetRect(CRect{0, 0, 200, 20});
    EXPECT_TRUE(s.Detach(top));
    EXPECT_FALSE(s.Detach(never));
    s.SetRect(CRect{0, 0, 300, 20});
    const std::vector<std::string> expected = {"bottom before backgrounds", "top after backgrounds",
                                               "top relayout 20", "bottom relayout 20",
                                               "bottom relayout 30"};
    EXPECT_EQ(expected, log);
}

// Paints into a white bitmap of the surface's size.
struct Painted {
    explicit Painted(CCRBase& s) : dc(s.GetRect().right, s.GetRect().bottom) { s.Draw(dc); }
    CMemoryDC dc;
};

bool SamePixels(const CMemoryDC& a, const CMemoryDC& b) {
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.GetPixel(x, y) != b.GetPixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}

TEST(CellSurfacePaint, BackgroundRunsAreFilledBetweenCellBorders) {
    CCRBase s = Screen80x25();
    s.SetEdgeColor(kRed);
    s.SetGridAndMargins(80, 25, 2, 0);
    s.SetRect(s.GetRect());
    s.SetBackColor(kYellow, 10, 2, 5, 1, false);
    s.SetMarkColor(kBlue, 12, 2, 1, 1, false);
    Painted p(s);
    const int left = s.ColumnToX(10);
    const int right = s.ColumnToX(15);
    const int top = s.RowToY(2);
    EXPECT_EQ(kRed, p.dc.GetPixel(0, 0)) << "frame band";
    EXPECT_EQ(kRed, p.dc.GetPixel(799, 499));
    EXPECT_EQ(kWhite, p.dc.GetPixel(2, 2));
    EXPECT_EQ(kWhite, p.dc.GetPixel(left - 1, top + 5));
    EXPECT_EQ(kYellow, p.dc.GetPixel(left, top));
    EXPECT_EQ(kYellow, p.dc.GetPixel(right - 1, s.RowToY(3) - 1));
    EXPECT_EQ(kWhite, p.dc.GetPixel(right, top + 5));
    EXPECT_EQ(kWhite, p.dc.GetPixel(left, s.RowToY(3)));
    EXPECT_EQ(kBlue, p.dc.GetPixel(s.ColumnToX(12) + 2, top + 5)) << "the mark wins";
}

TEST(CellSurfacePaint, MaskedCellsAreDrawnAsStars) {
    auto paint = [](std::string_view text, bool mask) {
        auto s = std::make_unique<CCRBase>(CRect{0, 0, 200, 40}, 10, 1, 0, 0);
        s->PutText(text, 1, 0, false);
        s->SetMaskText(mask);
        auto painted = std::make_unique<Painted>(*s);
        return std::make_pair(std::move(s), std::move(painted));
    };
    auto [maskedSurface, masked] = paint("pw合", true);
    auto [stars, starsPainted] = paint("****", false);
    auto [plain, plainPainted] = paint("pw合", false);
    EXPECT_TRUE(SamePixels(masked->dc, starsPainted->dc))
        << "every non-empty cell, the continuation included, shows one star";
    EXPECT_FALSE(SamePixels(masked->dc, plainPainted->dc));
    EXPECT_EQ("pw合", Row(*maskedSurface, 0)) << "the cells keep their content";
}

TEST(CellSurfacePaint, LineItemsLieOnCellBordersOverBackgroundsUnderText) {
    CCRBase s = Screen80x25();
    ASSERT_TRUE(s.AddHLines(0, 80, 2, kBlue, 0, 1, 3, 2));
    ASSERT_TRUE(s.AddRect(5, 10, 5, 12, kRed, 0, 1));
    s.SetBackColor(kYellow, 0, 2, 80, 1, false);
    Painted p(s);
    for (int border : {2, 4, 6}) {
        const int y = s.RowToY(border);
        EXPECT_EQ(kBlue, p.dc.GetPixel(0, y)) << "border " << border;
        EXPECT_EQ(kBlue, p.dc.GetPixel(400, y)) << "border " << border;
        EXPECT_EQ(kBlue, p.dc.GetPixel(799, y)) << "border " << border;
    }
    EXPECT_EQ(kYellow, p.dc.GetPixel(400, s.RowToY(2) + 1));
    EXPECT_EQ(kWhite, p.dc.GetPixel(400, s.RowToY(3)));
    EXPECT_EQ(kWhite, p.dc.GetPixel(400, s.RowToY(8)));
    // A box with x1 = x2 is a vertical line.
    EXPECT_EQ(kRed, p.dc.GetPixel(50, 210));
    EXPECT_EQ(kRed, p.dc.GetPixel(50, 235));
    EXPECT_EQ(kWhite, p.dc.GetPixel(51, 235));
    EXPECT_EQ(kWhite, p.dc.GetPixel(49, 235));
}

// A sample screen for people to look at: set TOKEIYA_SNAPSHOT_DIR to keep the PNG.
TEST(CellSurfacePaint, SampleSurfaceSnapshot) {
    CCRBase s(CRect{0, 0, 640, 300}, 40, 12, 3, 2);
    s.SetEdgeColor(RGB(0, 0, 128));
    s.SetRect(s.GetRect());
    s.Items().AddBackFillItem(0, 0, 40, 1, RGB(200, 220, 255));
    s.Items().AddTextItem("とけい屋  月間スケジュール", 7, 0);
    s.Items().AddColoredTextItem("2024年4月", 31, 0, RGB(192, 0, 0));
    s.AddHLines(0, 40, 2, kBlack, 0, 1, 10, 1);
    s.AddVLines(2, 11, 6, RGB(128, 128, 128), 2, 1, 2, 10);
    s.AddRect(0, 1, 40, 12, kBlack, 0, 2);
    s.PutText("日付", 1, 1, false);
    s.PutText("予定", 8, 1, false);
    s.PutText("ｶﾀｶﾅ ABC 123", 18, 1, kBlue, false);
    s.PutTextAndBack("04/01(月) 09:00 定例会議", 1, 2, kBlack, kYellow, false);
    s.PutText("04/06(土) 休日", 1, 7, kBlue, false);
    s.PutText("04/07(日) 休日", 1, 8, kRed, false);
    s.SetMarkColor(RGB(0, 0, 128), 7, 4, 10, 1, false);
    s.PutText("選択中の行", 7, 4, kWhite, false);
    CMemoryDC dc(640, 300);
    s.Draw(dc);
    EXPECT_EQ(RGB(0, 0, 128), dc.GetPixel(1, 1));
    EXPECT_EQ(RGB(200, 220, 255), s.CellAt(0, 0)->backColor) << "the fill became cell content";
    EXPECT_EQ("とけい屋", Row(s, 0, 7, 14));

    const char* dir = std::getenv("TOKEIYA_SNAPSHOT_DIR");
    test::TempFolder folder;
    std::string path =
        std::string(dir != nullptr ? dir : folder.Path().c_str()) + "/cell-surface.png";
    EXPECT_TRUE(dc.WritePng(path)) << path;
}

TEST(CellSurfaceFonts, DefaultTableHoldsTwoGothicFonts) {
    const std::vector<CCRFontDef>& table = CCRFontDef::Defaults();
    ASSERT_EQ(2u, table.size());
    EXPECT_DOUBLE_EQ(0.9, table[1].scale);
    EXPECT_EQ(Charset::ShiftJis, table[1].charset);
    CCRFontDef fresh;
    EXPECT_DOUBLE_EQ(0.85, fresh.scale);
    EXPECT_DOUBLE_EQ(2.0, fresh.aspect);
    EXPECT_EQ(Charset::Default, fresh.charset);

    CCRFontSet font;
    font.SetFaceName("0123456789012345678901234567890123");
    EXPECT_EQ(31u, font.logFont.faceName.size());
    font.SetFaceName("０１２３４５６７８９０１２３４５６");  // 34 bytes
    EXPECT_EQ(30u, font.logFont.faceName.size()) << "never half a character";
}

}  // namespace
}  // namespace tokeiya
