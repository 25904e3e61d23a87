#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/CTime.hpp"

// What the number and time editors accept, apart from any window, so that the rules can be
// tested on their own. Every text is CP932 bytes.
namespace tokeiya {

// The half-width form of one character: a double-byte full-width ASCII character (digits,
// letters, symbols, the ideographic space) becomes its single byte; any other double-byte
// character has none. A single byte comes back as it is; an empty or longer text has none.
std::optional<char> HalfWidthOf(std::string_view character);

// Whether `text` can stand in a number editor: an optional leading "-" (signed editors
// only), then digits and at most one ".", with at most `digits` digits before the point
// and `decimals` after it. Texts on their way to a number ("", "-", "12.") pass.
bool IsValidNumberText(std::string_view text, int digits, int decimals, bool isSigned);

// The value as a number editor shows it: `decimals` places after the point, rounded as
// printf rounds. Refused when it does not fit: a negative value in an unsigned editor,
// more than `digits` integer digits, or not a finite number. A value that prints as zero
// has no sign ("-0.001" with two decimals shows as "0.00").
std::optional<std::string> FormatNumber(double value, int digits, int decimals, bool isSigned);

// The number a number editor's text starts with, the rest ignored ("12.5" and "12.5x" are
// 12.5); nothing when it starts with none ("", "-", ".").
std::optional<double> LeadingNumber(std::string_view text);
// The same, the point and what follows it ignored ("12.9" is 12); beyond the range of the
// type the nearest end of it.
std::optional<int64_t> LeadingInteger(std::string_view text);

// What a time editor inserts for a typed single byte: digits and ":" as they are, "." as
// ":", nothing for anything else.
std::optional<char> TimeCharacter(char typed);

// Text for a time editor with every "." turned into ":".
std::string TimeTextOf(std::string_view text);

// Whether a time editor `width` columns wide takes `text` from the clipboard: after "."
// became ":" it is not empty, not wider than the editor, and only digits and ":".
bool IsPastableTimeText(std::string_view text, int width);

// A time of day as typed; `null` stands for the empty text, the time left unset.
struct TimeOfDayParts {
    bool null = false;
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const TimeOfDayParts&, const TimeOfDayParts&) = default;
};

// Reads a typed time: "h:m" (or "h:m:s" with seconds), or the digits alone, the last two
// (four with seconds) being the minutes (and seconds): "930" is 09:30, "123456" 12:34:56.
// Nothing when the text is not a time of day; the empty text is the null time.
std::optional<TimeOfDayParts> ParseTimeText(std::string_view text, bool withSeconds);

// Puts a typed time into `var`: false (and `var` untouched) when the text is not a time or
// the resulting local time cannot be represented. The null time empties `var`; otherwise
// `var` keeps its local date (1 January 2000 when it was empty) and takes the time of day.
bool ParseTimeInto(std::string_view text, bool withSeconds, CTime& var);

}  // namespace tokeiya
