#include <gtest/gtest.h>

#include "engine/CDosWinFrame.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"

namespace tokeiya {
namespace {

using headless::HeadlessHostWindow;
using namespace win;

// A frame without a view on a headless window of a 1600 x 1000 desktop: what the zoom rule
// makes of the sizes the window is given.
class ZoomFrame : public CDosWinFrame {
  public:
    explicit ZoomFrame(HeadlessHostWindow& window) {
        window.SetFrameProc(this);
        SetWindow(&window);
    }
    using CDosWinFrame::ExpectZoomSize;
};

TEST(MainFrameZoom, TheZoomOfAWindowSizeGivesThatSizeBack) {
    for (const CSize desktop : {CSize{1600, 1000}, CSize{1920, 1040}, CSize{1024, 1280}}) {
        for (bool keepAspect : {false, true}) {
            for (int percent = CDosWinFrame::kMinZoomPercent;
                 percent <= CDosWinFrame::kMaxNormalZoomPercent; ++percent) {
                const CRect rect = CDosWinFrame::ZoomRect(desktop, percent, keepAspect);
                EXPECT_EQ(percent,
                          CDosWinFrame::PercentForSize(desktop, {rect.Width(), rect.Height()}))
                    << desktop.cx << "x" << desktop.cy << " aspect " << keepAspect;
            }
        }
    }
    struct Case {
        CSize window;
        int percent;
    };
    const Case cases[] = {
        {{1200, 750}, 75},  {{1000, 900}, 90},  {{1500, 500}, 94}, {{100, 100}, 30},
        {{1600, 1000}, 99}, {{3000, 2000}, 99}, {{0, 0}, 30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.percent, CDosWinFrame::PercentForSize({1600, 1000}, c.window))
            << c.window.cx << "x" << c.window.cy;
    }
    EXPECT_EQ(30, CDosWinFrame::PercentForSize({0, 0}, {800, 600})) << "no desktop";
}

TEST(MainFrameZoom, AWindowTheUserResizesTakesTheZoomOfItsNewSize) {
    HeadlessHostWindow window;
    ZoomFrame frame(window);
    frame.SetKeepAspect(false);
    frame.SetZoom(80);
    ASSERT_EQ((CRect{160, 100, 1440, 900}), window.WindowRect());
    EXPECT_EQ(80, frame.ZoomPercent());

    window.MoveWindow(CRect{100, 100, 1300, 850});  // dragged by its border
    EXPECT_EQ(75, frame.ZoomPercent());
    window.MoveWindow(CRect{80, 50, 1520, 950});
    EXPECT_EQ(90, frame.ZoomPercent());

    // Maximising and restoring is no resize by the user.
    window.ShowWindow(SW_SHOWMAXIMIZED);
    window.ShowWindow(SW_RESTORE);
    EXPECT_EQ(90, frame.ZoomPercent());

    frame.SetZoom(70);
    EXPECT_EQ(70, frame.ZoomPercent());
    EXPECT_EQ(CDosWinFrame::ZoomRect({1600, 1000}, 70, false), window.WindowRect());
}

TEST(MainFrameZoom, WithTheAspectOnAResizedWindowIsNoWiderThan141TimesItsHeight) {
    HeadlessHostWindow window;
    ZoomFrame frame(window);
    frame.SetZoom(80);
    ASSERT_EQ((CRect{236, 100, 1364, 900}), window.WindowRect());

    window.MoveWindow(CRect{50, 60, 1550, 860});
    EXPECT_EQ((CRect{50, 60, 1178, 860}), window.WindowRect()) << "1.41 x 800 = 1128";
    EXPECT_EQ((CRect{0, 0, 1128, 800}), window.ClientRect());
    EXPECT_EQ(80, frame.ZoomPercent());

    // Narrower than the limit is the user's to choose.
    window.MoveWindow(CRect{50, 60, 1050, 960});
    EXPECT_EQ((CRect{50, 60, 1050, 960}), window.WindowRect());
    EXPECT_EQ(90, frame.ZoomPercent());

    // The aspect switched on while maximised holds once the window is restored.
    frame.SetKeepAspect(false);
    frame.SetZoom(80);
    ASSERT_EQ(1280, window.WindowRect().Width());
    window.ShowWindow(SW_SHOWMAXIMIZED);
    frame.SetKeepAspect(true);
    window.ShowWindow(SW_RESTORE);
    EXPECT_EQ(1128, window.WindowRect().Width());
    EXPECT_EQ(800, window.WindowRect().Height());
    EXPECT_EQ(80, frame.ZoomPercent());
}

// A desktop may add a frame of its own to the rectangle the program asks for (a menu bar
// inside it, decorations around it): the size the window first takes is the zoom's, and a
// later resize is measured with that frame.
TEST(MainFrameZoom, TheFirstSizeAfterAZoomIsTheZoomsOwn) {
    HeadlessHostWindow window;
    ZoomFrame frame(window);
    frame.SetKeepAspect(false);
    frame.SetZoom(80);
    frame.ExpectZoomSize();
    window.Resize(1280, 770);  // 30 pixels of menu bar
    EXPECT_EQ(80, frame.ZoomPercent());
    window.Resize(1280, 770);
    EXPECT_EQ(80, frame.ZoomPercent());
    window.Resize(1200, 720);  // the window is 1200 x 750 now
    EXPECT_EQ(75, frame.ZoomPercent());
}

}  // namespace
}  // namespace tokeiya
