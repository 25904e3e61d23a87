// A full repaint of a 152 x 35 cell screen into a 1600 x 1000 back buffer, laid out and
// batched as the cell surface paints: the frame fill, background runs of equal colour,
// then every character centred in its cell box through the glyph cache, one glyph run
// per font and colour. The budget is 4 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/CCRBase.hpp"
#include "platform/Cp932.hpp"
#include "platform/gdi/CGlyphBatch.hpp"
#include "platform/gdi/CMemoryDC.hpp"

namespace {

using tokeiya::COLORREF;
using tokeiya::CRect;
using tokeiya::RGB;

constexpr int kCols = 152;
constexpr int kRows = 35;
constexpr int kWidth = 1600;
constexpr int kHeight = 1000;
constexpr COLORREF kDefaultBack = RGB(255, 255, 255);

struct Cell {
    unsigned char lead = 0;  // 0 empty, 1 right half of a double-byte character
    unsigned char trail = 0;
    COLORREF text = RGB(0, 0, 0);
    COLORREF back = kDefaultBack;
};

// A month schedule's worth of mixed text: dates, names, times, half-width katakana.
const std::string kLines[] = {
    "2024年04月01日(月) 出勤 09:00 退勤 18:00 残業 60分 ｶﾞｲｼｭﾂ 合計 \\12,345 ",
    "営業部 山田太郎 定例会議 10:30-12:00 第二会議室 ABC-123 ﾒﾓ 備考欄 ",
    "給与計算 基本給 250,000円 時間外 15,625円 通勤手当 12,000 ｺｳｼﾞｮ ",
};

std::vector<Cell> SampleGrid() {
    const auto& lines = kLines;
    std::vector<Cell> cells(kCols * kRows);
    for (int row = 0; row < kRows; ++row) {
        std::string text;
        while (text.size() < kCols + 2) {
            text += lines[row % 3];
        }
        COLORREF color = row % 7 == 0   ? RGB(192, 0, 0)
                         : row % 7 == 6 ? RGB(0, 0, 192)
                                        : RGB(0, 0, 0);
        int col = 0;
        for (size_t i = 0; i < text.size() && col < kCols;) {
            auto c = static_cast<unsigned char>(text[i]);
            Cell& cell = cells[col + row * kCols];
            if (tokeiya::cp932::IsLeadByte(c)) {
                if (col + 1 >= kCols) {
                    break;
                }
                cell = {c, static_cast<unsigned char>(text[i + 1]), color, kDefaultBack};
                cells[col + 1 + row * kCols] = {1, 0, color, kDefaultBack};
                col += 2;
                i += 2;
            } else {
                cell = {c, 0, color, kDefaultBack};
                col += 1;
                i += 1;
            }
        }
        // A few coloured bands: a header row, every fifth row, a selected field.
        for (int c = 0; c < kCols; ++c) {
            Cell& cell = cells[c + row * kCols];
            if (row == 0) {
                cell.back = RGB(200, 220, 255);
            } else if (row % 5 == 0 && c >= 20 && c < 120) {
                cell.back = RGB(255, 255, 200);
            } else if (row == 12 && c >= 40 && c < 52) {
                cell.back = RGB(0, 0, 128);
                cell.text = RGB(255, 255, 255);
            }
        }
    }
    return cells;
}

void BM_FullPaint(benchmark::State& state) {
    const std::vector<Cell> cells = SampleGrid();
    tokeiya::CMemoryDC dc(kWidth, kHeight);
    const double cellWidth = double(kWidth) / kCols;
    const double cellHeight = double(kHeight) / kRows;
    auto X = [&](int col) { return static_cast<int>(col * cellWidth + 0.5); };
    auto Y = [&](int row) { return static_cast<int>(row * cellHeight + 0.5); };
    // Scale 0.9, aspect 2.0: the glyph box that fits the cell.
    int fontWidth = static_cast<int>(0.9 * cellWidth);
    int fontHeight = static_cast<int>(0.9 * cellHeight);
    if (fontHeight >= fontWidth * 2) {
        fontHeight = fontWidth * 2;
    } else {
        fontWidth = fontHeight / 2;
    }
    const int drop = static_cast<int>(fontHeight * 0.05 + 0.5);
    tokeiya::LogFont logFont{fontHeight, fontWidth, 400, tokeiya::Charset::ShiftJis,
                             "ＭＳ ゴシック"};
    tokeiya::CGlyphBatch batch;

    auto paint = [&]() {
        std::shared_ptr<const tokeiya::CFont> font0 = dc.CreateFont(logFont);
        std::shared_ptr<const tokeiya::CFont> font1 = dc.CreateFont(logFont);
        dc.FillSolidRect({0, 0, kWidth, kHeight}, kDefaultBack);
        for (int row = 0; row < kRows; ++row) {
            int start = 0;
            for (int col = 1; col <= kCols; ++col) {
                COLORREF back = cells[start + row * kCols].back;
                if (col < kCols && cells[col + row * kCols].back == back) {
                    continue;
                }
                if (back != kDefaultBack) {
                    dc.FillSolidRect({X(start), Y(row), X(col), Y(row + 1)}, back);
                }
                start = col;
            }
        }
        batch.Clear();
        const int w = static_cast<int>(cellWidth);
        const int h = static_cast<int>(cellHeight);
        for (int col = 0; col < kCols; ++col) {
            for (int row = 0; row < kRows; ++row) {
                const Cell& cell = cells[col + row * kCols];
                if (cell.lead <= 1) {
                    continue;
                }
                bool wide = cell.trail != 0;
                char bytes[2] = {static_cast<char>(cell.lead), static_cast<char>(cell.trail)};
                CRect box;
                box.left = X(col) - 1;
                box.right = box.left + 1 + w * (wide ? 2 : 1) + 1;
                box.top = Y(row) + (wide ? 0 : drop);
                box.bottom = box.top + h + 2;
                bool second = wide || cell.lead >= 0x80;
                batch.AddCentred(second ? font1 : font0, cell.text,
                                 std::string_view(bytes, wide ? 2 : 1), box);
            }
        }
        dc.DrawGlyphBatch(batch);
        cairo_surface_flush(cairo_get_target(dc.Cairo()));
    };

    paint();  // the first paint fills the glyph cache, as the first screen does
    for (auto _ : state) {
        paint();
    }
    if (const char* path = std::getenv("TOKEIYA_SNAPSHOT_DIR")) {
        dc.WritePng(std::string(path) + "/full-paint.png");
    }
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same screen painted by the cell surface itself: frame, background runs, line items
// (none here) and the characters through one glyph batch.
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
