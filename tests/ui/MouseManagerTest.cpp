#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CMouseManagerH.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"
#include "tests/ui/RecordingWindow.hpp"

namespace tokeiya {
namespace {

using namespace win;
using headless::HeadlessHostWindow;
using test::EngineDesk;
using Button = HeadlessHostWindow::Button;
using Log = std::vector<std::string>;

TEST(MouseRegions, TheFirstRegisteredOfTheKindAnswersAndEdgesFollowGdi) {
    CMouseManagerH mouse;
    mouse.AddRegion(CRect{10, 10, 50, 30}, 1, 11);
    mouse.AddRegion(CRect{40, 20, 90, 60}, 2, 22);     // overlaps the first
    mouse.AddRegion(CRect{0, 0, 100, 100}, 3, 33, 0);  // another kind, under both
    struct Case {
        int x, y, kind;
        bool hit;
        int id, subId;
    };
    const Case cases[] = {
        {45, 25, 1, true, 1, 11},  // in both: the first registered
        {10, 10, 1, true, 1, 11},  // left and top are inside
        {50, 25, 1, true, 2, 22},  // right edge of the first is outside it
        {89, 59, 1, true, 2, 22},
        {90, 59, 1, false, -7, -8},  // right and bottom are outside
        {5, 5, 1, false, -7, -8},
        {45, 25, 0, true, 3, 33},  // the kind decides which list is asked
        {45, 25, 2, false, -7, -8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << "," << c.y << ") kind " << c.kind);
        int id = -7;
        int subId = -8;
        EXPECT_EQ(c.hit, mouse.HitTest(c.x, c.y, id, subId, c.kind));
        EXPECT_EQ(c.id, id);
        EXPECT_EQ(c.subId, subId);
    }
}

TEST(MouseDispatch, EachButtonActionReachesItsHandlerWithSignedCoordinates) {
    EngineDesk desk;
    desk.screen.logMoves = true;
    desk.window.Click(Button::Right, 30, 40);
    desk.window.KeyDown(VK_SHIFT);
    desk.window.MouseDown(Button::Middle, 5, 6);
    desk.window.KeyUp(VK_SHIFT);
    desk.window.DoubleClick(Button::Left, 7, 8);
    // While the left button is held (captured), the pointer may leave the client area.
    desk.window.MouseDown(Button::Left, 1, 1);
    desk.window.MouseMove(-12, -3);
    // The host view keeps the button-up that ends a double click from the screen.
    EXPECT_EQ((Log{"RDown 2 30,40", "RUp 0 30,40", "Shift down 1", "MDown 20 5,6", "Shift up 0",
                   "LDown 17 7,8", "LUp 16 7,8", "LDbl 17 7,8", "LDown 17 1,1", "Move 17 -12,-3"}),
              desk.screen.Take());

    desk.screen.SetMouseEnabled(false);
    desk.window.Click(Button::Left, 7, 8);
    desk.window.MouseMove(9, 9);
    EXPECT_EQ(Log{}, desk.screen.Take()) << "mouse input is off";
}

TEST(MouseDispatch, TheWheelOverAWheelRegionBecomesKeysThroughTheWindowsOwnDispatch) {
    struct Case {
        const char* what;
        bool wheelEnabled;
        int delta, col, row;
        Log log;
    };
    const std::vector<Case> cases = {
        {"away over page keys", true, 120, 2, 3, {"PageUp down 0", "PageUp up 0"}},
        {"towards over page keys", true, -120, 2, 3, {"PageDown down 0", "PageDown up 0"}},
        {"away over line keys", true, 240, 12, 3, {"Up down 0", "Up up 0"}},
        {"towards over line keys", true, -1, 12, 3, {"Down down 0", "Down up 0"}},
        {"another sub-id is taken but makes no key", true, 120, 22, 3, {}},
        {"outside every wheel region", true, 120, 40, 3, {}},
        {"over a click region", true, 120, 2, 10, {}},
        {"turning keys off", false, 120, 2, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EngineDesk desk;
        // A client area that is not at the screen's origin: the wheel reports screen pixels.
        desk.window.SetClientOrigin(CPoint{333, 77});
        desk.screen.SetWheelEnabled(c.wheelEnabled);
        desk.screen.AddMouseRegion(0, 0, 10, 5, 1, 1);
        desk.screen.AddMouseRegion(10, 0, 10, 5, 2, 0);
        desk.screen.AddMouseRegion(20, 0, 10, 5, 3, 7);
        desk.screen.AddMouseRegion(0, 10, 10, 5, 4, 1, 2);
        desk.window.Wheel(c.delta, c.col * 10 + 5, c.row * 20 + 5);
        EXPECT_EQ(c.log, desk.screen.Take());
    }
}

// A manager that repeats its right button, as a list scrolling under a held button would.
class RepeatingMouse : public CMouseManagerH {
  public:
    bool OnRButtonDown(int, int x, int y) override {
        StartRepeat(static_cast<int>(WM_RBUTTONDOWN), x, y, 50);
        return true;
    }
    void OnRepeatRButton() override { ++repeats; }
    int repeats = 0;
};

class MouseProc : public IWindowProc {
  public:
    explicit MouseProc(CMouseManagerH& mouse) : m_mouse(mouse) {}
    bool WindowProc(const Message& m) override {
        return m.message == WM_TIMER ? m_mouse.OnTimer(static_cast<UINT>(m.wParam))
                                     : m_mouse.OnMouseMessage(m);
    }
    void OnPaint(CDC&) override {}

  private:
    CMouseManagerH& m_mouse;
};

TEST(MouseRepeat, AHeldButtonRepeatsOnTheHostsTimerUntilItComesUp) {
    HeadlessHostWindow window;
    RepeatingMouse mouse;
    MouseProc proc(mouse);
    window.SetProc(&proc);
    mouse.SetHost(&window);
    mouse.SetMouseEnabled(true);

    window.MouseDown(Button::Right, 3, 4);
    const UINT timer = mouse.RepeatTimer();
    EXPECT_GE(timer, kFirstAllocatedTimerId) << "the id comes from the host";
    EXPECT_EQ(static_cast<int>(WM_RBUTTONDOWN), mouse.RepeatKind());
    EXPECT_EQ(50, window.TimerPeriod(timer));
    EXPECT_EQ((CPoint{3, 4}), (CPoint{mouse.RepeatX(), mouse.RepeatY()}));
    window.AdvanceTime(175);
    EXPECT_EQ(3, mouse.repeats);
    EXPECT_FALSE(mouse.OnTimer(516)) << "the button's message number is no timer of its";

    // The release ends the repeat even while mouse input is off.
    mouse.SetMouseEnabled(false);
    window.MouseUp(Button::Right, 3, 4);
    EXPECT_FALSE(window.TimerRunning(timer));
    EXPECT_EQ(0, mouse.RepeatKind());
    EXPECT_EQ(0u, mouse.RepeatTimer());
    window.AdvanceTime(500);
    EXPECT_EQ(3, mouse.repeats);

    // Without a host nothing starts.
    RepeatingMouse alone;
    alone.SetMouseEnabled(true);
    alone.OnMouseMessage(Message{WM_RBUTTONDOWN, MK_RBUTTON, MakeLParam(1, 1)});
    EXPECT_EQ(0u, alone.RepeatTimer());
}

// Two lists scrolling under held buttons on one window: each repeats on its own timer, and
// one stopping leaves the other running.
TEST(MouseRepeat, TwoManagersOnOneHostNeverShareATimer) {
    HeadlessHostWindow window;
    RepeatingMouse first;
    RepeatingMouse second;
    for (RepeatingMouse* mouse : {&first, &second}) {
        mouse->SetHost(&window);
        mouse->SetMouseEnabled(true);
        mouse->OnMouseMessage(Message{WM_RBUTTONDOWN, MK_RBUTTON, MakeLParam(1, 1)});
    }
    ASSERT_NE(0u, first.RepeatTimer());
    EXPECT_NE(first.RepeatTimer(), second.RepeatTimer());

    struct Proc : IWindowProc {
        RepeatingMouse* mice[2];
        bool WindowProc(const Message& m) override {
            return m.message == WM_TIMER && (mice[0]->OnTimer(static_cast<UINT>(m.wParam)) ||
                                             mice[1]->OnTimer(static_cast<UINT>(m.wParam)));
        }
        void OnPaint(CDC&) override {}
    } proc;
    proc.mice[0] = &first;
    proc.mice[1] = &second;
    window.SetProc(&proc);
    window.AdvanceTime(100);
    EXPECT_EQ(2, first.repeats);
    EXPECT_EQ(2, second.repeats);
    first.OnMouseMessage(Message{WM_RBUTTONUP, 0, MakeLParam(1, 1)});
    window.AdvanceTime(100);
    EXPECT_EQ(2, first.repeats);
    EXPECT_EQ(4, second.repeats);
    EXPECT_TRUE(window.TimerRunning(second.RepeatTimer()));
}

TEST(MouseRepeat, ARepeatDoesNotOutliveItsManager) {
    HeadlessHostWindow window;
    UINT timer = 0;
    {
        RepeatingMouse mouse;
        mouse.SetHost(&window);
        mouse.SetMouseEnabled(true);
        mouse.OnMouseMessage(Message{WM_RBUTTONDOWN, MK_RBUTTON, MakeLParam(1, 1)});
        timer = mouse.RepeatTimer();
        ASSERT_TRUE(window.TimerRunning(timer));
    }
    EXPECT_FALSE(window.TimerRunning(timer));
}

}  // namespace
}  // namespace tokeiya
