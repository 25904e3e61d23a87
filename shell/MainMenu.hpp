#pragma once

#include <functional>
#include <optional>

#include "platform/win/MenuModel.hpp"
#include "shell/ScreenId.hpp"

namespace tokeiya {

// Command ids of the main menu and the notification menu.
namespace command {
inline constexpr win::UINT kZoom90 = 32771;
inline constexpr win::UINT kZoom80 = 32772;
inline constexpr win::UINT kZoom70 = 32773;
inline constexpr win::UINT kFitScreen = 32774;
inline constexpr win::UINT kOpenFromTray = 32777;
inline constexpr win::UINT kGroupSettings = 32780;
inline constexpr win::UINT kUserSettings = 32781;
inline constexpr win::UINT kCalculation = 32783;
inline constexpr win::UINT kOptions = 32785;
inline constexpr win::UINT kChangeConnection = 32788;
inline constexpr win::UINT kChangePassword = 32790;
inline constexpr win::UINT kPrinterSalary = 32793;
inline constexpr win::UINT kPrinterCard = 32796;
inline constexpr win::UINT kEditCopy = 57634;
inline constexpr win::UINT kEditCut = 57635;
inline constexpr win::UINT kEditPaste = 57637;
inline constexpr win::UINT kAbout = 57664;
inline constexpr win::UINT kExit = 57665;
inline constexpr win::UINT kHelpIndex = 57667;
}  // namespace command

// What the enabling rules of the menus look at.
struct MenuContext {
    int userLevel = 0;
    ScreenId screen = ScreenId::MonthSchedule;
    int zoomPercent = 80;
    bool maximized = false;
    bool fitScreen = false;
    // Whether the view can build a screen; an item whose screen cannot be built yet is
    // disabled rather than doing nothing. Unset: every screen can be built.
    std::function<bool(ScreenId)> canShowScreen;
    // Whether the desktop has printers to set up.
    bool printSettingsAvailable = true;
};

win::Menu BuildMainMenu();
// The notification icon's menu (its one submenu).
win::Menu BuildTrayMenu();

// Enabled when the user's level is at least `required`, except that 2 refuses level 4 (the
// administration account does no pay work).
bool LevelAllows(int userLevel, int required);

// The state of a menu command that the frame or the view decides; nothing for commands
// whose state comes from elsewhere (the Edit commands).
std::optional<win::CommandState> MainMenuState(win::UINT id, const MenuContext& context);

}  // namespace tokeiya
