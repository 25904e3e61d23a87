#pragma once

#include <string>
#include <vector>

#include "platform/win/WinMessages.hpp"

namespace tokeiya::win {

// One entry of a menu: a command (id above 0), a submenu (children, id 0) or a separator
// (no text, no children). Texts are CP932 and may mark their mnemonic with '&'.
struct MenuItem {
    std::string text;
    UINT id = 0;
    std::vector<MenuItem> children;
    // A command that can show a check mark (CommandState::checked).
    bool checkable = false;

    bool IsSeparator() const { return text.empty() && children.empty(); }
};

using Menu = std::vector<MenuItem>;

// What the window asks of its owner before a menu is shown (the update-command-UI pass).
struct CommandState {
    bool enabled = true;
    bool checked = false;
};

}  // namespace tokeiya::win
