// The month schedule screen of a logged-in user on the headless desktop (the program's
// screen and label packages, the embedded database with the month of MonthData.hpp).
//
// BM_ShowMonth: one month shown: the drawing reloaded, the month's 1,000 schedule rows and
// 31 cards read, the texts built, every day drawn and the window repainted. Budget: 10 ms.
// BM_ReadMonth: the reading part of that alone, so that the rest is the drawing.
// BM_StoreTimeEdit: a time typed into a day's arrival and Enter pressed, until the row is
// stored and the next cell open.
#include <benchmark/benchmark.h>

#include "bench/MonthData.hpp"
#include "bench/ScreenSession.hpp"
#include "screens/month/CCRWA_MonthSchedule.hpp"

namespace {

using namespace tokeiya;

// User 1 ("hanako") logged in on the month schedule of March 2024.
class MonthSession : public bench::ScreenSession {
  public:
    MonthSession() : ScreenSession(CTime(2024, 3, 15, 10, 0, 0)) {
        if (!bench::AddHanakoWithMonth(Database())) {
            return;
        }
        if (Start("hanako", "pw")) {
            m_screen = dynamic_cast<CCRWA_MonthSchedule*>(View().Screen());
        }
    }

    // Null when the session could not start.
    CCRWA_MonthSchedule* Screen() const { return m_screen; }

  private:
    CCRWA_MonthSchedule* m_screen = nullptr;
};

void BM_ShowMonth(benchmark::State& state) {
    MonthSession session;
    CCRWA_MonthSchedule* screen = session.Screen();
    if (screen == nullptr) {
        state.SkipWithError("the month schedule did not open");
        return;
    }
    for (auto _ : state) {
        screen->ShowMonth(2024, 3, true, 15);
        session.Window().UpdateWindow();
    }
    if (screen->Days().Day(31).strSubjects.empty() || screen->Days().Day(31).idTimeCard == 0) {
        state.SkipWithError("the month was not read");
    }
    benchmark::DoNotOptimize(session.Window().Surface());
}
BENCHMARK(BM_ShowMonth)->Unit(benchmark::kMillisecond);

void BM_ReadMonth(benchmark::State& state) {
    MonthSession session;
    if (session.Screen() == nullptr) {
        state.SkipWithError("the month schedule did not open");
        return;
    }
    CMonthScheduleDays days;
    for (auto _ : state) {
        days.Reset(2024, 3, 60);
        days.Load(session.SessionDatabase(), 1);
    }
    if (days.Day(31).strSubjects.empty()) {
        state.SkipWithError("the month was not read");
    }
}
BENCHMARK(BM_ReadMonth)->Unit(benchmark::kMillisecond);

void BM_StoreTimeEdit(benchmark::State& state) {
    MonthSession session;
    CCRWA_MonthSchedule* screen = session.Screen();
    if (screen == nullptr) {
        state.SkipWithError("the month schedule did not open");
        return;
    }
    headless::HeadlessHostWindow& window = session.Window();
    // Two times in turn, so that every Enter stores a change.
    const char* const times[] = {"0830", "0845"};
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        screen->SetCursor(10, 0);
        window.UpdateWindow();
        state.ResumeTiming();
        window.Type(times[round % 2]);
        window.Press(win::VK_RETURN);
        window.Pump();
        window.UpdateWindow();
        ++round;
    }
    CTimeCard stored = CTimeCard::NewDay(1, 2024, 3, 10, 60);
    stored.idTimeCard = stored.Key();
    if (CTTimeCard(session.SessionDatabase()).LoadCard(stored) == 0 ||
        screen->CursorColumn() != 1 || stored.timeFrom.GetMinute() != (round % 2 == 1 ? 30 : 45)) {
        state.SkipWithError("the typed time was not stored");
    }
}
BENCHMARK(BM_StoreTimeEdit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
