#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/CCRWScrollBar.hpp"
#include "tests/support/TempFolder.hpp"
#include "tests/ui/RecordingWindow.hpp"

namespace tokeiya {
namespace {

using namespace win;
using test::EngineDesk;
using test::RecordingWindow;
using Button = headless::HeadlessHostWindow::Button;
using Log = std::vector<std::string>;

CPoint Centre(const CRect& r) {
    return CPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The 80 x 25 desk with a bar down the last two columns, over all 25 rows.
struct BarDesk : EngineDesk {
    CCRWScrollBar* bar = nullptr;

    explicit BarDesk(bool keyMode = false, int minimum = 0, int maximum = 9) {
        bar = screen.CreateScrollBar(78, 0, 25, 7, 0, 1, keyMode);
        bar->SetRange(minimum, maximum, false);
        bar->SetEnabled(true);
    }
    void Press(int part) {
        const CPoint p = Centre(bar->PartRect(part));
        window.MouseDown(Button::Left, p.x, p.y);
    }
    void Release(int part) {
        const CPoint p = Centre(bar->PartRect(part));
        window.MouseUp(Button::Left, p.x, p.y);
    }
};

TEST(ScrollBarLayout, ThumbSizeAndPlaceFollowTheRange) {
    struct Case {
        int minimum, maximum, position;
        int thumbTop, thumbSize;
    };
    // Rect 781..800 x 1..499: buttons of 15, the track from 17, 468 pixels of travel.
    const Case cases[] = {
        {0, 0, 0, 17, 468},                          // the thumb fills the track
        {0, 9, 0, 17, 46},                           // 468 / 10
        {0, 9, 9, 439, 46},                          // 17 + 422
        {0, 9, 5, 251, 46},                          // 17 + trunc(5/9 * 422 + 0.5)
        {0, 999, 999, 470, 15},                      // never smaller than a button
        {-5, 5, -9, 17, 42},                         // the position is kept in the range
        {-5, 5, 50, 443, 42},   {5, 2, 3, 17, 468},  // a reversed range is one step
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minimum << ".." << c.maximum << " at " << c.position);
        BarDesk desk;
        CCRWScrollBar& bar = *desk.bar;
        EXPECT_EQ((CRect{781, 1, 800, 499}), bar.Rect());
        EXPECT_EQ(15, bar.ButtonSize());
        bar.SetRange(c.minimum, c.maximum, false);
        bar.SetPosition(c.position, false);
        EXPECT_GE(bar.Position(), bar.Minimum());
        EXPECT_LE(bar.Position(), bar.Maximum());
        EXPECT_EQ(c.thumbSize, bar.ThumbSize());
        EXPECT_EQ(c.thumbTop, bar.ThumbRect().top);
        EXPECT_EQ(c.thumbTop + c.thumbSize, bar.ThumbRect().bottom);
        EXPECT_EQ((CRect{781, 1, 800, 17}), bar.PartRect(1));
        EXPECT_EQ(bar.ThumbRect().top, bar.PartRect(2).bottom);
        EXPECT_EQ(bar.ThumbRect().bottom, bar.PartRect(4).top);
        EXPECT_EQ((CRect{781, 483, 800, 499}), bar.PartRect(5));
    }
}

TEST(ScrollBarLayout, TheBarIsPlacedOnlyWhereItsWindowHasTheCellsAndFollowsResizing) {
    EngineDesk desk;
    CCRWScrollBar* outside = desk.screen.CreateScrollBar(79, 0, 25, 1, 0, 1, false);
    CCRWScrollBar* tooLong = desk.screen.CreateScrollBar(0, 1, 25, 2, 0, 1, false);
    CCRWScrollBar* inside = desk.screen.CreateScrollBar(0, 1, 24, 3, 0, 1, false);
    EXPECT_TRUE(outside->Rect().IsEmpty());
    EXPECT_TRUE(tooLong->Rect().IsEmpty());
    EXPECT_EQ((CRect{1, 21, 20, 499}), inside->Rect());
    desk.screen.SetRect(CRect{0, 0, 1600, 1000});
    EXPECT_EQ((CRect{1, 41, 40, 999}), inside->Rect());
    EXPECT_EQ(31, inside->ButtonSize());  // 39 * 0.8

    CCRWScrollBar* across = desk.screen.CreateScrollBar(10, 24, 30, 4, 99, 0, false);
    EXPECT_EQ((CRect{201, 961, 799, 1000}), across->Rect()) << "a horizontal bar lies on a row";
    EXPECT_EQ(0, across->Extra());
    EXPECT_EQ(across, desk.screen.FindScrollBar(4));
    EXPECT_EQ(nullptr, desk.screen.FindScrollBar(5));
}

TEST(ScrollBarLayout, ChangesAskForARepaintOfWhatMovedOnlyWhenAskedTo) {
    BarDesk desk;
    std::vector<CRect>& asked = desk.window.m_invalidated;
    asked.clear();
    EXPECT_EQ(0, desk.bar->SetPosition(9, false));
    EXPECT_EQ(9, desk.bar->SetPosition(3, true));
    // 17 + trunc(1 * 422 + 0.5) and 17 + trunc(3/9 * 422 + 0.5)
    EXPECT_EQ((std::vector<CRect>{CRect{781, 439, 800, 485}, CRect{781, 158, 800, 204}}), asked);
    asked.clear();
    desk.bar->SetRange(0, 1, true);
    EXPECT_EQ(1, desk.bar->Position());
    EXPECT_EQ(std::vector<CRect>{desk.bar->Rect()}, asked);
    asked.clear();
    desk.bar->SetEnabled(true);
    EXPECT_TRUE(asked.empty()) << "already enabled";
    desk.bar->SetEnabled(false);
    // The track, and the thumb that at the end of its range reaches into the down button.
    EXPECT_EQ((std::vector<CRect>{CRect{781, 17, 800, 485}}), asked);
}

TEST(ScrollBarMouse, AHeldArrowRepeatsEvery100MsUntilReleasedOrLeft) {
    for (const bool leave : {false, true}) {
        SCOPED_TRACE(leave ? "the pointer leaves the bar" : "the button comes up");
        BarDesk desk;
        desk.Press(CCRWScrollBar::DownArrow);
        EXPECT_EQ(Log{"LineDown bar7"}, desk.screen.Take()) << "the first step comes at once";
        const UINT timer = desk.bar->RepeatTimer();
        EXPECT_TRUE(desk.window.TimerRunning(timer));
        EXPECT_TRUE(desk.window.HasCapture());
        EXPECT_EQ(CCRWScrollBar::DownArrow, desk.bar->PressedPart());
        desk.window.AdvanceTime(99);
        EXPECT_EQ(Log{}, desk.screen.Take());
        desk.window.AdvanceTime(1);
        EXPECT_EQ(Log{"LineDown bar7"}, desk.screen.Take());
        // Moving over another part of the bar keeps the repeat going.
        const CPoint track = Centre(desk.bar->PartRect(CCRWScrollBar::TrackBelow));
        desk.window.MouseMove(track.x, track.y);
        desk.window.AdvanceTime(300);
        EXPECT_EQ(3u, desk.screen.Take().size());
        if (leave) {
            desk.window.MouseMove(100, 100);
        } else {
            desk.window.MouseUp(Button::Left, track.x, track.y);
        }
        EXPECT_FALSE(desk.window.TimerRunning(timer));
        EXPECT_FALSE(desk.window.HasCapture());
        EXPECT_EQ(CCRWScrollBar::None, desk.bar->PressedPart());
        desk.window.AdvanceTime(1000);
        if (leave) {
            desk.window.MouseUp(Button::Left, 100, 100);
        }
        // An arrow's release is left to the window under the bar.
        const CPoint at = leave ? CPoint{100, 100} : track;
        EXPECT_EQ(Log{"LUp 0 " + std::to_string(at.x) + "," + std::to_string(at.y)},
                  desk.screen.Take());
    }
}

TEST(ScrollBarMouse, TrackClicksPageOnceOnReleaseAndThumbDragsPostThePosition) {
    BarDesk desk;
    desk.Press(CCRWScrollBar::TrackBelow);
    desk.window.AdvanceTime(1000);
    EXPECT_EQ(Log{}, desk.screen.Take()) << "nothing until the release, and no repeat";
    desk.Release(CCRWScrollBar::TrackBelow);
    EXPECT_EQ(Log{"PageDown bar7"}, desk.screen.Take());

    desk.bar->SetPosition(9, false);
    desk.Press(CCRWScrollBar::TrackAbove);
    desk.window.MouseUp(Button::Left, 5, 5);  // released anywhere
    EXPECT_EQ(Log{"PageUp bar7"}, desk.screen.Take());

    // The thumb's travel while dragged ends where the down button begins (499 - 15).
    struct Drag {
        int toY, thumbTop, position;
    };
    for (const Drag d : {Drag{2000, 438, 9}, Drag{-2000, 17, 0}, Drag{258, 235, 5}}) {
        SCOPED_TRACE(d.toY);
        desk.bar->SetPosition(4, false);
        desk.Press(CCRWScrollBar::Thumb);
        desk.window.MouseMove(790, d.toY);
        EXPECT_TRUE(desk.bar->Dragging());
        EXPECT_EQ(d.thumbTop, desk.bar->ThumbRect().top);
        desk.window.MouseUp(Button::Left, 790, d.toY);
        EXPECT_EQ(Log{"Thumb " + std::to_string(d.position) + " bar7"}, desk.screen.Take());
        EXPECT_FALSE(desk.window.HasCapture());
    }
}

TEST(ScrollBarMouse, AKeyModeBarDeliversKeysToTheExitKeyHandler) {
    BarDesk desk(true);
    desk.Press(CCRWScrollBar::TrackBelow);
    desk.Release(CCRWScrollBar::TrackBelow);
    desk.Press(CCRWScrollBar::UpArrow);
    desk.Release(CCRWScrollBar::UpArrow);
    EXPECT_EQ((Log{"Exit 34/0", "Exit 38/0", "LUp 0 790,9"}), desk.screen.Take());
}

TEST(ScrollBarMouse, ADisabledBarLeavesTheClickToItsWindow) {
    BarDesk desk;
    desk.bar->SetEnabled(false);
    desk.window.Click(Button::Left, 790, 250);
    EXPECT_EQ((Log{"LDown 1 790,250", "LUp 0 790,250"}), desk.screen.Take());

    // Turning the bar off while its arrow is held ends the repeat.
    desk.bar->SetEnabled(true);
    desk.Press(CCRWScrollBar::UpArrow);
    const UINT timer = desk.bar->RepeatTimer();
    ASSERT_TRUE(desk.window.TimerRunning(timer));
    desk.bar->SetEnabled(false);
    EXPECT_FALSE(desk.window.TimerRunning(timer));
    EXPECT_FALSE(desk.window.HasCapture());
    desk.window.AdvanceTime(500);
    EXPECT_EQ(Log{"LineUp bar7"}, desk.screen.Take());
}

TEST(ScrollBarMouse, WithoutAHostNothingIsCapturedOrPosted) {
    RecordingWindow screen(nullptr);
    CCRWScrollBar* bar = screen.CreateScrollBar(78, 0, 25, 1, 0, 1, false);
    bar->SetRange(0, 9, false);
    bar->SetEnabled(true);
    screen.SetMouseEnabled(true);
    const CPoint p = Centre(bar->PartRect(CCRWScrollBar::DownArrow));
    EXPECT_FALSE(bar->OnMouseMessage(Message{WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(p.x, p.y)}));
    EXPECT_EQ(CCRWScrollBar::None, bar->PressedPart());
    EXPECT_EQ(0u, bar->RepeatTimer());
}

TEST(ScrollBarMouse, NotificationsOfAnotherWindowsBarAreRefused) {
    BarDesk desk;
    RecordingWindow other(&desk.window);
    CCRWScrollBar* foreign = other.CreateScrollBar(0, 0, 10, 7, 0, 1, false);
    EXPECT_FALSE(desk.screen.OnVScroll(1, 0, foreign));
    EXPECT_FALSE(desk.screen.OnHScroll(1, 0, foreign));
    EXPECT_FALSE(desk.screen.OnVScroll(1, 0, nullptr));
    EXPECT_TRUE(desk.screen.OnVScroll(1, 0, desk.bar));
    EXPECT_EQ(Log{"LineDown bar7"}, desk.screen.Take());
}

TEST(ScrollBarPaint, TheSnapshotShowsTrackThumbAndArrows) {
    BarDesk desk;
    desk.bar->SetPosition(5, false);
    test::TempFolder folder;
    const std::string path = folder.Path() + "/scrollbar.png";
    ASSERT_TRUE(desk.window.PaintToPng(path));
    EXPECT_GT(std::filesystem::file_size(path), 0u);

    auto picture = desk.window.Paint();
    const CRect thumb = desk.bar->ThumbRect();
    const CPoint down = Centre(desk.bar->PartRect(CCRWScrollBar::DownArrow));
    const CPoint up = Centre(desk.bar->PartRect(CCRWScrollBar::UpArrow));
    EXPECT_EQ(CCRWScrollBar::kTrackColor, picture->GetPixel(790, thumb.top - 20));
    EXPECT_EQ(CCRWScrollBar::kTrackColor, picture->GetPixel(790, thumb.bottom + 20));
    EXPECT_EQ(CCRWScrollBar::kFaceColor, picture->GetPixel(790, (thumb.top + thumb.bottom) / 2));
    EXPECT_EQ(CCRWScrollBar::kLightEdge, picture->GetPixel(thumb.left, thumb.top + 5));
    EXPECT_EQ(CCRWScrollBar::kDarkEdge, picture->GetPixel(thumb.right - 1, thumb.top + 5));
    EXPECT_EQ(RGB(0, 0, 0), picture->GetPixel(down.x, down.y));
    EXPECT_EQ(RGB(0, 0, 0), picture->GetPixel(up.x, up.y));
    EXPECT_EQ(CCRWScrollBar::kFaceColor, picture->GetPixel(down.x, down.y + 6))
        << "the triangle stays inside its inset";

    // A disabled bar has no thumb; the arrow colour is the engine's, for every bar.
    desk.bar->SetEnabled(false);
    CCRWScrollBar::SetArrowColor(RGB(200, 0, 0));
    picture = desk.window.Paint();
    CCRWScrollBar::SetArrowColor(RGB(0, 0, 0));
    EXPECT_EQ(CCRWScrollBar::kTrackColor, picture->GetPixel(790, (thumb.top + thumb.bottom) / 2));
    EXPECT_EQ(RGB(200, 0, 0), picture->GetPixel(down.x, down.y));
}

}  // namespace
}  // namespace tokeiya
