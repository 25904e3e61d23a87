#pragma once

#include <optional>
#include <string>

#include "platform/win/WinMessages.hpp"

// The keyboard as both desktops present it to the engine. The virtual-key codes are the
// ones the GTK desktop reports, which reads key symbols as the Japanese 106 keyboard makes
// them; the characters are those of the US layout that an X server (Xvfb's default) has.
// So on this layout a few keys report another code with Shift held: Shift+2 types '@',
// which is VK_OEM_3 as on the Japanese keyboard.
namespace tokeiya::win {

// The key that types a character, and whether Shift is held for it.
struct KeyStroke {
    int virtualKey = 0;
    bool shift = false;
};

// How `c` is typed: printable ASCII, and the control characters that have a key of their
// own (Backspace 8, Tab 9, Return 13, Escape 27). None for anything else.
std::optional<KeyStroke> KeyStrokeOf(char c);

// The CP932 bytes a key-down of `virtualKey` makes when nobody handles it (what
// TranslateMessage posts as WM_CHAR), with `modifiers` (kShift, kCtrl, kAlt) held before
// the key went down. Ctrl with a letter gives 1 to 26; an Alt combination, a navigation or
// function key gives nothing.
std::string CharactersOfKey(int virtualKey, int modifiers);

// The modifier bit a modifier key stands for (kShift for VK_SHIFT ...); 0 for other keys.
int ModifierOfKey(int virtualKey);

// The message a key makes as Windows sends it: WM_KEYDOWN/UP, or WM_SYSKEYDOWN/UP for Alt
// combinations without Ctrl and for F10; lParam with the repeat count, the previous state
// and the Alt context bit; and the modifiers held while it is delivered (a modifier key
// counts as held from its own press to its own release).
struct KeyMessage {
    UINT message = 0;
    LPARAM lParam = 0;
    int held = 0;
};
// `modifiersBefore`: the modifiers held before this event; `repeat`: a press of a key
// already down (auto-repeat).
KeyMessage KeyMessageOf(int virtualKey, bool press, bool repeat, int modifiersBefore);

}  // namespace tokeiya::win
