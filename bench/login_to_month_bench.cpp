// What follows the OK of the login dialog, in the program itself on the headless desktop:
// the password verified, the login recorded, the main window made with the month schedule
// of a user whose month holds 1,000 schedule rows, and its first paint. The real program's
// budget from Enter in the login dialog to the drawn month is 200 ms; this is the part of
// it that is the program's own, without the display's.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/MonthData.hpp"
#include "bench/ScreenSession.hpp"
#include "screens/month/CCRWA_MonthSchedule.hpp"

namespace {

using namespace tokeiya;

// A database with "hanako" and her month of March 2024, nobody logged in yet.
class LoginSession : public bench::ScreenSession {
  public:
    LoginSession() : ScreenSession(CTime(2024, 3, 15, 10, 0, 0)) {
        m_ready = bench::AddHanakoWithMonth(Database());
    }

    bool Ready() const { return m_ready; }

  private:
    bool m_ready = false;
};

void BM_LoginToMonth(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<LoginSession>();
        if (!session->Ready()) {
            state.SkipWithError("the database could not be filled");
            return;
        }
        state.ResumeTiming();
        const bool started = session->Start("hanako", "pw");
        state.PauseTiming();
        if (!started || dynamic_cast<CCRWA_MonthSchedule*>(session->View().Screen()) == nullptr ||
            session->Window().Surface() == nullptr) {
            state.SkipWithError("the month schedule was not drawn");
            return;
        }
        session.reset();  // the logout is not part of the wait
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoginToMonth)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
