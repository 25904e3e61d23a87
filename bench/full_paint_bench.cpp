// A full repaint of a 152 x 35 cell screen into a 1600 x 1000 back buffer by the cell
// surface: the frame fill, background runs of equal colour, then every character centred
// in its cell box through the glyph cache, one glyph run per font and colour. The budget
// is 4 ms.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "engine/CCRBase.hpp"
#include "platform/gdi/CMemoryDC.hpp"

namespace {

using tokeiya::COLORREF;
using tokeiya::CRect;
using tokeiya::RGB;

constexpr int kCols = 152;
constexpr int kRows = 35;
constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

// A month schedule's worth of mixed text: dates, names, times, half-width katakana.
const std::string kLines[] = {
    "2024年04月01日(月) 出勤 09:00 退勤 18:00 残業 60分 ｶﾞｲｼｭﾂ 合計 \\12,345 ",
    "営業部 山田太郎 定例会議 10:30-12:00 第二会議室 ABC-123 ﾒﾓ 備考欄 ",
    "給与計算 基本給 250,000円 時間外 15,625円 通勤手当 12,000 ｺｳｼﾞｮ ",
};

void BM_FullPaintSurface(benchmark::State& state) {
    tokeiya::CCRBase surface(CRect{0, 0, kWidth, kHeight}, kCols, kRows, 0, 0);
    for (int row = 0; row < kRows; ++row) {
        std::string text;
        while (text.size() < kCols + 2) {
            text += kLines[row % 3];
        }
        COLORREF color = row % 7 == 0   ? RGB(192, 0, 0)
                         : row % 7 == 6 ? RGB(0, 0, 192)
                                        : RGB(0, 0, 0);
        surface.PutText(text, 0, row, color, false);
        if (row == 0) {
            surface.SetBackColor(RGB(200, 220, 255), 0, 0, kCols, 1, false);
        } else if (row % 5 == 0) {
            surface.SetBackColor(RGB(255, 255, 200), 20, row, 100, 1, false);
        } else if (row == 12) {
            surface.SetColors(RGB(255, 255, 255), RGB(0, 0, 128), 40, row, 12, 1, false);
        }
    }
    tokeiya::CMemoryDC dc(kWidth, kHeight);
    surface.Draw(dc);  // fills the glyph cache
    for (auto _ : state) {
        surface.Draw(dc);
        cairo_surface_flush(cairo_get_target(dc.Cairo()));
    }
    if (const char* path = std::getenv("TOKEIYA_SNAPSHOT_DIR")) {
        dc.WritePng(std::string(path) + "/full-paint-surface.png");
    }
}
BENCHMARK(BM_FullPaintSurface)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
