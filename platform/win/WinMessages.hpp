#pragma once

#include <cstdint>

// The message vocabulary of the host window, kept as the engine speaks it: Windows
// message numbers, virtual-key codes and the packing of coordinates into lParam. Both
// desktops translate their own events into these.
namespace tokeiya::win {

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

struct Message {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_CLOSE = 0x0010;
// The desktop session ends (logout, shutdown, SIGTERM/SIGHUP): wParam 1. The window is
// closed right after, whatever the handler answers.
inline constexpr UINT WM_ENDSESSION = 0x0016;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_IME_STARTCOMPOSITION = 0x010D;
inline constexpr UINT WM_IME_ENDCOMPOSITION = 0x010E;
inline constexpr UINT WM_IME_COMPOSITION = 0x010F;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_IME_SETCONTEXT = 0x0281;
inline constexpr UINT WM_IME_NOTIFY = 0x0282;
inline constexpr UINT WM_IME_CONTROL = 0x0283;
inline constexpr UINT WM_IME_COMPOSITIONFULL = 0x0284;
inline constexpr UINT WM_IME_SELECT = 0x0285;
inline constexpr UINT WM_IME_CHAR = 0x0286;
inline constexpr UINT WM_IME_REQUEST = 0x0288;
inline constexpr UINT WM_USER = 0x0400;

// The notification icon's callback: lParam is the mouse message (WM_RBUTTONUP, ...).
inline constexpr UINT WM_TRAY_NOTIFY = WM_USER + 1;

// Engine messages posted to the host window.
inline constexpr UINT WM_EXIT_KEY = WM_USER + 501;
inline constexpr UINT WM_COMMAND_KEY = WM_USER + 502;
inline constexpr UINT WM_SWITCH_SCREEN = WM_USER + 511;
inline constexpr UINT WM_VIEW_HOOK = WM_USER + 512;
inline constexpr UINT WM_ENGINE_VSCROLL = WM_USER + 521;
inline constexpr UINT WM_ENGINE_HSCROLL = WM_USER + 522;
inline constexpr UINT WM_ENGINE_VTHUMB = WM_USER + 523;
inline constexpr UINT WM_ENGINE_HTHUMB = WM_USER + 524;
// An editor could not take all that was typed or pasted; wParam: the bytes its field holds.
inline constexpr UINT WM_INPUT_CUT = WM_USER + 531;
inline constexpr UINT WM_FUNCTION_KEY = WM_USER + 601;
inline constexpr UINT WM_FUNCTION_NOTIFY = WM_USER + 602;
inline constexpr UINT WM_POPUP_CLOSED = WM_USER + 622;

// WM_SIZE kinds.
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

// Key state bits of the mouse messages' wParam.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

inline constexpr int WHEEL_DELTA = 120;

// The key messages' lParam: repeat count 1, the Alt context bit, the key's previous state
// (set on an auto-repeat and on every key-up) and the transition bit of a key-up.
inline constexpr LPARAM kKeyRepeatOnce = 1;
inline constexpr LPARAM kKeyAltContext = LPARAM{1} << 29;
inline constexpr LPARAM kKeyWasDown = LPARAM{1} << 30;
inline constexpr LPARAM kKeyUpFlags = static_cast<LPARAM>(0xC0000001u);

// Modifier bits passed with keys and commands.
inline constexpr int kShift = 1;
inline constexpr int kCtrl = 2;
inline constexpr int kAlt = 4;

// Virtual-key codes the engine names.
inline constexpr int VK_BACK = 8;
inline constexpr int VK_TAB = 9;
inline constexpr int VK_CLEAR = 12;
inline constexpr int VK_RETURN = 13;
inline constexpr int VK_SHIFT = 16;
inline constexpr int VK_CONTROL = 17;
inline constexpr int VK_MENU = 18;
inline constexpr int VK_PAUSE = 19;
inline constexpr int VK_CAPITAL = 20;
inline constexpr int VK_KANA = 21;
inline constexpr int VK_KANJI = 25;
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_CONVERT = 28;
inline constexpr int VK_NONCONVERT = 29;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_PRIOR = 33;
inline constexpr int VK_NEXT = 34;
inline constexpr int VK_END = 35;
inline constexpr int VK_HOME = 36;
inline constexpr int VK_LEFT = 37;
inline constexpr int VK_UP = 38;
inline constexpr int VK_RIGHT = 39;
inline constexpr int VK_DOWN = 40;
inline constexpr int VK_PRINT = 42;
inline constexpr int VK_SNAPSHOT = 44;
inline constexpr int VK_INSERT = 45;
inline constexpr int VK_DELETE = 46;
inline constexpr int VK_LWIN = 91;
inline constexpr int VK_RWIN = 92;
inline constexpr int VK_APPS = 93;
inline constexpr int VK_NUMPAD0 = 96;
inline constexpr int VK_MULTIPLY = 106;
inline constexpr int VK_ADD = 107;
inline constexpr int VK_SEPARATOR = 108;
inline constexpr int VK_SUBTRACT = 109;
inline constexpr int VK_DECIMAL = 110;
inline constexpr int VK_DIVIDE = 111;
inline constexpr int VK_F1 = 112;
inline constexpr int VK_F20 = 131;
inline constexpr int VK_F24 = 135;
inline constexpr int VK_NUMLOCK = 144;
inline constexpr int VK_SCROLL = 145;
inline constexpr int VK_OEM_1 = 186;       // :*
inline constexpr int VK_OEM_PLUS = 187;    // ;+
inline constexpr int VK_OEM_COMMA = 188;   // ,<
inline constexpr int VK_OEM_MINUS = 189;   // -=
inline constexpr int VK_OEM_PERIOD = 190;  // .>
inline constexpr int VK_OEM_2 = 191;       // /?
inline constexpr int VK_OEM_3 = 192;       // @`
inline constexpr int VK_OEM_4 = 219;       // [{
inline constexpr int VK_OEM_5 = 220;       // \|
inline constexpr int VK_OEM_6 = 221;       // ]}
inline constexpr int VK_OEM_7 = 222;       // ^~
inline constexpr int VK_OEM_102 = 226;     // \_ (ろ)
inline constexpr int VK_OEM_ATTN = 240;    // 英数 (Caps Lock on a Japanese keyboard)
inline constexpr int VK_OEM_COPY = 242;    // カタカナ/ひらがな
inline constexpr int VK_OEM_AUTO = 243;    // 半角/全角 (half-width state)
inline constexpr int VK_OEM_ENLW = 244;    // 半角/全角 (full-width state)

constexpr LPARAM MakeLParam(int low, int high) {
    return static_cast<LPARAM>(
        static_cast<std::int32_t>((static_cast<std::uint32_t>(high & 0xFFFF) << 16) |
                                  static_cast<std::uint32_t>(low & 0xFFFF)));
}
constexpr WPARAM MakeWParam(int low, int high) {
    return static_cast<WPARAM>((static_cast<std::uint32_t>(high & 0xFFFF) << 16) |
                               static_cast<std::uint32_t>(low & 0xFFFF));
}
// Signed coordinates from a packed lParam or wParam (GET_X_LPARAM / GET_Y_LPARAM).
constexpr int LowWordSigned(std::intptr_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}
constexpr int HighWordSigned(std::intptr_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((value >> 16) & 0xFFFF));
}
constexpr int LowWord(std::uintptr_t value) {
    return static_cast<int>(value & 0xFFFF);
}

}  // namespace tokeiya::win
