// The attendance check of a month on the headless desktop (the program's screen and label
// packages, the embedded database), opened by a manager.
//
// BM_GapCheckMonth: 200 users with a card on every day of March 2024, three spans of PC use
// a day and two corrections each: the screen made with its drawing and labels, the users,
// cards, spans and corrections read, the days compared, the rows drawn and the window
// repainted.
#include <benchmark/benchmark.h>

#include "bench/ScreenSession.hpp"
#include "data/CPasswordHash.hpp"
#include "data/CTUser.hpp"
#include "data/TimeValue.hpp"
#include "screens/gapcheck/CCRWA_GapCheck.hpp"

namespace {

using namespace tokeiya;

constexpr int kYear = 2024;
constexpr int kMonth = 3;
constexpr int kUsers = 200;

class GapCheckSession : public bench::ScreenSession {
  public:
    GapCheckSession() : ScreenSession(CTime(2024, 4, 5, 10, 0, 0)) {
        if (!Fill() || !Start("kanri", "pw")) {
            return;
        }
        View().Work().year = kYear;
        View().Work().month = kMonth;
        m_ready = true;
    }

    bool Ready() const { return m_ready; }

  private:
    bool Fill() {
        CConnection& db = Database();
        const SqlDialect& d = db.Dialect();
        CTransaction transaction(db.Database());
        const std::string user = d.Render(
            "INSERT INTO [dbo].[Tユーザー] ([idUser], [strUserName], [strPasswordHash], [idGroup], "
            "[nLevel]) VALUES (?, ?, ?, 1, ?)");
        const std::string card = d.Render(
            "INSERT INTO [dbo].[Tタイムカード] ([idTimeCard], [idUser], [timeFrom], [timeTo], "
            "[nLunchMin], [nYear], [nMonth], [nDay]) VALUES (?, ?, ?, ?, 60, ?, ?, ?)");
        const std::string span = d.Render(
            "INSERT INTO [dbo].[T端末利用] ([idSpan], [flgEnd], [idUser], [strPCName], [dateAt], "
            "[typeEnd], [dateStart]) VALUES (?, ?, ?, 'PC', ?, ?, ?)");
        const std::string change = d.Render(
            "INSERT INTO [dbo].[T勤怠修正履歴] ([idTimeCard], [idUser], [nYear], [nMonth], "
            "[nDay], [dateChanged], [idChangedBy], [strPCName], [typeHow], [timeFromOld], "
            "[timeFromNew]) VALUES (?, ?, ?, ?, ?, ?, 0, 'PC', 5, ?, ?)");
        const std::string hash = CPasswordHash().Hash("pw").value_or("");
        CDatabase& sql = db.Database();
        sql.ExecuteSQL(user, {DbValue(kUsers + 1), DbValue("kanri"), DbValue(hash), DbValue(3)});
        int64_t spanId = 1;
        for (int u = 1; u <= kUsers; ++u) {
            sql.ExecuteSQL(
                user, {DbValue(u), DbValue("user" + std::to_string(u)), DbValue(""), DbValue(1)});
            for (int day = 1; day <= 31; ++day) {
                sql.ExecuteSQL(card, {DbValue(TimeCardKey(u, kYear, kMonth, day)), DbValue(u),
                                      d.DateTimeParam(TimeOfDay(9, (u + day) % 60)),
                                      d.DateTimeParam(TimeOfDay(18, 0)), DbValue(kYear),
                                      DbValue(kMonth), DbValue(day)});
                const int starts[][2] = {{8, 10}, {13, 0}, {17, 0}};
                for (const auto& s : starts) {
                    const CTime start(kYear, kMonth, day, s[0], s[1], 0);
                    sql.ExecuteSQL(span, {DbValue(spanId), DbValue(0), DbValue(u),
                                          d.DateTimeParam(start), DbValue(0), DbValue()});
                    sql.ExecuteSQL(span, {DbValue(spanId), DbValue(1), DbValue(u),
                                          d.DateTimeParam(start.AddMinutes(170)), DbValue(1),
                                          d.DateTimeParam(start)});
                    ++spanId;
                }
            }
            for (int day : {5, 20}) {
                sql.ExecuteSQL(
                    change, {DbValue(TimeCardKey(u, kYear, kMonth, day)), DbValue(u),
                             DbValue(kYear), DbValue(kMonth), DbValue(day),
                             d.DateTimeParam(CTime(kYear, kMonth, day + 1, 9, 0, 0)),
                             d.DateTimeParam(TimeOfDay(9, 30)), d.DateTimeParam(TimeOfDay(8, 30))});
            }
        }
        transaction.Commit();
        return true;
    }

    bool m_ready = false;
};

void BM_GapCheckMonth(benchmark::State& state) {
    GapCheckSession session;
    if (!session.Ready()) {
        state.SkipWithError("the session did not start");
        return;
    }
    for (auto _ : state) {
        session.View().SetScreen(ScreenId::GapCheck);
        session.Window().UpdateWindow();
    }
    const auto* screen = dynamic_cast<const CCRWA_GapCheck*>(session.View().Screen());
    // Every user's day is listed: the first span begins 50 to 109 minutes before the arrival
    // at 09:mm.
    if (screen == nullptr || screen->Check().Count() != kUsers * 31) {
        state.SkipWithError("the check was not built");
    }
    benchmark::DoNotOptimize(session.Window().Surface());
}
BENCHMARK(BM_GapCheckMonth)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
