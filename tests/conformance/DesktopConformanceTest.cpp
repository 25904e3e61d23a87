#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CTime.hpp"
#include "platform/win/KeyboardLayout.hpp"
#include "tests/conformance/DesktopDriver.hpp"

// What every desktop does alike. A difference found here is mended in the headless desktop,
// which exists to behave as the real one does.
namespace tokeiya::conformance {
namespace {

using namespace win;

constexpr int VK_F5 = VK_F1 + 4;
constexpr int VK_F10 = VK_F1 + 9;

class DesktopConformance : public testing::Test {
  protected:
    void SetUp() override {
        m_driver = MakeDesktopDriver();
        ASSERT_NE(m_driver, nullptr);
    }

    DesktopDriver& Driver() { return *m_driver; }
    IMainWindow& Window() { return m_driver->Window(); }
    RecordingProc& Proc() { return m_driver->Proc(); }

  private:
    std::unique_ptr<DesktopDriver> m_driver;
};

// A u8 literal as the bytes GTK takes; plain literals are CP932 in this program.
const char* Utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

std::string KeyName(int virtualKey, int modifiers) {
    return "key " + std::to_string(virtualKey) + " modifiers " + std::to_string(modifiers);
}

// Keys.

TEST_F(DesktopConformance, KeysArriveAsVirtualKeysWithTheirModifierKeysAndCharacters) {
    struct Case {
        int key;
        int modifiers;
        const char* trace;
    };
    const Case cases[] = {
        {'A', 0, "down 65, char 97, up 65"},
        {'A', kShift, "down 16, down 65, char 65, up 65, up 16"},
        {'B', kCtrl, "down 17, down 66, char 2, up 66, up 17"},
        {'C', kShift | kCtrl, "down 16, down 17, down 67, char 3, up 67, up 17, up 16"},
        {'7', 0, "down 55, char 55, up 55"},
        {VK_SPACE, kShift, "down 16, down 32, char 32, up 32, up 16"},
        {VK_RETURN, 0, "down 13, char 13, up 13"},
        {VK_RETURN, kCtrl, "down 17, down 13, char 10, up 13, up 17"},
        {VK_BACK, 0, "down 8, char 8, up 8"},
        {VK_ESCAPE, 0, "down 27, char 27, up 27"},
        {VK_TAB, 0, "down 9, char 9, up 9"},
        {VK_TAB, kShift, "down 16, down 9, char 9, up 9, up 16"},
        {VK_OEM_4, kCtrl, "down 17, down 219, char 27, up 219, up 17"},
        {VK_F5, 0, "down 116, up 116"},
        {VK_F5, kShift, "down 16, down 116, up 116, up 16"},
        {VK_DELETE, 0, "down 46, up 46"},
        {VK_LEFT, 0, "down 37, up 37"},
        {VK_HOME, kCtrl, "down 17, down 36, up 36, up 17"},
        {VK_ADD, 0, "down 107, char 43, up 107"},
        {'X', kAlt, "sysdown 18, sysdown 88, sysup 88, sysup 18"},
        {'X', kCtrl | kAlt, "down 17, down 18, down 88, up 88, up 18, up 17"},
        {VK_F10, 0, "sysdown 121, sysup 121"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(KeyName(c.key, c.modifiers));
        Proc().Clear();
        Driver().Press(c.key, c.modifiers);
        EXPECT_EQ(Proc().KeyTrace(), c.trace);
    }
}

// Whether another printable character is typed with the same code and Shift state (the '7'
// and the apostrophe key both report '7').
bool SharesItsKey(char c) {
    const auto stroke = KeyStrokeOf(c);
    for (int other = 0x20; other < 0x7F; ++other) {
        const auto theirs = KeyStrokeOf(static_cast<char>(other));
        if (other != c && theirs && theirs->virtualKey == stroke->virtualKey &&
            theirs->shift == stroke->shift) {
            return true;
        }
    }
    return false;
}

// The character table the headless desktop types with, checked key by key on the desktop.
TEST_F(DesktopConformance, EveryPrintableCharacterIsTypedWithItsKey) {
    for (int c = 0x20; c < 0x7F; ++c) {
        const auto stroke = KeyStrokeOf(static_cast<char>(c));
        ASSERT_TRUE(stroke) << "no key for " << c;
        const std::string key = std::to_string(stroke->virtualKey);
        const std::string press = "down " + key + ", char " + std::to_string(c) + ", up " + key;
        SCOPED_TRACE(std::string("'") + static_cast<char>(c) + "'");
        Proc().Clear();
        Driver().Type(std::string(1, static_cast<char>(c)));
        EXPECT_EQ(Proc().KeyTrace(), stroke->shift ? "down 16, " + press + ", up 16" : press);
        // The code alone gives the character back, unless another character shares it.
        if (!SharesItsKey(static_cast<char>(c))) {
            EXPECT_EQ(CharactersOfKey(stroke->virtualKey, stroke->shift ? kShift : 0),
                      std::string(1, static_cast<char>(c)));
        }
    }
}

TEST_F(DesktopConformance, ModifierStateIsTheDeliveredEventsOwn) {
    Driver().Press('C', kShift | kCtrl);
    std::vector<int> seen;
    for (const RecordingProc::Entry& entry : Proc().entries) {
        if (entry.message.message == WM_KEYDOWN || entry.message.message == WM_KEYUP) {
            seen.push_back(entry.modifiers);
        }
    }
    // Shift down, Ctrl down, C down and up with both, Ctrl up with Shift, Shift up alone.
    EXPECT_EQ(seen, (std::vector<int>{kShift, kShift | kCtrl, kShift | kCtrl, kShift | kCtrl,
                                      kShift, 0}));
    EXPECT_EQ(Window().ModifierState(), 0);
}

TEST_F(DesktopConformance, AHeldModifierKeyStaysHeldUntilItsRelease) {
    Driver().KeyDown(VK_SHIFT);
    Driver().Press(VK_LEFT);
    Driver().Press(VK_LEFT);
    Driver().KeyUp(VK_SHIFT);
    EXPECT_EQ(Proc().KeyTrace(), "down 16, down 37, up 37, down 37, up 37, up 16");
    std::vector<int> seen;
    for (const RecordingProc::Entry& entry : Proc().entries) {
        seen.push_back(entry.modifiers);
    }
    EXPECT_EQ(seen, (std::vector<int>{kShift, kShift, kShift, kShift, kShift, 0}));
}

TEST_F(DesktopConformance, AHandledKeyDownMakesNoCharacter) {
    Proc().onMessage = [](const Message& m) { return m.message == WM_KEYDOWN && m.wParam == 'Q'; };
    Driver().Press('Q');
    Driver().Press('W');
    EXPECT_EQ(Proc().KeyTrace(), "down 81, up 81, down 87, char 119, up 87");
}

TEST_F(DesktopConformance, WhatAKeyHandlerPostsArrivesBeforeTheKeysCharacter) {
    Proc().onMessage = [this](const Message& m) {
        if (m.message == WM_KEYDOWN) {
            Window().PostMessage(WM_USER + 7, m.wParam, 0);
        }
        return false;
    };
    Driver().Press('E');
    std::vector<UINT> order;
    for (const RecordingProc::Entry& entry : Proc().entries) {
        const UINT m = entry.message.message;
        if (m == WM_KEYDOWN || m == WM_CHAR || m == WM_USER + 7) {
            order.push_back(m);
        }
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_KEYDOWN, WM_USER + 7, WM_CHAR}));
}

// Text that no key makes arrives as an input method commits it outside a composition.
TEST_F(DesktopConformance, DoubleByteAndKanaTextArrivesAsCharacterBytes) {
    struct Case {
        const char* text;
        const char* trace;
    };
    const Case cases[] = {
        {"全", "char 145, char 83"},
        {"ｱ", "char 177"},
        // The trail byte of ソ is a backslash; it is no key of its own.
        {"ソ", "char 131, char 92"},
        {"a給b", "down 65, char 97, up 65, char 139, char 139, down 66, char 98, up 66"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trace);
        Proc().Clear();
        Driver().Type(c.text);
        EXPECT_EQ(Proc().KeyTrace(), c.trace);
    }
}

// Mouse.

TEST_F(DesktopConformance, ClicksCarryClientCoordinatesAndTheButtonsAndKeysHeld) {
    Driver().Click(MouseButton::Left, 30, 20);
    Driver().Click(MouseButton::Right, 31, 21);
    Driver().KeyDown(VK_SHIFT);
    Driver().Click(MouseButton::Left, 32, 22);
    Driver().KeyUp(VK_SHIFT);
    Driver().KeyDown(VK_CONTROL);
    Driver().Click(MouseButton::Middle, 33, 23);
    Driver().KeyUp(VK_CONTROL);
    struct Seen {
        UINT message;
        WPARAM keys;
        LPARAM at;
        int modifiers;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen;
    for (const RecordingProc::Entry& entry : Proc().entries) {
        const UINT m = entry.message.message;
        if (m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK) {
            seen.push_back(Seen{m, entry.message.wParam, entry.message.lParam, entry.modifiers});
        }
    }
    const std::vector<Seen> expected = {
        {WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(30, 20), 0},
        {WM_LBUTTONUP, 0, MakeLParam(30, 20), 0},
        {WM_RBUTTONDOWN, MK_RBUTTON, MakeLParam(31, 21), 0},
        {WM_RBUTTONUP, 0, MakeLParam(31, 21), 0},
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MakeLParam(32, 22), kShift},
        {WM_LBUTTONUP, MK_SHIFT, MakeLParam(32, 22), kShift},
        {WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, MakeLParam(33, 23), kCtrl},
        {WM_MBUTTONUP, MK_CONTROL, MakeLParam(33, 23), kCtrl},
    };
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].message, expected[i].message);
        EXPECT_EQ(seen[i].keys, expected[i].keys);
        EXPECT_EQ(seen[i].at, expected[i].at);
        EXPECT_EQ(seen[i].modifiers, expected[i].modifiers);
    }
}

TEST_F(DesktopConformance, ADoubleClickArrivesInWindowsOrder) {
    Driver().DoubleClick(MouseButton::Left, 40, 50);
    std::vector<UINT> buttons;
    for (const RecordingProc::Entry& entry : Proc().entries) {
        const UINT m = entry.message.message;
        if (m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK) {
            buttons.push_back(m);
        }
    }
    EXPECT_EQ(buttons,
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    const std::vector<Message> doubles = Proc().Of(WM_LBUTTONDBLCLK);
    ASSERT_EQ(doubles.size(), 1u);
    EXPECT_EQ(doubles[0].wParam, MK_LBUTTON);
    EXPECT_EQ(doubles[0].lParam, MakeLParam(40, 50));
}

TEST_F(DesktopConformance, WheelTurnsCarryNotchesAndScreenCoordinates) {
    Driver().Wheel(true, 50, 60);
    Driver().Wheel(false, 50, 60);
    const std::vector<Message> wheels = Proc().Of(WM_MOUSEWHEEL);
    ASSERT_EQ(wheels.size(), 2u);
    EXPECT_EQ(HighWordSigned(static_cast<LPARAM>(wheels[0].wParam)), WHEEL_DELTA);
    EXPECT_EQ(HighWordSigned(static_cast<LPARAM>(wheels[1].wParam)), -WHEEL_DELTA);
    EXPECT_EQ(LowWord(wheels[0].wParam), 0);
    const CPoint origin = Window().ClientOrigin();
    EXPECT_EQ(wheels[0].lParam, MakeLParam(origin.x + 50, origin.y + 60));
}

// Posted messages and timers.

TEST_F(DesktopConformance, PostedMessagesArriveInOrderAfterThePoster) {
    std::vector<WPARAM> order;
    Proc().onMessage = [&](const Message& m) {
        if (m.message == WM_USER + 3) {
            order.push_back(m.wParam);
            if (m.wParam == 2) {
                Window().PostMessage(WM_USER + 3, 100, 0);  // after everything queued now
            }
        }
        return true;
    };
    for (WPARAM i = 0; i < 5; ++i) {
        Window().PostMessage(WM_USER + 3, i, 0);
    }
    EXPECT_TRUE(order.empty()) << "nothing is delivered inside PostMessage";
    ASSERT_TRUE(Driver().RunUntil([&] { return order.size() == 6; }, 3000));
    EXPECT_EQ(order, (std::vector<WPARAM>{0, 1, 2, 3, 4, 100}));
}

TEST_F(DesktopConformance, TimersRepeatRestartAndStop) {
    ASSERT_TRUE(Window().SetTimer(5, 20));
    ASSERT_TRUE(Driver().RunUntil([this] { return Proc().Count(WM_TIMER) >= 3; }, 3000));
    EXPECT_EQ(Proc().Of(WM_TIMER)[0].wParam, 5u);
    EXPECT_TRUE(Window().KillTimer(5));
    EXPECT_FALSE(Window().KillTimer(5));
    Proc().Clear();
    Driver().RunFor(80);
    EXPECT_EQ(Proc().Count(WM_TIMER), 0u);

    // Setting a running id again restarts it with the new period.
    ASSERT_TRUE(Window().SetTimer(6, 60000));
    ASSERT_TRUE(Window().SetTimer(6, 10));
    EXPECT_TRUE(Driver().RunUntil([this] { return Proc().Count(WM_TIMER) >= 1; }, 1000));
    Window().KillTimer(6);
}

TEST_F(DesktopConformance, AllocatedTimerIdsAreDistinctAndAboveTheProgramsOwn) {
    const UINT first = Window().AllocateTimerId();
    const UINT second = Window().AllocateTimerId();
    EXPECT_GE(first, kFirstAllocatedTimerId);
    EXPECT_GE(second, kFirstAllocatedTimerId);
    EXPECT_NE(first, second);
    ASSERT_TRUE(Window().SetTimer(second, 15));
    ASSERT_TRUE(Driver().RunUntil([this] { return Proc().Count(WM_TIMER) >= 1; }, 2000));
    EXPECT_EQ(Proc().Of(WM_TIMER)[0].wParam, second);
    Window().KillTimer(second);
}

// A timer handler that asks for the time sees it moved on by the timer's period.
TEST_F(DesktopConformance, TimersAndTheClockAgree) {
    const std::int64_t start = CTime::GetCurrentTime().GetTime();
    std::int64_t atTick = 0;
    Proc().onMessage = [&](const Message& m) {
        if (m.message == WM_TIMER && m.wParam == 7 && atTick == 0) {
            atTick = CTime::GetCurrentTime().GetTime();
        }
        return m.message == WM_TIMER;
    };
    ASSERT_TRUE(Window().SetTimer(7, 1100));
    ASSERT_TRUE(Driver().RunUntil([&] { return atTick != 0; }, 5000));
    Window().KillTimer(7);
    EXPECT_GE(atTick - start, 1);
    EXPECT_LE(atTick - start, 3);
}

// Clipboard, beep, painting.

TEST_F(DesktopConformance, ClipboardTextIsCp932WithLinuxLineEnds) {
    std::string text = "unchanged";
    EXPECT_FALSE(Window().GetClipboardText(text)) << "nothing on the clipboard yet";
    EXPECT_EQ(text, "unchanged");
    ASSERT_TRUE(Window().SetClipboardText("全員\r\n給料"));
    ASSERT_TRUE(Window().GetClipboardText(text));
    EXPECT_EQ(text, "全員\n給料");
    // Half a double-byte character has no Unicode form: refused, the old text stays.
    EXPECT_FALSE(Window().SetClipboardText("\x82"));
    ASSERT_TRUE(Window().GetClipboardText(text));
    EXPECT_EQ(text, "全員\n給料");

    // Another program's text: what CP932 cannot hold is left out, the rest stays whole.
    Driver().PutForeignClipboardText(Utf8(u8"出勤😀"));
    ASSERT_TRUE(Window().GetClipboardText(text));
    EXPECT_EQ(text, "出勤");
    Driver().PutForeignClipboardText(Utf8(u8"😀給料"));
    ASSERT_TRUE(Window().GetClipboardText(text));
    EXPECT_EQ(text, "給料");
}

TEST_F(DesktopConformance, TheBeepBlocksForItsDuration) {
    const std::int64_t before = Driver().ElapsedMs();
    Window().Beep(4000, 100);
    EXPECT_GE(Driver().ElapsedMs() - before, 100);
}

// An alarm's tones sound while the window goes on: timers tick between them.
TEST_F(DesktopConformance, ATonePatternReturnsAtOnceAndTimersTickMeanwhile) {
    const std::int64_t before = Driver().ElapsedMs();
    Window().PlayTones({{3000, 200, 300}, {4000, 400, 0}});
    EXPECT_LT(Driver().ElapsedMs() - before, 100) << "held until the tones were over";
    ASSERT_TRUE(Window().SetTimer(8, 50));
    EXPECT_TRUE(Driver().RunUntil([this] { return Proc().Count(WM_TIMER) >= 3; }, 800));
    EXPECT_LT(Driver().ElapsedMs() - before, 800);
    Window().KillTimer(8);
}

TEST_F(DesktopConformance, UpdateWindowPaintsTheInvalidRegionBeforeReturning) {
    COLORREF colour = RGB(200, 30, 30);
    Proc().onPaint = [&](CDC& dc) { dc.FillSolidRect(CRect{0, 0, 100, 100}, colour); };
    Driver().RunFor(100);  // the first paint of the new window is over
    Window().Invalidate(false);
    Window().UpdateWindow();
    EXPECT_EQ(Driver().ShownPixel(10, 10), colour);
    EXPECT_EQ(Driver().ShownPixel(150, 150), RGB(255, 255, 255));

    // Only what is invalid is painted again.
    colour = RGB(30, 30, 200);
    Window().InvalidateRect(CRect{0, 0, 50, 50}, false);
    Window().UpdateWindow();
    EXPECT_EQ(Driver().ShownPixel(10, 10), RGB(30, 30, 200));
    EXPECT_EQ(Driver().ShownPixel(70, 70), RGB(200, 30, 30));

    // Nothing invalid: nothing to paint.
    const int paints = Proc().paints;
    Window().UpdateWindow();
    EXPECT_EQ(Proc().paints, paints);
}

// Notice windows.

TEST_F(DesktopConformance, ANoticeShowsItsLinesAndHidesItselfWhenItsTimeIsUp) {
    std::unique_ptr<INoticeWindow> notice = Driver().CreateNoticeWindow("お知らせ");
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->IsVisible()) << "made hidden";

    notice->Show("朝会 の時間です。", "2024/05/01 09:30", 2);
    EXPECT_TRUE(notice->IsVisible());
    EXPECT_EQ(Driver().NoticeTexts(*notice),
              (std::vector<std::string>{"お知らせ", "朝会 の時間です。", "2024/05/01 09:30"}));
    std::int64_t start = Driver().ElapsedMs();
    EXPECT_FALSE(Driver().RunUntil([&] { return !notice->IsVisible(); }, 1500))
        << "hidden before its time";
    // Shown again while shown: the new lines, and the time counts afresh.
    notice->Show("昼会 の時間です。", "2024/05/01 12:00", 2);
    start = Driver().ElapsedMs();
    EXPECT_EQ(Driver().NoticeTexts(*notice)[1], "昼会 の時間です。");
    ASSERT_TRUE(Driver().RunUntil([&] { return !notice->IsVisible(); }, 5000));
    EXPECT_GE(Driver().ElapsedMs() - start, 2000);
    EXPECT_LE(Driver().ElapsedMs() - start, 3000);

    // No time at all: shown, and gone at the desktop's next turn.
    notice->Show("夕会 の時間です。", "2024/05/01 17:00", 0);
    EXPECT_TRUE(notice->IsVisible());
    EXPECT_TRUE(Driver().RunUntil([&] { return !notice->IsVisible(); }, 1000));
}

TEST_F(DesktopConformance, OkHidesTheNoticeWhichCanBeShownAgain) {
    std::unique_ptr<INoticeWindow> notice = Driver().CreateNoticeWindow("お知らせ");
    notice->Show("朝会 の時間です。", "2024/05/01 09:30", 1);
    Driver().ClickNoticeOk(*notice);
    EXPECT_FALSE(notice->IsVisible());
    // Shown again for longer, it stays: the earlier time no longer counts.
    notice->Show("昼会 の時間です。", "2024/05/01 12:00", 60);
    EXPECT_FALSE(Driver().RunUntil([&] { return !notice->IsVisible(); }, 1500));
    EXPECT_EQ(Driver().NoticeTexts(*notice)[2], "2024/05/01 12:00");
    notice->Hide();
    EXPECT_FALSE(notice->IsVisible());
}

}  // namespace
}  // namespace tokeiya::conformance

namespace tokeiya::conformance {
namespace {

// The same sleeps and locks give the same pauses and resumptions, hence the same spans of
// PC activity, on both desktops.
TEST(DesktopActivityConformance, SleepAndTheLockPauseOnceAndResumeWhenBothAreOver) {
    const std::unique_ptr<DesktopDriver> driver = MakeDesktopDriver();
    std::vector<std::string> heard;
    std::unique_ptr<IActivityWatch> watch = driver->WatchActivity(
        {.paused =
             [&heard](DesktopPause why) {
                 heard.emplace_back(why == DesktopPause::Sleep ? "sleep" : "lock");
             },
         .resumed = [&heard] { heard.emplace_back("resume"); }});
    ASSERT_NE(nullptr, watch) << "a desktop that tells no sleep never ends a span";
    const struct {
        bool sleep;  // else the lock
        bool on;
        const char* heard;  // what the watch says to it, "" for nothing
    } steps[] = {
        {true, true, "sleep"},    {true, false, "resume"}, {false, true, "lock"},
        {true, true, ""},         {true, false, ""},       {false, true, ""},
        {false, false, "resume"}, {false, false, ""},      {true, true, "sleep"},
        {false, true, ""},        {true, false, ""},       {false, false, "resume"},
    };
    std::vector<std::string> expected;
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.sleep ? "sleep " : "lock ") + (step.on ? "on" : "off"));
        step.sleep ? driver->Sleep(step.on) : driver->Lock(step.on);
        if (*step.heard != '\0') {
            expected.emplace_back(step.heard);
        }
        ASSERT_EQ(expected, heard);
    }
    watch.reset();
    driver->Sleep(true);
    EXPECT_EQ(expected, heard) << "an ended watch hears nothing";
}

}  // namespace
}  // namespace tokeiya::conformance
