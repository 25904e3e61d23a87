#pragma once

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/CCRWin.hpp"
#include "engine/CDosWinView.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"

namespace tokeiya::test {

// A window that writes every handler call into a log, so that a test can say exactly what
// one person's action turned into. Named key handlers consume the key when their name is in
// `consume`; otherwise they behave as the window's own.
class RecordingWindow : public CCRWin {
  public:
    // 80 x 25 cells of 10 x 20 pixels.
    explicit RecordingWindow(win::IHostWindow* host)
        : CCRWin(host, CRect{0, 0, 800, 500}, 80, 25, 0, 0) {}

    std::vector<std::string> log;
    std::set<std::string> consume;
    bool logMoves = false;
    bool shownAtLastExit = false;

#define TOKEIYA_RECORD_KEY(Handler, Name)                                    \
    bool Handler(int modifiers, bool down) override {                        \
        Note(Name, modifiers, down);                                         \
        return consume.count(Name) != 0 || CCRWin::Handler(modifiers, down); \
    }
    TOKEIYA_RECORD_KEY(OnBS, "BS")
    TOKEIYA_RECORD_KEY(OnTab, "Tab")
    TOKEIYA_RECORD_KEY(OnClear, "Clear")
    TOKEIYA_RECORD_KEY(OnReturn, "Return")
    TOKEIYA_RECORD_KEY(OnEsc, "Esc")
    TOKEIYA_RECORD_KEY(OnPageUp, "PageUp")
    TOKEIYA_RECORD_KEY(OnPageDown, "PageDown")
    TOKEIYA_RECORD_KEY(OnEnd, "End")
    TOKEIYA_RECORD_KEY(OnHome, "Home")
    TOKEIYA_RECORD_KEY(OnLeft, "Left")
    TOKEIYA_RECORD_KEY(OnUp, "Up")
    TOKEIYA_RECORD_KEY(OnRight, "Right")
    TOKEIYA_RECORD_KEY(OnDown, "Down")
    TOKEIYA_RECORD_KEY(OnPrint, "Print")
    TOKEIYA_RECORD_KEY(OnInsert, "Insert")
    TOKEIYA_RECORD_KEY(OnDelete, "Delete")
    TOKEIYA_RECORD_KEY(OnSpace, "Space")
    TOKEIYA_RECORD_KEY(OnCtrl, "Ctrl")
    TOKEIYA_RECORD_KEY(OnShift, "Shift")
#undef TOKEIYA_RECORD_KEY

    bool OnFKey(int n, int modifiers, bool down) override {
        const std::string name = "F" + std::to_string(n);
        Note(name, modifiers, down);
        return consume.count(name) != 0;
    }
    bool OnOtherKey(int key, int repeat, bool down) override {
        Note("Other" + std::to_string(key) + "x" + std::to_string(repeat), -1, down);
        return false;
    }
    bool OnExitKey(int key, int modifiers) override {
        log.push_back("Exit " + std::to_string(key) + "/" + std::to_string(modifiers));
        shownAtLastExit = Shown();
        return true;
    }
    bool OnCommand(int command) override {
        log.push_back("Command " + std::to_string(command));
        return true;
    }

    void OnLineUp(CCRWScrollBar* bar) override {
        Scroll("LineUp", bar);
    }
    void OnLineDown(CCRWScrollBar* bar) override {
        Scroll("LineDown", bar);
    }
    void OnPageUp(CCRWScrollBar* bar) override {
        Scroll("PageUp", bar);
    }
    void OnPageDown(CCRWScrollBar* bar) override {
        Scroll("PageDown", bar);
    }
    void OnThumbPosition(CCRWScrollBar* bar, int position) override {
        Scroll("Thumb " + std::to_string(position), bar);
    }
    void OnLineLeft(CCRWScrollBar* bar) override {
        Scroll("LineLeft", bar);
    }
    void OnLineRight(CCRWScrollBar* bar) override {
        Scroll("LineRight", bar);
    }
    void OnPageLeft(CCRWScrollBar* bar) override {
        Scroll("PageLeft", bar);
    }
    void OnPageRight(CCRWScrollBar* bar) override {
        Scroll("PageRight", bar);
    }
    void OnHThumbPosition(CCRWScrollBar* bar, int position) override {
        Scroll("HThumb " + std::to_string(position), bar);
    }

    bool OnLButtonDown(int keys, int x, int y) override {
        return Mouse("LDown", keys, x, y);
    }
    bool OnLButtonUp(int keys, int x, int y) override {
        return Mouse("LUp", keys, x, y);
    }
    bool OnLButtonDblClk(int keys, int x, int y) override {
        return Mouse("LDbl", keys, x, y);
    }
    bool OnRButtonDown(int keys, int x, int y) override {
        return Mouse("RDown", keys, x, y);
    }
    bool OnRButtonUp(int keys, int x, int y) override {
        return Mouse("RUp", keys, x, y);
    }
    bool OnMButtonDown(int keys, int x, int y) override {
        return Mouse("MDown", keys, x, y);
    }
    bool OnMouseMove(int keys, int x, int y) override {
        return logMoves ? Mouse("Move", keys, x, y) : true;
    }
    void OnRepeatRButton() override {
        log.push_back("RepeatR");
    }

    // The log since the last call, emptied.
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(log);
        return out;
    }

  private:
    void Note(const std::string& name, int modifiers, bool down) {
        std::string entry = name + (down ? " down" : " up");
        if (modifiers >= 0) {
            entry += " " + std::to_string(modifiers);
        }
        log.push_back(entry);
    }
    void Scroll(const std::string& name, CCRWScrollBar* bar) {
        log.push_back(name + " bar" + std::to_string(bar->Id()));
    }
    bool Mouse(const char* name, int keys, int x, int y) {
        char entry[64];
        std::snprintf(entry, sizeof entry, "%s %d %d,%d", name, keys, x, y);
        log.push_back(entry);
        return true;
    }
};

// A host view whose every screen is a recording window.
class RecordingView : public CDosWinView {
  public:
    using CDosWinView::CDosWinView;

    bool CreateScreen(int) override {
        ReplaceScreen(std::make_unique<RecordingWindow>(&Window()));
        return true;
    }
    RecordingWindow& Current() const { return static_cast<RecordingWindow&>(*Screen()); }
};

// The headless desktop with the real host view routing to one recording window as its
// screen: attached, sized, shown and taking the mouse.
struct EngineDesk {
    headless::HeadlessHostWindow window{800, 500};
    RecordingView view{window};
    RecordingWindow& screen;

    EngineDesk() : screen(Start(window, view)) {}

  private:
    static RecordingWindow& Start(headless::HeadlessHostWindow& window, RecordingView& view) {
        window.SetProc(&view);
        view.SetScreen(0);
        view.Current().SetMouseEnabled(true);
        return view.Current();
    }
};

}  // namespace tokeiya::test
