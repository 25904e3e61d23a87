#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gdi/CDC.hpp"
#include "platform/gdi/CGlyphBatch.hpp"
#include "platform/gdi/CMemoryDC.hpp"
#include "platform/gdi/CPdfDC.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

LogFont Gothic(int height, int width = 0) {
    return LogFont{height, width, 400, Charset::ShiftJis, "ＭＳ ゴシック"};
}

// A white bitmap to paint on.
struct Canvas {
    explicit Canvas(int w = 200, int h = 100) : dc(w, h) { dc.FillSolidRect({0, 0, w, h}, kWhite); }

    // Bounding box of every pixel that is not white; empty when there is none.
    CRect Ink() const {
        CRect box{dc.Width(), dc.Height(), 0, 0};
        for (int y = 0; y < dc.Height(); ++y) {
            for (int x = 0; x < dc.Width(); ++x) {
                if (dc.GetPixel(x, y) != kWhite) {
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                           std::max(box.bottom, y + 1)};
                }
            }
        }
        return box.IsEmpty() ? CRect{} : box;
    }

    // The colours along a row from x0 (inclusive) to x1 (exclusive), as a string of
    // 'x' (the colour) and '.' (anything else), easy to read in a failure message.
    std::string Row(int y, int x0, int x1, COLORREF color) const {
        std::string s;
        for (int x = x0; x < x1; ++x) {
            s += dc.GetPixel(x, y) == color ? 'x' : '.';
        }
        return s;
    }

    CMemoryDC dc;
};

TEST(CDC, FillSolidRectCoversLeftAndTopButNotRightAndBottom) {
    Canvas c;
    c.dc.FillSolidRect({10, 20, 30, 40}, kRed);
    EXPECT_EQ(kRed, c.dc.GetPixel(20, 30));
    EXPECT_EQ(kRed, c.dc.GetPixel(10, 20));
    EXPECT_EQ(kRed, c.dc.GetPixel(29, 39));
    EXPECT_EQ(kWhite, c.dc.GetPixel(30, 30));
    EXPECT_EQ(kWhite, c.dc.GetPixel(20, 40));
    EXPECT_EQ(kWhite, c.dc.GetPixel(9, 30));
    EXPECT_EQ(kWhite, c.dc.GetPixel(20, 19));
    EXPECT_EQ((CRect{10, 20, 30, 40}), c.Ink());
    // MFC leaves the fill colour as the background colour.
    EXPECT_EQ(kRed, c.dc.GetBkColor());
}

TEST(CDC, OneUnitLinesIncludeTheirFirstPointAndLeaveOutTheLast) {
    struct Case {
        CPoint from, to;
        int row;               // the row to read
        std::string expected;  // columns 0..9 of that row
    };
    const Case cases[] = {
        {{2, 5}, {7, 5}, 5, "..xxxxx..."},  // rightward: 2..6
        {{7, 5}, {2, 5}, 5, "...xxxxx.."},  // leftward: 7..3
        {{2, 5}, {7, 5}, 4, ".........."},  // nothing on the row above
        {{2, 5}, {7, 5}, 6, ".........."},  // nor below
        {{4, 1}, {4, 8}, 1, "....x....."},  // downward starts on its first row
        {{4, 1}, {4, 8}, 8, ".........."},  // and stops before its last
        {{4, 8}, {4, 1}, 8, "....x....."},  // upward starts at the bottom
        {{4, 8}, {4, 1}, 1, ".........."},
        {{3, 3}, {3, 3}, 3, ".........."},  // a zero-length line draws nothing
    };
    for (const Case& k : cases) {
        Canvas c(10, 10);
        c.dc.SelectPen(CPen(PenStyle::Solid, 1, kBlue));
        c.dc.MoveTo(k.from.x, k.from.y);
        c.dc.LineTo(k.to.x, k.to.y);
        EXPECT_EQ(k.expected, c.Row(k.row, 0, 10, kBlue))
            << "(" << k.from.x << "," << k.from.y << ")-(" << k.to.x << "," << k.to.y << ") row "
            << k.row;
    }
}

TEST(CDC, StyledPensLeaveGapsOfGdisLengths) {
    struct Case {
        int style;
        std::string expected;  // 36 pixels from the start of the line
    };
    const Case cases[] = {
        {PenStyle::Solid, std::string(36, 'x')},
        {PenStyle::Dash, std::string(18, 'x') + std::string(6, '.') + std::string(12, 'x')},
        {PenStyle::Dot, "xxx...xxx...xxx...xxx...xxx...xxx..."},
        {PenStyle::DashDot, "xxxxxxxxx......xxx......xxxxxxxxx..."},
        {PenStyle::DashDotDot, "xxxxxxxxx...xxx...xxx...xxxxxxxxx..."},
        {PenStyle::Null, std::string(36, '.')},
    };
    for (const Case& k : cases) {
        Canvas c(60, 10);
        c.dc.SetBkMode(BkMode::Transparent);
        c.dc.SelectPen(CPen(k.style, 1, kBlack));
        c.dc.MoveTo(5, 4);
        c.dc.LineTo(55, 4);
        EXPECT_EQ(k.expected, c.Row(4, 5, 41, kBlack)) << "style " << k.style;
    }
}

TEST(CDC, StyledLineGapsTakeTheBackgroundWhenOpaqueAndWidePensAreSolid) {
    Canvas c(60, 20);
    c.dc.FillSolidRect({0, 0, 60, 20}, kWhite);
    c.dc.SetBkColor(kRed);
    c.dc.SelectPen(CPen(PenStyle::Dot, 1, kBlack));
    c.dc.MoveTo(0, 3);
    c.dc.LineTo(12, 3);
    EXPECT_EQ("xxx...xxx...", c.Row(3, 0, 12, kBlack));
    EXPECT_EQ("...xxx...xxx", c.Row(3, 0, 12, kRed));

    c.dc.SetBkMode(BkMode::Transparent);
    c.dc.SelectPen(CPen(PenStyle::Dash, 3, kBlue));
    c.dc.MoveTo(5, 12);
    c.dc.LineTo(50, 12);
    EXPECT_EQ(std::string(30, 'x'), c.Row(12, 10, 40, kBlue)) << "three units wide";
    EXPECT_EQ(std::string(30, 'x'), c.Row(11, 10, 40, kBlue));
    EXPECT_EQ(std::string(30, 'x'), c.Row(13, 10, 40, kBlue));
    EXPECT_EQ(std::string(30, '.'), c.Row(14, 10, 40, kBlue));
}

TEST(CDC, DashPatternRunsOnAcrossLineToButRestartsAtMoveTo) {
    Canvas c(40, 10);
    c.dc.SetBkMode(BkMode::Transparent);
    c.dc.SelectPen(CPen(PenStyle::Dot, 1, kBlack));
    c.dc.MoveTo(0, 2);
    c.dc.LineTo(4, 2);
    c.dc.LineTo(12, 2);
    EXPECT_EQ("xxx...xxx...", c.Row(2, 0, 12, kBlack));
    c.dc.MoveTo(4, 6);
    c.dc.LineTo(12, 6);
    EXPECT_EQ("....xxx...xx", c.Row(6, 0, 12, kBlack));
}

TEST(CDC, RectangleOutlinesItsOuterPixelsAndFillsOnlyWithABrush) {
    Canvas c(30, 30);
    c.dc.SelectPen(CPen(PenStyle::Solid, 1, kBlack));
    c.dc.Rectangle({5, 5, 15, 12});
    EXPECT_EQ((CRect{5, 5, 15, 12}), c.Ink());
    EXPECT_EQ(".xxxxxxxxxx.", c.Row(5, 4, 16, kBlack));
    EXPECT_EQ(".xxxxxxxxxx.", c.Row(11, 4, 16, kBlack));
    EXPECT_EQ(".x........x.", c.Row(8, 4, 16, kBlack)) << "hollow inside";

    c.dc.SelectBrush(kRed);
    c.dc.Rectangle({5, 15, 15, 22});
    EXPECT_EQ(".xxxxxxxxxx.", c.Row(15, 4, 16, kBlack));
    EXPECT_EQ("..xxxxxxxx..", c.Row(18, 4, 16, kRed));
}

TEST(CDC, PolygonFillsInsideWithTheBrush) {
    Canvas c(40, 40);
    c.dc.SelectPen(CPen(PenStyle::Null, 1, kBlack));
    c.dc.SelectBrush(kBlue);
    const CPoint up[] = {{20, 5}, {35, 30}, {5, 30}};  // a scroll arrow
    c.dc.Polygon(up);
    EXPECT_EQ(kBlue, c.dc.GetPixel(20, 20));
    EXPECT_EQ(kWhite, c.dc.GetPixel(8, 8)) << "outside the slanted edge";
    EXPECT_EQ(kWhite, c.dc.GetPixel(20, 32));
    CRect ink = c.Ink();
    EXPECT_GE(ink.left, 5);
    EXPECT_LE(ink.right, 35);
    EXPECT_GE(ink.top, 5);
    EXPECT_LE(ink.bottom, 30);
}

TEST(CDC, FrameAnd3dRectPaintOnlyTheBorder) {
    Canvas c(30, 30);
    c.dc.FrameRect({2, 2, 12, 12}, kBlack);
    EXPECT_EQ("xxxxxxxxxx", c.Row(2, 2, 12, kBlack));
    EXPECT_EQ("x........x", c.Row(6, 2, 12, kBlack));
    EXPECT_EQ("xxxxxxxxxx", c.Row(11, 2, 12, kBlack));
    c.dc.Draw3dRect({15, 2, 25, 12}, kWhite, kBlue);
    EXPECT_EQ(kBlue, c.dc.GetPixel(24, 2)) << "the right edge takes the dark colour";
    EXPECT_EQ(kBlue, c.dc.GetPixel(15, 11));
    EXPECT_EQ("........x", c.Row(6, 16, 25, kBlue));
}

TEST(CDC, ClippingLimitsEveryOperation) {
    Canvas c(40, 40);
    c.dc.IntersectClipRect({10, 10, 20, 20});
    EXPECT_EQ((CRect{10, 10, 20, 20}), c.dc.GetClipBox());
    c.dc.FillSolidRect({0, 0, 40, 40}, kRed);
    EXPECT_EQ((CRect{10, 10, 20, 20}), c.Ink());
    c.dc.ResetClip();
    c.dc.FillSolidRect({30, 30, 31, 31}, kRed);
    EXPECT_EQ((CRect{10, 10, 31, 31}), c.Ink());
}

TEST(CDC, BitBltCopiesTheSourceRegion) {
    CMemoryDC back(50, 50);
    back.FillSolidRect({0, 0, 50, 50}, kBlue);
    back.FillSolidRect({10, 10, 20, 20}, kRed);
    Canvas window(60, 60);
    window.dc.BitBlt({30, 30, 45, 45}, back, CPoint{5, 5});
    EXPECT_EQ((CRect{30, 30, 45, 45}), window.Ink());
    EXPECT_EQ(kBlue, window.dc.GetPixel(30, 30));   // from (5, 5)
    EXPECT_EQ(kRed, window.dc.GetPixel(35, 35));    // from (10, 10)
    EXPECT_EQ(kRed, window.dc.GetPixel(44, 44));    // from (19, 19)
    EXPECT_EQ(kWhite, window.dc.GetPixel(45, 45));  // outside the copy
}

TEST(CDC, UnknownWindowsFaceMapsToAnInstalledJapaneseFace) {
    CFontCache cache;
    const std::string& family = cache.Mapper().ResolveFamily("ＭＳ ゴシック", Charset::ShiftJis);
    EXPECT_TRUE(CFontMapper::Covers(family, 0x5168)) << family << " has no 全";
    EXPECT_NE(std::string::npos, family.find("IPA")) << family;
    // The default character set is taken as Japanese too, and an empty face gets one.
    EXPECT_TRUE(CFontMapper::Covers(cache.Mapper().ResolveFamily("", Charset::Default), 0x5168));
    EXPECT_TRUE(CFontMapper::Covers(cache.Mapper().ResolveFamily("No Such Face", Charset::ShiftJis),
                                    0x5168));
}

TEST(CDC, LogicalWidthSetsSingleAndDoubleByteAdvances) {
    struct Case {
        int height, width, single;
    };
    const Case cases[] = {
        {18, 9, 9},    // the usual 2:1 cell glyph
        {18, 12, 12},  // stretched
        {20, 6, 6},    // squeezed
        {16, 0, 8},    // the face's own proportions
    };
    CMemoryDC dc(10, 10);
    for (const Case& k : cases) {
        dc.SelectFont(Gothic(k.height, k.width));
        EXPECT_EQ(k.single, dc.GetTextExtent("A").cx) << k.height << "x" << k.width;
        EXPECT_EQ(2 * k.single, dc.GetTextExtent("全").cx) << k.height << "x" << k.width;
        EXPECT_EQ(2 * k.single, dc.GetTextExtent("ｱｲ").cx) << "half-width katakana";
        EXPECT_EQ(6 * k.single, dc.GetTextExtent("A全員B").cx);
        EXPECT_EQ(k.height, dc.GetTextMetrics().height) << k.height << "x" << k.width;
    }
}

TEST(CDC, DoubleByteCharacterInksTwiceTheWidthOfASingleByteCell) {
    Canvas c(100, 40);
    c.dc.SelectFont(Gothic(24, 12));
    c.dc.SetBkMode(BkMode::Transparent);
    c.dc.TextOut(10, 5, "全");
    CRect wide = c.Ink();
    ASSERT_FALSE(wide.IsEmpty()) << "全 drew nothing";
    EXPECT_GT(wide.Width(), 12) << "wider than a single-byte cell";
    EXPECT_LE(wide.right, 10 + 24 + 1);
    EXPECT_GE(wide.left, 10 - 1);

    Canvas n(100, 40);
    n.dc.SelectFont(Gothic(24, 12));
    n.dc.SetBkMode(BkMode::Transparent);
    n.dc.TextOut(10, 5, "H");
    CRect narrow = n.Ink();
    ASSERT_FALSE(narrow.IsEmpty()) << "H drew nothing";
    EXPECT_LE(narrow.Width(), 12);
    EXPECT_GE(narrow.left, 10);
    EXPECT_LE(narrow.right, 22);
}

TEST(CDC, TextInBoxStaysInsideItsBoxAndIsCentred) {
    struct Case {
        const char* text;
        CRect box;
    };
    const Case cases[] = {
        {"全", {20, 10, 60, 50}},
        {"A", {20, 10, 60, 50}},
        {"合計ｱ1", {5, 5, 95, 45}},
        {"とても長い見出しの文字列", {30, 10, 70, 40}},  // wider than its box: clipped
    };
    for (const Case& k : cases) {
        Canvas c(100, 60);
        c.dc.SelectFont(Gothic(18, 9));
        c.dc.SetBkMode(BkMode::Transparent);
        c.dc.SetTextColor(kBlack);
        c.dc.DrawTextInBox(k.text, k.box);
        CRect ink = c.Ink();
        ASSERT_FALSE(ink.IsEmpty()) << k.text;
        EXPECT_GE(ink.left, k.box.left) << k.text;
        EXPECT_GE(ink.top, k.box.top) << k.text;
        EXPECT_LE(ink.right, k.box.right) << k.text;
        EXPECT_LE(ink.bottom, k.box.bottom) << k.text;
        int dx = (ink.left - k.box.left) - (k.box.right - ink.right);
        int dy = (ink.top - k.box.top) - (k.box.bottom - ink.bottom);
        EXPECT_LE(std::abs(dx), 4) << k.text << " off centre horizontally";
        EXPECT_LE(std::abs(dy), 6) << k.text << " off centre vertically";
        bool dark = false;
        for (int y = ink.top; y < ink.bottom && !dark; ++y) {
            for (int x = ink.left; x < ink.right && !dark; ++x) {
                COLORREF p = c.dc.GetPixel(x, y);
                dark = GetRValue(p) < 80 && GetGValue(p) < 80 && GetBValue(p) < 80;
            }
        }
        EXPECT_TRUE(dark) << k.text << " has no dark pixel";
    }
}

TEST(CDC, OpaqueTextPaintsItsExtentInTheBackgroundColour) {
    Canvas c(100, 40);
    c.dc.SelectFont(Gothic(18, 9));
    c.dc.SetBkColor(kRed);
    c.dc.TextOut(10, 10, "AB");
    EXPECT_EQ((CRect{10, 10, 28, 28}), c.Ink());
    EXPECT_EQ(kRed, c.dc.GetPixel(10, 10));
    EXPECT_EQ(kRed, c.dc.GetPixel(27, 27));
}

TEST(CDC, GlyphBatchPaintsWhatSeparateCallsPaint) {
    // A row of cells as the cell surface lays them out: the batch must put every glyph
    // exactly where DrawTextInBox would, in each glyph's own colour.
    struct Cell {
        const char* ch;
        CRect box;
        COLORREF color;
    };
    const Cell cells[] = {
        {"日", {0, 0, 22, 22}, kBlack}, {"A", {21, 1, 32, 23}, kRed},
        {"ｶ", {31, 1, 42, 23}, kBlack}, {"表", {41, 0, 63, 22}, kBlue},
        {"9", {62, 1, 73, 23}, kBlue},
    };
    CMemoryDC one(80, 30), batched(80, 30);
    one.FillSolidRect({0, 0, 80, 30}, kWhite);
    batched.FillSolidRect({0, 0, 80, 30}, kWhite);
    one.SetBkMode(BkMode::Transparent);
    std::shared_ptr<const CFont> font = one.CreateFont(Gothic(20, 10));
    one.SelectFont(font);
    CGlyphBatch batch;
    for (const Cell& cell : cells) {
        one.SetTextColor(cell.color);
        one.DrawTextInBox(cell.ch, cell.box);
        batch.AddCentred(font, cell.color, cell.ch, cell.box);
    }
    batched.DrawGlyphBatch(batch);
    int differing = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 80; ++x) {
            differing += one.GetPixel(x, y) != batched.GetPixel(x, y);
        }
    }
    EXPECT_EQ(0, differing);
    EXPECT_NE(kWhite, batched.GetPixel(10, 11)) << "日 is drawn";

    batch.Clear();
    EXPECT_TRUE(batch.IsEmpty());
}

TEST(CDC, PdfDeviceWritesPagesToAFile) {
    test::TempFolder folder;
    std::string path = folder.Path() + "/page.pdf";
    {
        CPdfDC pdf(path, CSize{595, 842}, 300);
        EXPECT_EQ((CSize{2479, 3508}), pdf.PageSize());
        ASSERT_TRUE(pdf.StartPage());
        EXPECT_FALSE(pdf.StartPage()) << "a page is already open";
        pdf.SelectFont(Gothic(60, 30));
        pdf.TextOut(300, 300, "タイムカード");
        pdf.SelectPen(CPen(PenStyle::Solid, 3, kBlack));
        pdf.Rectangle({250, 250, 2200, 600});
        EXPECT_TRUE(pdf.EndPage());
        EXPECT_TRUE(pdf.EndDoc());
        EXPECT_FALSE(pdf.StartPage()) << "the document has ended";
    }
    std::ifstream in(path, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(0u, content.rfind("%PDF", 0));
    EXPECT_GT(content.size(), 1000u);

    CPdfDC nowhere(folder.Path() + "/no/such/folder/x.pdf", CSize{595, 842});
    nowhere.StartPage();
    nowhere.EndPage();
    EXPECT_FALSE(nowhere.EndDoc()) << "a file that cannot be written is reported";
}

// A small screen for people to look at: set TOKEIYA_SNAPSHOT_DIR to keep the PNG.
TEST(CDC, SampleScreenSnapshot) {
    CMemoryDC dc(480, 200);
    dc.FillSolidRect({0, 0, 480, 200}, RGB(0, 0, 128));
    dc.FillSolidRect({4, 4, 476, 196}, kWhite);
    dc.FillSolidRect({4, 4, 476, 34}, RGB(200, 220, 255));
    dc.SetBkMode(BkMode::Transparent);
    dc.SelectFont(Gothic(24, 12));
    dc.DrawTextInBox("とけい屋  月間スケジュール 2024年4月", {4, 4, 476, 34});
    dc.SelectFont(Gothic(18, 9));
    dc.SetTextColor(RGB(192, 0, 0));
    dc.TextOut(12, 50, "日 月 火 水 木 金 土  ｶﾀｶﾅ ABC 123");
    dc.SetTextColor(kBlack);
    dc.TextOut(12, 80, "出勤 09:00 退勤 18:00 残業 60分 合計 \\12,345");
    dc.SelectPen(CPen(PenStyle::Dash, 1, kBlue));
    dc.MoveTo(8, 110);
    dc.LineTo(472, 110);
    dc.SelectPen(CPen(PenStyle::DashDotDot, 1, kBlack));
    dc.Rectangle({8, 120, 472, 190});
    dc.SelectBrush(RGB(0, 128, 0));
    const CPoint arrow[] = {{440, 130}, {460, 170}, {420, 170}};
    dc.Polygon(arrow);
    EXPECT_EQ(RGB(0, 128, 0), dc.GetPixel(440, 160));
    EXPECT_EQ(RGB(200, 220, 255), dc.GetPixel(6, 6));

    const char* dir = std::getenv("TOKEIYA_SNAPSHOT_DIR");
    test::TempFolder folder;
    std::string path =
        std::string(dir != nullptr ? dir : folder.Path().c_str()) + "/cdc-sample.png";
    EXPECT_TRUE(dc.WritePng(path)) << path;
}

}  // namespace
}  // namespace tokeiya
