#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cairo.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/AppContext.hpp"
#include "platform/gdi/PageSetupText.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "printing/CCRPrinter.hpp"
#include "printing/CPrintDC.hpp"
#include "printing/CPrintSetFile.hpp"
#include "printing/CSetPrintAdjastDialog.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

// A printer whose sheet and hardware margins a test chooses; its documents are recorded
// and thrown away.
class FakePrinter : public IPrinterDevice {
  public:
    explicit FakePrinter(const PageGeometry& geometry) : m_geometry(geometry) {}
    const PageGeometry& Geometry() const override { return m_geometry; }
    cairo_surface_t* StartDoc(const std::string&, std::string&) override {
        m_surface.reset(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr));
        return m_surface.get();
    }
    bool EndDoc(std::string&) override { return true; }
    void AbortDoc() override {}

  private:
    PageGeometry m_geometry;
    gdi::SurfacePtr m_surface;
};

// A sheet of 1000 x 1400 device units at 72 dpi (one unit a point), 100 units unprintable
// on each side.
PageGeometry HardMarginSheet(int dpi = 72) {
    PageGeometry sheet;
    sheet.paperWidth = 1000;
    sheet.paperHeight = 1400;
    sheet.hardLeft = sheet.hardTop = sheet.hardRight = sheet.hardBottom = 100;
    sheet.dotsPerInch = dpi;
    return sheet;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

long FileSize(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : -1;
}

TEST(PrintUnits, LengthsBecomeDotsAtTheResolution) {
    struct Case {
        int mode;
        int length;
        int dpi;
        int expected;
    } cases[] = {
        {CCRPrinter::kTenthsMm, 150, 600, 354},  // trunc(150 / 2.54 x 6 + 0.5)
        {CCRPrinter::kTenthsMm, 254, 300, 300},
        {CCRPrinter::kTenthsMm, 150, 0, 150},  // no resolution: device units as given
        {CCRPrinter::kHundredthsInch, 150, 600, 900},
        {CCRPrinter::kHundredthsInch, 150, -3, 150},  // a negative quality code
        {1, 150, 600, 150},                           // any other mode counts dots
    };
    for (const Case& c : cases) {
        CPrintDC dc;
        PageGeometry sheet;
        sheet.dotsPerInch = c.dpi;
        dc.CreateFromDevice(std::make_unique<FakePrinter>(sheet), "fake");
        CCRPrinter printer(&dc);
        printer.SetUnitMode(c.mode);
        EXPECT_EQ(c.expected, printer.ToDevice(c.length))
            << "mode " << c.mode << ", " << c.length << " at " << c.dpi << " dpi";
    }
    EXPECT_EQ(150, CCRPrinter(nullptr).ToDevice(150)) << "no printer, no resolution";
}

TEST(PrintableRect, MarginsAreClampedToTheHardwareAndCountFromThePrintableCorner) {
    CPrintDC dc;
    CRect out;
    EXPECT_FALSE(dc.GetPrintableRect(out, 0, 0, 0, 0, true)) << "no device";
    EXPECT_FALSE(dc.GetPageRect(out));
    dc.CreateFromDevice(std::make_unique<FakePrinter>(HardMarginSheet()), "fake");
    ASSERT_TRUE(dc.GetPageRect(out));
    EXPECT_EQ((CRect{0, 0, 1000, 1400}), out);
    struct Case {
        int margin;
        bool clamp;
        CRect expected;
    } cases[] = {
        {50, true, {0, 0, 800, 1200}},      // inside the hardware margin: its edge
        {354, true, {254, 254, 546, 946}},  // beyond it: the margin, from the printable corner
        {50, false, {0, -50, 850, 1250}},   // unclamped: left stops at 0, top does not
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(dc.GetPrintableRect(out, c.margin, c.margin, c.margin, c.margin, c.clamp));
        EXPECT_EQ(c.expected, out) << "margin " << c.margin << (c.clamp ? " clamped" : "");
    }
}

TEST(CCRPrinter, MarginsSpreadTheGridOverThePrintableAreaAndClearIt) {
    CPrintDC dc;
    dc.CreateFromDevice(std::make_unique<FakePrinter>(HardMarginSheet(600)), "fake");
    CCRPrinter printer(&dc);
    EXPECT_TRUE(printer.HoldRedraw());
    ASSERT_TRUE(printer.SetGridSize(80, 40));
    ASSERT_EQ(5, printer.PutText("Page1", 0, 0, true));
    printer.SetMargins(150, 150, 150, 150, true);
    // 1000 x 1400 points at 600 dpi is 8333 x 11667 dots, 833 of them unprintable at each
    // side: wider than the 354 dots of 15 mm.
    EXPECT_EQ((CRect{0, 0, 8333 - 833 - 833, 11667 - 833 - 833}), printer.GetRect())
        << "the hardware margin is wider than 15 mm here";
    EXPECT_EQ(80, printer.Cols());
    EXPECT_DOUBLE_EQ((8333 - 833 - 833) / 80.0, printer.CellWidth());
    std::string text;
    printer.GetRowText(text, 0, 0, -1, true);
    EXPECT_EQ("", text) << "new margins give a fresh grid";
}

TEST(CPrintDC, TheAdjustmentMovesThePrintLeftAndUp) {
    CPrintDC dc;
    dc.CreateFromDevice(std::make_unique<FakePrinter>(HardMarginSheet(600)), "fake");
    dc.SetOffsets(100, -50);  // 10 mm left, 5 mm down
    EXPECT_EQ(236, dc.OffsetX());
    EXPECT_EQ(-117, dc.OffsetY()) << "trunc(-118.1 + 0.5)";
    ASSERT_TRUE(dc.StartDoc("test"));
    ASSERT_TRUE(dc.StartPage());
    // The printer's origin lies at the hardware margin (100 pt); the adjustment moves it.
    double x = 0;
    double y = 0;
    cairo_user_to_device(dc.Cairo(), &x, &y);
    EXPECT_NEAR(100 - 236 * 72.0 / 600, x, 0.2);
    EXPECT_NEAR(100 + 117 * 72.0 / 600, y, 0.2);
    EXPECT_TRUE(dc.EndPage());
    EXPECT_TRUE(dc.EndDoc());
    EXPECT_EQ(1, dc.PagesEnded());
    EXPECT_FALSE(dc.EndPage()) << "out of order";
}

TEST(PageSetupText, TheStoredPaperOrTheReportsOwnDefault) {
    const PageGeometry none = PageGeometryFromSettings("", PaperOrientation::Landscape);
    EXPECT_NEAR(841.89, none.paperWidth, 0.01) << "A4 landscape";
    EXPECT_NEAR(595.28, none.paperHeight, 0.01);
    EXPECT_EQ(300, none.dotsPerInch);
    const PageGeometry b5 = PageGeometryFromSettings(
        "[Page Setup]\nWidth=182\nHeight=257\nOrientation=portrait\n\n[Print Settings]\n"
        "resolution=600\n",
        PaperOrientation::Landscape);
    EXPECT_NEAR(182 * 72 / 25.4, b5.paperWidth, 0.01) << "the stored orientation wins";
    EXPECT_EQ(600, b5.dotsPerInch);
    const PageGeometry damaged =
        PageGeometryFromSettings("[Page Setup]\nWidth=-5\nHeight=\x81", PaperOrientation::Portrait);
    EXPECT_NEAR(595.28, damaged.paperWidth, 0.01);
}

// --- The print settings file ---

class PrintSetFileTest : public ::testing::Test {
  protected:
    std::string Path() const { return m_folder.Path() + "/config/Tokeiya.pst"; }
    CPrintSetRecord Record(const std::string& name, int x = 0) {
        CPrintSetRecord record;
        record.SetName(name);
        record.SetPrinter(PrinterSetup{"drv", "office", "port", "[Page Setup]\nWidth=210\n"});
        record.adjustX = x;
        return record;
    }
    void Write(const std::string& bytes) {
        std::ofstream out(Path(), std::ios::binary);
        out << bytes;
    }
    static std::string Int(int v) {
        const auto u = static_cast<unsigned>(v);
        return std::string{static_cast<char>(u), static_cast<char>(u >> 8),
                           static_cast<char>(u >> 16), static_cast<char>(u >> 24)};
    }
    static std::string Bytes(const CPrintSetRecord& record) {
        const auto bytes = record.ToBytes();
        return std::string(bytes.begin(), bytes.end());
    }

    test::TempFolder m_folder;
};

TEST_F(PrintSetFileTest, SettingsKeepTheirSlotsAndANewOneIsAppended) {
    {
        CPrintSetFile file(Path(), "/nonexistent");
        CPrintSetRecord found;
        EXPECT_FALSE(file.Find("カード", found));
        EXPECT_EQ(-1, found.slot);
    }
    EXPECT_EQ(4, FileSize(Path())) << "a fresh file holds its count only";
    struct stat info {};
    ASSERT_EQ(0, stat(Path().c_str(), &info));
    EXPECT_EQ(0600, info.st_mode & 0777);

    CPrintSetFile file(Path(), "/nonexistent");
    std::string reason;
    CPrintSetRecord card = Record("カード", 5);
    ASSERT_TRUE(file.Store(card, reason));
    EXPECT_EQ(0, card.slot);
    CPrintSetRecord salary = Record("給料集計");
    ASSERT_TRUE(file.Store(salary, reason));
    EXPECT_EQ(1, salary.slot);
    EXPECT_EQ(4 + 2 * 2636, FileSize(Path()));

    CPrintSetRecord again;
    ASSERT_TRUE(file.Find("カード", again));
    again.adjustX = -20;
    ASSERT_TRUE(file.Store(again, reason));
    EXPECT_EQ(0, again.slot) << "rewritten in place";
    EXPECT_EQ(4 + 2 * 2636, FileSize(Path()));

    CPrintSetFile reopened(Path(), "/nonexistent");
    EXPECT_EQ(2, reopened.Count());
    CPrintSetRecord read;
    ASSERT_TRUE(reopened.Find("カード", read));
    EXPECT_EQ(-20, read.adjustX);
    EXPECT_EQ("office", read.device);
    EXPECT_EQ("[Page Setup]\nWidth=210\n", read.settings);
    EXPECT_FALSE(reopened.Find("カー", read)) << "names match whole";
    const std::string bytes = ReadFile(Path());
    EXPECT_EQ(Int(2), bytes.substr(0, 4));
    EXPECT_EQ(Int(1), bytes.substr(4 + 2636, 4)) << "slot index of the second record";
}

TEST_F(PrintSetFileTest, WhatDoesNotFitIsCutWhole) {
    CPrintSetRecord record;
    record.SetName("給料集計給料集計給料集計給料集計");
    EXPECT_EQ(30u, record.name.size()) << "31 bytes would split a character";
    std::string settings;
    for (int i = 0; settings.size() < 3000; ++i) {
        settings += "key" + std::to_string(i) + "=あいうえお\n";
    }
    record.SetPrinter(
        PrinterSetup{std::string(300, 'd'), "プリンタ" + std::string(200, 'p'), "", settings});
    EXPECT_EQ(127u, record.driver.size());
    EXPECT_EQ(127u, record.device.size());
    ASSERT_LE(record.settings.size(), CPrintSetRecord::kSettingsBytes);
    EXPECT_GT(record.settings.size(), CPrintSetRecord::kSettingsBytes - 40);
    EXPECT_EQ('\n', record.settings.back()) << "cut after a whole line";
    EXPECT_EQ(settings.substr(0, record.settings.size()), record.settings);
    const CPrintSetRecord back = CPrintSetRecord::FromBytes(record.ToBytes());
    EXPECT_EQ(record.settings, back.settings);
    EXPECT_EQ(record.name, back.name);
    EXPECT_EQ(std::string(), WholeLines("no line end at all, and too long", 10));
}

TEST_F(PrintSetFileTest, ADamagedFileIsReadAsFarAsItIsWhole) {
    ASSERT_EQ(0, g_mkdir_with_parents((m_folder.Path() + "/config").c_str(), 0700));
    std::string unterminated = Bytes(Record("x"));
    std::memset(unterminated.data() + 4, 'N', 32);  // a name filling its 32 bytes, no NUL
    struct Case {
        const char* what;
        std::string file;
        int whole;
        const char* findable;
    } cases[] = {
        {"a count beyond its records", Int(5) + Bytes(Record("カード")), 1, "カード"},
        {"a short last record",
         Int(2) + Bytes(Record("カード")) + Bytes(Record("給料")).substr(0, 900), 1, "カード"},
        {"a name without its NUL", Int(1) + unterminated, 1, "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"},
        {"a negative count", Int(-3) + Bytes(Record("カード")), 0, nullptr},
        {"two bytes", std::string("\x01\x00", 2), 0, nullptr},
    };
    for (const Case& c : cases) {
        Write(c.file);
        CPrintSetFile file(Path(), "/nonexistent");
        EXPECT_EQ(c.whole, file.Count()) << c.what;
        CPrintSetRecord found;
        if (c.findable != nullptr) {
            EXPECT_TRUE(file.Find(c.findable, found)) << c.what;
        }
        EXPECT_FALSE(file.Find("給料", found)) << c.what;
        // A new setting goes after the whole records, and the file is whole again.
        std::string reason;
        CPrintSetRecord added = Record("新規");
        ASSERT_TRUE(file.Store(added, reason)) << c.what;
        EXPECT_EQ(c.whole, added.slot) << c.what;
        CPrintSetFile reread(Path(), "/nonexistent");
        EXPECT_EQ(c.whole + 1, reread.Count()) << c.what;
        EXPECT_TRUE(reread.Find("新規", found)) << c.what;
    }
}

TEST_F(PrintSetFileTest, AFileThatCannotBeWrittenIsToldAndAFormerOneIsTakenOver) {
    Write("");  // the folder "config" does not exist: no file is made
    const std::string blocked = m_folder.Path() + "/plain";
    std::ofstream(blocked) << "a file, not a folder";
    CPrintSetFile nowhere(blocked + "/Tokeiya.pst", "/nonexistent");
    CPrintSetRecord record = Record("カード");
    std::string reason;
    EXPECT_FALSE(nowhere.Store(record, reason));
    EXPECT_FALSE(reason.empty());

    const std::string former = m_folder.Path() + "/start/Tokeiya.pst";
    ASSERT_EQ(0, g_mkdir_with_parents((m_folder.Path() + "/start").c_str(), 0700));
    std::ofstream(former, std::ios::binary) << Int(1) + Bytes(Record("カード", 7));
    const std::string moved = m_folder.Path() + "/new/Tokeiya.pst";
    CPrintSetFile file(moved, former);
    CPrintSetRecord found;
    ASSERT_TRUE(file.Find("カード", found));
    EXPECT_EQ(7, found.adjustX);
    std::ofstream(former, std::ios::binary) << Int(0);
    CPrintSetFile later(moved, former);
    EXPECT_EQ(1, later.Count()) << "taken over once; the new file is the one read";
}

// --- Setting up and preparing a printer ---

class PrinterSetupTest : public PrintSetFileTest {
  protected:
    PrinterSetupTest() {
        m_dialogs.m_printers = true;
        m_dialogs.m_unexpected = [](const std::string& what) { ADD_FAILURE() << what; };
        m_dialogs.m_printing.m_unexpected = m_dialogs.m_unexpected;
        m_dialogs.m_printing.AddPrinter("office", HardMarginSheet(600), m_folder.Path());
    }
    void ChooseOffice() {
        m_dialogs.m_printing.QueueSetup([](PrinterSetup& setup) {
            setup = PrinterSetup{"Generic", "office", "room 2", "[Page Setup]\nWidth=210\n"};
            return true;
        });
    }

    CScriptedDialogs m_dialogs;
};

TEST_F(PrinterSetupTest, TheSetupStoresPrinterAdjustmentAndPaperCheckOnlyWhenConfirmed) {
    CPrintSetFile file(Path(), "/nonexistent");
    m_dialogs.m_printing.QueueSetup([](PrinterSetup&) { return false; });
    m_dialogs.QueueDialog([](CScriptedDialog& dialog) { dialog.PressCancel(); });
    EXPECT_FALSE(file.SetupPrinter(m_dialogs, CPrintSetFile::kSalary, true));
    EXPECT_EQ(0, file.Count()) << "cancelled: nothing stored";

    ChooseOffice();
    m_dialogs.QueueDialog([](CScriptedDialog& dialog) {
        EXPECT_EQ("プリントオプション", dialog.Model().Caption());
        dialog.Type(CSetPrintAdjastDialog::kAdjustX, "-15");
        dialog.Type(CSetPrintAdjastDialog::kAdjustY, "20");
        dialog.Check(CSetPrintAdjastDialog::kPaperCheck, true);
        dialog.PressOk();
    });
    EXPECT_TRUE(file.SetupPrinter(m_dialogs, CPrintSetFile::kSalary, true));
    ASSERT_EQ((std::vector<std::string>{"プリンタ設定 給料集計", "プリンタ設定 給料集計"}),
              m_dialogs.m_printing.m_setupTitles);
    const CScriptedDialogs::ShownDialog shown = m_dialogs.Shown("プリントオプション").back();
    EXPECT_EQ("プリント位置の微調整をします。", shown.Field(CSetPrintAdjastDialog::kIntro).text);
    EXPECT_EQ("X方向微調整(左へ)", shown.Field(CSetPrintAdjastDialog::kAdjustX).label);

    CPrintDC dc;
    std::string reason;
    ASSERT_TRUE(file.PreparePrinter(m_dialogs, CPrintSetFile::kSalary, dc, "", reason)) << reason;
    EXPECT_EQ((std::vector<std::string>{"プリンタに用紙(給料集計)をセットしてください。"}),
              m_dialogs.m_messages);
    EXPECT_EQ("office", dc.DeviceName());
    EXPECT_EQ(-34, dc.OffsetX()) << "trunc(-15 / 2.54 x 6 + 0.5)";
    EXPECT_EQ(47, dc.OffsetY());

    CPrintDC never;
    EXPECT_FALSE(file.PreparePrinter(m_dialogs, CPrintSetFile::kCard, never, "", reason));
    m_dialogs.m_printing.RemovePrinter("office");
    CPrintDC gone;
    m_dialogs.QueueMessageAnswer(MessageAnswer::Ok);
    EXPECT_FALSE(file.PreparePrinter(m_dialogs, CPrintSetFile::kSalary, gone, "A4", reason));
    EXPECT_EQ("プリンタに用紙(A4)をセットしてください。", m_dialogs.m_messages.back());
    EXPECT_NE(std::string::npos, reason.find("office")) << "the desktop's reason";
}

TEST_F(PrinterSetupTest, ADesktopWithoutPrintersIsAnInitialisationError) {
    m_dialogs.m_printers = false;
    CPrintSetFile file(Path(), "/nonexistent");
    EXPECT_FALSE(file.SetupPrinter(m_dialogs, CPrintSetFile::kCard, false));
    EXPECT_EQ((std::vector<std::string>{"プリンタ初期化エラー"}), m_dialogs.m_messages);
    EXPECT_EQ(0, file.Count());
}

}  // namespace
}  // namespace tokeiya
