#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/CCDWBackColor.hpp"
#include "engine/CCDWItemList.hpp"
#include "engine/CCDWLineBase.hpp"
#include "engine/CCDWText.hpp"
#include "engine/CCDWTextAndColor.hpp"
#include "engine/CCRBase.hpp"
#include "platform/gdi/CMemoryDC.hpp"

namespace tokeiya {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kOrange = RGB(255, 128, 7);
constexpr COLORREF kYellow = RGB(255, 255, 200);

// One item of every kind, with values that differ field by field.
CCDWItemList EveryKind() {
    CCDWItemList list;
    list.AddLineItem(1, 2, 3, 4, RGB(10, 20, 30), 1, 2);
    list.AddHLinesItem(0, 80, 2, RGB(1, 2, 3), 2, 1, 3, 2);
    list.AddVLinesItem(5, 9, 7, RGB(4, 5, 6), 3, 1, 4, 3);
    list.AddRectItem(-1, 0, 40, 25, kOrange, 4, 3);
    list.AddBackFillItem(0, 1, 80, 2, kYellow);
    list.AddTextItem("合計,金額", 2, 3);
    list.AddColoredTextItem("A,B,", 70, 24, kOrange);
    return list;
}

std::vector<unsigned char> Binary(const CCDWItemList& list) {
    CByteWriter out;
    list.WriteAllBinary(out);
    return out.Take();
}

std::string Text(const CCDWItemList& list) {
    std::string out;
    list.WriteAllText(out);
    return out;
}

TEST(DrawingItems, StoredSizesMatchTheBinaryForm) {
    CCDWItemList list = EveryKind();
    const std::int32_t expected[] = {44, 44, 44, 44, 28, 29 + 9, 33 + 4};
    ASSERT_EQ(std::size(expected), list.Size());
    std::int64_t total = 0;
    for (size_t i = 0; i < list.Size(); ++i) {
        CByteWriter one;
        list.At(i).WriteBinary(one);
        EXPECT_EQ(expected[i], list.At(i).GetStoredSize()) << "item " << i;
        EXPECT_EQ(size_t(expected[i]), one.Data().size()) << "item " << i;
        total += expected[i];
    }
    EXPECT_EQ(total, list.StoredSize());
    EXPECT_EQ(size_t(total), Binary(list).size());

    CCDWItemList sum;
    sum.AddTextItem("合計", 0, 0);
    sum.AddColoredTextItem("合計", 0, 0, kBlack);
    EXPECT_EQ(33, sum.At(0).GetStoredSize());
    EXPECT_EQ(37, sum.At(1).GetStoredSize());
    EXPECT_EQ(0, CCDWItemList().StoredSize());
}

TEST(DrawingItems, BinaryFormIsLittleEndianWithTheTextsNul) {
    CCDWItemList list;
    list.AddColoredTextItem("Ab", 2, 3, RGB(1, 2, 3));
    const std::vector<unsigned char> expected = {
        5, 0, 0, 0, 2,   0,   0, 0,  // kind 5, layer 2
        2, 0, 0, 0, 3,   0,   0, 0,  // x1 2, y1 3
        0, 0, 0, 0, 0,   0,   0, 0,  // x2, y2
        1, 2, 3, 0,                  // colour 0x00030201
        3, 0, 0, 0, 'A', 'b', 0,
    };
    EXPECT_EQ(expected, Binary(list));
}

TEST(DrawingItems, BinaryRoundTripKeepsEveryField) {
    const CCDWItemList original = EveryKind();
    const std::vector<unsigned char> bytes = Binary(original);
    CByteReader in(bytes);
    CCDWItemList read;
    read.AddTextItem("replaced", 0, 0);
    ASSERT_TRUE(read.ReadAllBinary(in, static_cast<std::int64_t>(original.Size())));
    EXPECT_EQ(0u, in.Remaining());
    ASSERT_EQ(original.Size(), read.Size());
    EXPECT_EQ(Text(original), Text(read));
    EXPECT_EQ(bytes, Binary(read));
    for (size_t i = 0; i < read.Size(); ++i) {
        EXPECT_EQ(original.At(i).Layer(), read.At(i).Layer()) << "item " << i;
        EXPECT_EQ(original.At(i).Kind(), read.At(i).Kind()) << "item " << i;
    }
    EXPECT_EQ("合計,金額", dynamic_cast<const CCDWText&>(read.At(5)).Text());
    EXPECT_EQ(kOrange, dynamic_cast<const CCDWTextAndColor&>(read.At(6)).Color());
}

TEST(DrawingItems, DamagedBinaryDataCreatesNothing) {
    const std::vector<unsigned char> good = Binary(EveryKind());
    // Every proper prefix of the data is a truncated list.
    for (size_t length = 0; length < good.size(); ++length) {
        CByteReader in(std::span(good.data(), length));
        CCDWItemList list;
        list.AddLineItem(0, 0, 1, 1, kBlack, 0, 1);
        EXPECT_FALSE(list.ReadAllBinary(in, 7)) << "length " << length;
        ASSERT_EQ(1u, list.Size()) << "the list is left as it was, length " << length;
        EXPECT_EQ("L 0,0,1,1,0,0,0,SOLOD,1\n", Text(list));
    }

    auto text = [](std::int32_t n, std::vector<unsigned char> tail) {
        std::vector<unsigned char> data(24, 0);  // kind 4, layer 2, empty rectangle
        data[0] = 4;
        data[4] = 2;
        for (int i = 0; i < 4; ++i) {
            data.push_back(static_cast<unsigned char>(std::uint32_t(n) >> (8 * i)));
        }
        data.insert(data.end(), tail.begin(), tail.end());
        return data;
    };
    auto kind = [](std::int32_t k) {
        std::vector<unsigned char> data(44, 0);
        data[0] = static_cast<unsigned char>(k & 0xFF);
        data[1] = data[2] = data[3] = k < 0 ? 0xFF : 0;
        return data;
    };
    struct Case {
        const char* name;
        std::vector<unsigned char> data;
        bool read;
        std::string textRead;
    };
    const Case cases[] = {
        {"text n 0", text(0, {}), false, ""},
        {"text n negative", text(-1, {'A', 0}), false, ""},
        {"text n past the data", text(4, {'A', 'B', 0}), false, ""},
        {"text n exactly the data", text(3, {'A', 'B', 0}), true, "AB"},
        {"text ends at its first NUL", text(4, {'A', 0, 'B', 0}), true, "A"},
        {"text without NUL keeps its n bytes", text(2, {'A', 'B'}), true, "AB"},
        {"unknown kind 7", kind(7), false, ""},
        {"unknown kind -1", kind(-1), false, ""},
    };
    for (const Case& c : cases) {
        CByteReader in(c.data);
        std::unique_ptr<CCDWItem> item = CCDWItemList::ReadItem(in);
        EXPECT_EQ(c.read, item != nullptr) << c.name;
        if (item != nullptr) {
            EXPECT_EQ(c.textRead, dynamic_cast<const CCDWText&>(*item).Text()) << c.name;
        }
    }
    CByteReader none(good);
    CCDWItemList list;
    EXPECT_FALSE(list.ReadAllBinary(none, -1));
    EXPECT_TRUE(list.ReadAllBinary(none, 0));
    EXPECT_TRUE(list.IsEmpty());
}

TEST(DrawingItems, TextFormsWriteOneRecordPerItem) {
    struct Case {
        std::function<void(CCDWItemList&)> add;
        std::string expected;
    };
    const Case cases[] = {
        {[](CCDWItemList& l) { l.AddLineItem(1, 2, 3, 4, RGB(10, 20, 30), 1, 2); },
         "L 1,2,3,4,10,20,30,DASH,2\n"},
        {[](CCDWItemList& l) { l.AddRectItem(0, 0, 80, 25, kOrange, 9, 1); },
         "R 0,0,80,25,255,128,7,SOLOD,1\n"},
        {[](CCDWItemList& l) { l.AddHLinesItem(0, 80, 2, kBlack, 2, 1, 3, 2); },
         "HL 0,80,2,0,0,0,DOT,1,3,2\n"},
        {[](CCDWItemList& l) { l.AddVLinesItem(5, 9, 7, kBlack, 4, 1, 4, 3); },
         "VL 5,9,7,0,0,0,DASHDOTDOT,1,4,3\n"},
        {[](CCDWItemList& l) { l.AddRectItem(1, 1, 2, 2, kBlack, 3, 1); },
         "R 1,1,2,2,0,0,0,DASHDOT,1\n"},
        {[](CCDWItemList& l) { l.AddBackFillItem(0, 1, 80, 2, RGB(200, 220, 255)); },
         "BF 0,1,80,2,200,220,255\n"},
        {[](CCDWItemList& l) { l.AddTextItem("合計,金額", 2, 3); }, "T 合計[CMM]金額,2,3\n"},
        {[](CCDWItemList& l) { l.AddColoredTextItem(",x,", 0, 24, kOrange); },
         "TC [CMM]x[CMM],0,24,255,128,7\n"},
    };
    for (const Case& c : cases) {
        CCDWItemList list;
        c.add(list);
        EXPECT_EQ(c.expected, Text(list));
    }
}

TEST(DrawingItems, CommaCodingRoundTripsAndRespectsDoubleByteCharacters) {
    const std::string cases[] = {
        "",       "合計,金額", ",,", "[CMM", "a[CMM]b",
        "ーCMM]",  // the second byte of ー is '[': not the start of a comma
    };
    for (const std::string& text : cases) {
        const std::string encoded = CCDWText::EncodeCommas(text);
        EXPECT_EQ(std::string::npos, encoded.find(',')) << text;
        EXPECT_EQ(text == "a[CMM]b" ? "a,b" : text, CCDWText::DecodeCommas(encoded)) << text;
    }
    EXPECT_EQ("ーCMM]", CCDWText::DecodeCommas("ーCMM]"));
    EXPECT_EQ("x,y", CCDWText::DecodeCommas("x[CMM]y"));
}

TEST(DrawingItems, StyleNamesReadInAnyCase) {
    struct Case {
        const char* name;
        int style;
    };
    const Case cases[] = {{"SOLOD", 0},      {"dash", 1},  {"Dot", 2}, {"DASHDOT", 3},
                          {"dashdotdot", 4}, {"SOLID", 0}, {"", 0},    {"DASH ", 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.style, CCDWLineBase::StyleFromName(c.name)) << c.name;
    }
    EXPECT_STREQ("SOLOD", CCDWLineBase::StyleName(-1));
    EXPECT_STREQ("SOLOD", CCDWLineBase::StyleName(5));
}

TEST(DrawingItems, FillsAndCaptionsBecomeCellContentInEitherOrder) {
    for (bool fillFirst : {true, false}) {
        SCOPED_TRACE(fillFirst ? "fill first" : "text first");
        CCRBase s(CRect{0, 0, 200, 60}, 20, 3, 0, 0);
        if (fillFirst) {
            s.Items().AddBackFillItem(0, 1, 10, 2, kYellow);
        }
        s.Items().AddTextItem("合計", 1, 1);
        s.Items().AddColoredTextItem("X", 5, 1, kOrange);
        if (!fillFirst) {
            s.Items().AddBackFillItem(0, 1, 10, 2, kYellow);
        }
        s.Items().AddBackFillItem(0, 0, 21, 1, kOrange);  // outside the grid: refused
        CMemoryDC dc(200, 60);
        s.Draw(dc);
        std::string text;
        ASSERT_TRUE(s.GetRowText(text, 1, 0, -1, false));
        EXPECT_EQ("合計X", text);
        EXPECT_EQ(kYellow, s.CellAt(1, 1)->backColor);
        EXPECT_EQ(kBlack, s.CellAt(1, 1)->textColor);
        EXPECT_EQ(kOrange, s.CellAt(5, 1)->textColor);
        EXPECT_EQ(kWhite, s.CellAt(0, 0)->backColor);
        // The fill is painted under the characters: there is ink of the caption inside it.
        bool ink = false;
        for (int y = s.RowToY(1); y < s.RowToY(2); ++y) {
            for (int x = s.ColumnToX(1); x < s.ColumnToX(5); ++x) {
                ink = ink || dc.GetPixel(x, y) != kYellow;
            }
        }
        EXPECT_TRUE(ink);
        EXPECT_EQ(kYellow, dc.GetPixel(s.ColumnToX(9) + 5, s.RowToY(1) + 10));
    }
}

TEST(DrawingItems, DrawLayerDrawsOnlyItsLayer) {
    CCDWItemList list = EveryKind();
    CCRBase s(CRect{0, 0, 800, 500}, 80, 25, 0, 0);
    CMemoryDC dc(800, 500);
    EXPECT_EQ(1, list.DrawLayer(dc, s, CCDWItem::kFillLayer));
    EXPECT_EQ(4, list.DrawLayer(dc, s, CCDWItem::kLineLayer));
    EXPECT_EQ(2, list.DrawLayer(dc, s, CCDWItem::kTextLayer));
    EXPECT_EQ(0, list.DrawLayer(dc, s, 3));
    list.RemoveAll();
    EXPECT_EQ(0, list.DrawLayer(dc, s, CCDWItem::kLineLayer));
}

TEST(DrawingItems, HorizontalFamilyDrawsCountLinesStepRowsApart) {
    struct Case {
        int count, step;
        std::vector<int> borders;  // row borders expected to carry a line, among 0..10
    };
    const Case cases[] = {{3, 2, {2, 4, 6}},
                          {1, 5, {2}},
                          {0, 1, {}},
                          {-2, 1, {}},
                          {2, 0, {2}},
                          // A damaged count: only the lines on the grid, without a stall.
                          {2147483647, 3, {2, 5, 8}},
                          {2147483647, -1, {0, 1, 2}}};
    for (const Case& c : cases) {
        CCRBase s(CRect{0, 0, 800, 500}, 80, 25, 0, 0);
        s.Items().AddHLinesItem(0, 80, 2, kBlack, 0, 1, c.count, c.step);
        CMemoryDC dc(800, 500);
        s.Draw(dc);
        std::vector<int> found;
        for (int border = 0; border <= 10; ++border) {
            const int y = s.RowToY(border);
            if (dc.GetPixel(0, y) == kBlack && dc.GetPixel(799, y) == kBlack) {
                found.push_back(border);
            }
        }
        EXPECT_EQ(c.borders, found) << "count " << c.count << " step " << c.step;
    }
}

}  // namespace
}  // namespace tokeiya
