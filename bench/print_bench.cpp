// The printed reports drawn into PDF files, as keys 11 and 12 of the salary list draw them
// for a printer (the same pages through the same renderer), on A4 at 300 dpi.
//
// BM_PrintSalarySummary: the pay summary of 200 users (10 pages of rows and the page of the
// totals), from the layout's load to the finished file.
// BM_PrintTimeCards: the time cards of 50 users read from the embedded database (20 days
// each), a page each, to the finished file.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "data/CConnection.hpp"
#include "platform/AppContext.hpp"
#include "platform/gdi/CPdfDevice.hpp"
#include "platform/gdi/PageSetupText.hpp"
#include "printing/CPrintCard.hpp"
#include "printing/CPrintSalary.hpp"
#include "tests/support/SalaryRows.hpp"
#include "tests/support/TempFolder.hpp"
#include "tests/support/TestDatabase.hpp"

namespace {

using namespace tokeiya;

double FileBytes(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) : 0;
}

void PdfOn(CPrintDC& dc, const std::string& path, PaperOrientation orientation) {
    dc.CreateFromDevice(
        std::make_unique<CPdfDevice>(path, PageGeometryFromSettings("", orientation)), path);
}

void BM_PrintSalarySummary(benchmark::State& state) {
    ScopedAppContext context;
    context.Context().screenDefinitionFile = TOKEIYA_BINARY_DIR "/Tokeiya.ggd";
    test::TempFolder folder;
    const std::vector<CSalary> rows = test::SalaryRows(200);
    const CSalaryTotals totals = CSalaryTotals::Of(rows);
    const std::string path = folder.Path() + "/summary.pdf";
    int pages = 0;
    for (auto _ : state) {
        CPrintDC dc;
        PdfOn(dc, path, PaperOrientation::Landscape);
        CPrintSalary summary(&dc, rows, totals, 2024, 3);
        if (!summary.PrintSummary()) {
            state.SkipWithError("the summary was not written");
            break;
        }
        pages = dc.PagesEnded();
    }
    state.counters["pages"] = pages;
    state.counters["bytes"] = FileBytes(path);
}
BENCHMARK(BM_PrintSalarySummary)->Unit(benchmark::kMillisecond);

void BM_PrintTimeCards(benchmark::State& state) {
    ScopedAppContext context;
    context.Context().screenDefinitionFile = TOKEIYA_BINARY_DIR "/Tokeiya.ggd";
    test::TempFolder folder;
    test::TestDatabase db(test::Engine::SQLite);
    CDatabase& database = db.Connection().Database();
    const SqlDialect& d = db.Connection().Dialect();
    {
        CTransaction transaction(database);
        database.ExecuteSQL(
            d.Render("INSERT INTO [dbo].[Tユーザーグループ] ([idGroup],"
                     "[strGroupName],[nCutoff]) VALUES (1,'営業',20)"));
        for (int user = 1; user <= 50; ++user) {
            database.ExecuteSQL(d.Render("INSERT INTO [dbo].[Tユーザー] ([idUser],[strUserName],"
                                         "[idGroup],[nLevel]) VALUES (?,?,1,1)"),
                                {DbValue(user), DbValue("社員" + std::to_string(user))});
            database.ExecuteSQL(d.Render("INSERT INTO [dbo].[T給料] ([idUser],[idGroup],"
                                         "[nWorkingMin],[nYear],[nMonth],[fSalary],[nDays]) "
                                         "VALUES (?,1,9600,2024,3,160000,20)"),
                                {DbValue(user)});
            for (int day = 1; day <= 20; ++day) {
                database.ExecuteSQL(
                    d.Render("INSERT INTO [dbo].[Tタイムカード] ([idTimeCard],[idUser],[timeFrom],"
                             "[timeTo],[nLunchMin],[nWorkingMin],[fSalary],[nYear],[nMonth],"
                             "[nDay]) VALUES (?,?,'2000-01-01 09:00:00','2000-01-01 18:00:00',60,"
                             "480,8000,2024,3,?)"),
                    {DbValue(std::int64_t{user} * 100000000 + 20240300 + day), DbValue(user),
                     DbValue(day)});
            }
        }
        transaction.Commit();
    }
    const std::string path = folder.Path() + "/cards.pdf";
    int pages = 0;
    for (auto _ : state) {
        CPrintDC dc;
        PdfOn(dc, path, PaperOrientation::Portrait);
        CPrintCard cards(&dc, &db.Connection(), 2024, 3);
        dc.StartDoc(CPrintCard::kDocumentName);
        for (int user = 1; user <= 50; ++user) {
            cards.PrintCard(user);
        }
        pages = dc.PagesEnded();
        if (!dc.EndDoc()) {
            state.SkipWithError("the cards were not written");
            break;
        }
    }
    state.counters["pages"] = pages;
    state.counters["bytes"] = FileBytes(path);
}
BENCHMARK(BM_PrintTimeCards)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
