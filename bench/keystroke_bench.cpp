// One keystroke in a text editor, from the key's messages to repainted pixels: a one-row
// string editor of 20 columns at its place on an 80 x 25 form (cells of 10 x 20 pixels),
// the key pressed through the headless window (key down, the character it posts, key up)
// and then the damaged cells painted through the view's back buffer onto the window's
// surface, as the window's paint after the keystroke does. Budget: 0.5 ms a keystroke.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/CDosWinView.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"
#include "widgets/CCRWTString.hpp"

namespace {

using namespace tokeiya;

constexpr int kFormWidth = 800;  // 80 x 25 cells of 10 x 20 pixels
constexpr int kFormHeight = 500;
constexpr int kEditorColumns = 20;
// Column 30, row 12 of the form.
constexpr CRect kEditorRect{300, 240, 300 + kEditorColumns * 10, 260};

// A view whose one screen is the editor, where a form would open it over an item.
class EditorView : public CDosWinView {
  public:
    using CDosWinView::CDosWinView;

    CCRWTString& Open() {
        auto editor = std::make_unique<CCRWTString>(&Window(), kEditorRect, kEditorColumns, 0);
        CCRWTString& opened = *editor;
        ReplaceScreen(std::move(editor));
        opened.SetHost(&Window());
        opened.Start("", 0, false, 0);
        opened.Activate();
        return opened;
    }

  protected:
    // The editor keeps its place on the form whatever the window's size.
    void OnSize(win::WPARAM, int, int) override {}
};

// Types `text` one character an iteration; an editor that would fill up is emptied
// outside the timing.
void TypeAndRepaint(benchmark::State& state, const std::string& text, int characterBytes) {
    headless::HeadlessHostWindow window(kFormWidth, kFormHeight);
    EditorView view(window);
    window.SetProc(&view);
    CCRWTString& editor = view.Open();
    window.Invalidate(true);
    window.UpdateWindow();  // the first frame, which also fills the glyph cache
    const size_t characters = text.size() / static_cast<size_t>(characterBytes);
    const int perLine = kEditorColumns / characterBytes - 1;
    size_t next = 0;
    int typed = 0;
    int keystrokes = 0;
    const int paintsBefore = window.UpdatePaints();
    for (auto _ : state) {
        if (typed == perLine) {
            state.PauseTiming();
            editor.Start("", 0, false, 0);
            window.UpdateWindow();
            window.m_invalidated.clear();
            typed = 0;
            state.ResumeTiming();
        }
        window.Type(std::string_view(text).substr(next * static_cast<size_t>(characterBytes),
                                                  static_cast<size_t>(characterBytes)));
        window.UpdateWindow();
        next = (next + 1) % characters;
        ++typed;
        ++keystrokes;
    }
    if (static_cast<int>(editor.Text().size()) != typed * characterBytes) {
        state.SkipWithError("a typed character did not reach the editor");
    } else if (window.UpdatePaints() - paintsBefore < keystrokes) {
        state.SkipWithError("a keystroke left nothing to repaint");
    }
    benchmark::DoNotOptimize(window.Surface());
}

// A key of the keyboard: key down, its character, key up.
void BM_Keystroke(benchmark::State& state) {
    TypeAndRepaint(state, "abcdefghijklmnopqrstuvwxyz0123456789", 1);
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);

// A double-byte character as an input method commits it outside a composition: its two
// bytes as characters.
void BM_KeystrokeDoubleByte(benchmark::State& state) {
    TypeAndRepaint(state, "出勤退勤残業休日", 2);
}
BENCHMARK(BM_KeystrokeDoubleByte)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
