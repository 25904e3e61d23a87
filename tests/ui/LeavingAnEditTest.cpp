#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "data/CTTimeCard.hpp"
#include "screens/month/CCRWA_MonthSchedule.hpp"
#include "screens/timecard/CCRWA_CalcuB.hpp"
#include "shell/MainMenu.hpp"
#include "tests/ui/WorkSession.hpp"

namespace tokeiya {
namespace {

using namespace win;

constexpr int kHanako = 1;

// A time typed into a day and not yet confirmed, then the screen or the window left in one
// of the ways a person leaves it: the time is stored, or, when it is no time, the person
// stays where they are and is told why.
struct Leaving {
    const char* name;
    // Where the typing happens.
    ScreenId typedOn;
    // True when the window is gone afterwards.
    bool closes;
    // The screen shown afterwards when the window stays.
    ScreenId then;
    std::function<void(CScriptedDialogs&, headless::HeadlessHostWindow&)> leave;
};

// The arrival stored for hanako's 3 March 2027 in minutes; -1 without a card.
int ArrivalOfThirdOfMarch(test::TestDatabase& db) {
    CTTimeCard cards(db.Connection());
    cards.m_strFilter = "[idTimeCard]=?";
    cards.m_params = {DbValue(TimeCardKey(kHanako, 2027, 3, 3))};
    EXPECT_TRUE(cards.Open());
    if (cards.IsEOF()) {
        return -1;
    }
    return cards.m_timeFrom.GetHour() * 60 + cards.m_timeFrom.GetMinute();
}

void PrintTo(const Leaving& leaving, std::ostream* out) {
    *out << leaving.name;
}

void Choose(headless::HeadlessHostWindow& window, UINT command) {
    ASSERT_TRUE(window.ChooseCommand(command));
}

const Leaving kLeavings[] = {
    {"CloseButton", ScreenId::MonthSchedule, true, ScreenId::MonthSchedule,
     [](CScriptedDialogs&, headless::HeadlessHostWindow& window) {
         window.Send(WM_CLOSE);
         window.Pump();
     }},
    {"ExitCommand", ScreenId::MonthSchedule, true, ScreenId::MonthSchedule,
     [](CScriptedDialogs&, headless::HeadlessHostWindow& window) {
         Choose(window, command::kExit);
     }},
    {"GroupSettings", ScreenId::MonthSchedule, false, ScreenId::Groups,
     [](CScriptedDialogs&, headless::HeadlessHostWindow& window) {
         Choose(window, command::kGroupSettings);
     }},
    {"UserSettings", ScreenId::MonthSchedule, false, ScreenId::Users,
     [](CScriptedDialogs&, headless::HeadlessHostWindow& window) {
         Choose(window, command::kUserSettings);
     }},
    {"Calculation", ScreenId::MonthSchedule, false, ScreenId::SalaryList,
     [](CScriptedDialogs&, headless::HeadlessHostWindow& window) {
         Choose(window, command::kCalculation);
     }},
    {"DatabaseChange", ScreenId::MonthSchedule, false, ScreenId::MonthSchedule,
     [](CScriptedDialogs& dialogs, headless::HeadlessHostWindow& window) {
         // The same database again, and the same user: only a stored edit can show.
         test::QueueConnection(dialogs, [](ConnectionForm&) { return true; });
         test::QueueLogin(dialogs, "hanako", "pw");
         Choose(window, command::kChangeConnection);
     }},
    {"MonthKeyNine", ScreenId::MonthSchedule, false, ScreenId::PersonalDay,
     [](CScriptedDialogs&, headless::HeadlessHostWindow& window) {
         window.Press(VK_F1 + 8);
         window.Pump();
     }},
    {"MonthKeyTen", ScreenId::MonthSchedule, false, ScreenId::EveryoneDay,
     [](CScriptedDialogs&, headless::HeadlessHostWindow& window) {
         window.Press(VK_F1 + 9);
         window.Pump();
     }},
    {"TimeCardKeyEight", ScreenId::TimeCard, false, ScreenId::SalaryList,
     [](CScriptedDialogs&, headless::HeadlessHostWindow& window) {
         window.Press(VK_F1 + 7);
         window.Pump();
     }},
    {"TimeCardKeyNine", ScreenId::TimeCard, false, ScreenId::MonthSchedule,
     [](CScriptedDialogs&, headless::HeadlessHostWindow& window) {
         window.Press(VK_F1 + 8);
         window.Pump();
     }},
};

class LeavingAnEditTest : public test::WorkSession, public ::testing::WithParamInterface<Leaving> {
  protected:
    // hanako on 9 March 2027; her card of 3 March is open at its arrival, nothing typed.
    void OpenThirdOfMarch() {
        FixClock(2027, 3, 9, 10, 0);
        Start("hanako", "pw");
        if (GetParam().typedOn == ScreenId::TimeCard) {
            WorkContext& work = View().Work();
            work.year = 2027;
            work.month = 3;
            work.userId = kHanako;
            ASSERT_TRUE(View().SetScreen(ScreenId::TimeCard));
            Window().Pump();
            ASSERT_NE(nullptr, dynamic_cast<CCRWA_CalcuB*>(View().Screen()));
            ClickCell(11, 2 + 3);  // row 2 (3 March), the arrival
        } else {
            ASSERT_NE(nullptr, dynamic_cast<CCRWA_MonthSchedule*>(View().Screen()));
            ClickCell(9, 5);  // the arrival of 3 March
        }
        Window().UpdateWindow();
        ASSERT_EQ(GetParam().typedOn, View().CurrentScreen());
        auto* screen = dynamic_cast<CCRWA_Tokeiya*>(View().Screen());
        ASSERT_NE(nullptr, screen);
        ASSERT_NE(nullptr, screen->ActiveEditor());
    }

    // The arrival stored for 3 March; -1 without a card.
    int StoredArrivalMinutes() { return ArrivalOfThirdOfMarch(m_db); }
};

TEST_P(LeavingAnEditTest, ATypedTimeIsStoredBeforeTheScreenGoes) {
    OpenThirdOfMarch();
    Window().Type("0830");
    GetParam().leave(m_dialogs, Window());

    EXPECT_EQ(8 * 60 + 30, StoredArrivalMinutes());
    EXPECT_EQ(GetParam().closes, m_frame->Closed());
    if (!GetParam().closes) {
        EXPECT_EQ(GetParam().then, View().CurrentScreen());
    }
}

TEST_P(LeavingAnEditTest, ARefusedTimeKeepsTheScreenAndSaysWhy) {
    OpenThirdOfMarch();
    Window().Type("2575");
    const size_t beeps = Window().m_beeps.size();
    GetParam().leave(m_dialogs, Window());

    EXPECT_EQ(-1, StoredArrivalMinutes());
    ASSERT_FALSE(m_frame->Closed());
    EXPECT_TRUE(Window().IsVisible());
    ASSERT_EQ(GetParam().typedOn, View().CurrentScreen());
    auto* screen = dynamic_cast<CCRWA_Tokeiya*>(View().Screen());
    ASSERT_NE(nullptr, screen);
    EXPECT_NE(nullptr, screen->ActiveEditor()) << "the field is open again";
    EXPECT_EQ(beeps + 1, Window().m_beeps.size());
    EXPECT_EQ("時刻は 00:00 から 23:59 までです。", screen->Notice());
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, LeavingAnEditTest, ::testing::ValuesIn(kLeavings),
                         [](const ::testing::TestParamInfo<Leaving>& info) {
                             return std::string(info.param.name);
                         });

// The end of the desktop session closes the window whatever the screen says; a time that
// can be stored still is.
class LeavingAnEditAtSessionEndTest : public test::WorkSession {
  protected:
    // Whether 3 March has a card after `typed` went into its arrival and the session ended.
    bool CardAfterSessionEnd(const std::string& typed) {
        FixClock(2027, 3, 9, 10, 0);
        Start("hanako", "pw");
        ClickCell(9, 5);
        Window().Type(typed);
        Window().Send(WM_ENDSESSION, 1);
        EXPECT_TRUE(m_frame->Closed());
        return ArrivalOfThirdOfMarch(m_db) != -1;
    }
};

TEST_F(LeavingAnEditAtSessionEndTest, ATypedTimeIsStored) {
    EXPECT_TRUE(CardAfterSessionEnd("0830"));
}

TEST_F(LeavingAnEditAtSessionEndTest, ARefusedTimeDoesNotKeepTheWindow) {
    EXPECT_FALSE(CardAfterSessionEnd("2575"));
}

}  // namespace
}  // namespace tokeiya
