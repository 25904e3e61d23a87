// Loading what the month schedule shows for one month with 1,000 schedule rows in it: the
// day texts, the user's time cards and the newest update. Budget: under 10 ms.
#include <benchmark/benchmark.h>
#include <array>

#include "bench/MonthData.hpp"
#include "data/CDaySchedule.hpp"
#include "data/CQDaySchedule.hpp"
#include "data/CTSchedule.hpp"
#include "data/CTTimeCard.hpp"
#include "tests/support/TestDatabase.hpp"

namespace {

void BM_LoadMonthSchedule(benchmark::State& state) {
    using namespace tokeiya;
    test::TestDatabase database(test::Engine::SQLite);
    CConnection& connection = database.Connection();
    if (!tokeiya::bench::FillMonth(connection)) {
        state.SkipWithError("the month could not be stored");
        return;
    }
    for (auto _ : state) {
        std::array<CDaySchedule, 31> days{};
        for (int i = 0; i < 31; ++i) {
            days[static_cast<size_t>(i)].Reset(i, 60);
        }
        if (CQDaySchedule(connection).LoadMonthTexts(1, 2024, 3, days) == 0 ||
            CTTimeCard(connection).LoadMonthCards(1, 2024, 3, days) == 0) {
            state.SkipWithError("the month could not be read");
            break;
        }
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
    if (!tokeiya::bench::FillMonth(connection)) {
        state.SkipWithError("the month could not be stored");
        return;
    }
    for (auto _ : state) {
        std::array<CDaySchedule, 31> days{};
        switch (state.range(0)) {
            case 0:
                benchmark::DoNotOptimize(
                    CQDaySchedule(connection).LoadMonthTexts(1, 2024, 3, days));
                break;
            case 1:
                benchmark::DoNotOptimize(CTTimeCard(connection).LoadMonthCards(1, 2024, 3, days));
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
