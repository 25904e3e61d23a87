#include "shell/MainMenu.hpp"

namespace tokeiya {

using win::Menu;
using win::MenuItem;

namespace {

MenuItem Item(const char* text, win::UINT id, bool checkable = false) {
    MenuItem item;
    item.text = text;
    item.id = id;
    item.checkable = checkable;
    return item;
}

MenuItem Submenu(const char* text, Menu children) {
    MenuItem item;
    item.text = text;
    item.children = std::move(children);
    return item;
}

MenuItem Separator() {
    return MenuItem{};
}

}  // namespace

Menu BuildMainMenu() {
    return Menu{
        Submenu("ファイル(&F)",
                {Item("データベース接続変更", command::kChangeConnection),
                 Submenu("プリンタ設定", {Item("給料集計(横)", command::kPrinterSalary),
                                          Item("カード(縦)", command::kPrinterCard)}),
                 Separator(), Item("終了(&X)", command::kExit)}),
        Submenu("編集(&E)",
                {Item("切り取り", command::kEditCut), Item("コピー", command::kEditCopy),
                 Item("貼り付け", command::kEditPaste)}),
        Submenu("表示(&V)", {Submenu("画面サイズ", {Item("90%", command::kZoom90, true),
                                                    Item("80%", command::kZoom80, true),
                                                    Item("70%", command::kZoom70, true)}),
                             Item("画面サイズ最適化", command::kFitScreen, true), Separator(),
                             Item("オプション", command::kOptions)}),
        Submenu("管理", {Item("パスワード変更", command::kChangePassword), Separator(),
                         Item("グループ設定", command::kGroupSettings),
                         Item("ユーザー設定", command::kUserSettings),
                         Item("計算", command::kCalculation)}),
        Submenu("ヘルプ(&H)", {Item("トピックの検索(&H)", command::kHelpIndex), Separator(),
                               Item("バージョン情報 Tokeiya(&A)...", command::kAbout)}),
    };
}

Menu BuildTrayMenu() {
    return Menu{Item("開く", command::kOpenFromTray), Separator(),
                Item("バージョン情報 Tokeiya(&A)...", command::kAbout), Separator(),
                Item("終了(&X)", command::kExit)};
}

bool LevelAllows(int userLevel, int required) {
    if (required == 2 && userLevel == 4) {
        return false;
    }
    return userLevel >= required;
}

namespace {

bool CanShow(const MenuContext& context, ScreenId screen) {
    return !context.canShowScreen || context.canShowScreen(screen);
}

}  // namespace

std::optional<win::CommandState> MainMenuState(win::UINT id, const MenuContext& context) {
    win::CommandState state;
    switch (id) {
        case command::kPrinterSalary:
        case command::kPrinterCard:
            state.enabled = context.printSettingsAvailable && LevelAllows(context.userLevel, 2);
            return state;
        case command::kZoom90:
        case command::kZoom80:
        case command::kZoom70: {
            const int percent = id == command::kZoom90 ? 90 : id == command::kZoom80 ? 80 : 70;
            const bool current = !context.maximized && context.zoomPercent == percent;
            state.checked = current;
            state.enabled = !current;
            return state;
        }
        case command::kFitScreen:
            state.checked = context.fitScreen;
            return state;
        case command::kGroupSettings:
            state.enabled = context.screen != ScreenId::Groups &&
                            LevelAllows(context.userLevel, 3) && CanShow(context, ScreenId::Groups);
            return state;
        case command::kUserSettings:
            state.enabled = context.screen != ScreenId::Users &&
                            LevelAllows(context.userLevel, 3) && CanShow(context, ScreenId::Users);
            return state;
        case command::kCalculation:
            state.enabled =
                context.screen != ScreenId::SalaryList && context.screen != ScreenId::TimeCard &&
                LevelAllows(context.userLevel, 2) && CanShow(context, ScreenId::SalaryList);
            return state;
        case command::kHelpIndex:
            // There is no help file to search.
            state.enabled = false;
            return state;
        case command::kChangeConnection:
        case command::kExit:
        case command::kOptions:
        case command::kChangePassword:
        case command::kAbout:
        case command::kOpenFromTray:
            return state;
        default:
            return std::nullopt;
    }
}

}  // namespace tokeiya
