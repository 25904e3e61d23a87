// The main window's costs: one full repaint of a 152 x 35 cell screen through the view's
// back buffer onto a 1600 x 1000 window surface (the budget for the cell paint alone is
// 4 ms), and start-up to the first painted frame on the embedded database with stored
// credentials (budget 400 ms; the real program adds GTK's start and the window mapping).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/CDosWinView.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "shell/CMainFrame.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "tests/support/StoredLogin.hpp"
#include "tests/support/TempFolder.hpp"

namespace {

using namespace tokeiya;

// A view whose one screen is a full 152 x 35 grid of mixed text and coloured bands.
class BenchView : public CDosWinView {
  public:
    using CDosWinView::CDosWinView;

    bool CreateScreen(int) override {
        auto screen = std::make_unique<CCRWin>(&Window(), CRect{0, 0, 1600, 1000}, 152, 35, 1, 2);
        const std::string lines[] = {
            "2024年04月01日(月) 出勤 09:00 退勤 18:00 残業 60分 ｶﾞｲｼｭﾂ 合計 \\12,345 ",
            "営業部 山田太郎 定例会議 10:30-12:00 第二会議室 ABC-123 ﾒﾓ 備考欄 ",
            "給与計算 基本給 250,000円 時間外 15,625円 通勤手当 12,000 ｺｳｼﾞｮ "};
        for (int row = 0; row < 35; ++row) {
            std::string text;
            while (text.size() < 160) {
                text += lines[row % 3];
            }
            screen->PutText(text, 0, row, false);
            if (row % 5 == 0) {
                screen->SetBackColor(RGB(255, 255, 200), 20, row, 100, 1, false);
            }
        }
        screen->SetBackColor(RGB(200, 220, 255), 0, 0, 152, 1, false);
        ReplaceScreen(std::move(screen));
        return true;
    }
};

void BM_ViewRepaintThroughBackBuffer(benchmark::State& state) {
    headless::HeadlessHostWindow window(1600, 1000);
    BenchView view(window);
    window.SetProc(&view);
    view.SetScreen(0);
    window.Resize(1600, 1000);
    CMemoryDC surface(1600, 1000);
    view.OnPaint(surface);  // warms the glyph cache, as the first frame does
    for (auto _ : state) {
        view.OnPaint(surface);
    }
}
BENCHMARK(BM_ViewRepaintThroughBackBuffer)->Unit(benchmark::kMillisecond);

// What a keystroke in an editor asks for: the window clipped to a few cells.
void BM_ViewRepaintDamagedCells(benchmark::State& state) {
    headless::HeadlessHostWindow window(1600, 1000);
    BenchView view(window);
    window.SetProc(&view);
    view.SetScreen(0);
    window.Resize(1600, 1000);
    CMemoryDC surface(1600, 1000);
    view.OnPaint(surface);
    surface.IntersectClipRect(CRect{400, 300, 480, 330});
    for (auto _ : state) {
        view.OnPaint(surface);
    }
}
BENCHMARK(BM_ViewRepaintDamagedCells)->Unit(benchmark::kMillisecond);

void BM_StartupToFirstFrame(benchmark::State& state) {
    test::TempFolder folder;
    CProfileStore profile(folder.Path() + "/Tokeiya.ini");
    if (!test::PrepareStoredLogin(profile, folder.Path() + "/tokeiya.db")) {
        state.SkipWithError("the first session could not start");
        return;
    }
    CScriptedDialogs dialogs;
    for (auto _ : state) {
        auto doc = std::make_unique<CTokeiyaDoc>(profile, dialogs, "PC");
        if (!doc->Create()) {
            state.SkipWithError("the session could not start");
            return;
        }
        auto frame = std::make_unique<CMainFrame>(dialogs, *doc, profile);
        frame->Create({});
        frame->ShowInitialWindow();
        auto picture = dialogs.m_mainWindow->Paint();
        benchmark::DoNotOptimize(picture);
        state.PauseTiming();  // the end of the session is not start-up
        frame.reset();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
