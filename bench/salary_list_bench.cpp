// The salary list on the headless desktop (the program's screen and label packages, the
// embedded database), opened by a manager.
//
// BM_SalaryList: the pay list of 200 users shown: the screen made with its drawing and
// labels, the month's results read with their totals, the first page drawn, the row bar
// opened and the window repainted.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/ScreenSession.hpp"
#include "data/CTUser.hpp"
#include "screens/salary/CCRWA_CalcuA.hpp"

namespace {

using namespace tokeiya;

constexpr int kUsers = 200;

// User 1 ("hanako", level 3) logged in; March 2024 has a result for each of 200 users in
// four groups.
class SalarySession : public bench::ScreenSession {
  public:
    SalarySession() : ScreenSession(CTime(2024, 4, 5, 10, 0, 0)) {
        CDatabase& db = Database().Database();
        const SqlDialect& d = Database().Dialect();
        CTransaction transaction(db);
        for (int group = 1; group <= 4; ++group) {
            db.ExecuteSQL(
                d.Render("INSERT INTO [dbo].[Tユーザーグループ] ([idGroup],[strGroupName]) "
                         "VALUES (?,?)"),
                {DbValue(group), DbValue("部署" + std::to_string(group))});
        }
        for (int user = 1; user <= kUsers; ++user) {
            db.ExecuteSQL(
                d.Render("INSERT INTO [dbo].[Tユーザー] ([idUser],[strUserName],"
                         "[idGroup],[nLevel]) VALUES (?,?,?,?)"),
                {DbValue(user), DbValue(user == 1 ? "hanako" : "user" + std::to_string(user)),
                 DbValue(user % 4 + 1), DbValue(user == 1 ? 3 : 1)});
            db.ExecuteSQL(d.Render("INSERT INTO [dbo].[T給料] ([idUser],[idGroup],[nWorkingMin],"
                                   "[nYear],[nMonth],[fSalary],[fOvertimePay],[nDays]) "
                                   "VALUES (?,?,?,2024,3,?,?,20)"),
                          {DbValue(user), DbValue(user % 4 + 1), DbValue(9600 + user),
                           DbValue(250000.0F + static_cast<float>(user)), DbValue(12000.0F)});
        }
        transaction.Commit();
        if (Start("hanako", "")) {
            View().Work().year = 2024;
            View().Work().month = 3;
            m_ready = true;
        }
    }

    bool Ready() const { return m_ready; }

  private:
    bool m_ready = false;
};

void BM_SalaryList(benchmark::State& state) {
    SalarySession session;
    if (!session.Ready()) {
        state.SkipWithError("the session did not start");
        return;
    }
    for (auto _ : state) {
        session.View().SetScreen(ScreenId::SalaryList);
        session.Window().UpdateWindow();
    }
    const auto* screen = dynamic_cast<const CCRWA_CalcuA*>(session.View().Screen());
    if (screen == nullptr || screen->List().Count() != kUsers ||
        screen->ActiveEditor() == nullptr) {
        state.SkipWithError("the list was not shown");
    }
    benchmark::DoNotOptimize(session.Window().Surface());
}
BENCHMARK(BM_SalaryList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
