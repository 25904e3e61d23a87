#include <gtest/gtest.h>

#include <vector>

#include "screens/base/CCRWA_Tokeiya.hpp"
#include "screens/day/CCRWA_DaySchedule.hpp"
#include "screens/gapcheck/CCRWA_GapCheck.hpp"
#include "screens/group/CCRWA_Group.hpp"
#include "screens/login/CCRWA_LoginSystem.hpp"
#include "screens/month/CCRWA_MonthSchedule.hpp"
#include "screens/salary/CCRWA_CalcuA.hpp"
#include "screens/timecard/CCRWA_CalcuB.hpp"
#include "screens/user/CCRWA_User.hpp"
#include "tests/ui/WorkSession.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {
namespace {

template <class Screen>
bool Is(const CCRWin* screen) {
    return dynamic_cast<const Screen*>(screen) != nullptr;
}

class ScreenTableTest : public test::WorkSession {
  protected:
    CCRWA_Tokeiya& Current() { return dynamic_cast<CCRWA_Tokeiya&>(*View().Screen()); }

    // Every pixel of the main window, painted afresh.
    std::vector<COLORREF> Painted() {
        Window().Invalidate(true);
        Window().UpdateWindow();
        const CMemoryDC& surface = *Window().Surface();
        std::vector<COLORREF> pixels;
        pixels.reserve(static_cast<size_t>(surface.Width()) *
                       static_cast<size_t>(surface.Height()));
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) {
                pixels.push_back(surface.GetPixel(x, y));
            }
        }
        return pixels;
    }
};

// Each screen asks for every screen in turn. One the program has replaces it; one it has
// not is refused, and the asking screen stays as it was: shown, with its bar, its open
// editor and its pixels.
TEST_F(ScreenTableTest, EveryScreenIsBuiltOrRefusedWithoutBlankingTheOneThatAsked) {
    struct Case {
        ScreenId id;
        bool (*is)(const CCRWin*);  // null: not built
        bool keepsChosenUser;
    };
    const Case cases[] = {
        {ScreenId::MonthSchedule, &Is<CCRWA_MonthSchedule>, false},
        {ScreenId::PersonalDay, &Is<CCRWA_DaySchedule>, false},
        {ScreenId::EveryoneDay, &Is<CCRWA_DaySchedule>, false},
        {ScreenId::AdminHome, &Is<CCRWA_LoginSystem>, false},
        {ScreenId::Groups, &Is<CCRWA_Group>, false},
        {ScreenId::Users, &Is<CCRWA_User>, false},
        {ScreenId::SalaryList, &Is<CCRWA_CalcuA>, true},
        {ScreenId::TimeCard, &Is<CCRWA_CalcuB>, true},
        {ScreenId::GapCheck, &Is<CCRWA_GapCheck>, true},
        // A code the program has no screen for.
        {static_cast<ScreenId>(106), nullptr, false},
    };
    FixClock(2027, 3, 9, 10, 0);
    Start("hanako", "pw");
    for (const Case& c : cases) {
        SCOPED_TRACE(ScreenCode(c.id));
        ASSERT_TRUE(View().SetScreen(ScreenId::MonthSchedule));
        CCRWA_Tokeiya& asking = Current();
        ASSERT_NE(nullptr, asking.ActiveEditor());
        const std::vector<COLORREF> pixels = Painted();
        const std::string cells = Shown();
        View().Work().userId = 9;

        EXPECT_EQ(c.is != nullptr, View().CanCreateScreen(c.id));
        EXPECT_EQ(c.is != nullptr, asking.SwitchScreen(c.id));
        Window().Pump();
        if (c.is != nullptr) {
            EXPECT_NE(&asking, View().Screen()) << "a new screen object";
            EXPECT_TRUE(c.is(View().Screen()));
            EXPECT_EQ(c.id, View().CurrentScreen());
            EXPECT_EQ(c.keepsChosenUser ? 9 : 0, View().Work().userId);
            continue;
        }
        ASSERT_EQ(&asking, View().Screen());
        EXPECT_EQ(ScreenId::MonthSchedule, View().CurrentScreen());
        EXPECT_TRUE(asking.Shown());
        ASSERT_NE(nullptr, asking.FunctionMenu()) << "the bar stays with the screen";
        EXPECT_TRUE(asking.FunctionMenu()->IsVisible());
        EXPECT_NE(nullptr, asking.ActiveEditor()) << "the edit in progress stays open";
        EXPECT_EQ(cells, Shown()) << test::ScreenDiff(cells, Shown());
        EXPECT_TRUE(pixels == Painted()) << "the window shows the screen as before";
        EXPECT_EQ(9, View().Work().userId) << "nothing was switched";
        // The view refuses the code itself as well, when it comes by the host's message.
        EXPECT_FALSE(View().SetScreen(c.id));
        EXPECT_EQ(&asking, View().Screen());
    }
}

// A screen that counts what the view tells it.
struct Heard {
    int optionChanges = 0;
    int refreshes = 0;
};
Heard g_heard;

class ProbeScreen : public CCRWA_Tokeiya {
  public:
    explicit ProbeScreen(CTokeiyaView& view) : CCRWA_Tokeiya(view, "", "") {}
    void OnOptionsChanged() override { ++g_heard.optionChanges; }
    void OnPeriodicRefresh() override { ++g_heard.refreshes; }
};

std::unique_ptr<CCRWin> BuildProbe(CTokeiyaView& view) {
    return std::make_unique<ProbeScreen>(view);
}

class ProbeScreens : public IScreenFactory {
  public:
    std::span<const ScreenEntry> Entries() const override { return kEntries; }

    static constexpr ScreenEntry kEntries[] = {
        {.id = ScreenId::MonthSchedule, .create = &BuildProbe},
        {.id = ScreenId::Groups, .create = &BuildProbe, .hearsOptionChanges = true},
        {.id = ScreenId::Users, .create = &BuildProbe, .refreshedEachMinute = true},
        {.id = ScreenId::SalaryList,
         .create = &BuildProbe,
         .hearsOptionChanges = true,
         .refreshedEachMinute = true},
    };
};

// The view tells a screen of changed options and of its minute timer as the screen's row
// says, and nothing else decides it.
TEST_F(ScreenTableTest, TheViewTellsEachScreenWhatItsRowAsksFor) {
    ProbeScreens probes;
    Start("hanako", "pw", &probes);
    for (const ScreenEntry& entry : ProbeScreens::kEntries) {
        SCOPED_TRACE(ScreenCode(entry.id));
        ASSERT_TRUE(View().SetScreen(entry.id));
        g_heard = {};
        View().OnOptionsChanged();
        Window().AdvanceTime(CTokeiyaView::kMinuteMs);
        EXPECT_EQ(entry.hearsOptionChanges ? 1 : 0, g_heard.optionChanges);
        EXPECT_EQ(entry.refreshedEachMinute ? 1 : 0, g_heard.refreshes);
    }
}

}  // namespace
}  // namespace tokeiya
