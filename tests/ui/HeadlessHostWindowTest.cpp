#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/CTime.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya {
namespace {

using namespace win;
using headless::HeadlessHostWindow;
using Button = HeadlessHostWindow::Button;
using Log = std::vector<std::string>;

// Writes down every message as "number wParam lParam (modifiers)" and answers with
// `handles`; `react` runs inside the handler, where a real window would post or set timers.
class ProcRecorder : public IWindowProc {
  public:
    explicit ProcRecorder(HeadlessHostWindow& window) : m_window(window) {}

    bool WindowProc(const Message& m) override {
        char entry[96];
        std::snprintf(entry, sizeof entry, "%x %lx %lx m%d", m.message,
                      static_cast<unsigned long>(m.wParam), static_cast<unsigned long>(m.lParam),
                      m_window.ModifierState());
        log.push_back(entry);
        if (react) {
            react(m);
        }
        return handles;
    }
    void OnPaint(CDC& dc) override { dc.FillSolidRect(CRect{10, 10, 20, 20}, paint); }

    Log Take() {
        Log out;
        out.swap(log);
        return out;
    }

    Log log;
    bool handles = true;
    COLORREF paint = RGB(0, 128, 0);
    std::function<void(const Message&)> react;

  private:
    HeadlessHostWindow& m_window;
};

struct Desk {
    HeadlessHostWindow window{640, 400};
    ProcRecorder proc{window};
    Desk() { window.SetProc(&proc); }
};

TEST(HeadlessHostWindow, ModifierKeysSendTheirOwnMessagesAndAreHeldOnlyWhileDown) {
    Desk desk;
    desk.window.KeyDown(VK_TAB, kShift);
    desk.window.KeyUp(VK_TAB, kShift);
    EXPECT_EQ((Log{"100 10 1 m1", "100 9 1 m1", "101 10 c0000001 m0", "100 10 1 m1",
                   "101 9 c0000001 m1", "101 10 c0000001 m0"}),
              desk.proc.Take());
    // With Ctrl held, Alt makes ordinary key messages.
    desk.window.Press('X', kAlt | kCtrl);
    EXPECT_EQ((Log{"100 11 1 m2", "100 12 1 m6", "100 58 1 m6", "101 58 c0000001 m6",
                   "101 12 c0000001 m2", "101 11 c0000001 m0"}),
              desk.proc.Take());
    EXPECT_EQ(0, desk.window.ModifierState());
    EXPECT_EQ(0, desk.window.HeldModifiers());

    desk.window.KeyDown(VK_CONTROL);
    EXPECT_EQ(kCtrl, desk.window.ModifierState()) << "held between messages too";
    desk.window.KeyUp(VK_CONTROL);
    EXPECT_EQ(0, desk.window.ModifierState());
}

TEST(HeadlessHostWindow, AKeyDownNobodyHandlesPostsItsCharacterAfterWhatItsHandlerPosted) {
    Desk desk;
    desk.proc.handles = false;
    desk.proc.react = [&](const Message& m) {
        if (m.message == WM_KEYDOWN && m.wParam == 'A') {
            desk.window.PostMessage(WM_USER + 2, 0, 0);
        }
    };
    desk.window.Press('A', kShift);
    EXPECT_EQ((Log{"100 10 1 m1", "100 41 1 m1", "402 0 0 m1", "102 41 1 m1", "101 41 c0000001 m1",
                   "101 10 c0000001 m0"}),
              desk.proc.Take());
    // Alt combinations are system keys and make no character.
    desk.window.Press('X', kAlt);
    EXPECT_EQ((Log{"104 12 20000001 m4", "104 58 20000001 m4", "105 58 e0000001 m4",
                   "105 12 e0000001 m0"}),
              desk.proc.Take());
    // A key pressed again while down repeats, with the previous-state bit.
    desk.window.KeyDown('D');
    desk.window.KeyDown('D');
    desk.window.KeyUp('D');
    EXPECT_EQ((Log{"100 44 1 m0", "102 64 1 m0", "100 44 40000001 m0", "102 64 40000001 m0",
                   "101 44 c0000001 m0"}),
              desk.proc.Take());
}

TEST(HeadlessHostWindow, TypedTextIsKeysWhereAKeyMakesItAndCommittedBytesElsewhere) {
    struct Case {
        const char* text;
        Log log;
    };
    const std::vector<Case> cases = {
        {"a", {"100 41 1 m0", "102 61 1 m0", "101 41 c0000001 m0"}},
        {"@",
         {"100 10 1 m1", "100 c0 1 m1", "102 40 1 m1", "101 c0 c0000001 m1", "101 10 c0000001 m0"}},
        {"\r", {"100 d 1 m0", "102 d 1 m0", "101 d c0000001 m0"}},
        // The trail byte of ソ is a backslash, which must not become a key of its own.
        {"ソ", {"102 83 1 m0", "102 5c 1 m0"}},
        {"全ｱ", {"102 91 1 m0", "102 53 1 m0", "102 b1 1 m0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Desk desk;
        desk.proc.handles = false;
        desk.window.Type(c.text);
        EXPECT_EQ(c.log, desk.proc.Take());
    }
}

TEST(HeadlessHostWindow, ButtonsAndModifierKeysHeldShowInTheKeyBitsOfEveryMouseMessage) {
    Desk desk;
    desk.window.DoubleClick(Button::Left, 3, 4);
    desk.window.KeyDown(VK_CONTROL);
    desk.window.MouseDown(Button::Right, -2, 5);
    desk.window.KeyUp(VK_CONTROL);
    desk.window.MouseMove(7, 8);
    desk.window.SetClientOrigin(CPoint{100, 50});
    desk.window.Wheel(-120, 7, 8);
    desk.window.MouseUp(Button::Right, 7, 8);
    desk.window.Click(Button::Left, 1, 1, kShift);
    EXPECT_EQ((Log{"201 1 40003 m0", "202 0 40003 m0", "203 1 40003 m0", "202 0 40003 m0",
                   "100 11 1 m2", "204 a 5fffe m2", "101 11 c0000001 m0", "200 2 80007 m0",
                   "20a ff880002 3a006b m0", "205 0 80007 m0", "100 10 1 m1", "201 5 10001 m1",
                   "202 4 10001 m1", "101 10 c0000001 m0"}),
              desk.proc.Take());
}

TEST(HeadlessHostWindow, TimersRunOnTheVirtualClockAfterThePostedMessages) {
    Desk desk;
    int ticks = 0;
    desk.proc.react = [&](const Message& m) {
        if (m.message == WM_TIMER && m.wParam == 7 && ++ticks == 3) {
            desk.window.KillTimer(7);
            desk.window.PostMessage(WM_USER + 9, 0, 0);
        }
    };
    desk.window.SetTimer(7, 100);
    desk.window.SetTimer(8, 250);
    desk.window.PostMessage(WM_USER + 1, 0, 0);
    desk.window.AdvanceTime(-50);
    EXPECT_EQ(0, desk.window.Now()) << "the clock never runs backwards";
    desk.window.AdvanceTime(520);
    EXPECT_EQ(520, desk.window.Now());
    EXPECT_EQ((Log{"401 0 0 m0", "113 7 0 m0", "113 7 0 m0", "113 8 0 m0", "113 7 0 m0",
                   "409 0 0 m0", "113 8 0 m0"}),
              desk.proc.Take());

    // Setting a running timer again restarts it with the new period.
    desk.window.SetTimer(8, 30);
    EXPECT_EQ(30, desk.window.TimerPeriod(8));
    desk.window.AdvanceTime(29);
    EXPECT_EQ(Log{}, desk.proc.Take());
    desk.window.AdvanceTime(1);
    EXPECT_EQ(Log{"113 8 0 m0"}, desk.proc.Take());
}

TEST(HeadlessHostWindow, CTimeReadsTheVirtualClockWhileTheWindowLives) {
    ScopedClockOverride fixed(1'000'000);
    {
        Desk desk;
        std::vector<std::int64_t> atTicks;
        desk.proc.react = [&](const Message& m) {
            if (m.message == WM_TIMER) {
                atTicks.push_back(CTime::GetCurrentTime().GetTime());
            }
        };
        desk.window.SetTimer(3, 1500);
        desk.window.AdvanceTime(999);
        EXPECT_EQ(1'000'000, Clock::Now());
        desk.window.AdvanceTime(1);
        EXPECT_EQ(1'000'001, Clock::Now());
        desk.window.AdvanceTime(2000);
        EXPECT_EQ((std::vector<std::int64_t>{1'000'001, 1'000'003}), atTicks);
        EXPECT_EQ(1'000'003, Clock::Now());

        desk.window.SetClock(5000);
        EXPECT_EQ(5000, Clock::Now());
        desk.window.AdvanceTime(1000);
        EXPECT_EQ(5001, Clock::Now());
    }
    EXPECT_EQ(1'000'000, Clock::Now()) << "the test's own clock is back";
}

TEST(HeadlessHostWindow, AClockOverrideMadeAfterTheWindowMayOutliveIt) {
    ScopedClockOverride fixed(100);
    auto window = std::make_unique<HeadlessHostWindow>();
    window->AdvanceTime(5000);
    EXPECT_EQ(105, Clock::Now());
    {
        ScopedClockOverride later(7000);
        window.reset();
        EXPECT_EQ(7000, Clock::Now()) << "the newest override alive stays in force";
    }
    EXPECT_EQ(100, Clock::Now());
}

TEST(HeadlessHostWindow, ABeepIsRecordedAndBlocksTheTimersForItsDuration) {
    Desk desk;
    desk.window.SetTimer(4, 50);
    desk.window.Beep(4000, 100);
    const std::vector<HeadlessHostWindow::BeepRecord> beeps = {{4000, 100}};
    EXPECT_EQ(beeps, desk.window.m_beeps);
    EXPECT_EQ(100, desk.window.Now());
    EXPECT_EQ(Log{}, desk.proc.Take()) << "no tick while the beep blocks";
    // The late tick comes once, and the next a whole period after it.
    desk.window.AdvanceTime(0);
    EXPECT_EQ(Log{"113 4 0 m0"}, desk.proc.Take());
    desk.window.AdvanceTime(49);
    EXPECT_EQ(Log{}, desk.proc.Take());
    desk.window.AdvanceTime(1);
    EXPECT_EQ(Log{"113 4 0 m0"}, desk.proc.Take());
}

TEST(HeadlessHostWindow, TimerIdsAreHandedOutOnceAboveTheProgramsOwn) {
    Desk desk;
    const UINT first = desk.window.AllocateTimerId();
    const UINT second = desk.window.AllocateTimerId();
    EXPECT_EQ(kFirstAllocatedTimerId, first);
    EXPECT_EQ(kFirstAllocatedTimerId + 1, second);
    HeadlessHostWindow other;
    EXPECT_EQ(kFirstAllocatedTimerId, other.AllocateTimerId()) << "one allocator per window";
}

TEST(HeadlessHostWindow, UpdateWindowPaintsOnlyWhatIsInvalidIntoTheSurface) {
    Desk desk;
    HeadlessHostWindow& w = desk.window;
    w.UpdateWindow();
    ASSERT_NE(nullptr, w.Surface()) << "the first update paints the whole new surface";
    EXPECT_EQ(1, w.UpdatePaints());
    EXPECT_EQ(RGB(0, 128, 0), w.Surface()->GetPixel(15, 15));
    w.UpdateWindow();
    EXPECT_EQ(1, w.UpdatePaints()) << "nothing invalid, nothing painted";

    desk.proc.paint = RGB(200, 0, 0);
    w.InvalidateRect(CRect{0, 0, 12, 12}, false);
    w.UpdateWindow();
    EXPECT_EQ(2, w.UpdatePaints());
    EXPECT_EQ(RGB(200, 0, 0), w.Surface()->GetPixel(11, 11));
    EXPECT_EQ(RGB(0, 128, 0), w.Surface()->GetPixel(15, 15)) << "outside the invalid part";
    // What lies outside the client area asks for nothing.
    w.InvalidateRect(CRect{700, 500, 800, 600}, false);
    w.UpdateWindow();
    EXPECT_EQ(2, w.UpdatePaints());
}

TEST(HeadlessHostWindow, PostedMessagesWaitForTheHandlerThatPostedThem) {
    Desk desk;
    desk.proc.react = [&](const Message& m) {
        if (m.message == WM_KEYDOWN) {
            desk.window.PostMessage(WM_EXIT_KEY, m.wParam, 0);
            EXPECT_EQ(1u, desk.window.PendingMessages()) << "not delivered inside the handler";
        }
    };
    desk.window.KeyDown(VK_RETURN);
    EXPECT_EQ((Log{"100 d 1 m0", "5f5 d 0 m0"}), desk.proc.Take());

    for (int i = 0; i < 3; ++i) {
        desk.window.PostMessage(WM_USER + i, 0, 0);
    }
    EXPECT_EQ(2, desk.window.Pump(2));
    EXPECT_EQ(1u, desk.window.PendingMessages());
    EXPECT_EQ(1, desk.window.Pump());
}

TEST(HeadlessHostWindow, CompositionsStartOnceAndAnUntakenResultBecomesCharacters) {
    struct Case {
        const char* what;
        bool handles;
        bool inputMethod;
        Log log;
    };
    const std::vector<Case> cases = {
        {"the window takes the result",
         true,
         true,
         {"10d 0 0 m0", "10f 0 88 m0", "10f 0 88 m0", "10f 0 800 m0", "10e 0 0 m0"}},
        {"the system turns it into characters",
         false,
         true,
         {"10d 0 0 m0", "10f 0 88 m0", "10f 0 88 m0", "10f 0 800 m0", "10e 0 0 m0", "102 8a 1 m0",
          "102 bf 1 m0"}},
        {"no input method", true, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Desk desk;
        desk.proc.handles = c.handles;
        desk.window.SetInputMethodAvailable(c.inputMethod);
        EXPECT_EQ(c.inputMethod, desk.window.InputContext() != nullptr);
        desk.window.Compose("か");
        desk.window.Compose("");
        desk.window.CommitComposition("漢");
        EXPECT_FALSE(desk.window.Composing());
        desk.window.CancelCompositionByUser();  // nothing under way: nothing happens
        EXPECT_EQ(c.log, desk.proc.Take());
    }

    Desk desk;
    desk.window.Compose("か");
    EXPECT_EQ("か", desk.window.InputContext()->CompositionString(GCS_COMPSTR));
    desk.window.CancelCompositionByUser();
    EXPECT_EQ((Log{"10d 0 0 m0", "10f 0 88 m0", "10f 0 0 m0", "10e 0 0 m0"}), desk.proc.Take());
    EXPECT_EQ("", desk.window.InputContext()->CompositionString(GCS_COMPSTR));
}

TEST(HeadlessHostWindow, CaretClipboardAndInvalidationAreRecorded) {
    Desk desk;
    HeadlessHostWindow& w = desk.window;
    w.CreateCaret(2, 18);
    EXPECT_FALSE(w.m_caret.Visible()) << "a new caret starts hidden";
    w.ShowCaret();
    EXPECT_TRUE(w.m_caret.Visible());
    w.HideCaret();
    w.HideCaret();
    w.ShowCaret();
    EXPECT_FALSE(w.m_caret.Visible()) << "hidden twice, shown once";
    w.ShowCaret();
    w.SetCaretPos(CPoint{30, 40});
    EXPECT_TRUE(w.m_caret.Visible());
    EXPECT_EQ((CPoint{30, 40}), w.GetCaretPos());

    std::string text = "unchanged";
    EXPECT_FALSE(w.GetClipboardText(text));
    EXPECT_EQ("unchanged", text);
    EXPECT_TRUE(w.SetClipboardText("全員\r\n\r給料\r"));
    EXPECT_TRUE(w.GetClipboardText(text));
    EXPECT_EQ("全員\n\r給料\r", text) << "only CR before LF goes";
    EXPECT_FALSE(w.SetClipboardText("全\x82"));
    EXPECT_TRUE(w.GetClipboardText(text));
    EXPECT_EQ("全員\n\r給料\r", text);

    w.InvalidateRect(CRect{1, 2, 3, 4}, false);
    w.Invalidate(true);
    EXPECT_EQ((std::vector<CRect>{CRect{1, 2, 3, 4}, CRect{0, 0, 640, 400}}), w.m_invalidated);
    EXPECT_EQ(1, w.m_invalidateAllCount);
}

TEST(HeadlessHostWindow, PaintsThroughTheProcIntoAPicture) {
    Desk desk;
    test::TempFolder folder;
    const std::string path = folder.Path() + "/desk.png";
    ASSERT_TRUE(desk.window.PaintToPng(path));
    auto picture = desk.window.Paint();
    EXPECT_EQ(640, picture->Width());
    EXPECT_EQ(RGB(0, 128, 0), picture->GetPixel(15, 15));
    EXPECT_EQ(RGB(255, 255, 255), picture->GetPixel(25, 15));
}

TEST(HeadlessHostWindow, MinimisingAndRestoringSizeTheClientAsAWindowDoes) {
    Desk desk;
    HeadlessHostWindow& w = desk.window;
    w.SetMaximizedSize(CSize{1600, 1000});
    w.ShowWindow(SW_SHOWMAXIMIZED);
    w.ShowWindow(SW_SHOWMAXIMIZED);
    w.ShowWindow(SW_SHOWMINIMIZED);
    EXPECT_TRUE(w.IsMinimized());
    EXPECT_FALSE(w.IsMaximized());
    EXPECT_TRUE(w.ClientRect().IsEmpty());
    w.ShowWindow(SW_RESTORE);
    EXPECT_TRUE(w.IsMaximized()) << "a restore brings back the maximised window";
    EXPECT_EQ((CRect{0, 0, 1600, 1000}), w.ClientRect());
    w.ShowWindow(SW_RESTORE);
    EXPECT_EQ((CRect{0, 0, 640, 400}), w.ClientRect());
    EXPECT_EQ((Log{"18 1 0 m0", "5 2 3e80640 m0", "5 1 0 m0", "5 2 3e80640 m0", "5 0 1900280 m0"}),
              desk.proc.Take());
}

TEST(HeadlessHostWindow, ADestroyedWindowDeliversNothingMore) {
    Desk desk;
    desk.window.SetTimer(1, 10);
    desk.window.PostMessage(WM_USER, 0, 0);
    desk.window.SetCapture();
    desk.window.Destroy();
    desk.window.Destroy();
    EXPECT_EQ(Log{"2 0 0 m0"}, desk.proc.Take());
    desk.window.PostMessage(WM_USER, 0, 0);
    desk.window.AdvanceTime(100);
    desk.window.KeyDown(VK_TAB);
    desk.window.Type("a");
    desk.window.UpdateWindow();
    EXPECT_EQ(Log{}, desk.proc.Take());
    EXPECT_EQ(nullptr, desk.window.Surface());
    EXPECT_FALSE(desk.window.HasCapture());
    EXPECT_FALSE(desk.window.SetTimer(2, 10));
}

}  // namespace
}  // namespace tokeiya
