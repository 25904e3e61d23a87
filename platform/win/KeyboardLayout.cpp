#include "platform/win/KeyboardLayout.hpp"

namespace tokeiya::win {
namespace {

constexpr int VK_F10 = VK_F1 + 9;

struct TypedKey {
    char character;
    int virtualKey;
    bool shift;
};

// The punctuation of the US layout. Where two characters share a code and a shift state
// (the '-' and '=' keys both report VK_OEM_MINUS), the one listed first is what the key
// makes when only the code is known.
constexpr TypedKey kPunctuation[] = {
    {' ', VK_SPACE, false},
    {'!', '1', true},
    {'"', '2', true},
    {'#', '3', true},
    {'$', '4', true},
    {'%', '5', true},
    {'&', '6', true},
    {'\'', '7', false},
    {'(', '8', true},
    {')', '9', true},
    {':', VK_OEM_1, true},
    {'*', VK_OEM_1, true},
    {';', VK_OEM_PLUS, false},
    {'+', VK_OEM_PLUS, true},
    {',', VK_OEM_COMMA, false},
    {'<', VK_OEM_COMMA, true},
    {'-', VK_OEM_MINUS, false},
    {'=', VK_OEM_MINUS, false},
    {'.', VK_OEM_PERIOD, false},
    {'>', VK_OEM_PERIOD, true},
    {'/', VK_OEM_2, false},
    {'?', VK_OEM_2, true},
    {'@', VK_OEM_3, true},
    {'`', VK_OEM_3, false},
    {'[', VK_OEM_4, false},
    {'{', VK_OEM_4, true},
    {'\\', VK_OEM_5, false},
    {'|', VK_OEM_5, true},
    {']', VK_OEM_6, false},
    {'}', VK_OEM_6, true},
    {'^', VK_OEM_7, true},
    {'~', VK_OEM_7, true},
    {'_', VK_OEM_102, true},
};

// The character of a key at a shift level, before Ctrl is taken into account; 0 for none.
char PrintableOf(int virtualKey, bool shift) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return static_cast<char>(shift ? virtualKey : virtualKey + ('a' - 'A'));
    }
    if (virtualKey >= '0' && virtualKey <= '9' && !shift) {
        return static_cast<char>(virtualKey);
    }
    for (const TypedKey& key : kPunctuation) {
        if (key.virtualKey == virtualKey && key.shift == shift) {
            return key.character;
        }
    }
    return 0;
}

// Keys whose character is the same at either shift level: the space bar and the keypad's
// printable keys (as with Num Lock on, the only way to get their codes).
char LevelFreeCharacterOf(int virtualKey) {
    switch (virtualKey) {
        case VK_SPACE:
            return ' ';
        case VK_MULTIPLY:
            return '*';
        case VK_ADD:
            return '+';
        case VK_SUBTRACT:
            return '-';
        case VK_DECIMAL:
            return '.';
        case VK_DIVIDE:
            return '/';
        default:
            if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD0 + 9) {
                return static_cast<char>('0' + (virtualKey - VK_NUMPAD0));
            }
            return 0;
    }
}

}  // namespace

std::optional<KeyStroke> KeyStrokeOf(char c) {
    switch (c) {
        case '\b':
            return KeyStroke{VK_BACK, false};
        case '\t':
            return KeyStroke{VK_TAB, false};
        case '\r':
            return KeyStroke{VK_RETURN, false};
        case '\x1B':
            return KeyStroke{VK_ESCAPE, false};
        default:
            break;
    }
    if (c >= 'a' && c <= 'z') {
        return KeyStroke{c - ('a' - 'A'), false};
    }
    if (c >= 'A' && c <= 'Z') {
        return KeyStroke{c, true};
    }
    if (c >= '0' && c <= '9') {
        return KeyStroke{c, false};
    }
    for (const TypedKey& key : kPunctuation) {
        if (key.character == c) {
            return KeyStroke{key.virtualKey, key.shift};
        }
    }
    return std::nullopt;
}

std::string CharactersOfKey(int virtualKey, int modifiers) {
    if ((modifiers & kAlt) != 0) {
        return {};  // a system character, which the engine does not take
    }
    const bool ctrl = (modifiers & kCtrl) != 0;
    switch (virtualKey) {
        case VK_BACK:
            return ctrl ? "\x7F" : "\b";
        case VK_RETURN:
            return ctrl ? "\n" : "\r";
        case VK_TAB:
            return ctrl ? "" : "\t";
        case VK_ESCAPE:
            return ctrl ? "" : "\x1B";
        default:
            break;
    }
    if (const char free = LevelFreeCharacterOf(virtualKey); free != 0) {
        return ctrl ? std::string() : std::string(1, free);
    }
    const char c = PrintableOf(virtualKey, (modifiers & kShift) != 0);
    if (c == 0) {
        return {};
    }
    if (!ctrl) {
        return std::string(1, c);
    }
    // Ctrl makes control characters of the letters and of the three bracket keys.
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
        return std::string(1, static_cast<char>(c & 0x1F));
    }
    switch (c) {
        case '[':
            return "\x1B";
        case '\\':
            return "\x1C";
        case ']':
            return "\x1D";
        default:
            return {};
    }
}

int ModifierOfKey(int virtualKey) {
    switch (virtualKey) {
        case VK_SHIFT:
            return kShift;
        case VK_CONTROL:
            return kCtrl;
        case VK_MENU:
            return kAlt;
        default:
            return 0;
    }
}

KeyMessage KeyMessageOf(int virtualKey, bool press, bool repeat, int modifiersBefore) {
    const int own = ModifierOfKey(virtualKey);
    KeyMessage key;
    key.held = press ? (modifiersBefore | own) : (modifiersBefore & ~own);
    const bool alt = (modifiersBefore & kAlt) != 0 || virtualKey == VK_MENU;
    const bool system = virtualKey == VK_F10 || (alt && (modifiersBefore & kCtrl) == 0);
    key.lParam = press ? (kKeyRepeatOnce | (repeat ? kKeyWasDown : 0)) : kKeyUpFlags;
    if (alt && system) {
        key.lParam |= kKeyAltContext;
    }
    if (press) {
        key.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    } else {
        key.message = system ? WM_SYSKEYUP : WM_KEYUP;
    }
    return key;
}

}  // namespace tokeiya::win
