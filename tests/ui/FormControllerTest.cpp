#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/CDosWinView.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"
#include "widgets/CCRWMain.hpp"
#include "widgets/CCRWTString.hpp"
#include "widgets/CFunctionMenu.hpp"
#include "widgets/CIIString.hpp"

namespace tokeiya {
namespace {

using namespace win;
using Strings = std::vector<std::string>;

// A bar that notes what reaches it; it takes F-keys, nothing else.
class RecordingBar : public IFunctionKeyBar {
  public:
    explicit RecordingBar(std::string name, Strings& log) : m_name(std::move(name)), m_log(log) {}

    void SetHost(IHostWindow* host) override { m_host = host; }
    IHostWindow* GetHost() const override { return m_host; }
    void SetLabel(int, int, const std::string&, bool) override {}
    std::string GetLabel(int, int) const override { return {}; }
    bool HasLabel(int, int) const override { return false; }
    void SetVisible(bool visible) override { m_visible = visible; }
    bool IsVisible() const override { return m_visible; }
    void RedrawBar() override { m_log.push_back(m_name + " redraw"); }
    void Paint(CDC&) override { m_log.push_back(m_name + " paint"); }
    bool OfferKey(const Message& message) override {
        const auto key = static_cast<int>(message.wParam);
        if (key < VK_F1 || key > (VK_F1 + 11)) {
            return false;
        }
        if (message.message == WM_KEYUP) {
            m_log.push_back(m_name + " F" + std::to_string(key - VK_F1 + 1));
        }
        return true;
    }
    bool OfferMouse(const Message&) override { return false; }

  private:
    std::string m_name;
    Strings& m_log;
    IHostWindow* m_host = nullptr;
    bool m_visible = true;
};

// A screen that notes its exit keys and how often it was set up.
class TestScreen : public CCRWMain {
  public:
    using CCRWMain::CCRWMain;

    void InitScreen() override {
        CCRWMain::InitScreen();
        ++inits;
    }
    bool OnExitKey(int key, int modifiers) override {
        exits.push_back(std::to_string(key) + "/" + std::to_string(modifiers));
        return true;
    }
    void OnPopupClosed() override { ++popupsClosed; }
    bool OnFunctionKey(int key, int labelSet, int modifiers) override {
        functionKeys.push_back(std::to_string(labelSet) + ":" + std::to_string(key) + "/" +
                               std::to_string(modifiers));
        return true;
    }

    Strings exits;
    Strings functionKeys;
    int inits = 0;
    int popupsClosed = 0;
};

class TestView : public CDosWinView {
  public:
    using CDosWinView::CDosWinView;

    bool CreateScreen(int id) override {
        ReplaceScreen(std::make_unique<TestScreen>(&Window()));
        created.push_back(id);
        return true;
    }
    Strings log;
    std::vector<int> created;
};

// The headless desktop (800 x 500) showing a test screen: cells 10 x 20 pixels from (0, 4).
struct Desk {
    headless::HeadlessHostWindow window{800, 500};
    TestView view{window};
    TestScreen* form = nullptr;
    std::string text = "ab";
    CIIString item{10, 5, 8, &text, 0, false, true};

    Desk() {
        window.SetProc(&view);
        view.SetScreen(1);
        form = static_cast<TestScreen*>(view.Screen());
    }
};

TEST(FormController, TheViewSetsTheScreenUpOnceAndForwardsItsNotifications) {
    Desk desk;
    EXPECT_EQ(1, desk.form->inits);
    EXPECT_TRUE(desk.form->Shown());
    desk.window.PostMessage(WM_SETFOCUS, 0, 0);
    desk.window.Pump();
    desk.form->EnsureInitialized();
    EXPECT_EQ(1, desk.form->inits) << "set up once, whatever asks";
    desk.window.PostMessage(WM_POPUP_CLOSED, 0, 0);
    desk.window.Pump();
    EXPECT_EQ(1, desk.form->popupsClosed);
}

TEST(FormController, AnEditorsExitKeyReachesTheScreenOnceAndOtherKeysNever) {
    Desk desk;
    ASSERT_TRUE(desk.form->ActivateItem(&desk.item));
    ASSERT_NE(nullptr, dynamic_cast<CCRWTString*>(desk.form->ActiveEditor()));
    desk.window.Press(VK_TAB);
    EXPECT_EQ(Strings{"9/0"}, desk.form->exits) << "Tab is the form's exit key, posted once";
    desk.window.Press(VK_HOME, kCtrl);
    desk.window.Press(VK_F1 + 2);
    EXPECT_EQ(Strings{"9/0"}, desk.form->exits) << "Home and F3 are no exit keys";

    desk.window.Type("cd");
    int changed = 5;
    EXPECT_TRUE(desk.form->TakeCurrentResult(&changed));
    EXPECT_EQ(1, changed);
    EXPECT_EQ("cd", desk.text) << "the editor opened with its text selected";
    desk.form->CloseEditor();
    EXPECT_EQ(nullptr, desk.form->ActiveEditor());
    changed = 5;
    EXPECT_FALSE(desk.form->TakeCurrentResult(&changed));
    EXPECT_EQ(5, changed) << "no current item after CloseEditor: changed untouched";
    desk.window.Type("x");
    EXPECT_EQ("cd", desk.text) << "characters go to an editor only";
}

TEST(FormController, RejectEditPutsTheValueBackWithTheFormsOneBeep) {
    Desk desk;
    int changed = 7;
    EXPECT_FALSE(desk.form->RejectEdit(&changed, true));
    EXPECT_EQ(7, changed);
    EXPECT_TRUE(desk.window.m_beeps.empty()) << "no item: silent";

    ASSERT_TRUE(desk.form->ActivateItem(&desk.item));
    desk.window.Type("zz");
    ASSERT_TRUE(desk.form->TakeCurrentResult(&changed));
    ASSERT_EQ("zz", desk.text);
    EXPECT_TRUE(desk.form->RejectEdit(&changed, true));
    EXPECT_EQ(0, changed);
    EXPECT_EQ("ab", desk.text);
    ASSERT_EQ(1u, desk.window.m_beeps.size());
    EXPECT_EQ(4000, desk.window.m_beeps[0].frequency);
    EXPECT_EQ(100, desk.window.m_beeps[0].milliseconds);
}

TEST(FormController, AResizeKeepsTheOpenEditorOverItsField) {
    Desk desk;
    ASSERT_TRUE(desk.form->ActivateItem(&desk.item));
    for (auto [w, h] : {std::pair{1000, 700}, std::pair{640, 480}}) {
        desk.window.Resize(w, h);
        CRect expected;
        ASSERT_TRUE(desk.form->ChildRect(expected, 10, 5, 8, 1, 0));
        EXPECT_EQ(expected, desk.form->ActiveEditor()->GetRect()) << w << " x " << h;
    }
}

TEST(FormController, TheWidthKeyIsSwallowedWhereTheInputMethodIsNotAllowed) {
    Desk desk;
    desk.form->SetImeAllowed(false);
    EXPECT_TRUE(desk.window.KeyDown(VK_OEM_AUTO));
    desk.window.KeyUp(VK_OEM_AUTO);
    desk.form->SetImeAllowed(true);
    EXPECT_FALSE(desk.window.KeyDown(VK_OEM_AUTO));
    desk.window.KeyUp(VK_OEM_AUTO);
    EXPECT_TRUE(desk.form->exits.empty());
}

TEST(FormController, FunctionKeysGoToTheBarThatShowsAndTheEditorPaintsLast) {
    Desk desk;
    desk.form->SetFunctionMenu(std::make_unique<RecordingBar>("form", desk.view.log));
    desk.view.InstallFunctionBar(std::make_unique<RecordingBar>("ime", desk.view.log));
    ASSERT_TRUE(desk.form->ActivateItem(&desk.item));
    desk.window.Press(VK_F1 + 4);
    EXPECT_EQ(Strings{"form F5"}, desk.view.log);

    desk.view.log.clear();
    desk.form->OnImeMessage(WM_IME_STARTCOMPOSITION, 0, 0);
    desk.window.Press(VK_F1 + 5);
    desk.window.Invalidate(true);
    desk.window.UpdateWindow();
    EXPECT_EQ((Strings{"ime redraw", "ime F6", "ime paint"}), desk.view.log)
        << "while the input method composes, its bar shows and takes the keys";

    desk.view.log.clear();
    desk.form->OnImeMessage(WM_IME_ENDCOMPOSITION, 0, 0);
    desk.window.Invalidate(true);
    desk.window.UpdateWindow();
    EXPECT_EQ((Strings{"form redraw", "form paint"}), desk.view.log);
}

TEST(FormController, TheScreensBarTurnsAReleasedKeyIntoItsCommandWhileAnEditorIsOpen) {
    Desk desk;
    auto bar = std::make_unique<CFunctionMenu>(&desk.window, true);
    bar->SetLabelSet(1);
    desk.form->SetFunctionMenu(std::move(bar));
    ASSERT_TRUE(desk.form->ActivateItem(&desk.item));
    desk.window.KeyDown(VK_F1 + 4);
    EXPECT_TRUE(desk.form->functionKeys.empty()) << "nothing on the press";
    desk.window.KeyUp(VK_F1 + 4);
    desk.window.Press(VK_F1 + 7, kShift);
    EXPECT_EQ((Strings{"1:5/0", "1:8/1"}), desk.form->functionKeys);
    EXPECT_TRUE(desk.form->exits.empty());
    EXPECT_NE(nullptr, desk.form->ActiveEditor()) << "the edit goes on";
}

TEST(FormController, SwitchScreenAsksTheViewAfterTheCurrentMessage) {
    Desk desk;
    ASSERT_TRUE(desk.form->ActivateItem(&desk.item));
    desk.form->SwitchScreen(7);
    EXPECT_FALSE(desk.form->Shown());
    EXPECT_EQ(nullptr, desk.form->ActiveEditor());
    EXPECT_EQ(std::vector<int>{1}, desk.view.created) << "not before the message is handled";
    desk.window.Pump();
    EXPECT_EQ((std::vector<int>{1, 7}), desk.view.created);
}

}  // namespace
}  // namespace tokeiya
