#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/RecordingWindow.hpp"

namespace tokeiya {
namespace {

using namespace win;
using headless::HeadlessHostWindow;
using test::EngineDesk;
using test::RecordingWindow;
using Button = HeadlessHostWindow::Button;
using Log = std::vector<std::string>;

TEST(CharacterWindow, RepaintRequestsNeedAHostAGridAndAPlaceOnIt) {
    struct Case {
        const char* what;
        bool attached;
        CRect rect;
        int cols, rows;
        bool accepted;
    };
    const Case cases[] = {
        {"attached 80 x 25", true, {0, 0, 800, 500}, 80, 25, true},
        {"no rows", true, {0, 0, 800, 500}, 80, 0, false},
        {"no columns", true, {0, 0, 800, 500}, 0, 25, false},
        {"no host", false, {0, 0, 800, 500}, 80, 25, false},
        {"left of the client area", true, {-800, 0, 0, 500}, 80, 25, false},
        {"above the client area", true, {0, -500, 800, 0}, 80, 25, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HeadlessHostWindow window(800, 500);
        CCRWin surface(c.attached ? &window : nullptr, c.rect, c.cols, c.rows, 0, 0);
        EXPECT_EQ(c.accepted, surface.InvalidateCells(CRect{2, 3, 7, 4}, false));
        EXPECT_EQ(c.accepted, surface.InvalidateAll(true));
        const std::vector<CRect> expected =
            c.accepted ? std::vector<CRect>{CRect{20, 60, 70, 80}, c.rect} : std::vector<CRect>{};
        EXPECT_EQ(expected, window.m_invalidated);
    }
}

TEST(CharacterWindow, APopUpHidesItselfBeforeItsExitKeyIsDelivered) {
    struct Case {
        const char* what;
        bool popup;
        int key;
        bool down;
        Log log;
        bool shownAfter;
    };
    const std::vector<Case> cases = {
        {"pop-up Escape", true, VK_ESCAPE, true, {"Esc down 0", "Exit 27/0"}, false},
        {"pop-up Return", true, VK_RETURN, true, {"Return down 0", "Exit 13/0"}, false},
        {"pop-up Escape up", true, VK_ESCAPE, false, {"Esc up 0"}, true},
        {"pop-up Tab, an exit key of the table",
         true,
         VK_TAB,
         true,
         {"Tab down 0", "Exit 9/0"},
         false},
        {"plain window Escape", false, VK_ESCAPE, true, {"Esc down 0"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EngineDesk desk;
        desk.screen.AddExitKey(VK_TAB, -1);
        desk.screen.SetPopupMode(c.popup);
        desk.window.m_invalidated.clear();
        if (c.down) {
            desk.window.KeyDown(c.key);
        } else {
            desk.window.KeyUp(c.key);
        }
        EXPECT_EQ(c.log, desk.screen.Take());
        EXPECT_EQ(c.shownAfter, desk.screen.Shown());
        if (c.log.size() == 2) {
            EXPECT_FALSE(desk.screen.shownAtLastExit);
            // Hiding asks for the area the pop-up covered to be painted again.
            EXPECT_EQ(std::vector<CRect>{desk.screen.GetRect()}, desk.window.m_invalidated);
        }
    }
}

TEST(CharacterWindow, ItPaintsOnlyWhileAttachedAndShown) {
    EngineDesk desk;
    HeadlessHostWindow& window = desk.window;
    RecordingWindow& screen = desk.screen;
    screen.SetHost(nullptr);
    screen.Show(false, false);
    screen.SetBackColor(RGB(0, 0, 128), 0, 0, 80, 25, false);
    screen.CreateScrollBar(78, 0, 25, 1, 0, 1, false);

    screen.Show(true, true);
    EXPECT_EQ(RGB(255, 255, 255), window.Paint()->GetPixel(400, 250)) << "not attached";
    screen.SetHost(&window);
    window.m_invalidated.clear();
    screen.Show(false, true);
    EXPECT_EQ(RGB(255, 255, 255), window.Paint()->GetPixel(400, 250)) << "hidden";
    EXPECT_EQ(std::vector<CRect>{screen.GetRect()}, window.m_invalidated);
    screen.Show(false, true);
    EXPECT_EQ(1u, window.m_invalidated.size()) << "no change, no repaint";
    screen.Show(true, false);
    auto picture = window.Paint();
    EXPECT_EQ(RGB(0, 0, 128), picture->GetPixel(400, 250));
    EXPECT_EQ(CCRWScrollBar::kTrackColor, picture->GetPixel(790, 250)) << "bars come last";
}

TEST(CharacterWindow, TheHostLinkAndMouseInputReachBothPartsAndEveryBar) {
    HeadlessHostWindow window;
    RecordingWindow screen(nullptr);
    CCRWScrollBar* bar = screen.CreateScrollBar(78, 0, 25, 1, 0, 1, false);
    screen.SetHost(&window);
    EXPECT_EQ(&window, screen.CKeyManager::GetHost());
    EXPECT_EQ(&window, screen.CMouseManagerH::GetHost());
    EXPECT_EQ(&window, bar->GetHost());
    screen.SetMouseEnabled(true);
    EXPECT_TRUE(bar->MouseEnabled());
    CCRWScrollBar* later = screen.CreateScrollBar(0, 0, 25, 2, 0, 1, false);
    EXPECT_EQ(&window, later->GetHost());
    EXPECT_TRUE(later->MouseEnabled());

    screen.CloseAndFree();
    EXPECT_EQ(nullptr, screen.CMouseManagerH::GetHost());
    EXPECT_EQ(nullptr, bar->GetHost());
    EXPECT_FALSE(screen.InvalidateAll(false));
}

TEST(CharacterWindow, RegionsAreHitInCellsOrInPixelsAsRegistered) {
    HeadlessHostWindow window;
    // A frame of 10 pixels around 10 x 20 cells.
    CCRWin screen(&window, CRect{0, 0, 820, 520}, 80, 25, 4, 6);
    screen.AddMouseRegion(5, 2, 3, 1, 9, 90);
    screen.AddMouseRegionPx(CRect{0, 0, 10, 10}, 11, 110);
    screen.AddMouseRegion(CRect{0, 0, 80, 25}, 12, 120, 2);
    struct Case {
        int x, y, kind, id, subId;
    };
    const Case cases[] = {
        {60, 50, 1, 9, 90},  // cell (5, 2)
        {89, 69, 1, 9, 90},  // cell (7, 2)
        {90, 50, 1, 0, 0},   // cell (8, 2)
        {5, 5, 1, 11, 110},  // the frame, outside every cell
        {15, 15, 1, 0, 0},   // cell (0, 0) is not under the pixel region's numbers
        {15, 15, 2, 12, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " kind " << c.kind);
        int id = 0;
        int subId = 0;
        screen.HitTest(c.x, c.y, id, subId, c.kind);
        EXPECT_EQ(c.id, id);
        EXPECT_EQ(c.subId, subId);
    }
    EXPECT_TRUE(screen.HasWheelRegion(11));
    EXPECT_FALSE(screen.HasWheelRegion(12)) << "kind 2 is no wheel region";
}

TEST(CharacterWindow, HorizontalBarsScrollSidewaysAndPageWithoutKeys) {
    EngineDesk desk;
    CCRWScrollBar* bar = desk.screen.CreateScrollBar(0, 24, 40, 5, 0, 0, true);
    bar->SetRange(0, 3, false);
    bar->SetEnabled(true);
    for (int event = 0; event <= 3; ++event) {
        EXPECT_TRUE(desk.screen.OnHScroll(event, 0, bar));
    }
    EXPECT_EQ((Log{"Exit 37/0", "Exit 39/0", "PageLeft bar5", "PageRight bar5"}),
              desk.screen.Take());

    const CRect right = bar->PartRect(CCRWScrollBar::DownArrow);
    desk.window.MouseDown(Button::Left, right.left + 5, right.top + 5);
    desk.window.AdvanceTime(100);
    EXPECT_EQ((Log{"Exit 39/0", "Exit 39/0"}), desk.screen.Take());
    const CRect thumb = bar->ThumbRect();
    desk.window.MouseUp(Button::Left, 0, 0);
    desk.window.MouseDown(Button::Left, thumb.left + 2, thumb.top + 2);
    desk.window.MouseMove(2000, 0);
    desk.window.MouseUp(Button::Left, 2000, 0);
    EXPECT_EQ((Log{"LUp 0 0,0", "HThumb 3 bar5"}), desk.screen.Take());
}

}  // namespace
}  // namespace tokeiya
