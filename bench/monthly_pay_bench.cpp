// The database's monthly pay calculation for 200 users x 31 days: on SQLite always, and on
// PostgreSQL when TOKEIYA_BENCH_PG names a server connection (without a database; a
// scratch database is created and dropped). Budget: under 300 ms each. Measure with
// --benchmark_repetitions=5; the test run makes one untimed smoke run.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "data/CPayCalculation.hpp"
#include "tests/support/PayFixture.hpp"
#include "tests/support/TestDatabase.hpp"

namespace {

void RunMonth(benchmark::State& state, tokeiya::test::Engine engine) {
    using namespace tokeiya;
    test::TestDatabase database(engine);
    CConnection& db = database.Connection();
    // 7 groups x 29 users = 203 users, 45 days from mid-February.
    test::PayFixture fixture = test::PayFixture::Build(db, 29, 45);
    CPayCalculation calculation(db);
    for (auto _ : state) {
        for (const CUserGroup& group : fixture.groups) {
            std::string error;
            if (!calculation.Run(group.idGroup, PayCalculationBounds::For(2024, 3, group.nCutoff),
                                 error)) {
                state.SkipWithError(error.c_str());
                return;
            }
        }
    }
}

void BM_MonthlyPay_SQLite(benchmark::State& state) {
    RunMonth(state, tokeiya::test::Engine::SQLite);
}
BENCHMARK(BM_MonthlyPay_SQLite)->Unit(benchmark::kMillisecond);

void BM_MonthlyPay_PostgreSQL(benchmark::State& state) {
    const char* server = std::getenv("TOKEIYA_BENCH_PG");
    if (server == nullptr || *server == '\0') {
        state.SkipWithError("TOKEIYA_BENCH_PG is not set");
        return;
    }
    setenv("TOKEIYA_TEST_PG", server, 1);
    RunMonth(state, tokeiya::test::Engine::PostgreSQL);
}
BENCHMARK(BM_MonthlyPay_PostgreSQL)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
