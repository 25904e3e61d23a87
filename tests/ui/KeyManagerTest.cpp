#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/RecordingWindow.hpp"

namespace tokeiya {
namespace {

using namespace win;
using test::EngineDesk;
using Log = std::vector<std::string>;

constexpr int VK_F5 = VK_F1 + 4;

struct KeyCase {
    const char* what;
    int key;
    int modifiers;
    bool down;
    bool handled;  // what the key dispatch answers the host
    Log log;       // the handler, then whatever the host delivered after it
};

void RunKeyCases(EngineDesk& desk, const std::vector<KeyCase>& cases) {
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        const bool handled = c.down ? desk.window.KeyDown(c.key, c.modifiers)
                                    : desk.window.KeyUp(c.key, c.modifiers);
        EXPECT_EQ(c.handled, handled);
        EXPECT_EQ(c.log, desk.screen.Take());
        EXPECT_EQ(0u, desk.window.PendingMessages());
    }
}

TEST(KeyManager, DefaultExitKeysArePostedWithTheModifiersHeld) {
    EngineDesk desk;
    desk.screen.SetExitKeys(nullptr, true);
    RunKeyCases(
        desk,
        {
            {"Shift+Tab",
             VK_TAB,
             kShift,
             true,
             true,
             {"Shift down 1", "Tab down 1", "Exit 9/1", "Shift up 0"}},
            {"Home is no exit key", VK_HOME, 0, true, false, {"Home down 0"}},
            {"Return", VK_RETURN, 0, true, true, {"Return down 0", "Exit 13/0"}},
            {"Return up looks in the key-up set", VK_RETURN, 0, false, false, {"Return up 0"}},
            {"Ctrl+Alt+Down",
             VK_DOWN,
             kCtrl | kAlt,
             true,
             true,
             {"Ctrl down 2", "Other18x1 down", "Down down 6", "Exit 40/6", "Other18x1 up",
              "Ctrl up 0"}},
            {"a letter", 'A', 0, true, false, {"Other65x1 down"}},
            {"Alt alone is an other key", VK_MENU, kAlt, true, false, {"Other18x1 down"}},
        });
}

TEST(KeyManager, AHandledKeyIsNeitherPostedNorLeftForTheHost) {
    EngineDesk desk;
    desk.screen.SetExitKeys(nullptr, true);
    desk.screen.consume = {"Tab"};
    desk.window.KeyDown(VK_SHIFT);
    EXPECT_EQ(Log{"Shift down 1"}, desk.screen.Take());
    RunKeyCases(desk, {{"Shift+Tab consumed", VK_TAB, kShift, true, true, {"Tab down 1"}}});
    EXPECT_EQ(VK_TAB, desk.screen.LastKey());
    EXPECT_EQ(kShift, desk.screen.LastModifiers());
    EXPECT_TRUE(desk.screen.LastDown());
    desk.window.KeyUp(VK_SHIFT);
    EXPECT_EQ(VK_SHIFT, desk.screen.LastKey());
    EXPECT_EQ(0, desk.screen.LastModifiers());
    EXPECT_FALSE(desk.screen.LastDown());
}

TEST(KeyManager, ACommandKeyFiresOnKeyDownWithExactlyItsModifiers) {
    EngineDesk desk;
    desk.screen.CommandKeys().push_back(CKeySet{VK_F5, kCtrl, 77});
    desk.screen.AddExitKey(VK_F5, -1);  // never reached: function keys are not exit keys
    RunKeyCases(
        desk,
        {
            {"Ctrl+F5", VK_F5, kCtrl, true, true, {"Ctrl down 2", "Command 77", "Ctrl up 0"}},
            {"Ctrl+F5 up", VK_F5, kCtrl, false, false, {"Ctrl down 2", "F5 up 2", "Ctrl up 0"}},
            {"Ctrl+Shift+F5",
             VK_F5,
             kCtrl | kShift,
             true,
             false,
             {"Shift down 1", "Ctrl down 3", "F5 down 3", "Ctrl up 1", "Shift up 0"}},
            {"F5", VK_F5, 0, true, false, {"F5 down 0"}},
        });
}

TEST(KeyManager, FunctionKeysNeverReachTheExitKeySets) {
    EngineDesk desk;
    for (int key : {VK_F1, VK_F1 + 2, VK_F20, VK_F20 + 1}) {
        desk.screen.AddExitKey(key, -1);
        desk.screen.ExitKeysUp().push_back(CKeySet{key, -1, 0});
    }
    desk.screen.consume = {"F20"};
    RunKeyCases(
        desk,
        {
            {"F1", VK_F1, 0, true, false, {"F1 down 0"}},
            {"F3 up", VK_F1 + 2, kShift, false, false, {"Shift down 1", "F3 up 1", "Shift up 0"}},
            {"F20 answers for itself", VK_F20, 0, true, true, {"F20 down 0"}},
            // The first key past F20 is an ordinary key and may be an exit key.
            {"F21", VK_F20 + 1, 0, true, true, {"Other132x1 down", "Exit 132/0"}},
        });
}

TEST(KeyManager, KeyUpsLookOnlyInTheKeyUpSet) {
    EngineDesk desk;
    desk.screen.ExitKeysUp().push_back(CKeySet{VK_RETURN, -1, 0});
    desk.screen.ExitKeysUp().push_back(CKeySet{VK_TAB, kShift, 0});
    RunKeyCases(desk, {
                          {"Return down", VK_RETURN, 0, true, false, {"Return down 0"}},
                          {"Return up", VK_RETURN, 0, false, true, {"Return up 0", "Exit 13/0"}},
                          {"Tab up", VK_TAB, 0, false, false, {"Tab up 0"}},
                          {"Shift+Tab up",
                           VK_TAB,
                           kShift,
                           false,
                           true,
                           {"Shift down 1", "Tab up 1", "Exit 9/1", "Shift up 0"}},
                          {"Ctrl+Shift+Tab up",
                           VK_TAB,
                           kCtrl | kShift,
                           false,
                           false,
                           {"Shift down 1", "Ctrl down 3", "Tab up 3", "Ctrl up 1", "Shift up 0"}},
                      });
}

TEST(KeyManager, EveryNamedKeyReachesItsOwnHandler) {
    const std::vector<std::pair<int, std::string>> named = {
        {VK_BACK, "BS"},
        {VK_TAB, "Tab"},
        {VK_CLEAR, "Clear"},
        {VK_RETURN, "Return"},
        {VK_ESCAPE, "Esc"},
        {VK_SPACE, "Space"},
        {VK_PRIOR, "PageUp"},
        {VK_NEXT, "PageDown"},
        {VK_END, "End"},
        {VK_HOME, "Home"},
        {VK_LEFT, "Left"},
        {VK_UP, "Up"},
        {VK_RIGHT, "Right"},
        {VK_DOWN, "Down"},
        {VK_PRINT, "Print"},
        {VK_INSERT, "Insert"},
        {VK_DELETE, "Delete"},
        {VK_F1 + 11, "F12"},
        {VK_SNAPSHOT, "Other44x1"},
    };
    EngineDesk desk;
    for (const auto& [key, name] : named) {
        SCOPED_TRACE(key);
        // Down while Ctrl is held, up after Ctrl came up.
        desk.window.KeyDown(VK_CONTROL);
        desk.window.KeyDown(key);
        desk.window.KeyUp(VK_CONTROL);
        desk.window.KeyUp(key);
        const bool other = name.starts_with("Other");
        EXPECT_EQ((Log{"Ctrl down 2", name + (other ? " down" : " down 2"), "Ctrl up 0",
                       name + (other ? " up" : " up 0")}),
                  desk.screen.Take());
    }
    // The modifier keys are named keys too, held from their own key-down.
    desk.window.Press(VK_SHIFT);
    desk.window.Press(VK_CONTROL);
    EXPECT_EQ((Log{"Shift down 1", "Shift up 0", "Ctrl down 2", "Ctrl up 0"}), desk.screen.Take());
}

TEST(KeyManager, ExitKeyTablesAreReadUpToTheirEndMarker) {
    const CKeySet table[] = {{VK_HOME, 0, 0}, {VK_END, kCtrl, 0}, {0, -1, 0}, {VK_TAB, -1, 0}};
    CKeyManager keys;
    keys.SetExitKeys(nullptr, true);
    ASSERT_EQ(10u, keys.ExitKeys().size());
    keys.SetExitKeys(table, false);
    ASSERT_EQ(12u, keys.ExitKeys().size());
    EXPECT_EQ(VK_END, keys.ExitKeys().back().key);
    keys.SetExitKeys(table, true);
    ASSERT_EQ(2u, keys.ExitKeys().size());
    EXPECT_EQ(VK_HOME, keys.ExitKeys().front().key);

    // Without a host the key is still taken for an exit key; there is just nowhere to post.
    Message home{WM_KEYDOWN, VK_HOME, 1};
    EXPECT_TRUE(keys.OnKeyDown(home));
    EXPECT_EQ(0, keys.LastModifiers());
}

}  // namespace
}  // namespace tokeiya
