// The day schedule screen of a logged-in user on the headless desktop (the program's screen
// and label packages, the embedded database).
//
// BM_ShowDay: one day shown: the own card and the day's 40 entries (20 dated on the day, 20
// every-day ones) read, sorted, every line drawn and the window repainted. Budget: 5 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/MonthData.hpp"
#include "bench/ScreenSession.hpp"
#include "data/CTSchedule.hpp"
#include "screens/day/CCRWA_DaySchedule.hpp"

namespace {

using namespace tokeiya;

// False when an entry could not be stored.
bool AddDayEntries(CConnection& connection) {
    CTime latest;
    for (int i = 0; i < 40; ++i) {
        const bool everyDay = i % 2 == 1;
        CSchedule entry;
        entry.idUser = 1;
        entry.dateSchedule = everyDay ? CTime(2000, 1, 1, 8 + i % 10, i % 60, 0)
                                      : CTime(2024, 3, 15, 8 + i % 10, i % 60, 0);
        entry.flgEveryDay = everyDay ? 1 : 0;
        entry.strSubject = "会議" + std::to_string(i);
        entry.strSchedule = "第二会議室にて資料を配布";
        entry.flgAlarm = i % 3 == 0 ? 1 : 0;
        entry.nLevel = 1 + i % 5;
        if (CTSchedule(connection, CTSchedule::Mode::Table).SaveSchedule(7, entry, latest) == 0) {
            return false;
        }
    }
    return true;
}

void BM_ShowDay(benchmark::State& state) {
    bench::ScreenSession session(CTime(2024, 3, 15, 10, 0, 0));
    if (!bench::AddHanako(session.Database()) || !AddDayEntries(session.Database()) ||
        !session.Start("hanako", "pw") || !session.View().SetScreen(ScreenId::PersonalDay)) {
        state.SkipWithError("the day schedule did not open");
        return;
    }
    session.Window().Pump();
    auto* screen = dynamic_cast<CCRWA_DaySchedule*>(session.View().Screen());
    if (screen == nullptr) {
        state.SkipWithError("the day schedule did not open");
        return;
    }
    for (auto _ : state) {
        screen->ShowDay(2024, 3, 15);
        screen->Activate();
        session.Window().UpdateWindow();
    }
    // The 40 entries and the blank one.
    if (screen->List().Count() != 41) {
        state.SkipWithError("the day was not read");
    }
    benchmark::DoNotOptimize(session.Window().Surface());
}
BENCHMARK(BM_ShowDay)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
