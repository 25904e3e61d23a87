#pragma once

// The fixed texts of the GTK code are u8 literals, because ordinary literals in this project
// are CP932 bytes; GTK wants UTF-8.
namespace tokeiya::gtk {

inline const char* U8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

}  // namespace tokeiya::gtk
