#include "platform/gtk/GdkKeyMap.hpp"

#include <gdk/gdk.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/win/WinMessages.hpp"

namespace tokeiya::gtk {
namespace {

using namespace win;

std::string Name(guint keyval) {
    const char* name = gdk_keyval_name(keyval);
    return name != nullptr ? name : "0x" + std::to_string(keyval);
}

struct VirtualKeyCase {
    guint keyval;
    guint16 keycode;  // X keycode of a PC keyboard; 0 where it does not matter
    bool imeOpen;
    int virtualKey;
};

// Keycodes of the Japanese 106 keyboard that the cases need.
constexpr guint16 kA = 38, kOne = 10, kTwo = 11, kColon = 48, kCaret = 21, kYen = 132, kRo = 97;
constexpr guint16 kHalfFull = 49, kVolume = 122;

TEST(GdkKeyMapTest, KeysGetTheVirtualKeyCodesOfTheJapaneseKeyboard) {
    const VirtualKeyCase cases[] = {
        // Letters in either case, digits, and digits typed with Shift.
        {GDK_KEY_a, kA, false, 'A'},
        {GDK_KEY_A, kA, false, 'A'},
        {GDK_KEY_z, 52, false, 'Z'},
        {GDK_KEY_Z, 52, false, 'Z'},
        {GDK_KEY_0, 19, false, '0'},
        {GDK_KEY_9, 18, false, '9'},
        {GDK_KEY_exclam, kOne, false, '1'},
        {GDK_KEY_quotedbl, kTwo, false, '2'},
        {GDK_KEY_parenright, 18, false, '9'},
        // Function keys.
        {GDK_KEY_F1, 67, false, 112},
        {GDK_KEY_F10, 76, false, 121},
        {GDK_KEY_F12, 96, false, 123},
        {GDK_KEY_F24, 0, false, 135},
        // Editing and navigation.
        {GDK_KEY_Return, 36, false, VK_RETURN},
        {GDK_KEY_KP_Enter, 104, false, VK_RETURN},
        {GDK_KEY_Tab, 23, false, VK_TAB},
        {GDK_KEY_ISO_Left_Tab, 23, false, VK_TAB},
        {GDK_KEY_BackSpace, 22, false, VK_BACK},
        {GDK_KEY_Escape, 9, false, VK_ESCAPE},
        {GDK_KEY_space, 65, false, VK_SPACE},
        {GDK_KEY_Insert, 118, false, VK_INSERT},
        {GDK_KEY_Delete, 119, false, VK_DELETE},
        {GDK_KEY_Home, 110, false, VK_HOME},
        {GDK_KEY_End, 115, false, VK_END},
        {GDK_KEY_Page_Up, 112, false, VK_PRIOR},
        {GDK_KEY_Page_Down, 117, false, VK_NEXT},
        {GDK_KEY_Left, 113, false, VK_LEFT},
        {GDK_KEY_Up, 111, false, VK_UP},
        {GDK_KEY_Right, 114, false, VK_RIGHT},
        {GDK_KEY_Down, 116, false, VK_DOWN},
        // Modifiers, left and right alike.
        {GDK_KEY_Shift_L, 50, false, VK_SHIFT},
        {GDK_KEY_Shift_R, 62, false, VK_SHIFT},
        {GDK_KEY_Control_L, 37, false, VK_CONTROL},
        {GDK_KEY_Control_R, 105, false, VK_CONTROL},
        {GDK_KEY_Alt_L, 64, false, VK_MENU},
        {GDK_KEY_Alt_R, 108, false, VK_MENU},
        // The keypad: digits and operators with NumLock on, navigation with it off.
        {GDK_KEY_KP_0, 90, false, VK_NUMPAD0},
        {GDK_KEY_KP_9, 81, false, VK_NUMPAD0 + 9},
        {GDK_KEY_KP_Multiply, 63, false, VK_MULTIPLY},
        {GDK_KEY_KP_Add, 86, false, VK_ADD},
        {GDK_KEY_KP_Subtract, 82, false, VK_SUBTRACT},
        {GDK_KEY_KP_Decimal, 91, false, VK_DECIMAL},
        {GDK_KEY_KP_Divide, 106, false, VK_DIVIDE},
        {GDK_KEY_KP_Home, 79, false, VK_HOME},
        {GDK_KEY_KP_Up, 80, false, VK_UP},
        {GDK_KEY_KP_Page_Down, 89, false, VK_NEXT},
        {GDK_KEY_KP_Begin, 84, false, VK_CLEAR},
        {GDK_KEY_KP_Insert, 90, false, VK_INSERT},
        {GDK_KEY_KP_Delete, 91, false, VK_DELETE},
        // Punctuation of the 106 keyboard at both shift levels.
        {GDK_KEY_minus, 20, false, VK_OEM_MINUS},
        {GDK_KEY_equal, 20, false, VK_OEM_MINUS},
        {GDK_KEY_asciicircum, kCaret, false, VK_OEM_7},
        {GDK_KEY_asciitilde, kCaret, false, VK_OEM_7},
        {GDK_KEY_backslash, kYen, false, VK_OEM_5},
        {GDK_KEY_bar, kYen, false, VK_OEM_5},
        {GDK_KEY_yen, kYen, false, VK_OEM_5},
        {GDK_KEY_at, 34, false, VK_OEM_3},
        {GDK_KEY_grave, 34, false, VK_OEM_3},
        {GDK_KEY_bracketleft, 35, false, VK_OEM_4},
        {GDK_KEY_braceleft, 35, false, VK_OEM_4},
        {GDK_KEY_semicolon, 47, false, VK_OEM_PLUS},
        {GDK_KEY_plus, 47, false, VK_OEM_PLUS},
        {GDK_KEY_colon, kColon, false, VK_OEM_1},
        {GDK_KEY_asterisk, kColon, false, VK_OEM_1},
        {GDK_KEY_bracketright, 51, false, VK_OEM_6},
        {GDK_KEY_braceright, 51, false, VK_OEM_6},
        {GDK_KEY_comma, 59, false, VK_OEM_COMMA},
        {GDK_KEY_less, 59, false, VK_OEM_COMMA},
        {GDK_KEY_period, 60, false, VK_OEM_PERIOD},
        {GDK_KEY_greater, 60, false, VK_OEM_PERIOD},
        {GDK_KEY_slash, 61, false, VK_OEM_2},
        {GDK_KEY_question, 61, false, VK_OEM_2},
        // The ro key types a backslash too; only its place tells it from the yen key.
        {GDK_KEY_backslash, kRo, false, VK_OEM_102},
        {GDK_KEY_underscore, kRo, false, VK_OEM_102},
        // Input-method keys.
        {GDK_KEY_Zenkaku_Hankaku, kHalfFull, false, VK_OEM_AUTO},
        {GDK_KEY_Zenkaku_Hankaku, kHalfFull, true, VK_OEM_ENLW},
        {GDK_KEY_Kanji, kHalfFull, false, VK_KANJI},
        {GDK_KEY_Henkan, 100, false, VK_CONVERT},
        {GDK_KEY_Muhenkan, 102, false, VK_NONCONVERT},
        {GDK_KEY_Hiragana_Katakana, 101, false, VK_OEM_COPY},
        {GDK_KEY_Eisu_toggle, 66, false, VK_OEM_ATTN},
        // Locks and the rest.
        {GDK_KEY_Caps_Lock, 66, false, VK_CAPITAL},
        {GDK_KEY_Num_Lock, 77, false, VK_NUMLOCK},
        {GDK_KEY_Scroll_Lock, 78, false, VK_SCROLL},
        {GDK_KEY_Pause, 127, false, VK_PAUSE},
        {GDK_KEY_Print, 107, false, VK_SNAPSHOT},
        {GDK_KEY_Menu, 135, false, VK_APPS},
        // Keyvals of other layouts fall back on the key's place.
        {GDK_KEY_Cyrillic_ef, kA, false, 'A'},
        {GDK_KEY_dead_circumflex, kCaret, false, VK_OEM_7},
        {GDK_KEY_VoidSymbol, kHalfFull, true, VK_OEM_ENLW},
        {GDK_KEY_VoidSymbol, kRo, false, VK_OEM_102},
        {0x1008FF11, kVolume, false, 0},  // XF86AudioLowerVolume
    };
    for (const VirtualKeyCase& c : cases) {
        EXPECT_EQ(VirtualKeyFromGdk(c.keyval, c.keycode, c.imeOpen), c.virtualKey)
            << Name(c.keyval) << " at keycode " << c.keycode << (c.imeOpen ? ", IME open" : "");
    }
}

struct CharacterCase {
    guint keyval;
    int modifiers;
    std::string bytes;  // CP932
};

TEST(GdkKeyMapTest, KeyDownsMakeTheCharactersTranslateMessageWould) {
    const CharacterCase cases[] = {
        {GDK_KEY_a, 0, "a"},
        {GDK_KEY_A, kShift, "A"},
        {GDK_KEY_1, 0, "1"},
        {GDK_KEY_quotedbl, kShift, "\""},
        {GDK_KEY_space, 0, " "},
        {GDK_KEY_Return, 0, "\r"},
        {GDK_KEY_KP_Enter, 0, "\r"},
        {GDK_KEY_Tab, 0, "\t"},
        {GDK_KEY_ISO_Left_Tab, kShift, "\t"},
        {GDK_KEY_BackSpace, 0, "\b"},
        {GDK_KEY_Escape, 0, "\x1B"},
        {GDK_KEY_KP_1, 0, "1"},
        {GDK_KEY_KP_Add, 0, "+"},
        {GDK_KEY_KP_Decimal, 0, "."},
        {GDK_KEY_yen, 0, "\\"},
        // Control characters.
        {GDK_KEY_a, kCtrl, "\x01"},
        {GDK_KEY_Z, kCtrl | kShift, "\x1A"},
        {GDK_KEY_bracketleft, kCtrl, "\x1B"},
        {GDK_KEY_Return, kCtrl, "\n"},
        {GDK_KEY_BackSpace, kCtrl, "\x7F"},
        {GDK_KEY_1, kCtrl, ""},
        // Keys without a character: Delete's keysym maps to DEL, which no key-down makes.
        {GDK_KEY_a, kAlt, ""},
        {GDK_KEY_Delete, 0, ""},
        {GDK_KEY_KP_Delete, 0, ""},
        {GDK_KEY_Left, 0, ""},
        {GDK_KEY_KP_Home, 0, ""},
        {GDK_KEY_F1, 0, ""},
        {GDK_KEY_Shift_L, kShift, ""},
        {GDK_KEY_dead_acute, 0, ""},
        {GDK_KEY_Zenkaku_Hankaku, 0, ""},
        // Characters beyond ASCII, as CP932 bytes; none where CP932 has no place for them.
        {0x1003042, 0, "\x82\xA0"},   // あ
        {GDK_KEY_kana_A, 0, "\xB1"},  // half-width ｱ
        {GDK_KEY_kana_fullstop, 0, "\xA1"},
        {GDK_KEY_semivoicedsound, 0, "\xDF"},
        {GDK_KEY_EuroSign, 0, ""},
    };
    for (const CharacterCase& c : cases) {
        EXPECT_EQ(CharactersFromGdk(c.keyval, c.modifiers), c.bytes)
            << Name(c.keyval) << " with modifiers " << c.modifiers;
    }
}

}  // namespace
}  // namespace tokeiya::gtk
