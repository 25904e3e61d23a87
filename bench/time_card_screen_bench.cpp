// The time card screen of one user on the headless desktop (the program's screen and label
// packages, the embedded database), opened by the administration account.
//
// BM_TimeCardScreen: the screen built for a user with 31 stored cards in the month: the
// screen made with its drawing and labels, the user and the cards read, every row drawn,
// the cursor opened and the window repainted.
#include <benchmark/benchmark.h>

#include "bench/ScreenSession.hpp"
#include "data/CPasswordHash.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/CTUserGroup.hpp"
#include "data/TimeValue.hpp"
#include "screens/timecard/CCRWA_CalcuB.hpp"

namespace {

using namespace tokeiya;

constexpr int kYear = 2024;
constexpr int kMonth = 3;

// The administration account logged in on a fresh embedded database that holds user 1
// ("hanako", pay by the quarter hour) with a card on every day of March 2024; the work
// context names her and that month, as the salary list leaves it.
class TimeCardSession : public bench::ScreenSession {
  public:
    TimeCardSession() : ScreenSession(CTime(2024, 4, 5, 10, 0, 0)) {
        if (!FillUser() || !Start("tokeiya", "")) {
            return;
        }
        WorkContext& work = View().Work();
        work.year = kYear;
        work.month = kMonth;
        work.userId = 1;
        m_ready = true;
    }

    bool Ready() const { return m_ready; }

  private:
    // False when a row could not be stored.
    bool FillUser() {
        CConnection& db = Database();
        CUserGroup group;
        group.strGroupName = "営業部";
        group.typeSalary = 3;
        group.typeOvertime = 4;
        group.nTimePerSalary = 15;
        group.flgRound = 3;
        if (CTUserGroup(db).Save(group) == 0) {
            return false;
        }
        CUser user;
        user.strUserName = "hanako";
        user.strPasswordHash = CPasswordHash().Hash("pw").value_or("");
        user.idGroup = group.idGroup;
        user.nLevel = 3;
        user.fSalary = 300;
        user.fOvertimePay = 400;
        if (CTUser(db, CTUser::Mode::Table).Save(user) == 0) {
            return false;
        }
        CTTimeCard cards(db);
        for (int day = 1; day <= 31; ++day) {
            CTimeCard card = CTimeCard::NewDay(user.idUser, kYear, kMonth, day, user.nLunchMin);
            card.timeFrom = TimeOfDay(9, 0);
            card.timeTo = TimeOfDay(18, day % 4);
            card.nWorkingMin = 480 + day % 4;
            card.fSalary = 9600;
            if (cards.StoreCard(card) == 0) {
                return false;
            }
        }
        return true;
    }

    bool m_ready = false;
};

void BM_TimeCardScreen(benchmark::State& state) {
    TimeCardSession session;
    if (!session.Ready()) {
        state.SkipWithError("the session did not start");
        return;
    }
    for (auto _ : state) {
        session.View().SetScreen(ScreenId::TimeCard);
        session.Window().UpdateWindow();
    }
    const auto* screen = dynamic_cast<const CCRWA_CalcuB*>(session.View().Screen());
    if (screen == nullptr || screen->RowsInUse() != 31 || screen->Row(30).idTimeCard == 0 ||
        screen->ActiveEditor() == nullptr) {
        state.SkipWithError("the time card was not built");
    }
    benchmark::DoNotOptimize(session.Window().Surface());
}
BENCHMARK(BM_TimeCardScreen)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
