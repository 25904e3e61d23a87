#pragma once

#include <glib.h>

#include <string>

// GDK key events in the engine's terms: Windows virtual-key codes and the characters that
// TranslateMessage makes of a key-down. Pure functions of the event's fields, so they work
// (and are tested) without a display.
namespace tokeiya::gtk {

// The virtual-key code of a key; 0 for a key that has none. Keyvals are read as the
// Japanese 106 keyboard produces them, at either shift level, so Shift+2 ('"') is still
// the key '2' and Shift+@ ('`') is still VK_OEM_3. The keycode (X keycode of a PC
// keyboard) tells apart the two backslash keys (the yen key and the ro key) and stands in
// for keyvals this table does not know (letters of other layouts, dead keys). The
// half-width/full-width key is VK_OEM_ENLW (244) in the full-width state, which is while
// the input method is open, and VK_OEM_AUTO (243) otherwise.
int VirtualKeyFromGdk(guint keyval, guint16 keycode, bool inputMethodOpen);

// The CP932 bytes of the character a key-down makes with `modifiers` (win::kShift, kCtrl,
// kAlt) held: printable characters, Return 13, Tab 9, Backspace 8, Escape 27, Ctrl+letter
// 1 to 26. Empty when the key makes none (navigation and function keys, Alt combinations)
// or its character has no CP932 form.
std::string CharactersFromGdk(guint keyval, int modifiers);

}  // namespace tokeiya::gtk
