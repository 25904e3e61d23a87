#pragma once

#include <cstdio>
#include <string>

namespace tokeiya::rows {

// printf into a string of whatever length the values need: a row never loses its end to a
// fixed buffer, whatever the names hold.
template <typename... Values>
std::string FormatText(const char* format, Values... values) {
    const int n = std::snprintf(nullptr, 0, format, values...);
    if (n <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, values...);
    text.resize(static_cast<size_t>(n));
    return text;
}

}  // namespace tokeiya::rows
