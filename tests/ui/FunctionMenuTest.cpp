#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/AppContext.hpp"
#include "platform/headless/HeadlessHostWindow.hpp"
#include "tests/support/TempFolder.hpp"
#include "widgets/CFunctionMenu.hpp"
#include "widgets/FunctionLabelFile.hpp"

namespace tokeiya {
namespace {

using headless::HeadlessHostWindow;
using Button = HeadlessHostWindow::Button;
using namespace win;

// A window that holds nothing but the bar: keys and mouse messages are offered to it, the
// commands it posts are written down, and a paint draws it over white.
class BarDesk : public IWindowProc {
  public:
    explicit BarDesk(int width = 800, int height = 600) : window(width, height) {
        window.SetProc(this);
    }
    ~BarDesk() override { window.SetProc(nullptr); }

    bool WindowProc(const Message& message) override {
        switch (message.message) {
            case WM_FUNCTION_KEY:
                commands.push_back(
                    {static_cast<int>(message.wParam), static_cast<int>(message.lParam)});
                return true;
            case WM_KEYDOWN:
            case WM_KEYUP:
            case WM_SYSKEYDOWN:
            case WM_SYSKEYUP:
                return bar.OfferKey(message);
            default:
                if (message.message >= WM_MOUSEMOVE && message.message <= WM_MOUSEWHEEL) {
                    return bar.OfferMouse(message);
                }
                return false;
        }
    }
    void OnPaint(CDC& dc) override {
        dc.FillSolidRect(window.ClientRect(), RGB(255, 255, 255));
        bar.Paint(dc);
    }

    CRect Key(int key) const {
        CRect rect;
        EXPECT_TRUE(bar.GetKeyRect(key, rect)) << "key " << key;
        return rect;
    }
    CPoint Centre(int key) const {
        const CRect rect = Key(key);
        return CPoint{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    struct Command {
        int number;
        int modifiers;
        friend bool operator==(const Command&, const Command&) = default;
    };

    HeadlessHostWindow window;
    CFunctionMenu bar{&window, true};
    std::vector<Command> commands;
};

using Commands = std::vector<BarDesk::Command>;

TEST(FunctionMenu, BarAndKeysFollowTheClientSizeInGroupsOfFour) {
    BarDesk desk;
    CRect bar;
    ASSERT_TRUE(desk.bar.GetBarRect(bar));
    EXPECT_EQ((CRect{15, 569, 786, 594}), bar);
    EXPECT_EQ((CRect{15, 569, 74, 594}), desk.Key(1));
    EXPECT_EQ(786, desk.Key(12).right);
    for (int key = 1; key <= 12; ++key) {
        SCOPED_TRACE(key);
        const CRect rect = desk.Key(key);
        EXPECT_GE(rect.Width(), 59);
        EXPECT_LE(rect.Width(), 60);
        EXPECT_EQ(bar.top, rect.top);
        EXPECT_EQ(bar.bottom, rect.bottom);
        if (key > 1) {
            const int gap = rect.left - desk.Key(key - 1).right;
            if ((key - 1) % 4 == 0) {
                EXPECT_GE(gap, 11);
                EXPECT_LE(gap, 12);
            } else {
                EXPECT_GE(gap, 3);
                EXPECT_LE(gap, 5);
            }
        }
    }
    CRect rect;
    EXPECT_FALSE(desk.bar.GetKeyRect(0, rect));
    EXPECT_FALSE(desk.bar.GetKeyRect(13, rect));

    desk.window.Resize(1600, 1000);
    ASSERT_TRUE(desk.bar.GetBarRect(bar));
    EXPECT_EQ((CRect{31, 949, 1570, 989}), bar);

    CFunctionMenu hostless(nullptr, true);
    EXPECT_FALSE(hostless.GetBarRect(bar));
    hostless.RedrawBar();  // nothing to invalidate, and no crash
    hostless.SetLabel(0, 1, "x", true);
}

TEST(FunctionMenu, AFunctionKeyPostsItsCommandOnceOnTheRelease) {
    BarDesk desk;
    desk.bar.SetLabelSet(1);
    EXPECT_FALSE(desk.window.KeyDown(VK_F1 + 4));  // the press is not taken
    EXPECT_TRUE(desk.commands.empty());
    EXPECT_FALSE(desk.window.KeyDown(VK_F1 + 4));  // nor its auto-repeat
    EXPECT_TRUE(desk.window.KeyUp(VK_F1 + 4));
    EXPECT_EQ((Commands{{105, 0}}), desk.commands);

    desk.commands.clear();
    desk.bar.SetLabelSet(2);
    desk.window.Press(VK_F1 + 11, kShift | kCtrl);
    desk.window.Press(VK_F1 + 9, kAlt);  // a system key with Alt
    EXPECT_EQ((Commands{{212, kShift | kCtrl}, {210, kAlt}}), desk.commands);

    desk.commands.clear();
    desk.bar.SetLabelSet(3);        // ignored: the set stays 2
    desk.window.Press(VK_F1 + 12);  // F13 is no key of the bar
    desk.window.Press(VK_RETURN);
    desk.window.Press(VK_F1 + 1);
    EXPECT_EQ((Commands{{202, 0}}), desk.commands);
}

TEST(FunctionMenu, AReservedF1IsLeftToOthersButItsBoxStillClicks) {
    BarDesk desk;
    ASSERT_TRUE(desk.bar.ReserveF1());
    EXPECT_FALSE(desk.window.KeyDown(VK_F1));
    EXPECT_FALSE(desk.window.KeyUp(VK_F1));
    EXPECT_TRUE(desk.commands.empty());

    // A click carries no modifiers, whatever is held.
    const CPoint f1 = desk.Centre(1);
    desk.window.Click(Button::Left, f1.x, f1.y, kShift);
    EXPECT_EQ((Commands{{1, 0}}), desk.commands);

    desk.commands.clear();
    desk.bar.SetReserveF1(false);
    desk.window.Press(VK_F1);
    EXPECT_EQ((Commands{{1, 0}}), desk.commands);
}

TEST(FunctionMenu, ClicksCountOnlyOnTheButtonUpInsideABox) {
    BarDesk desk;
    const CRect f4 = desk.Key(4);
    const CRect f5 = desk.Key(5);
    desk.window.MouseDown(Button::Left, f4.left, f4.top);
    EXPECT_TRUE(desk.commands.empty());
    desk.window.MouseUp(Button::Left, f4.left, f4.top);         // top left is inside
    desk.window.Click(Button::Left, f4.right, f4.top + 3);      // the gap between the groups
    desk.window.Click(Button::Left, f5.left + 2, f5.top - 1);   // above the bar
    desk.window.Click(Button::Right, f5.left + 2, f5.top + 2);  // not the left button
    desk.window.Click(Button::Left, f5.right - 1, f5.bottom - 1);
    EXPECT_EQ((Commands{{4, 0}, {5, 0}}), desk.commands);

    // After a resize the boxes are where the new size puts them, painted or not.
    desk.commands.clear();
    desk.window.Resize(1600, 1000);
    const CPoint f12 = desk.Centre(12);
    desk.window.Click(Button::Left, f12.x, f12.y);
    EXPECT_EQ((Commands{{12, 0}}), desk.commands);
}

TEST(FunctionMenu, ABarWithoutInterfacesTakesNoKeysAndNoClicks) {
    BarDesk desk;
    CFunctionMenu quiet(&desk.window, false);
    const CPoint f2 = desk.Centre(2);
    EXPECT_FALSE(quiet.OfferKey(Message{WM_KEYUP, static_cast<WPARAM>(VK_F1 + 1), kKeyUpFlags}));
    EXPECT_FALSE(quiet.OfferMouse(Message{WM_LBUTTONUP, 0, MakeLParam(f2.x, f2.y)}));
    EXPECT_EQ(0u, desk.window.PendingMessages());
}

TEST(FunctionMenu, LabelsIgnoreNumbersOutOfRangeAndKeepEmptyTexts) {
    BarDesk desk;
    CFunctionMenu& bar = desk.bar;
    bar.SetLabels(3, "三", "", "");
    EXPECT_EQ("三", bar.GetLabel(0, 3));
    EXPECT_EQ("", bar.GetLabel(1, 3));
    EXPECT_EQ("", bar.GetLabel(2, 3));
    EXPECT_TRUE(bar.HasLabel(0, 3));
    EXPECT_FALSE(bar.HasLabel(1, 3));
    bar.SetLabels(4, "四");
    EXPECT_EQ("四", bar.GetLabel(1, 4));
    EXPECT_EQ("四", bar.GetLabel(2, 4));
    bar.SetLabels(5, "五", std::nullopt, "ご");
    EXPECT_EQ("五", bar.GetLabel(1, 5));
    EXPECT_EQ("ご", bar.GetLabel(2, 5));

    bar.SetLabels(0, "x");
    bar.SetLabels(13, "x");
    bar.SetLabel(0, 0, "x", true);
    bar.SetLabel(0, 13, "x", true);
    bar.SetLabel(-1, 1, "x", true);
    bar.SetLabel(3, 1, "x", true);
    for (int set = 0; set < 3; ++set) {
        EXPECT_FALSE(bar.HasLabel(set, 1));
        EXPECT_FALSE(bar.HasLabel(set, 12));
    }
    EXPECT_EQ("", bar.GetLabel(0, 13));
    EXPECT_EQ("", bar.GetLabel(3, 3));
    EXPECT_FALSE(bar.HasLabel(0, 0));
    EXPECT_FALSE(bar.HasLabel(-1, 3));
    EXPECT_TRUE(desk.window.m_invalidated.empty());

    bar.SetHighlight(5);
    EXPECT_EQ(5, bar.Highlight());
    bar.SetHighlight(13);
    EXPECT_EQ(0, bar.Highlight());
    bar.SetHighlight(12);
    bar.SetHighlight(-1);
    EXPECT_EQ(0, bar.Highlight());
}

TEST(FunctionMenu, ALabelChangeRepaintsOnlyItsKeyAndOnlyWhenShown) {
    BarDesk desk;
    std::vector<CRect>& invalidated = desk.window.m_invalidated;
    desk.bar.SetLabel(0, 7, "七", true);
    EXPECT_EQ((std::vector<CRect>{desk.Key(7)}), invalidated);
    invalidated.clear();
    desk.bar.SetLabel(0, 7, "七", true);  // unchanged
    desk.bar.SetLabel(1, 7, "七", true);  // a set not shown
    desk.bar.SetLabel(0, 8, "八", false);
    EXPECT_TRUE(invalidated.empty());
    EXPECT_EQ("八", desk.bar.GetLabel(0, 8));

    CRect bar;
    ASSERT_TRUE(desk.bar.GetBarRect(bar));
    desk.bar.SetVisible(false);
    desk.bar.SetHighlight(2);
    EXPECT_EQ((std::vector<CRect>{bar, bar}), invalidated);
}

class FunctionMenuFile : public testing::Test {
  protected:
    void Write(const std::vector<std::string>& sources, const std::vector<std::string>& names) {
        std::vector<unsigned char> bytes;
        for (std::size_t i = 0; i < sources.size(); ++i) {
            std::string error;
            const auto record = gfd::ParseSource(sources[i], names[i], error);
            ASSERT_TRUE(record.has_value()) << error;
            ASSERT_TRUE(gfd::AppendRecord(bytes, *record));
        }
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    ScopedAppContext context;
    test::TempFolder folder;
    std::string path = folder.Path() + "/Tokeiya.gfd";
    BarDesk desk;
};

TEST_F(FunctionMenuFile, LabelsComeFromTheRecordOfTheScreensName) {
    Write({"F2 = 前月\nF12 = 画面を隠す\n",
           "Value = 42\nF2 = 前日|きのう|\nF5 = 1234567890123456789\nF9 = 月間予定\n"},
          {"MonthSchedule.tfd", "DaySchedule.tfd"});
    ASSERT_TRUE(desk.bar.LoadLabels("DaySchedule.tfd", path, true));
    EXPECT_EQ(42, desk.bar.FileValue());
    EXPECT_EQ("前日", desk.bar.GetLabel(0, 2));
    EXPECT_EQ("きのう", desk.bar.GetLabel(1, 2));
    EXPECT_EQ("", desk.bar.GetLabel(2, 2));
    EXPECT_EQ("1234567890123456789", desk.bar.GetLabel(2, 5));
    EXPECT_EQ("月間予定", desk.bar.GetLabel(0, 9));
    EXPECT_FALSE(desk.bar.HasLabel(0, 12));
    CRect bar;
    ASSERT_TRUE(desk.bar.GetBarRect(bar));
    EXPECT_EQ((std::vector<CRect>{bar}), desk.window.m_invalidated);

    // Loading another record replaces every label, empty ones included.
    ASSERT_TRUE(desk.bar.LoadLabels("MonthSchedule.tfd", path, false));
    EXPECT_EQ(3, desk.bar.FileValue());
    EXPECT_EQ("前月", desk.bar.GetLabel(1, 2));
    EXPECT_EQ("", desk.bar.GetLabel(0, 5));
    EXPECT_EQ("", desk.bar.GetLabel(0, 9));
    EXPECT_EQ("画面を隠す", desk.bar.GetLabel(2, 12));
}

TEST_F(FunctionMenuFile, WithoutAPathTheProgramsLabelFileIsRead) {
    EXPECT_EQ("default.gfd", CFunctionMenu::LabelFile());
    Write({"F8 = 再計算\n"}, {"CalcuA.tfd"});
    EXPECT_FALSE(desk.bar.LoadLabels("CalcuA.tfd", "", false));  // default.gfd is not there
    CFunctionMenu::SetLabelFile(path);
    EXPECT_EQ(path, CAppContext::Current().functionKeyFile);
    ASSERT_TRUE(desk.bar.LoadLabels("CalcuA.tfd", "", false));
    EXPECT_EQ("再計算", desk.bar.GetLabel(0, 8));
}

TEST_F(FunctionMenuFile, AMissingFileOrNameLeavesTheLabelsAndTheKeysStillPost) {
    Write({"F2 = 前月\n"}, {"MonthSchedule.tfd"});
    desk.bar.SetLabels(3, "今月");
    desk.bar.SetFileValue(9);
    EXPECT_FALSE(desk.bar.LoadLabels("MonthSchedule.tfd", folder.Path() + "/none.gfd", true));
    EXPECT_FALSE(desk.bar.LoadLabels("Group.tfd", path, true));
    EXPECT_FALSE(desk.bar.LoadLabels("", path, true));
    EXPECT_EQ("", desk.bar.GetLabel(0, 2));
    EXPECT_EQ("今月", desk.bar.GetLabel(0, 3));
    EXPECT_EQ(9, desk.bar.FileValue());
    EXPECT_TRUE(desk.window.m_invalidated.empty());
    desk.window.Press(VK_F1 + 1);
    EXPECT_EQ((Commands{{2, 0}}), desk.commands);
}

int DarkPixels(const CMemoryDC& surface, const CRect& rect) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            const COLORREF c = surface.GetPixel(x, y);
            count += GetRValue(c) + GetGValue(c) + GetBValue(c) < 300 ? 1 : 0;
        }
    }
    return count;
}

TEST(FunctionMenu, PaintFillsEachBoxInTheSetsColoursWithAFrameAndItsCaption) {
    BarDesk desk;
    desk.bar.SetLabels(2, "前月");
    desk.bar.SetHighlight(3);
    std::unique_ptr<CMemoryDC> surface = desk.window.Paint();
    const CRect f1 = desk.Key(1);
    const CRect f2 = desk.Key(2);
    const CRect f3 = desk.Key(3);
    EXPECT_EQ(RGB(200, 225, 255), surface->GetPixel(f1.left + 2, f1.top + 2));
    EXPECT_EQ(RGB(100, 225, 255), surface->GetPixel(f3.left + 2, f3.top + 2));
    EXPECT_EQ(RGB(0, 0, 0), surface->GetPixel(f1.left, f1.top + 5));
    EXPECT_EQ(RGB(0, 0, 0), surface->GetPixel(f1.right - 1, f1.bottom - 1));
    EXPECT_EQ(RGB(255, 255, 255), surface->GetPixel(f1.right + 1, f1.top + 5));  // the gap
    EXPECT_EQ(RGB(255, 255, 255), surface->GetPixel(f1.left + 2, f1.top - 1));
    const CRect inside1{f1.left + 1, f1.top + 1, f1.right - 1, f1.bottom - 1};
    const CRect inside2{f2.left + 1, f2.top + 1, f2.right - 1, f2.bottom - 1};
    EXPECT_EQ(0, DarkPixels(*surface, inside1));
    EXPECT_GT(DarkPixels(*surface, inside2), 10);

    desk.bar.SetLabelSet(1);
    surface = desk.window.Paint();
    EXPECT_EQ(RGB(255, 255, 200), surface->GetPixel(f1.left + 2, f1.top + 2));
    EXPECT_EQ(RGB(255, 255, 100), surface->GetPixel(f3.left + 2, f3.top + 2));

    desk.bar.SetVisible(false);
    surface = desk.window.Paint();
    EXPECT_EQ(RGB(255, 255, 255), surface->GetPixel(f1.left + 2, f1.top + 2));
    EXPECT_EQ(RGB(255, 255, 255), surface->GetPixel(f1.left, f1.top + 5));
}

}  // namespace
}  // namespace tokeiya
