#include <gtest/gtest.h>

#include <functional>

#include "shell/MainMenu.hpp"

namespace tokeiya {
namespace {

bool Enabled(win::UINT id, int level, ScreenId screen = ScreenId::MonthSchedule) {
    MenuContext context;
    context.userLevel = level;
    context.screen = screen;
    auto state = MainMenuState(id, context);
    EXPECT_TRUE(state.has_value()) << id;
    return state && state->enabled;
}

TEST(MainMenuState, LevelsDecideTheAdministrationAndPrinterItems) {
    struct Row {
        int level;
        bool groupAndUser;
        bool calculationAndPrinters;
    };
    const Row rows[] = {
        {0, false, false}, {1, false, false}, {2, false, true}, {3, true, true}, {4, true, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "level " << row.level);
        EXPECT_EQ(row.groupAndUser, Enabled(command::kGroupSettings, row.level));
        EXPECT_EQ(row.groupAndUser, Enabled(command::kUserSettings, row.level));
        EXPECT_EQ(row.calculationAndPrinters, Enabled(command::kCalculation, row.level));
        EXPECT_EQ(row.calculationAndPrinters, Enabled(command::kPrinterSalary, row.level));
        EXPECT_EQ(row.calculationAndPrinters, Enabled(command::kPrinterCard, row.level));
        for (win::UINT always : {command::kChangeConnection, command::kExit, command::kOptions,
                                 command::kChangePassword, command::kAbout, command::kOpenFromTray,
                                 command::kFitScreen}) {
            EXPECT_TRUE(Enabled(always, row.level)) << always;
        }
    }
}

TEST(MainMenuState, TheCurrentScreenDisablesItsOwnItem) {
    EXPECT_FALSE(Enabled(command::kGroupSettings, 3, ScreenId::Groups));
    EXPECT_TRUE(Enabled(command::kUserSettings, 3, ScreenId::Groups));
    EXPECT_FALSE(Enabled(command::kUserSettings, 3, ScreenId::Users));
    EXPECT_FALSE(Enabled(command::kCalculation, 3, ScreenId::SalaryList));
    EXPECT_FALSE(Enabled(command::kCalculation, 3, ScreenId::TimeCard))
        << "the time card belongs to 計算";
    EXPECT_TRUE(Enabled(command::kCalculation, 3, ScreenId::MonthSchedule));
}

TEST(MainMenuState, WhatCannotBeShownYetIsDisabled) {
    MenuContext context;
    context.userLevel = 3;
    context.canShowScreen = [](ScreenId screen) { return screen == ScreenId::Users; };
    context.printSettingsAvailable = false;
    EXPECT_FALSE(MainMenuState(command::kGroupSettings, context)->enabled);
    EXPECT_TRUE(MainMenuState(command::kUserSettings, context)->enabled);
    EXPECT_FALSE(MainMenuState(command::kCalculation, context)->enabled);
    EXPECT_FALSE(MainMenuState(command::kPrinterSalary, context)->enabled);
    EXPECT_FALSE(MainMenuState(command::kPrinterCard, context)->enabled);
    EXPECT_TRUE(MainMenuState(command::kOptions, context)->enabled);
}

TEST(MainMenuState, TheCurrentZoomIsCheckedAndDisabledUnlessMaximized) {
    MenuContext context;
    context.zoomPercent = 70;
    auto z90 = *MainMenuState(command::kZoom90, context);
    auto z70 = *MainMenuState(command::kZoom70, context);
    EXPECT_TRUE(z90.enabled);
    EXPECT_FALSE(z90.checked);
    EXPECT_FALSE(z70.enabled);
    EXPECT_TRUE(z70.checked);

    context.maximized = true;
    z70 = *MainMenuState(command::kZoom70, context);
    EXPECT_TRUE(z70.enabled);
    EXPECT_FALSE(z70.checked);

    context.fitScreen = true;
    EXPECT_TRUE(MainMenuState(command::kFitScreen, context)->checked);
    EXPECT_FALSE(MainMenuState(command::kEditCopy, context).has_value())
        << "the Edit items are the screen's to decide";
}

// Every command of both menus has a rule, and no id is used twice in the main menu.
TEST(MainMenu, EveryCommandHasAStateRule) {
    std::vector<win::UINT> ids;
    std::function<void(const win::Menu&)> walk = [&](const win::Menu& menu) {
        for (const win::MenuItem& item : menu) {
            if (!item.children.empty()) {
                walk(item.children);
            } else if (item.id != 0) {
                ids.push_back(item.id);
            }
        }
    };
    walk(BuildMainMenu());
    const std::size_t mainCount = ids.size();
    walk(BuildTrayMenu());
    EXPECT_EQ(18u, mainCount);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const bool edit = ids[i] == command::kEditCopy || ids[i] == command::kEditCut ||
                          ids[i] == command::kEditPaste;
        EXPECT_EQ(!edit, MainMenuState(ids[i], MenuContext{}).has_value()) << ids[i];
        for (std::size_t j = i + 1; j < mainCount; ++j) {
            EXPECT_NE(ids[i], ids[j]);
        }
    }
}

}  // namespace
}  // namespace tokeiya
