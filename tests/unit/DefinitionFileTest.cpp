#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/CCDWBackColor.hpp"
#include "engine/CCDWLineBase.hpp"
#include "engine/CCDWText.hpp"
#include "engine/CCRBase.hpp"
#include "platform/AppContext.hpp"
#include "platform/gdi/CMemoryDC.hpp"
#include "tests/support/ScopedWorkingFolder.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

constexpr size_t kHeader = 1232;

// Runs a test inside a fresh folder holding an empty "tgd" folder, where the text
// definitions are looked for.
class InTempFolder {
  public:
    InTempFolder() {
        std::filesystem::create_directory(m_folder.Path() + "/tgd");
        std::filesystem::current_path(m_folder.Path());
    }
    std::string Path(const std::string& name) const { return m_folder.Path() + "/" + name; }

  private:
    test::TempFolder m_folder;
    test::ScopedWorkingFolder m_restore;  // leaves the folder before it is removed
};

// A surface in a state every definition load changes: a failed one must leave it whole.
void Prepare(CCRBase& surface) {
    surface.SetGridAndMargins(12, 6, 2, 1);
    surface.SetDefaultColors(RGB(1, 2, 3), RGB(4, 5, 6));
    surface.Items().AddTextItem("old", 0, 0);
    surface.PutText("kept", 0, 5, false);
}

// The whole visible state: the written definition plus the characters in the cells.
std::string State(const CCRBase& surface) {
    std::string state = surface.TextDefinition();
    for (int row = 0; row < surface.Rows(); ++row) {
        for (int col = 0; col < surface.Cols(); ++col) {
            state += surface.CellAt(col, row)->Chars();
        }
        state += '|';
    }
    return state;
}

std::string ItemsText(const CCRBase& surface) {
    std::string text;
    surface.Items().WriteAllText(text);
    return text;
}

std::vector<unsigned char> Record(const CCRBase& surface, const std::string& name) {
    CByteWriter out;
    EXPECT_TRUE(surface.WriteBinaryDefinition(out, name));
    return out.Take();
}

void Append(std::vector<unsigned char>& to, const std::vector<unsigned char>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

void Poke32(std::vector<unsigned char>& data, size_t at, std::int64_t value) {
    for (int i = 0; i < 4; ++i) {
        data.at(at + size_t(i)) = static_cast<unsigned char>(std::uint64_t(value) >> (8 * i));
    }
}

void Poke64(std::vector<unsigned char>& data, size_t at, std::int64_t value) {
    for (int i = 0; i < 8; ++i) {
        data.at(at + size_t(i)) = static_cast<unsigned char>(std::uint64_t(value) >> (8 * i));
    }
}

std::int64_t Peek(const std::vector<unsigned char>& data, size_t at, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= std::uint64_t{data.at(at + size_t(i))} << (8 * i);
    }
    return bytes == 4 ? std::int64_t{static_cast<std::int32_t>(value)}
                      : static_cast<std::int64_t>(value);
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& data) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

// A surface with a value in every field a definition carries.
void MakeRich(CCRBase& surface) {
    surface.SetGridAndMargins(40, 12, 3, 2);
    surface.SetEdgeColor(RGB(10, 20, 30));
    surface.SetDefaultColors(RGB(0, 0, 128), RGB(255, 255, 200));
    surface.Fonts().resize(5);
    const char* faces[] = {"ＭＳ ゴシック", "ＭＳ 明朝", "Arial", "SimSun", "MingLiU"};
    const int charsets[] = {128, 128, 0, 134, 136};
    for (size_t i = 0; i < 5; ++i) {
        surface.Fonts()[i].SetFaceName(faces[i]);
        surface.Fonts()[i].logFont.charset = charsets[i];
        surface.Fonts()[i].scale = 0.75 + 0.05 * double(i);
        surface.Fonts()[i].aspect = 1.5;
    }
    CCDWItemList& items = surface.Items();
    items.AddLineItem(1, 2, 3, 4, RGB(10, 20, 30), 1, 2);
    items.AddHLinesItem(0, 40, 2, RGB(1, 2, 3), 2, 1, 3, 2);
    items.AddVLinesItem(5, 9, 7, RGB(4, 5, 6), 3, 1, 4, 3);
    items.AddRectItem(0, 0, 40, 12, RGB(255, 128, 7), 4, 3);
    items.AddBackFillItem(0, 1, 40, 2, RGB(200, 220, 255));
    items.AddTextItem("合計,金額", 2, 3);
    items.AddColoredTextItem("A,B,", 30, 11, RGB(255, 0, 0));
}

TEST(DefinitionFile, ParameterLines) {
    struct Case {
        std::vector<std::string> lines;
        std::string expected;  // the parameter part of the written definition after loading
    };
    // Prepared: padding 1, edge 2 black, 6 x 12, colours 1,2,3 on 4,5,6, the default fonts.
    const std::string fonts = "Font = ＭＳ ゴシック,0.90,J,2.00,ＭＳ ゴシック,0.90,J,2.00\n";
    auto params = [&](const std::string& rowsCols, const std::string& colours,
                      const std::string& font) {
        return "Padding = 1\nEdgeWidth = 2\nEdgeColor = 0,0,0\n" + rowsCols + colours + font;
    };
    const std::string grid = "Rows = 6\nCols = 12\n";
    const std::string colours = "TextColor = 1,2,3\nBackColor = 4,5,6\n";
    const Case cases[] = {
        {{"cols = 40"}, params("Rows = 6\nCols = 40\n", colours, fonts)},
        {{"Cols = 40"}, params("Rows = 6\nCols = 40\n", colours, fonts)},
        {{"cols=40"}, params(grid, colours, fonts)},
        {{" cols = 40"}, params(grid, colours, fonts)},
        {{"cols = "}, params(grid, colours, fonts)},
        {{"cols"}, params(grid, colours, fonts)},
        {{"rows = 9x = 3"}, params("Rows = 9\nCols = 12\n", colours, fonts)},
        {{"rows = -4"}, params("Rows = 0\nCols = 12\n", colours, fonts)},
        {{"bogus = 1", "PADDING = +7"}, "Padding = 7" + params(grid, colours, fonts).substr(11)},
        {{"backcolor = 0x10,020,255"},
         params(grid, "TextColor = 1,2,3\nBackColor = 16,16,255\n", fonts)},
        {{"TextColor = 0,0,0", "backcolor = 255,255,511"}, params(grid, "", fonts)},
        {{"textcolor = 9,9"}, params(grid, colours, fonts)},
        {{"textcolor = 9,9,9,9"}, params(grid, colours, fonts)},
        {{"edgecolor = -1,foo,0X1f", "edgewidth = 5"},
         "Padding = 1\nEdgeWidth = 5\nEdgeColor = 255,0,31\n" + grid + colours + fonts},
        {{"font = ＭＳ ゴシック,0.9,J,2.0,ＭＳ ゴシック,0.9,J,2.0"}, params(grid, colours, fonts)},
        {{"font = Arial,0.9,A,2.0,ＭＳ ゴシック,0.9"}, params(grid, colours, fonts)},
        {{"font = a,.5,A,1,b,1e1,J,3,c,x,BIG5,2,d,1,GB2312,2,e,1,j,2"},
         params(grid, colours,
                "Font = a,0.50,A,1.00,b,4.00,J,3.00,c,0.00,BIG5,2.00,d,1.00,GB2312,2.00,"
                "e,1.00,U,2.00\n")},
        {{"font = 0123456789012345678901234567890123,1,A,2"},
         params(grid, colours, "Font = 0123456789012345678901234567890,1.00,A,2.00\n")},
    };
    for (const Case& c : cases) {
        CCRBase surface;
        Prepare(surface);
        std::vector<std::string> lines = {"[PARAM]"};
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        ASSERT_TRUE(surface.ApplyDefinitionLines(lines)) << c.lines.front();
        EXPECT_EQ("[PARAM]\n" + c.expected + "[CMD]\n", surface.TextDefinition())
            << c.lines.front();
    }
}

TEST(DefinitionFile, CommandRecords) {
    struct Case {
        std::string line;
        std::string expected;  // the item as written back; empty when none is created
    };
    const Case cases[] = {
        {"L 1,2,3,4", "L 1,2,3,4,0,0,0,SOLOD,1\n"},
        {"l 1,2,3,4,255,0,0", "L 1,2,3,4,255,0,0,SOLOD,1\n"},
        {"R 1,2,3,4,1,2,3,dash,3", "R 1,2,3,4,1,2,3,DASH,3\n"},
        {"R 1,2,3,4,1,2", "R 1,2,3,4,0,0,0,SOLOD,1\n"},
        {"L 1, 2,3,4,foo,0x10,010,ZIGZAG,-2", "L 1,2,3,4,0,16,8,SOLOD,0\n"},
        {"L 1,2,3", ""},
        {"HL 0,80,2", "HL 0,80,2,0,0,0,SOLOD,1,1,1\n"},
        {"HL 0,80,2,1,2", "HL 0,80,2,0,0,0,SOLOD,1,1,1\n"},
        {"VL 0,25,5,0,0,255,dot,2,10,8", "VL 0,25,5,0,0,255,DOT,2,10,8\n"},
        {"vl 0,25,5,0,0,255,dashdotdot,2,10", "VL 0,25,5,0,0,255,DASHDOTDOT,2,10,1\n"},
        {"HL 0,80", ""},
        {"BF 0,1,80,2,200,220,255", "BF 0,1,80,2,200,220,255\n"},
        {"BF 0,1,80,2,200,220", ""},
        {"T 合計[CMM]金額,2,3", "T 合計[CMM]金額,2,3\n"},
        {"T a,b,1,2", "T a,0,1\n"},
        {"T x,1", ""},
        {"TC x,1,2,0x10,020,255", "TC x,1,2,16,16,255\n"},
        {"tc [CMM],1,2,1,2,3,extra", "TC [CMM],1,2,1,2,3\n"},
        {"TC x,1,2,3,4", ""},
        {"T", ""},
        {"L1,2,3,4", ""},
        {"X 1,2,3,4", ""},
        {"#L 1,2,3,4", ""},
        {"L 99999999999,-99999999999,0,0", "L 1024,-1024,0,0,0,0,0,SOLOD,1\n"},
    };
    for (const Case& c : cases) {
        CCRBase surface;
        Prepare(surface);
        ASSERT_TRUE(surface.ApplyDefinitionLines(std::vector<std::string>{"[CMD]", c.line}));
        EXPECT_EQ(c.expected, ItemsText(surface)) << c.line;
    }
}

TEST(DefinitionFile, TextNumbersAreHeldToTheirBounds) {
    struct Case {
        std::vector<std::string> lines;
        std::string expected;  // the lines of the written definition that must appear
    };
    const std::string longCaption(1500, 'x');
    std::string wideCaption = "a";
    for (int i = 0; i < 600; ++i) {
        wideCaption += "全";
    }
    const Case cases[] = {
        {{"[PARAM]", "padding = 2147483647"}, "Padding = 1000\n"},
        {{"[PARAM]", "Padding = 1000"}, "Padding = 1000\n"},
        {{"[PARAM]", "padding = -3"}, "Padding = 0\n"},
        {{"[PARAM]", "edgewidth = 99999999999"}, "EdgeWidth = 1000\n"},
        {{"[PARAM]", "edgewidth = -1"}, "EdgeWidth = 0\n"},
        {{"[PARAM]", "font = a,1e308,A,nan,b,-1,J,inf"}, "Font = a,4.00,A,0.10,b,0.00,J,10.00\n"},
        {{"[PARAM]", "font = a,4,A,10,b,0,J,0.1"}, "Font = a,4.00,A,10.00,b,0.00,J,0.10\n"},
        {{"[PARAM]",
          "font = a,1,A,2,b,1,A,2,c,1,A,2,d,1,A,2,e,1,A,2,f,1,A,2,g,1,A,2,h,1,A,2,i,1,A,2"},
         "Font = a,1.00,A,2.00,b,1.00,A,2.00,c,1.00,A,2.00,d,1.00,A,2.00,e,1.00,A,2.00,"
         "f,1.00,A,2.00,g,1.00,A,2.00,h,1.00,A,2.00\n"},
        {{"[CMD]", "L -2147483648,2147483647,1025,-1024,1,2,3,DOT,65"},
         "L -1024,1024,1024,-1024,1,2,3,DOT,64\n"},
        {{"[CMD]", "HL 0,80,2,0,0,0,SOLOD,1,99999,-99999"}, "HL 0,80,2,0,0,0,SOLOD,1,1025,-1024\n"},
        {{"[CMD]", "VL 0,25,5,0,0,0,DASH,1,-3,1024"}, "VL 0,25,5,0,0,0,DASH,1,0,1024\n"},
        {{"[CMD]", "BF -2147483648,0,2147483647,1,1,2,3"}, "BF -1024,0,1024,1,1,2,3\n"},
        {{"[CMD]", "T " + longCaption + ",0,0"}, "T " + longCaption.substr(0, 1024) + ",0,0\n"},
        {{"[CMD]", "TC " + wideCaption + ",0,0,1,2,3"},
         "TC " + wideCaption.substr(0, 1023) + ",0,0,1,2,3\n"},
    };
    for (const Case& c : cases) {
        CCRBase surface;
        Prepare(surface);
        ASSERT_TRUE(surface.ApplyDefinitionLines(c.lines)) << c.lines[1].substr(0, 60);
        EXPECT_NE(std::string::npos, surface.TextDefinition().find(c.expected))
            << c.lines[1].substr(0, 60) << "\n"
            << surface.TextDefinition().substr(0, 400);
    }

    // Items beyond the bound are ignored; the definition still loads.
    std::vector<std::string> many = {"[CMD]"};
    many.insert(many.end(), 10005, "L 0,0,1,1");
    CCRBase surface;
    ASSERT_TRUE(surface.ApplyDefinitionLines(many));
    EXPECT_EQ(10000u, surface.Items().Size());
}

// The widest margins leave the cells no room: they shrink to nothing, and positions stay
// inside the rectangle's reach.
TEST(DefinitionFile, HugeMarginsLeaveAnEmptyGridNotAGiantOne) {
    CCRBase surface(CRect{0, 0, 800, 500}, 80, 25, 0, 0);
    ASSERT_TRUE(surface.ApplyDefinitionLines(
        std::vector<std::string>{"[PARAM]", "Padding = 2147483647", "EdgeWidth = 2147483647"}));
    surface.SetRect(CRect{0, 0, 800, 500});
    EXPECT_EQ(0.0, surface.CellWidth());
    EXPECT_EQ(0.0, surface.CellHeight());
    EXPECT_EQ(2000, surface.ColumnToX(80));
    int x = 400;
    EXPECT_FALSE(surface.XToColumn(x, false));
    CMemoryDC dc(800, 500);
    surface.Draw(dc);
    EXPECT_EQ(0u, dc.GetPixel(400, 250)) << "the frame band covers everything";
}

TEST(DefinitionFile, PackageNumbersAreHeldToTheirBounds) {
    CCRBase source;
    MakeRich(source);
    const std::vector<unsigned char> good = Record(source, "A.tgd");
    const size_t line = kHeader;           // L, then HL, VL, R of 44 bytes each
    const size_t fill = kHeader + 4 * 44;  // BF, 28 bytes
    const size_t caption = fill + 28;      // T 合計,金額
    struct Case {
        const char* name;
        void (*patch)(std::vector<unsigned char>&);
        std::string expected;  // a piece of the definition as written after loading
    };
    const Case cases[] = {
        {"padding", [](auto& d) { Poke32(d, 128, INT32_MAX); }, "Padding = 1000\n"},
        {"edge width", [](auto& d) { Poke32(d, 1208, -7); }, "EdgeWidth = 0\n"},
        {"rows below zero", [](auto& d) { Poke32(d, 132, -5); }, "Rows = 0\n"},
        {"scale not a number",
         [](auto& d) { Poke64(d, 144, std::bit_cast<std::int64_t>(std::nan(""))); },
         "Font = ＭＳ ゴシック,0.00,J,2.00"},
        {"huge scale", [](auto& d) { Poke64(d, 144, std::bit_cast<std::int64_t>(1e308)); },
         "Font = ＭＳ ゴシック,4.00,J,2.00"},
        {"line position", [](auto& d) { Poke32(d, kHeader + 8, INT32_MIN); },
         "L -1024,2,3,4,10,20,30,DASH,2\n"},
        {"line pen",
         [](auto& d) {
             Poke32(d, kHeader + 28, 99);         // style
             Poke32(d, kHeader + 32, INT32_MAX);  // width
         },
         "L 1,2,3,4,10,20,30,SOLOD,64\n"},
        {"line family count and step",
         [](auto& d) {
             Poke32(d, kHeader + 44 + 36, -3);
             Poke32(d, kHeader + 44 + 40, INT32_MIN);
         },
         "HL 0,40,2,1,2,3,DOT,1,0,-1024\n"},
        {"fill corners", [](auto& d) { Poke32(d, kHeader + 4 * 44 + 16, INT32_MAX); },
         "BF 0,1,1024,2,200,220,255\n"},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> data = good;
        c.patch(data);
        CCRBase surface;
        ASSERT_TRUE(surface.LoadFromPackageData(data, "A.tgd")) << c.name;
        EXPECT_NE(std::string::npos, surface.TextDefinition().find(c.expected))
            << c.name << "\n"
            << surface.TextDefinition();
    }

    // Colours keep their red, green and blue bytes only.
    std::vector<unsigned char> colours = good;
    Poke32(colours, 1216, 0xFF123456);
    Poke32(colours, line + 24, 0x01ABCDEF);
    Poke32(colours, fill + 24, 0xFFFFFFFF);
    CCRBase coloured;
    ASSERT_TRUE(coloured.LoadFromPackageData(colours, "A.tgd"));
    EXPECT_EQ(COLORREF{0x123456}, coloured.DefaultBackColor());
    EXPECT_EQ(COLORREF{0xABCDEF},
              dynamic_cast<const CCDWLineBase&>(coloured.Items().At(0)).Color());
    EXPECT_EQ(COLORREF{0xFFFFFF},
              dynamic_cast<const CCDWBackColor&>(coloured.Items().At(4)).Color());

    // A stored layer that is none of the three keeps the item where its kind belongs.
    std::vector<unsigned char> layered = good;
    Poke32(layered, line + 4, 9);
    Poke32(layered, caption + 4, -1);
    CCRBase layers;
    ASSERT_TRUE(layers.LoadFromPackageData(layered, "A.tgd"));
    EXPECT_EQ(CCDWItem::kLineLayer, layers.Items().At(0).Layer());
    EXPECT_EQ(CCDWItem::kTextLayer, layers.Items().At(5).Layer());

    // More items than a record may hold is refused, even when the data is there.
    CCRBase many;
    for (int i = 0; i < 10001; ++i) {
        many.Items().AddBackFillItem(0, 0, 1, 1, 0);
    }
    CCRBase refused;
    EXPECT_FALSE(refused.LoadFromPackageData(Record(many, "M.tgd"), "M.tgd"));
}

TEST(DefinitionFile, CaptionCommasBecomeOneItemAtItsCell) {
    CCRBase surface;
    ASSERT_TRUE(surface.ApplyDefinitionLines(std::vector<std::string>{
        "[PARAM]", "rows = 5", "cols = 20", "[CMD]", "T 合計[CMM]金額,2,3"}));
    ASSERT_EQ(1u, surface.Items().Size());
    const auto& text = dynamic_cast<const CCDWText&>(surface.Items().At(0));
    EXPECT_EQ("合計,金額", text.Text());
    EXPECT_EQ(2, text.X1());
    EXPECT_EQ(3, text.Y1());
}

TEST(DefinitionFile, SectionsDecideWhatIsRead) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::string expectedGrid;
        std::string expectedItems;
    };
    const Case cases[] = {
        {"outside any section", {"rows = 3", "L 1,1,2,2"}, "6x12", ""},
        {"markers are case-sensitive whole lines",
         {"[param]", "rows = 3", "[PARAM] ", "rows = 4", "[CMD]x", "L 1,1,2,2"},
         "6x12",
         ""},
        {"after END PARAM", {"[PARAM]", "[END PARAM]", "rows = 3"}, "6x12", ""},
        {"commands then parameters",
         {"[CMD]", "L 1,1,2,2", "[PARAM]", "rows = 3", "L 1,1,3,3"},
         "3x12",
         "L 1,1,2,2,0,0,0,SOLOD,1\n"},
        {"nothing after END CMD",
         {"[CMD]", "L 1,1,2,2", "[END CMD]", "[CMD]", "L 1,1,3,3", "[PARAM]", "rows = 3"},
         "6x12",
         "L 1,1,2,2,0,0,0,SOLOD,1\n"},
        {"comments in every section",
         {"[PARAM]", "#rows = 3", "[CMD]", "# L 1,1,2,2", "", "L 0,0,1,1"},
         "6x12",
         "L 0,0,1,1,0,0,0,SOLOD,1\n"},
        {"a NUL ends a line",
         {"[PARAM]", std::string("rows = 3\0 = 9", 12), std::string("cols\0 = 9", 9)},
         "3x12",
         ""},
    };
    for (const Case& c : cases) {
        CCRBase surface;
        Prepare(surface);
        ASSERT_TRUE(surface.ApplyDefinitionLines(c.lines)) << c.name;
        EXPECT_EQ(c.expectedGrid,
                  std::to_string(surface.Rows()) + "x" + std::to_string(surface.Cols()))
            << c.name;
        EXPECT_EQ(c.expectedItems, ItemsText(surface)) << c.name;
    }
}

TEST(DefinitionFile, OnlyCommandsStillRebuildTheGrid) {
    CCRBase surface;
    Prepare(surface);
    ASSERT_TRUE(surface.ApplyDefinitionLines(std::vector<std::string>{"[CMD]"}));
    EXPECT_EQ(6, surface.Rows());
    EXPECT_EQ(12, surface.Cols());
    std::string row;
    EXPECT_TRUE(surface.GetRowText(row, 5, 0, -1, false));
    EXPECT_EQ("", row) << "the cells were rebuilt";
    EXPECT_TRUE(surface.Items().IsEmpty());
    // Fresh cells take the current default colours.
    EXPECT_EQ(RGB(4, 5, 6), surface.CellAt(0, 0)->backColor);
}

TEST(DefinitionFile, TooLargeAGridIsRefusedAndChangesNothing) {
    const std::vector<std::string> cases[] = {
        {"[PARAM]", "rows = 100000", "cols = 100000", "[CMD]", "L 0,0,1,1"},
        {"[PARAM]", "rows = 1025", "cols = 1024"},
        {"[PARAM]", "rows = 2147483647", "cols = 99999999999"},
    };
    for (const auto& lines : cases) {
        CCRBase surface;
        Prepare(surface);
        const std::string before = State(surface);
        EXPECT_FALSE(surface.ApplyDefinitionLines(lines)) << lines[1];
        EXPECT_EQ(before, State(surface)) << lines[1];
    }
    CCRBase largest;
    EXPECT_TRUE(largest.ApplyDefinitionLines(
        std::vector<std::string>{"[PARAM]", "rows = 1024", "cols = 1024"}));
    EXPECT_TRUE(largest.HasCells());
}

TEST(DefinitionFile, WrittenTextHasTheExactForm) {
    InTempFolder folder;
    CCRBase surface;
    surface.SetGridAndMargins(80, 25, 1, 4);
    surface.Fonts().resize(1);
    surface.Fonts()[0].scale = 12.5;
    surface.Items().AddTextItem("a,b", 1, 2);
    ASSERT_TRUE(surface.WriteTextDefinition("Plain.tgd"));
    std::ifstream in(folder.Path("tgd/Plain.tgd"), std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(
        "[PARAM]\nPadding = 4\nEdgeWidth = 1\nEdgeColor = 0,0,0\nRows = 25\nCols = 80\n"
        "Font = ＭＳ ゴシック,12.50,J,2.00\n[CMD]\nT a[CMM]b,1,2\n",
        written);
    EXPECT_FALSE(surface.WriteTextDefinition("missing/Plain.tgd"));
}

TEST(DefinitionFile, TextRoundTripKeepsEverything) {
    InTempFolder folder;
    CCRBase original;
    MakeRich(original);
    ASSERT_TRUE(original.WriteTextDefinition("Rich.tgd"));
    CCRBase read;
    Prepare(read);
    ASSERT_TRUE(read.ReadTextDefinition("Rich.tgd"));
    EXPECT_EQ(original.TextDefinition(), read.TextDefinition());
    EXPECT_EQ(ItemsText(original), ItemsText(read));
    EXPECT_EQ(3, read.EdgeWidth());
    EXPECT_EQ(2, read.Padding());
    EXPECT_EQ(RGB(10, 20, 30), read.EdgeColor());
    EXPECT_EQ(RGB(0, 0, 128), read.DefaultTextColor());
    EXPECT_EQ(RGB(255, 255, 200), read.DefaultBackColor());
    ASSERT_EQ(5u, read.Fonts().size());
    EXPECT_EQ("ＭＳ 明朝", read.Fonts()[1].logFont.faceName);
    EXPECT_EQ(136, read.Fonts()[4].logFont.charset);
    EXPECT_DOUBLE_EQ(0.80, read.Fonts()[1].scale);
    EXPECT_DOUBLE_EQ(1.5, read.Fonts()[1].aspect);
    EXPECT_EQ(12, read.Rows());
    EXPECT_EQ(40, read.Cols());
    EXPECT_EQ("合計,金額", dynamic_cast<const CCDWText&>(read.Items().At(5)).Text());
}

TEST(DefinitionFile, TextFilesWithWindowsLineEnds) {
    InTempFolder folder;
    std::ofstream(folder.Path("tgd/Crlf.tgd"), std::ios::binary)
        << "[PARAM]\r\nrows = 3\r\ncols = 7\r\n\r\n[CMD]\r\nT x,1,1\r\n";
    CCRBase surface;
    ASSERT_TRUE(surface.ReadTextDefinition("Crlf.tgd"));
    EXPECT_EQ(3, surface.Rows());
    EXPECT_EQ(7, surface.Cols());
    EXPECT_EQ("T x,1,1\n", ItemsText(surface));
}

TEST(DefinitionFile, MissingFilesAndNamesChangeNothing) {
    InTempFolder folder;
    CCRBase surface;
    Prepare(surface);
    const std::string before = State(surface);
    EXPECT_FALSE(surface.ReadTextDefinition("Missing.tgd"));
    std::filesystem::create_directory(folder.Path("tgd/Folder.tgd"));
    EXPECT_FALSE(surface.ReadTextDefinition("Folder.tgd"));
    EXPECT_FALSE(surface.LoadFromPackage("A.tgd", folder.Path("missing.ggd")));
    CCRBase rich;
    MakeRich(rich);
    std::vector<unsigned char> package = Record(rich, "A.tgd");
    WriteFile(folder.Path("p.ggd"), package);
    EXPECT_FALSE(surface.LoadFromPackage("Z.tgd", folder.Path("p.ggd")));
    EXPECT_FALSE(surface.LoadFromPackage("", folder.Path("p.ggd")));
    WriteFile(folder.Path("empty.ggd"), {});
    EXPECT_FALSE(surface.LoadFromPackage("A.tgd", folder.Path("empty.ggd")));
    EXPECT_EQ(before, State(surface));
}

TEST(DefinitionFile, BinaryRecordLayout) {
    CCRBase surface;
    MakeRich(surface);
    const std::vector<unsigned char> record = Record(surface, "Rich.tgd");
    ASSERT_EQ(kHeader + size_t(surface.Items().StoredSize()), record.size());
    EXPECT_EQ("Rich.tgd", std::string(reinterpret_cast<const char*>(record.data())));
    EXPECT_EQ(2, Peek(record, 128, 4));
    EXPECT_EQ(12, Peek(record, 132, 4));
    EXPECT_EQ(40, Peek(record, 136, 4));
    EXPECT_EQ(4, Peek(record, 140, 4)) << "at most four fonts are stored";
    EXPECT_DOUBLE_EQ(0.80, std::bit_cast<double>(Peek(record, 152, 8)));
    EXPECT_EQ(134, record[179]);
    EXPECT_EQ("ＭＳ 明朝", std::string(reinterpret_cast<const char*>(&record[180 + 256])));
    EXPECT_EQ(RGB(10, 20, 30), COLORREF(Peek(record, 1204, 4)));
    EXPECT_EQ(3, Peek(record, 1208, 4));
    EXPECT_EQ(RGB(0, 0, 128), COLORREF(Peek(record, 1212, 4)));
    EXPECT_EQ(RGB(255, 255, 200), COLORREF(Peek(record, 1216, 4)));
    EXPECT_EQ(7, Peek(record, 1220, 4));
    EXPECT_EQ(surface.Items().StoredSize(), Peek(record, 1224, 8));

    CByteWriter out;
    EXPECT_FALSE(surface.WriteBinaryDefinition(out, std::string(128, 'n')));
    EXPECT_FALSE(surface.WriteBinaryDefinition(out, std::string("a\0b", 3)));
    EXPECT_TRUE(out.Data().empty());
    EXPECT_TRUE(surface.WriteBinaryDefinition(out, std::string(127, 'n')));
}

TEST(DefinitionFile, PackageRoundTripAndLookupByName) {
    InTempFolder folder;
    CCRBase a;
    MakeRich(a);
    a.Items().AddTextItem("odd", 0, 0);  // item data of a length no header lies on
    CCRBase b;
    ASSERT_TRUE(b.ApplyDefinitionLines(std::vector<std::string>{
        "[PARAM]", "rows = 3", "cols = 9", "padding = 5", "[CMD]", "BF 0,0,9,1,1,2,3"}));
    std::vector<unsigned char> package = Record(a, "A.tgd");
    Append(package, Record(b, "B.tgd"));
    WriteFile(folder.Path("Tokeiya.ggd"), package);

    CCRBase read;
    Prepare(read);
    ASSERT_TRUE(read.LoadFromPackage("B.tgd", folder.Path("Tokeiya.ggd")));
    EXPECT_EQ(b.TextDefinition(), read.TextDefinition());
    ASSERT_TRUE(read.LoadFromPackage("A.tgd", folder.Path("Tokeiya.ggd")));
    EXPECT_EQ(ItemsText(a), ItemsText(read));
    EXPECT_EQ(12, read.Rows());
    EXPECT_EQ(RGB(255, 255, 200), read.DefaultBackColor());
    ASSERT_EQ(4u, read.Fonts().size());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(a.Fonts()[i].logFont.faceName, read.Fonts()[i].logFont.faceName) << i;
        EXPECT_EQ(a.Fonts()[i].logFont.charset, read.Fonts()[i].logFont.charset) << i;
        EXPECT_EQ(a.Fonts()[i].scale, read.Fonts()[i].scale) << i;
        EXPECT_EQ(2.0, read.Fonts()[i].aspect) << "the aspect is not stored";
    }

    const std::string before = State(read);
    EXPECT_FALSE(read.LoadFromPackage("b.tgd", folder.Path("Tokeiya.ggd")));
    EXPECT_EQ(before, State(read));

    // The lookup skips by the header's length: one byte off loses the second record.
    Poke64(package, 1224, Peek(package, 1224, 8) + 1);
    EXPECT_FALSE(read.LoadFromPackageData(package, "B.tgd"));
    EXPECT_FALSE(read.LoadFromPackageData(package, "A.tgd")) << "its items end early";
    EXPECT_EQ(before, State(read));
}

TEST(DefinitionFile, TheProgramWidePackageServesWhenNoneIsGiven) {
    InTempFolder folder;
    CCRBase b;
    ASSERT_TRUE(
        b.ApplyDefinitionLines(std::vector<std::string>{"[PARAM]", "rows = 4", "cols = 4"}));
    WriteFile(folder.Path("Program.ggd"), Record(b, "B.tgd"));
    CByteWriter other;
    CCRBase rich;
    MakeRich(rich);
    ASSERT_TRUE(rich.WriteBinaryDefinition(other, "B.tgd"));
    WriteFile(folder.Path("default.ggd"), other.Data());

    ScopedAppContext context;
    CAppContext::Current().screenDefinitionFile = folder.Path("Program.ggd");
    CCRBase fromProgram;
    EXPECT_TRUE(fromProgram.LoadFromPackage("B.tgd"));
    CAppContext::Current().screenDefinitionFile.clear();
    CCRBase fromDefault;
    EXPECT_TRUE(fromDefault.LoadFromPackage("B.tgd", ""));
    EXPECT_EQ(4, fromProgram.Rows());
    EXPECT_EQ(12, fromDefault.Rows()) << "without a program-wide package, default.ggd";
}

TEST(DefinitionFile, DamagedPackagesAreRefusedAndChangeNothing) {
    CCRBase source;
    MakeRich(source);
    const std::vector<unsigned char> good = Record(source, "A.tgd");
    const size_t textItem = kHeader + 4 * 44 + 28;  // the caption 合計,金額
    struct Case {
        const char* name;
        std::vector<unsigned char> data;
    };
    auto patched = [&](auto patch) {
        std::vector<unsigned char> data = good;
        patch(data);
        return data;
    };
    std::vector<unsigned char> overrun = Record(source, "A.tgd");
    Poke32(overrun, 1220, 8);  // one item more than its data holds, the next record follows
    Append(overrun, Record(source, "B.tgd"));
    std::vector<unsigned char> longName = good;
    std::memset(longName.data(), 'n', 128);
    const Case cases[] = {
        {"item data shorter than the header says",
         patched([](auto& d) { Poke64(d, 1224, Peek(d, 1224, 8) + 1); })},
        {"negative item data length", patched([](auto& d) { Poke64(d, 1224, -1); })},
        {"huge item data length", patched([](auto& d) { Poke64(d, 1224, INT64_MAX); })},
        {"a billion items", patched([](auto& d) { Poke32(d, 1220, 1000000000); })},
        {"negative item count", patched([](auto& d) { Poke32(d, 1220, -1); })},
        {"unknown item kind", patched([](auto& d) { Poke32(d, kHeader, 7); })},
        {"text length 0", patched([&](auto& d) { Poke32(d, textItem + 24, 0); })},
        {"text length beyond the data",
         patched([&](auto& d) { Poke32(d, textItem + 24, 1 << 20); })},
        {"five fonts", patched([](auto& d) { Poke32(d, 140, 5); })},
        {"negative font count", patched([](auto& d) { Poke32(d, 140, -1); })},
        {"a billion rows", patched([](auto& d) { Poke32(d, 132, 1000000000); })},
        {"items reaching into the next record", overrun},
        {"a name without its NUL", longName},
    };
    for (const Case& c : cases) {
        CCRBase surface;
        Prepare(surface);
        const std::string before = State(surface);
        EXPECT_FALSE(surface.LoadFromPackageData(c.data, "A.tgd")) << c.name;
        EXPECT_FALSE(surface.LoadFromPackageData(c.data, std::string(128, 'n'))) << c.name;
        EXPECT_EQ(before, State(surface)) << c.name;
    }
    for (size_t length = 0; length < good.size(); ++length) {
        CCRBase surface;
        Prepare(surface);
        const std::string before = State(surface);
        EXPECT_FALSE(surface.LoadFromPackageData(std::span(good.data(), length), "A.tgd"))
            << "length " << length;
        EXPECT_EQ(before, State(surface)) << "length " << length;
    }
    CCRBase whole;
    EXPECT_TRUE(whole.LoadFromPackageData(good, "A.tgd"));
}

}  // namespace
}  // namespace tokeiya
