#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Cp932.hpp"
#include "platform/TextHelpers.hpp"
#include "platform/gdi/CPdfDevice.hpp"
#include "platform/gdi/PageSetupText.hpp"
#include "printing/CPrintCard.hpp"
#include "printing/CPrintSalary.hpp"
#include "printing/CPrintSetFile.hpp"
#include "printing/CSetPrintAdjastDialog.hpp"
#include "screens/salary/CCRWA_CalcuA.hpp"
#include "screens/timecard/CCRWA_CalcuB.hpp"
#include "shell/MainMenu.hpp"
#include "tests/support/SalaryRows.hpp"
#include "tests/ui/WorkSession.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {
namespace {

using namespace win;

// Text of a PDF file as pdftotext lays it out, in CP932, blanks removed: pdftotext spaces
// the cells' characters apart.
std::string PdfText(const std::string& path) {
    const std::string command = "pdftotext -layout '" + path + "' - 2>/dev/null";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            text.append(buffer, n);
        }
        pclose(pipe);
    }
    std::erase(text, ' ');
    return cp932::FromUtf8Dropping(text);
}

// A row of a surface, an empty cell as a blank, so that a single-byte character's position
// is its column.
std::string Row(const CCRBase& surface, int row) {
    std::string text;
    for (int col = 0; col < surface.Cols(); ++col) {
        const CCRCell& cell = *surface.CellAt(col, row);
        if (!cell.IsContinuation()) {
            text += cell.IsEmpty() ? std::string(" ") : std::string(cell.Chars());
        }
    }
    return text;
}

using test::SalaryRows;

// The reports' cells, laid out by the program's package; no printer needed.
class PrintReportTest : public ::testing::Test {
  protected:
    PrintReportTest() {
        m_context.Context().screenDefinitionFile = TOKEIYA_BINARY_DIR "/Tokeiya.ggd";
    }
    ScopedAppContext m_context;
};

TEST_F(PrintReportTest, SummaryPagesHoldTwentyRowsAndEndWithTheTotals) {
    struct Case {
        int rows;
        int pages;
        int totalsRow;  // on the last page
    } cases[] = {{45, 3, 7}, {20, 2, 2}, {21, 2, 3}, {1, 1, 3}};
    for (const Case& c : cases) {
        const std::vector<CSalary> rows = SalaryRows(c.rows);
        const CSalaryTotals totals = CSalaryTotals::Of(rows);
        CPrintSalary summary(nullptr, rows, totals, 2027, 3);
        ASSERT_EQ(113, summary.Cols());
        int page = 1;
        int pages = 0;
        for (int next = 1; next != -1; ++pages) {
            page = next;
            next = summary.FillSummaryPage(page);
            ASSERT_LE(pages, 10) << c.rows;
        }
        EXPECT_EQ(c.pages, pages) << c.rows << " rows";
        EXPECT_EQ(c.pages, summary.PageCount()) << c.rows << " rows";
        const std::string totalsLine = Row(summary, c.totalsRow);
        EXPECT_NE(std::string::npos, totalsLine.find("合  計")) << c.rows << ": " << totalsLine;
        EXPECT_EQ(72u, totalsLine.find(SalaryTotalsText(totals, RowStyle::Printed))) << c.rows;
        EXPECT_EQ(37u, totalsLine.find("合  計")) << c.rows;
        std::string number;
        summary.GetRowText(number, 0, 105, -1, true);
        EXPECT_EQ("Page-" + std::to_string(pages), number) << "ends a column before the edge";
        EXPECT_TRUE(summary.CellAt(112, 0)->IsEmpty());
    }
}

TEST_F(PrintReportTest, ASummaryPageMatchesItsGoldenTextWithNegativeAmountsSigned) {
    std::vector<CSalary> rows = SalaryRows(3);
    rows[1].fSalary = -1234;
    rows[1].nErr = 2;
    const CSalaryTotals totals = CSalaryTotals::Of(rows);
    CPrintSalary summary(nullptr, rows, totals, 2027, 3);
    EXPECT_EQ(-1, summary.FillSummaryPage(1));
    test::PaintStaticItems(summary);
    EXPECT_NE(std::string::npos, Row(summary, 3).find("-1,234")) << Row(summary, 3);
    EXPECT_TRUE(test::ScreenMatchesFile(
        summary, TOKEIYA_SOURCE_DIR "/tests/ui/golden/print_salary_march_2027.txt",
        {.cells = CRect{0, 0, 113, 6}}));
}

TEST_F(PrintReportTest, TheSummaryReachesThePdfAsText) {
    test::TempFolder folder;
    const std::string path = folder.Path() + "/summary.pdf";
    const std::vector<CSalary> rows = SalaryRows(25);
    const CSalaryTotals totals = CSalaryTotals::Of(rows);
    CPrintDC dc;
    dc.CreateFromDevice(std::make_unique<CPdfDevice>(
                            path, PageGeometryFromSettings("", PaperOrientation::Landscape)),
                        path);
    CPrintSalary summary(&dc, rows, totals, 2027, 3);
    ASSERT_TRUE(summary.PrintSummary()) << dc.LastError();
    EXPECT_EQ(2, dc.PagesEnded());
    struct stat info {};
    ASSERT_EQ(0, stat(path.c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 0777);
    const std::string text = PdfText(path);
    ASSERT_FALSE(text.empty()) << "pdftotext (poppler-utils) must be installed";
    EXPECT_NE(std::string::npos, text.find("2027年3月分給料"));
    EXPECT_NE(std::string::npos, text.find("Page-2"));
    EXPECT_NE(std::string::npos, text.find("営業user3420日21日167:041:35251,02412,345263,369"))
        << text;
    EXPECT_NE(std::string::npos, text.find("合計" + FormatNumber(totals.salary, 0))) << text;
}

TEST_F(PrintReportTest, APdfThatCannotBeWrittenLeavesNothing) {
    test::TempFolder folder;
    const std::string path = folder.Path() + "/missing/summary.pdf";
    CPrintDC dc;
    dc.CreateFromDevice(std::make_unique<CPdfDevice>(path, PageGeometry{}), path);
    const std::vector<CSalary> rows = SalaryRows(2);
    CPrintSalary summary(&dc, rows, CSalaryTotals::Of(rows), 2027, 3);
    EXPECT_FALSE(summary.PrintSummary());
    EXPECT_FALSE(dc.LastError().empty());
}

// --- Time cards, read from the database ---

class PrintCardTest : public test::WorkSession {
  protected:
    void Sql(const std::string& statement) {
        m_db.Connection().Database().ExecuteSQL(m_db.Connection().Dialect().Render(statement));
    }
    // User 1 (hanako) in a group closing on the 20th, with two days of February 2027 and a
    // pay row of March 2027.
    void MarchOfClosingDay20(bool withPay = true) {
        Sql("INSERT INTO [dbo].[Tユーザーグループ] ([idGroup],[strGroupName],[nCutoff]) VALUES "
            "(1,'営業',20)");
        const std::string columns =
            "INSERT INTO [dbo].[Tタイムカード] ([idTimeCard],[idUser],[timeFrom],[timeTo],"
            "[nLunchMin],[nWorkingMin],[fSalary],[nYear],[nMonth],[nDay]) VALUES ";
        Sql(columns +
            "(120270221,1,'2000-01-01 09:00:00','2000-01-01 18:00:00',60,480,8000,2027,2,21)");
        Sql(columns + "(120270301,1,'2000-01-01 08:30:00',NULL,60,0,0,2027,3,1)");
        if (withPay) {
            Sql("INSERT INTO [dbo].[T給料] ([idUser],[idGroup],[nWorkingMin],[nYear],[nMonth],"
                "[fSalary],[fOvertimePay],[nDays],[nErr]) VALUES (1,1,480,2027,3,8000,0,1,1)");
        }
    }
};

TEST_F(PrintCardTest, ThePeriodOfClosingDay20RunsFrom21FebruaryWithTheMonthOnItsFirstRows) {
    MarchOfClosingDay20();
    CPrintCard card(nullptr, &m_db.Connection(), 2027, 3);
    ASSERT_TRUE(card.FillCard(1));
    EXPECT_EQ(28, card.RowCount()) << "February 2027 has 28 days";
    EXPECT_EQ(0, card.FirstWeekday()) << "21 February 2027 is a Sunday";
    test::PaintStaticItems(card);
    EXPECT_TRUE(test::ScreenMatchesFile(
        card, TOKEIYA_SOURCE_DIR "/tests/ui/golden/print_card_march_2027.txt",
        {.cells = CRect{0, 0, 85, 34}}));
    const auto starts = [&](int row, const std::string& text) {
        return Row(card, row).substr(0, text.size()) == text;
    };
    EXPECT_TRUE(starts(2, " 2 21 日 09:00  18:00  60")) << "the month on the first row";
    EXPECT_TRUE(starts(3, "   22 月      ")) << "and on no other";
    // An unset departure is five blanks: the columns after it stay where they are.
    EXPECT_TRUE(starts(10, " 3  1 月 08:30         60")) << "and on 1 March";
    EXPECT_EQ(std::string::npos, Row(card, 30).find("日")) << "28 rows only";
}

TEST_F(PrintCardTest, AUserWithoutAPayRowOrUnknownPrintsNoPage) {
    MarchOfClosingDay20(false);
    CPrintCard card(nullptr, &m_db.Connection(), 2027, 3);
    EXPECT_FALSE(card.FillCard(1)) << "no pay row";
    EXPECT_FALSE(card.FillCard(99)) << "no such user";
    EXPECT_FALSE(CPrintCard(nullptr, nullptr, 2027, 3).FillCard(1)) << "no database";
}

// --- The screens' keys and the menu ---

class PrintKeysTest : public PrintCardTest {
  protected:
    PrintKeysTest() {
        FixClock(2027, 4, 10, 10, 0);
        m_dialogs.m_printers = true;
        m_dialogs.m_printing.m_unexpected = m_dialogs.m_unexpected;
        PageGeometry sheet;
        m_dialogs.m_printing.AddPrinter("office", sheet, m_folder.Path());
    }
    void OpenList() {
        MarchOfClosingDay20();
        Start("hanako", "pw");
        View().Work().year = 2027;
        View().Work().month = 3;
        ASSERT_TRUE(View().SetScreen(ScreenId::SalaryList));
        Window().Pump();
    }
    void StoreSetting(const char* name) {
        CPrintSetRecord record;
        record.SetName(name);
        record.device = "office";
        std::string reason;
        ASSERT_TRUE(CPrintSetFile().Store(record, reason)) << reason;
    }
    CFunctionMenu& Bar() { return *dynamic_cast<CCRWA_Tokeiya&>(*View().Screen()).FunctionMenu(); }
};

TEST_F(PrintKeysTest, KeysElevenAndTwelvePrintOnTheStoredPrinters) {
    StoreSetting(CPrintSetFile::kSalary);
    OpenList();
    EXPECT_EQ("給与一覧印刷", Bar().GetLabel(0, 11));
    EXPECT_EQ("カード印刷", Bar().GetLabel(0, 12));
    Key(VK_F1 + 10);
    EXPECT_EQ((std::vector<std::string>{"給料集計表を印刷しました。"}), m_dialogs.m_messages);
    ASSERT_EQ(1u, m_dialogs.m_printing.m_printed.size());
    EXPECT_NE(std::string::npos, PdfText(m_dialogs.m_printing.m_printed[0]).find("営業hanako"));
    EXPECT_EQ(1u, m_dialogs.m_busyNotices.size()) << "the pages are drawn under the wait window";

    // The cards were never set up: the setup comes first, and printing follows its OK.
    m_dialogs.m_printing.QueueSetup([](PrinterSetup& setup) {
        setup.device = "office";
        return true;
    });
    Key(VK_F1 + 11);
    EXPECT_EQ((std::vector<std::string>{"プリンタ設定 カード"}),
              m_dialogs.m_printing.m_setupTitles);
    EXPECT_EQ("タイムカードを印刷しました。", m_dialogs.m_messages.back());
    ASSERT_EQ(2u, m_dialogs.m_printing.m_printed.size());
    EXPECT_NE(std::string::npos,
              PdfText(m_dialogs.m_printing.m_printed[1]).find("2027年3月タイムカード(hanako)"));
}

TEST_F(PrintKeysTest, AMissingPrinterIsAnInitialisationErrorAndACancelledSetupPrintsNothing) {
    StoreSetting(CPrintSetFile::kSalary);
    OpenList();
    m_dialogs.m_printing.RemovePrinter("office");
    Key(VK_F1 + 10);
    ASSERT_EQ(1u, m_dialogs.m_messages.size());
    EXPECT_EQ(0u, m_dialogs.m_messages[0].find("プリンタ初期化エラー"));
    m_dialogs.m_printing.QueueSetup([](PrinterSetup&) { return false; });
    Key(VK_F1 + 11);
    EXPECT_EQ(1u, m_dialogs.m_messages.size()) << "a cancelled setup is the user's choice";
    EXPECT_TRUE(m_dialogs.m_printing.m_printed.empty());
}

TEST_F(PrintKeysTest, ShiftShowsThePdfLabelsAndSavesTheReportsAsPrivateFiles) {
    OpenList();
    Window().KeyDown(VK_SHIFT, 0);
    Window().Pump();
    EXPECT_EQ(1, Bar().LabelSet());
    EXPECT_EQ("給与一覧PDF", Bar().GetLabel(1, 11));
    Window().KeyUp(VK_SHIFT, 0);
    Window().Pump();
    EXPECT_EQ(0, Bar().LabelSet());

    const std::string path = m_folder.Path() + "/out/summary.pdf";
    ASSERT_EQ(0, g_mkdir_with_parents((m_folder.Path() + "/out").c_str(), 0700));
    m_dialogs.QueueSaveFile([&](std::string& proposed) {
        EXPECT_NE(std::string::npos, proposed.find("2027年03月全員給料集計.pdf"));
        proposed = path;
        return true;
    });
    Window().Press(VK_F1 + 10, kShift);
    Window().Pump();
    EXPECT_EQ("給料集計表を印刷しました。", m_dialogs.m_messages.back());
    struct stat info {};
    ASSERT_EQ(0, stat(path.c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 0777);
    EXPECT_EQ(m_folder.Path() + "/out/", m_profile.GetProfileString("FILE", "PdfFolder", ""));
    EXPECT_TRUE(m_dialogs.m_printing.m_printed.empty()) << "no printer involved";
}

TEST_F(PrintKeysTest, TheTimeCardPrintsItsOwnCard) {
    StoreSetting(CPrintSetFile::kCard);
    OpenList();
    Key(VK_RETURN);
    ASSERT_EQ(ScreenId::TimeCard, View().CurrentScreen());
    EXPECT_EQ("カード印刷", Bar().GetLabel(0, 12));
    Key(VK_DOWN, 3);
    Key(VK_F1 + 11);
    EXPECT_EQ("タイムカードを印刷しました。", m_dialogs.m_messages.back());
    ASSERT_EQ(1u, m_dialogs.m_printing.m_printed.size());
    const std::string text = PdfText(m_dialogs.m_printing.m_printed[0]);
    EXPECT_NE(std::string::npos, text.find("(hanako)")) << text;
    EXPECT_EQ(0, dynamic_cast<CCRWA_CalcuB&>(*View().Screen()).CursorRow());
}

TEST_F(PrintKeysTest, TheMenuSetsUpEachPrinterWithItsAdjustment) {
    Start("hanako", "pw");
    EXPECT_TRUE(Window().MenuState(command::kPrinterSalary).enabled) << "level 3";
    m_dialogs.m_printing.QueueSetup([](PrinterSetup& setup) {
        setup.device = "office";
        return true;
    });
    m_dialogs.QueueDialog([](CScriptedDialog& dialog) {
        dialog.Type(CSetPrintAdjastDialog::kAdjustX, "12");
        dialog.PressOk();
    });
    Window().ChooseCommand(command::kPrinterCard);
    CPrintSetRecord stored;
    ASSERT_TRUE(CPrintSetFile().Find(CPrintSetFile::kCard, stored));
    EXPECT_EQ("office", stored.device);
    EXPECT_EQ(12, stored.adjustX);
}

}  // namespace
}  // namespace tokeiya
