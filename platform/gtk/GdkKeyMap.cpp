#include "platform/gtk/GdkKeyMap.hpp"

#include <gdk/gdk.h>

#include <iterator>
#include <string_view>
#include <utility>

#include "platform/Cp932.hpp"
#include "platform/win/WinMessages.hpp"

namespace tokeiya::gtk {
namespace {

using namespace win;

struct KeyEntry {
    guint keyval;
    int virtualKey;
};

// Keys whose code does not follow from a range. Printable keys are listed at both shift
// levels of the Japanese 106 layout.
constexpr KeyEntry kKeys[] = {
    {GDK_KEY_BackSpace, VK_BACK},
    {GDK_KEY_Tab, VK_TAB},
    {GDK_KEY_ISO_Left_Tab, VK_TAB},
    {GDK_KEY_KP_Tab, VK_TAB},
    {GDK_KEY_Clear, VK_CLEAR},
    {GDK_KEY_KP_Begin, VK_CLEAR},
    {GDK_KEY_Begin, VK_CLEAR},
    {GDK_KEY_Return, VK_RETURN},
    {GDK_KEY_KP_Enter, VK_RETURN},
    {GDK_KEY_Shift_L, VK_SHIFT},
    {GDK_KEY_Shift_R, VK_SHIFT},
    {GDK_KEY_Control_L, VK_CONTROL},
    {GDK_KEY_Control_R, VK_CONTROL},
    {GDK_KEY_Alt_L, VK_MENU},
    {GDK_KEY_Alt_R, VK_MENU},
    {GDK_KEY_Meta_L, VK_MENU},
    {GDK_KEY_Meta_R, VK_MENU},
    {GDK_KEY_ISO_Level3_Shift, VK_MENU},
    {GDK_KEY_Pause, VK_PAUSE},
    {GDK_KEY_Break, 3},  // VK_CANCEL, what Ctrl+Pause sends
    {GDK_KEY_Caps_Lock, VK_CAPITAL},
    {GDK_KEY_Shift_Lock, VK_CAPITAL},
    {GDK_KEY_Kana_Lock, VK_KANA},
    {GDK_KEY_Kana_Shift, VK_KANA},
    {GDK_KEY_Kanji, VK_KANJI},
    {GDK_KEY_Escape, VK_ESCAPE},
    {GDK_KEY_Henkan, VK_CONVERT},
    {GDK_KEY_Muhenkan, VK_NONCONVERT},
    {GDK_KEY_space, VK_SPACE},
    {GDK_KEY_KP_Space, VK_SPACE},
    {GDK_KEY_Page_Up, VK_PRIOR},
    {GDK_KEY_KP_Page_Up, VK_PRIOR},
    {GDK_KEY_Page_Down, VK_NEXT},
    {GDK_KEY_KP_Page_Down, VK_NEXT},
    {GDK_KEY_End, VK_END},
    {GDK_KEY_KP_End, VK_END},
    {GDK_KEY_Home, VK_HOME},
    {GDK_KEY_KP_Home, VK_HOME},
    {GDK_KEY_Left, VK_LEFT},
    {GDK_KEY_KP_Left, VK_LEFT},
    {GDK_KEY_Up, VK_UP},
    {GDK_KEY_KP_Up, VK_UP},
    {GDK_KEY_Right, VK_RIGHT},
    {GDK_KEY_KP_Right, VK_RIGHT},
    {GDK_KEY_Down, VK_DOWN},
    {GDK_KEY_KP_Down, VK_DOWN},
    {GDK_KEY_Select, 41},   // VK_SELECT
    {GDK_KEY_Execute, 43},  // VK_EXECUTE
    {GDK_KEY_Print, VK_SNAPSHOT},
    {GDK_KEY_Sys_Req, VK_SNAPSHOT},
    {GDK_KEY_Insert, VK_INSERT},
    {GDK_KEY_KP_Insert, VK_INSERT},
    {GDK_KEY_Delete, VK_DELETE},
    {GDK_KEY_KP_Delete, VK_DELETE},
    {GDK_KEY_Help, 47},  // VK_HELP
    {GDK_KEY_Super_L, VK_LWIN},
    {GDK_KEY_Super_R, VK_RWIN},
    {GDK_KEY_Menu, VK_APPS},
    {GDK_KEY_KP_Multiply, VK_MULTIPLY},
    {GDK_KEY_KP_Add, VK_ADD},
    {GDK_KEY_KP_Separator, VK_SEPARATOR},
    {GDK_KEY_KP_Subtract, VK_SUBTRACT},
    {GDK_KEY_KP_Decimal, VK_DECIMAL},
    {GDK_KEY_KP_Divide, VK_DIVIDE},
    {GDK_KEY_KP_F1, VK_F1},
    {GDK_KEY_KP_F2, VK_F1 + 1},
    {GDK_KEY_KP_F3, VK_F1 + 2},
    {GDK_KEY_KP_F4, VK_F1 + 3},
    {GDK_KEY_Num_Lock, VK_NUMLOCK},
    {GDK_KEY_Scroll_Lock, VK_SCROLL},
    {GDK_KEY_Eisu_toggle, VK_OEM_ATTN},
    {GDK_KEY_Eisu_Shift, VK_OEM_ATTN},
    {GDK_KEY_Hiragana_Katakana, VK_OEM_COPY},
    {GDK_KEY_Hiragana, VK_OEM_COPY},
    {GDK_KEY_Katakana, VK_OEM_COPY},
    {GDK_KEY_Romaji, VK_OEM_COPY},
    {GDK_KEY_Hankaku, VK_OEM_AUTO},
    {GDK_KEY_Zenkaku, VK_OEM_ENLW},
    // The shifted digits of the Japanese layout.
    {GDK_KEY_exclam, '1'},
    {GDK_KEY_quotedbl, '2'},
    {GDK_KEY_numbersign, '3'},
    {GDK_KEY_dollar, '4'},
    {GDK_KEY_percent, '5'},
    {GDK_KEY_ampersand, '6'},
    {GDK_KEY_apostrophe, '7'},
    {GDK_KEY_parenleft, '8'},
    {GDK_KEY_parenright, '9'},
    {GDK_KEY_colon, VK_OEM_1},
    {GDK_KEY_asterisk, VK_OEM_1},
    {GDK_KEY_semicolon, VK_OEM_PLUS},
    {GDK_KEY_plus, VK_OEM_PLUS},
    {GDK_KEY_comma, VK_OEM_COMMA},
    {GDK_KEY_less, VK_OEM_COMMA},
    {GDK_KEY_minus, VK_OEM_MINUS},
    {GDK_KEY_equal, VK_OEM_MINUS},
    {GDK_KEY_period, VK_OEM_PERIOD},
    {GDK_KEY_greater, VK_OEM_PERIOD},
    {GDK_KEY_slash, VK_OEM_2},
    {GDK_KEY_question, VK_OEM_2},
    {GDK_KEY_at, VK_OEM_3},
    {GDK_KEY_grave, VK_OEM_3},
    {GDK_KEY_bracketleft, VK_OEM_4},
    {GDK_KEY_braceleft, VK_OEM_4},
    {GDK_KEY_bar, VK_OEM_5},
    {GDK_KEY_yen, VK_OEM_5},
    {GDK_KEY_bracketright, VK_OEM_6},
    {GDK_KEY_braceright, VK_OEM_6},
    {GDK_KEY_asciicircum, VK_OEM_7},
    {GDK_KEY_asciitilde, VK_OEM_7},
    {GDK_KEY_overline, VK_OEM_7},
    {GDK_KEY_underscore, VK_OEM_102},
};

// X keycodes of a PC keyboard (evdev code + 8) and the keys of the Japanese 106 layout at
// those places, for keyvals the table above does not know.
constexpr guint16 kKeycodeRo = 97;
constexpr guint16 kKeycodeHalfFull = 49;

int VirtualKeyFromKeycode(guint16 keycode, bool inputMethodOpen) {
    // The three letter rows start at keycodes 24, 38 and 52.
    static constexpr std::string_view kRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    static constexpr int kRowStarts[] = {24, 38, 52};
    const int code = keycode;
    if (code >= 10 && code <= 18) {
        return '1' + (code - 10);
    }
    for (size_t row = 0; row < std::size(kRows); ++row) {
        const int column = code - kRowStarts[row];
        if (column >= 0 && column < static_cast<int>(kRows[row].size())) {
            return kRows[row][static_cast<size_t>(column)];
        }
    }
    static constexpr std::pair<guint16, int> kOthers[] = {
        {19, '0'},
        {20, VK_OEM_MINUS},
        {21, VK_OEM_7},
        {132, VK_OEM_5},
        {34, VK_OEM_3},
        {35, VK_OEM_4},
        {47, VK_OEM_PLUS},
        {48, VK_OEM_1},
        {51, VK_OEM_6},
        {59, VK_OEM_COMMA},
        {60, VK_OEM_PERIOD},
        {61, VK_OEM_2},
        {kKeycodeRo, VK_OEM_102},
        {100, VK_CONVERT},
        {101, VK_OEM_COPY},
        {102, VK_NONCONVERT},
    };
    if (keycode == kKeycodeHalfFull) {
        return inputMethodOpen ? VK_OEM_ENLW : VK_OEM_AUTO;
    }
    for (const auto& [code, virtualKey] : kOthers) {
        if (code == keycode) {
            return virtualKey;
        }
    }
    return 0;
}

bool IsAsciiLetter(guint keyval) {
    return (keyval >= 'a' && keyval <= 'z') || (keyval >= 'A' && keyval <= 'Z');
}

}  // namespace

int VirtualKeyFromGdk(guint keyval, guint16 keycode, bool inputMethodOpen) {
    if (IsAsciiLetter(keyval)) {
        return static_cast<int>(keyval & ~0x20u);  // upper case
    }
    if (keyval >= '0' && keyval <= '9') {
        return static_cast<int>(keyval);
    }
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) {
        return VK_NUMPAD0 + static_cast<int>(keyval - GDK_KEY_KP_0);
    }
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) {
        return VK_F1 + static_cast<int>(keyval - GDK_KEY_F1);
    }
    if (keyval == GDK_KEY_Zenkaku_Hankaku) {
        return inputMethodOpen ? VK_OEM_ENLW : VK_OEM_AUTO;
    }
    // The yen key and the ro key both type a backslash on the Japanese layout.
    if (keyval == GDK_KEY_backslash) {
        return keycode == kKeycodeRo ? VK_OEM_102 : VK_OEM_5;
    }
    for (const KeyEntry& entry : kKeys) {
        if (entry.keyval == keyval) {
            return entry.virtualKey;
        }
    }
    return VirtualKeyFromKeycode(keycode, inputMethodOpen);
}

std::string CharactersFromGdk(guint keyval, int modifiers) {
    if ((modifiers & kAlt) != 0) {
        return {};  // a system character, which the engine does not take
    }
    if ((modifiers & kCtrl) != 0) {
        if (IsAsciiLetter(keyval)) {
            return std::string(1, static_cast<char>((keyval & 0x1F)));
        }
        switch (keyval) {
            case GDK_KEY_bracketleft:
                return "\x1B";
            case GDK_KEY_backslash:
                return "\x1C";
            case GDK_KEY_bracketright:
                return "\x1D";
            case GDK_KEY_Return:
            case GDK_KEY_KP_Enter:
                return "\n";
            case GDK_KEY_BackSpace:
                return "\x7F";
            default:
                return {};
        }
    }
    switch (keyval) {
        case GDK_KEY_BackSpace:
            return "\b";
        case GDK_KEY_Tab:
        case GDK_KEY_ISO_Left_Tab:
        case GDK_KEY_KP_Tab:
            return "\t";
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
            return "\r";
        case GDK_KEY_Escape:
            return "\x1B";
        case GDK_KEY_yen:
            return "\\";  // the yen sign of Japanese fonts is CP932's backslash
        default:
            break;
    }
    // The kana keysyms are JIS X 0201's katakana, which CP932 keeps as the single bytes
    // A1-DF: what a kana-locked keyboard types is half-width, not the full-width kana that
    // GDK's Unicode mapping makes of them.
    if (keyval >= GDK_KEY_kana_fullstop && keyval <= GDK_KEY_semivoicedsound) {
        return std::string(1, static_cast<char>(keyval - 0x400));
    }
    // Function, navigation and modifier keys make no character, with the keypad's
    // printable keys the exception.
    const bool keypadPrintable = keyval == GDK_KEY_KP_Space || keyval == GDK_KEY_KP_Equal ||
                                 (keyval >= GDK_KEY_KP_Multiply && keyval <= GDK_KEY_KP_9);
    if (keyval >= 0xFE00 && keyval <= 0xFFFF && !keypadPrintable) {
        return {};
    }
    const gunichar unicode = gdk_keyval_to_unicode(keyval);
    if (unicode < 0x20 || unicode == 0x7F) {
        return {};
    }
    char utf8[8] = {};
    const int length = g_unichar_to_utf8(unicode, utf8);
    return cp932::FromUtf8Strict(std::string_view(utf8, static_cast<size_t>(length)))
        .value_or(std::string());
}

}  // namespace tokeiya::gtk
