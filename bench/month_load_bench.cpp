// Loading what the month schedule shows for one month with 1,000 schedule rows in it: the
// day texts, the user's time cards and the newest update. Budget: under 10 ms.
#include <benchmark/benchmark.h>
#include <array>
#include <string>

#include "data/CConnection.hpp"
#include "data/CDaySchedule.hpp"
#include "data/CQDaySchedule.hpp"
#include "data/CTSchedule.hpp"
#include "data/CTTimeCard.hpp"
#include "data/TimeValue.hpp"
#include "tests/support/TestDatabase.hpp"

namespace {

void Fill(tokeiya::CConnection& connection) {
    using namespace tokeiya;
    CDatabase& db = connection.Database();
    const SqlDialect& d = connection.Dialect();
    CTransaction transaction(db);
    std::string insert = d.Render(
        "INSERT INTO [dbo].[T日程] ([idUser],[dateSchedule],[strSubject],[nLevel],[timeUpdate])"
        " VALUES (?,?,?,?,?)");
    for (int i = 0; i < 1000; ++i) {
        int day = i % 31 + 1;
        db.ExecuteSQL(insert, {DbValue(i % 3 == 0 ? 0 : 1),
                               d.DateTimeParam(CTime(2024, 3, day, 9 + i % 8, 0, 0)),
                               DbValue("会議" + std::to_string(i)), DbValue(1 + i % 5),
                               d.DateTimeParam(CTime(2024, 3, 1, 0, 0, i % 60))});
    }
    for (int day = 1; day <= 31; ++day) {
        CTimeCard card = CTimeCard::NewDay(1, 2024, 3, day);
        card.timeFrom = TimeOfDay(9, 0);
        CTTimeCard(connection).StoreCard(card);
    }
    transaction.Commit();
}

void BM_LoadMonthSchedule(benchmark::State& state) {
    using namespace tokeiya;
    test::TestDatabase database(test::Engine::SQLite);
    CConnection& connection = database.Connection();
    Fill(connection);
    for (auto _ : state) {
        std::array<CDaySchedule, 31> days{};
        for (int i = 0; i < 31; ++i) {
            days[static_cast<size_t>(i)].Reset(i);
        }
        CQDaySchedule(connection).LoadMonthTexts(1, 2024, 3, days);
        CTTimeCard(connection).LoadMonthCards(1, 2024, 3, days);
        CTime latest = CTSchedule(connection, CTSchedule::Mode::Table).LatestUpdateOfMonth(2024, 3);
        benchmark::DoNotOptimize(latest);
        benchmark::DoNotOptimize(days);
    }
}
BENCHMARK(BM_LoadMonthSchedule)->Unit(benchmark::kMillisecond);

// The three parts one by one, to see where the time goes.
void BM_Part(benchmark::State& state) {
    using namespace tokeiya;
    test::TestDatabase database(test::Engine::SQLite);
    CConnection& connection = database.Connection();
    Fill(connection);
    for (auto _ : state) {
        std::array<CDaySchedule, 31> days{};
        switch (state.range(0)) {
            case 0:
                CQDaySchedule(connection).LoadMonthTexts(1, 2024, 3, days);
                break;
            case 1:
                CTTimeCard(connection).LoadMonthCards(1, 2024, 3, days);
                break;
            default:
                benchmark::DoNotOptimize(
                    CTSchedule(connection, CTSchedule::Mode::Table).LatestUpdateOfMonth(2024, 3));
                break;
        }
        benchmark::DoNotOptimize(days);
    }
}
BENCHMARK(BM_Part)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
