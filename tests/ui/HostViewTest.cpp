#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/CDosWinFrame.hpp"
#include "engine/CDosWinView.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"
#include "tests/ui/FakeFunctionKeyBar.hpp"

namespace tokeiya {
namespace {

using headless::HeadlessHostWindow;
using Button = HeadlessHostWindow::Button;
using namespace win;

// A screen that writes down what reaches it.
class RecordingScreen : public CCRWin {
  public:
    RecordingScreen() : CCRWin(nullptr, true) {}

    bool OnMouseMessage(const Message& message) override {
        if (message.message != WM_SIZE && message.message < WM_USER) {
            mouse.push_back(message);
        }
        return CCRWin::OnMouseMessage(message);
    }
    bool OnKeyDown(const Message& message) override {
        keys.push_back(static_cast<int>(message.wParam));
        return handleKeys;
    }
    bool OnExitKey(int virtualKey, int modifiers) override {
        exitKeys.push_back({virtualKey, modifiers});
        return true;
    }
    bool OnCommand(int command) override {
        commands.push_back(command);
        return true;
    }
    bool OnVScroll(int event, int position, CCRWScrollBar* bar) override {
        scrolls.push_back({event, position});
        return CCRWin::OnVScroll(event, position, bar);
    }
    bool OnUserMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        userMessages.push_back(Message{message, wParam, lParam});
        return takesUserMessages;
    }
    bool OnFunctionKey(int key, int labelSet, int modifiers) override {
        functionKeys.push_back({key, labelSet, modifiers});
        return true;
    }
    void Activate() override { ++activations; }
    void Deactivate() override { ++deactivations; }
    bool HasEditTarget() override { return editTarget; }
    bool CanCopy() override { return canCopy; }
    bool CanPaste() override { return canPaste; }
    void EditCopy() override { edits.push_back("copy"); }
    void EditPaste() override { edits.push_back("paste"); }
    void EditCut() override { edits.push_back("cut"); }

    std::vector<Message> mouse;
    std::vector<int> keys;
    std::vector<std::pair<int, int>> exitKeys;
    std::vector<int> commands;
    std::vector<std::pair<int, int>> scrolls;
    struct FunctionKey {
        int key, labelSet, modifiers;
    };
    std::vector<FunctionKey> functionKeys;
    std::vector<std::string> edits;
    std::vector<Message> userMessages;
    bool takesUserMessages = false;
    int activations = 0;
    int deactivations = 0;
    bool handleKeys = false;
    bool editTarget = false;
    bool canCopy = false;
    bool canPaste = false;
};

// A view that knows two screen codes: 0 and 7.
class TestView : public CDosWinView {
  public:
    using CDosWinView::CDosWinView;

    bool CreateScreen(int id) override {
        created.push_back(id);
        if (id != 0 && id != 7) {
            return false;
        }
        auto screen = std::make_unique<RecordingScreen>();
        current = screen.get();
        ReplaceScreen(std::move(screen));
        return true;
    }

    std::vector<int> created;
    RecordingScreen* current = nullptr;
};

class HostView : public ::testing::Test {
  protected:
    HostView() : m_window(800, 500), m_view(m_window) {
        m_window.SetProc(&m_view);
        m_window.SetClientOrigin(CPoint{300, 200});
        EXPECT_TRUE(m_view.SetScreen(0));
        m_window.m_invalidated.clear();
    }

    RecordingScreen& Screen() { return *m_view.current; }

    HeadlessHostWindow m_window;
    TestView m_view;
};

TEST_F(HostView, SetScreenAttachesSizesShowsAndActivatesTheScreen) {
    RecordingScreen& screen = Screen();
    EXPECT_EQ(&m_window, screen.GetHost());
    EXPECT_EQ((CRect{0, 0, 800, 500}), screen.GetRect());
    EXPECT_TRUE(screen.Shown());
    EXPECT_EQ(1, screen.activations);

    EXPECT_FALSE(m_view.SetScreen(5)) << "an unknown code changes nothing";
    EXPECT_EQ(&screen, m_view.Screen());
}

TEST_F(HostView, DoubleClickReachesTheScreenAsDownUpDoubleClickWithoutTheLastUp) {
    m_window.DoubleClick(Button::Left, 40, 30);
    std::vector<UINT> seen;
    for (const Message& message : Screen().mouse) {
        seen.push_back(message.message);
    }
    EXPECT_EQ((std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}), seen);
    EXPECT_FALSE(m_view.SwallowingButtonUp());

    m_window.Click(Button::Right, 5, 5);
    ASSERT_EQ(5u, Screen().mouse.size()) << "the next click is whole again";
    EXPECT_EQ(WM_RBUTTONUP, Screen().mouse.back().message);
}

TEST_F(HostView, WheelPositionIsConvertedFromScreenToClientCoordinates) {
    m_window.Wheel(-120, 25, 60);
    ASSERT_EQ(1u, Screen().mouse.size());
    const Message& wheel = Screen().mouse[0];
    EXPECT_EQ(WM_MOUSEWHEEL, wheel.message);
    EXPECT_EQ(25, LowWordSigned(wheel.lParam));
    EXPECT_EQ(60, HighWordSigned(wheel.lParam));
    EXPECT_EQ(-120, HighWordSigned(static_cast<LPARAM>(wheel.wParam)));
}

TEST_F(HostView, EngineMessagesReachTheirHandlers) {
    RecordingScreen& screen = Screen();
    CCRWScrollBar* bar = screen.CreateScrollBar(70, 2, 20, 1, 0, 1, false);
    m_window.PostMessage(WM_EXIT_KEY, VK_TAB, kShift);
    m_window.PostMessage(WM_COMMAND_KEY, 42, 0);
    m_window.PostMessage(WM_ENGINE_VSCROLL, 3, bar->Serial());
    m_window.PostMessage(WM_ENGINE_VTHUMB, 17, bar->Serial());
    m_window.PostMessage(WM_FUNCTION_KEY, 205, kCtrl);
    EXPECT_EQ(5, m_window.Pump());

    EXPECT_EQ((std::vector<std::pair<int, int>>{{VK_TAB, kShift}}), screen.exitKeys);
    EXPECT_EQ(std::vector<int>{42}, screen.commands);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{3, 0}, {4, 17}}), screen.scrolls);
    ASSERT_EQ(1u, screen.functionKeys.size());
    EXPECT_EQ(5, screen.functionKeys[0].key);
    EXPECT_EQ(2, screen.functionKeys[0].labelSet);
    EXPECT_EQ(kCtrl, screen.functionKeys[0].modifiers);
    EXPECT_TRUE(m_window.m_unhandled.empty());
}

// A scroll notification names its bar by serial: once the screen that owned the bar is
// gone, the notification reaches nobody, even the new screen's bar at the same place.
TEST_F(HostView, ScrollNotificationsOfABarGoneWithItsScreenAreDropped) {
    CCRWScrollBar* old = Screen().CreateScrollBar(70, 2, 20, 1, 0, 1, false);
    const LPARAM serial = old->Serial();
    m_window.PostMessage(WM_ENGINE_VSCROLL, 1, serial);
    m_window.PostMessage(WM_ENGINE_VTHUMB, 5, serial);
    ASSERT_TRUE(m_view.SetScreen(7));  // before the notifications are delivered
    CCRWScrollBar* fresh = Screen().CreateScrollBar(70, 2, 20, 1, 0, 1, false);
    EXPECT_NE(serial, fresh->Serial());
    EXPECT_EQ(2, m_window.Pump());
    EXPECT_TRUE(Screen().scrolls.empty());

    m_window.PostMessage(WM_ENGINE_VSCROLL, 1, fresh->Serial());
    m_window.PostMessage(WM_ENGINE_VSCROLL, 1, 0);
    m_window.Pump();
    EXPECT_EQ((std::vector<std::pair<int, int>>{{1, 0}}), Screen().scrolls);
    EXPECT_EQ(fresh, Screen().FindScrollBarBySerial(fresh->Serial()));
    EXPECT_EQ(nullptr, Screen().FindScrollBarBySerial(serial));
}

TEST_F(HostView, TheProgramsOwnMessagesAreOfferedToTheScreenAfterTheRouting) {
    RecordingScreen& screen = Screen();
    screen.takesUserMessages = true;
    m_window.PostMessage(WM_USER + 40, 7, 8);
    m_window.PostMessage(WM_EXIT_KEY, VK_RETURN, 0);  // the view's own: routed, not offered
    m_window.PostMessage(WM_USER - 1, 0, 0);          // below WM_USER: never offered
    m_window.Pump();
    ASSERT_EQ(1u, screen.userMessages.size());
    EXPECT_EQ(WM_USER + 40, screen.userMessages[0].message);
    EXPECT_EQ(7u, screen.userMessages[0].wParam);
    EXPECT_EQ(8, screen.userMessages[0].lParam);
    EXPECT_EQ(1u, screen.exitKeys.size());
    ASSERT_EQ(1u, m_window.m_unhandled.size());
    EXPECT_EQ(WM_USER - 1, m_window.m_unhandled[0].message);

    // Not taken: the message goes on to the view's (and the frame's) handling.
    screen.takesUserMessages = false;
    EXPECT_FALSE(m_window.Send(WM_USER + 41));
    EXPECT_EQ(2u, screen.userMessages.size());
}

TEST_F(HostView, RedrawScreenPaintsBeforeItReturns) {
    RecordingScreen& screen = Screen();
    screen.SetDefaultColors(RGB(0, 0, 0), RGB(255, 255, 255));
    ASSERT_TRUE(screen.SetBackColor(RGB(20, 120, 20), 0, 0, 80, 25, false));
    const int before = m_window.UpdatePaints();
    m_view.RedrawScreen();
    EXPECT_EQ(before + 1, m_window.UpdatePaints());
    ASSERT_NE(nullptr, m_window.Surface());
    EXPECT_EQ(RGB(20, 120, 20), m_window.Surface()->GetPixel(400, 250));
}

TEST_F(HostView, SwitchScreenMessageReplacesTheScreen) {
    RecordingScreen* first = m_view.current;
    m_window.PostMessage(WM_SWITCH_SCREEN, 7, 0);
    m_window.Pump();
    EXPECT_EQ((std::vector<int>{0, 7}), m_view.created);
    EXPECT_NE(first, m_view.current);
    EXPECT_EQ(m_view.current, m_view.Screen());
    EXPECT_TRUE(m_view.current->Shown());
}

TEST_F(HostView, KeysGoToTheScreenAndUnhandledOnesFallThrough) {
    EXPECT_FALSE(m_window.KeyDown('A'));
    Screen().handleKeys = true;
    EXPECT_TRUE(m_window.KeyDown(VK_F1 + 4));
    EXPECT_EQ((std::vector<int>{'A', VK_F1 + 4}), Screen().keys);
}

TEST_F(HostView, ResizeLaysOutTheScreenButZeroSizeLeavesEverythingAlone) {
    m_window.Resize(640, 400);
    EXPECT_EQ((CRect{0, 0, 640, 400}), Screen().GetRect());
    const CMemoryDC* buffer = m_view.BackBuffer();
    ASSERT_NE(nullptr, buffer);
    EXPECT_EQ(640, buffer->Width());

    m_window.Resize(0, 0, SIZE_MINIMIZED);
    m_window.Resize(0, 0, SIZE_RESTORED);
    EXPECT_EQ((CRect{0, 0, 640, 400}), Screen().GetRect());
    EXPECT_EQ(buffer, m_view.BackBuffer()) << "the back buffer survives minimising";
}

TEST_F(HostView, PaintCopiesTheScreenThroughTheBackBuffer) {
    RecordingScreen& screen = Screen();
    screen.SetDefaultColors(RGB(0, 0, 0), RGB(255, 255, 255));
    ASSERT_TRUE(screen.SetBackColor(RGB(200, 30, 30), 0, 0, 80, 25, false));
    auto picture = m_window.Paint();
    EXPECT_EQ(RGB(200, 30, 30), picture->GetPixel(400, 250));
}

TEST_F(HostView, FocusAndVisibilityFollowTheWindow) {
    m_window.Send(WM_KILLFOCUS);
    m_window.Send(WM_SETFOCUS);
    EXPECT_EQ(1, Screen().deactivations);
    EXPECT_EQ(2, Screen().activations);
    m_window.Send(WM_SHOWWINDOW, 0);
    EXPECT_FALSE(Screen().Shown());
}

TEST_F(HostView, EditCommandsAreEnabledByTheScreensAnswers) {
    struct Case {
        bool target, copy, paste;
        bool copyEnabled, pasteEnabled;
    };
    const Case cases[] = {{false, true, true, false, false},
                          {true, false, false, false, false},
                          {true, true, false, true, false},
                          {true, false, true, false, true}};
    for (const Case& c : cases) {
        Screen().editTarget = c.target;
        Screen().canCopy = c.copy;
        Screen().canPaste = c.paste;
        CommandState copy;
        CommandState cut;
        CommandState paste;
        EXPECT_TRUE(m_view.OnUpdateCommand(ID_EDIT_COPY, copy));
        m_view.OnUpdateCommand(ID_EDIT_CUT, cut);
        m_view.OnUpdateCommand(ID_EDIT_PASTE, paste);
        SCOPED_TRACE(testing::Message()
                     << "target " << c.target << " copy " << c.copy << " paste " << c.paste);
        EXPECT_EQ(c.copyEnabled, copy.enabled);
        EXPECT_EQ(c.copyEnabled, cut.enabled);
        EXPECT_EQ(c.pasteEnabled, paste.enabled);
    }
    EXPECT_TRUE(m_view.OnMenuCommand(ID_EDIT_PASTE));
    EXPECT_EQ(std::vector<std::string>{"paste"}, Screen().edits);
}

TEST(HostViewWithoutScreen, MessagesFallThroughAndEditCommandsAreOff) {
    HeadlessHostWindow window;
    CDosWinView view(window);
    window.SetProc(&view);
    EXPECT_FALSE(window.KeyDown(VK_RETURN));
    window.PostMessage(WM_EXIT_KEY, VK_RETURN, 0);
    window.Pump();
    CommandState copy;
    view.OnUpdateCommand(ID_EDIT_COPY, copy);
    EXPECT_FALSE(copy.enabled);
    EXPECT_TRUE(view.OnFunctionKey(1, 0, 0)) << "nothing is left to do without a screen";
    EXPECT_FALSE(view.SetScreen(0));
}

TEST(HostViewLabels, ImeKeysAreLabelledF6ToF10OfTheInstalledBar) {
    HeadlessHostWindow window;
    CDosWinView view(window);
    view.LabelImeKeys();  // no bar yet: nothing to label, nothing happens
    EXPECT_EQ(nullptr, view.FunctionBar());

    auto owned = std::make_unique<test::FakeFunctionKeyBar>();
    test::FakeFunctionKeyBar* bar = owned.get();
    view.InstallFunctionBar(std::move(owned));
    EXPECT_EQ(bar, view.FunctionBar());
    EXPECT_EQ(&window, bar->GetHost()) << "the bar paints into and posts to the view's window";
    view.LabelImeKeys();
    const char* const expected[] = {"",         "",     "",           "",           "", "ひらがな",
                                    "カタカナ", "半角", "全角無変換", "半角無変換", "", ""};
    for (int key = 1; key <= IFunctionKeyBar::kKeyCount; ++key) {
        SCOPED_TRACE(key);
        EXPECT_EQ(expected[key - 1], bar->GetLabel(0, key));
        EXPECT_EQ("", bar->GetLabel(1, key)) << "only label set 0";
    }
}

TEST(ZoomRect, SizesAndCentresTheWindowOnTheDesktop) {
    struct Case {
        CSize desktop;
        int percent;
        bool keepAspect;
        CRect expected;
    };
    const Case cases[] = {
        {{1600, 1000}, 80, true, {236, 100, 236 + 1128, 100 + 800}},
        {{1600, 1000}, 80, false, {160, 100, 160 + 1280, 100 + 800}},
        {{1600, 1000}, 90, false, {80, 50, 80 + 1440, 50 + 900}},
        // A tall desktop keeps the width and takes height = width / 1.41.
        {{1000, 1000}, 80, true, {100, 216, 100 + 800, 216 + 567}},
        {{1920, 1080}, 70, true, {427, 162, 427 + 1066, 162 + 756}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.desktop.cx << "x" << c.desktop.cy << " at "
                                        << c.percent << "% aspect " << c.keepAspect);
        EXPECT_EQ(c.expected, CDosWinFrame::ZoomRect(c.desktop, c.percent, c.keepAspect));
    }
}

}  // namespace
}  // namespace tokeiya
