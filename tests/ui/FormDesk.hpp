#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/CDosWinView.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"
#include "widgets/CCRWMain.hpp"

namespace tokeiya::test {

// The form the editors and items under test open on: the program's form controller, with
// cells of 10 x 20 pixels from the corner (no padding) so that cell positions are easy to
// name. The exit keys the host delivers back are noted.
class TestForm : public CCRWMain {
  public:
    explicit TestForm(win::IHostWindow* host) : CCRWMain(host) { SetGridAndMargins(80, 25, 0, 0); }

    // Opens an editor made here as the form's active editor, as an item would.
    template <typename Editor, typename... Args>
    Editor& OpenEditor(Args&&... args) {
        auto made = std::make_unique<Editor>(GetHost(), std::forward<Args>(args)...);
        Editor& opened = *made;
        SetActiveEditor(std::move(made));
        return opened;
    }
    CCRWin* Editor() const { return ActiveEditor(); }

    bool OnExitKey(int key, int modifiers) override {
        exits.push_back(std::to_string(key) + "/" + std::to_string(modifiers));
        return true;
    }

    std::vector<std::string> exits;
    const EditorPlacement& lastPlacement = LastPlacement();
};

// A host view whose screen is the form; it counts the menu-closed notifications.
class FormView : public CDosWinView {
  public:
    using CDosWinView::CDosWinView;

    TestForm& Open() {
        auto form = std::make_unique<TestForm>(&Window());
        TestForm& opened = *form;
        ReplaceScreen(std::move(form));
        opened.SetHost(&Window());
        opened.SetRect(Window().ClientRect());
        opened.Show(true, false);
        opened.Activate();
        return opened;
    }
    void OnPopupClosed() override { ++popupsClosed; }

    int popupsClosed = 0;
};

// The headless desktop (800 x 500) with an 80 x 25 form: cell (c, r) covers pixels
// (10c, 20r) to (10c + 9, 20r + 19).
struct FormDesk {
    headless::HeadlessHostWindow window{800, 500};
    FormView view{window};
    TestForm* form = nullptr;

    FormDesk() {
        window.SetProc(&view);
        form = &view.Open();
    }

    static int X(int col) { return 10 * col + 5; }
    static int Y(int row) { return 20 * row + 10; }
};

}  // namespace tokeiya::test
