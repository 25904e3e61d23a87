#pragma once

#include <optional>
#include <string>
#include <string_view>

// Code page 932 (Shift-JIS) is the program's inner text encoding; UTF-8 is what files, GTK
// and the database speak. Conversion happens only at those edges.
namespace tokeiya::cp932 {

// A lead byte starts a double-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// A trail byte follows a lead byte: 0x40-0x7E and 0x80-0xFC.
constexpr bool IsTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Lenient conversions: a character the other side cannot represent becomes '?'.
std::string ToUtf8(std::string_view cp932);
std::string FromUtf8(std::string_view utf8);

// Strict conversions: nullopt when any character cannot be converted.
std::optional<std::string> ToUtf8Strict(std::string_view cp932);
std::optional<std::string> FromUtf8Strict(std::string_view utf8);

// Text pasted from elsewhere: a character CP932 cannot hold, or a broken UTF-8 sequence, is
// left out, so no '?' stands in for a character the user never typed.
std::string FromUtf8Dropping(std::string_view utf8);

}  // namespace tokeiya::cp932
