#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/CDosWinView.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"

namespace tokeiya::test {

// An editor that notes the exit keys the host delivers back to it, as the form would
// receive them, and whether it was still shown when they arrived.
template <typename Editor>
class ExitRecorder : public Editor {
  public:
    using Editor::Editor;

    bool OnExitKey(int key, int modifiers) override {
        exits.push_back(std::to_string(key) + "/" + std::to_string(modifiers));
        shownAtExit = this->Shown();
        return true;
    }

    std::vector<std::string> exits;
    bool shownAtExit = false;
};

// A host view whose one screen is the editor under test, placed where a form would place
// it rather than over the whole client area.
class EditorView : public CDosWinView {
  public:
    using CDosWinView::CDosWinView;

    void Open(std::unique_ptr<CCRWin> editor) {
        ReplaceScreen(std::move(editor));
        Screen()->SetHost(&Window());
    }
};

// The headless desktop (800 x 500) with an editor as its screen: cells of 10 x 20 pixels
// from (100, 100), so cell (c, r) starts at pixel (100 + 10c, 100 + 20r). The editor is
// built by `make` on the window and activated; the test starts it as the item would.
template <typename Editor>
struct EditorDesk {
    headless::HeadlessHostWindow window{800, 500};
    EditorView view{window};
    ExitRecorder<Editor>* editor = nullptr;

    template <typename... Args>
    explicit EditorDesk(Args&&... args) {
        window.SetProc(&view);
        auto made = std::make_unique<ExitRecorder<Editor>>(&window, std::forward<Args>(args)...);
        editor = made.get();
        view.Open(std::move(made));
        editor->Activate();
    }

    // The pixel at the middle of a cell, or at its left or right quarter.
    static int X(int col, int quarter = 2) { return 100 + 10 * col + (quarter * 10) / 4; }
    static int Y(int row) { return 110 + 20 * row; }
};

// The cell rectangle of an editor of `cols` x `rows` at the desk's place.
inline CRect EditorRect(int cols, int rows = 1) {
    return CRect{100, 100, 100 + 10 * cols, 100 + 20 * rows};
}

}  // namespace tokeiya::test
