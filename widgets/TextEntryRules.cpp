#include "widgets/TextEntryRules.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace tokeiya {
namespace {

// Full-width symbols whose codes do not run parallel to ASCII. The quotes have two codes
// each (NEC-selected and IBM extensions), both read as the same character.
struct FullWidthSymbol {
    std::uint16_t code;
    char half;
};
constexpr FullWidthSymbol kFullWidthSymbols[] = {
    {0x8140, ' '}, {0x8149, '!'}, {0xEEFC, '"'},  {0xFA57, '"'},  {0x8194, '#'}, {0x8190, '$'},
    {0x8193, '%'}, {0x8195, '&'}, {0xEEFB, '\''}, {0xFA56, '\''}, {0x8169, '('}, {0x816A, ')'},
    {0x8196, '*'}, {0x817B, '+'}, {0x8143, ','},  {0x817C, '-'},  {0x8144, '.'}, {0x815E, '/'},
    {0x8146, ':'}, {0x8147, ';'}, {0x8183, '<'},  {0x8181, '='},  {0x8184, '>'}, {0x8148, '?'},
    {0x8197, '@'}, {0x816D, '['}, {0x815F, '\\'}, {0x818F, '\\'}, {0x816E, ']'}, {0x814F, '^'},
    {0x8151, '_'}, {0x814D, '`'}, {0x816F, '{'},  {0x8162, '|'},  {0x8170, '}'}, {0x8160, '~'},
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A part of a typed time as a number; nothing when it is empty or holds anything but
// digits. A part too large for an int is no time of day either.
std::optional<int> TimePart(std::string_view part) {
    if (part.empty()) {
        return std::nullopt;
    }
    for (char c : part) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
    }
    int value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (error != std::errc() || end != part.data() + part.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<char> HalfWidthOf(std::string_view character) {
    if (character.size() == 1) {
        return character[0];
    }
    if (character.size() != 2) {
        return std::nullopt;
    }
    const auto lead = static_cast<unsigned char>(character[0]);
    const auto trail = static_cast<unsigned char>(character[1]);
    if (lead == 0x82) {
        if (trail >= 0x4F && trail <= 0x58) {
            return static_cast<char>('0' + (trail - 0x4F));
        }
        if (trail >= 0x60 && trail <= 0x79) {
            return static_cast<char>('A' + (trail - 0x60));
        }
        if (trail >= 0x81 && trail <= 0x9A) {
            return static_cast<char>('a' + (trail - 0x81));
        }
        return std::nullopt;
    }
    const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
    for (const FullWidthSymbol& symbol : kFullWidthSymbols) {
        if (symbol.code == code) {
            return symbol.half;
        }
    }
    return std::nullopt;
}

bool IsValidNumberText(std::string_view text, int digits, int decimals, bool isSigned) {
    size_t i = 0;
    if (isSigned && !text.empty() && text[0] == '-') {
        i = 1;
    }
    bool point = false;
    size_t before = 0;
    size_t after = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            if (point) {
                return false;
            }
            point = true;
        } else if (IsDigit(c)) {
            ++(point ? after : before);
        } else {
            return false;
        }
    }
    const size_t maxBefore = digits < 0 ? 0 : static_cast<size_t>(digits);
    const size_t maxAfter = decimals < 0 ? 0 : static_cast<size_t>(decimals);
    return before <= maxBefore && after <= maxAfter;
}

std::optional<std::string> FormatNumber(double value, int digits, int decimals, bool isSigned) {
    if (!std::isfinite(value) || (value < 0 && !isSigned)) {
        return std::nullopt;
    }
    const int places = decimals < 0 ? 0 : decimals;
    // to_chars with a precision prints as printf's "%.*f" does, whatever the locale's point.
    std::string text(330 + static_cast<size_t>(places), '\0');
    const double magnitude = std::fabs(value);
    const auto [last, error] = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                             std::chars_format::fixed, places);
    if (error != std::errc()) {
        return std::nullopt;
    }
    text.resize(static_cast<size_t>(last - text.data()));
    const size_t point = text.find('.');
    const size_t integerDigits = point == std::string::npos ? text.size() : point;
    if (digits < 0 || integerDigits > static_cast<size_t>(digits)) {
        return std::nullopt;
    }
    // "-0.00" would read as a value that is not there.
    if (value < 0 && text.find_first_of("123456789") != std::string::npos) {
        text.insert(text.begin(), '-');
    }
    return text;
}

std::optional<double> LeadingNumber(std::string_view text) {
    double value = 0;
    // Fixed notation: an editor's text has no exponent, and "1e5" is not a hundred thousand.
    const std::errc error =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed).ec;
    if (error == std::errc::invalid_argument) {
        return std::nullopt;
    }
    // Out of range leaves the value alone; the text can only be a huge number or a tiny one.
    if (error == std::errc::result_out_of_range) {
        const bool negative = !text.empty() && text[0] == '-';
        const bool tiny = text.find_first_of("123456789") > text.find('.');
        const double huge = std::numeric_limits<double>::infinity();
        return tiny ? (negative ? -0.0 : 0.0) : (negative ? -huge : huge);
    }
    return value;
}

std::optional<int64_t> LeadingInteger(std::string_view text) {
    int64_t value = 0;
    const std::errc error = std::from_chars(text.data(), text.data() + text.size(), value).ec;
    if (error == std::errc::invalid_argument) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        return !text.empty() && text[0] == '-' ? std::numeric_limits<int64_t>::min()
                                               : std::numeric_limits<int64_t>::max();
    }
    return value;
}

std::optional<char> TimeCharacter(char typed) {
    if (typed == '.') {
        return ':';
    }
    if (IsDigit(typed) || typed == ':') {
        return typed;
    }
    return std::nullopt;
}

std::string TimeTextOf(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '.') {
            c = ':';
        }
    }
    return out;
}

bool IsPastableTimeText(std::string_view text, int width) {
    if (text.empty() || width < 0 || text.size() > static_cast<size_t>(width)) {
        return false;
    }
    for (char c : text) {
        if (!IsDigit(c) && c != ':' && c != '.') {
            return false;
        }
    }
    return true;
}

std::optional<TimeOfDayParts> ParseTimeText(std::string_view text, bool withSeconds) {
    if (text.empty()) {
        return TimeOfDayParts{true, 0, 0, 0};
    }
    std::vector<std::string_view> parts;
    size_t from = 0;
    for (;;) {
        const size_t colon = text.find(':', from);
        parts.push_back(text.substr(from, colon == std::string_view::npos ? colon : colon - from));
        if (colon == std::string_view::npos) {
            break;
        }
        from = colon + 1;
    }

    std::string_view hour, minute, second = "0";
    if (parts.size() == 1) {
        const std::string_view all = parts[0];
        const size_t length = all.size();
        if (withSeconds && length > 4) {
            hour = all.substr(0, length - 4);
            minute = all.substr(length - 4, 2);
            second = all.substr(length - 2);
        } else if (!withSeconds && length >= 3) {
            hour = all.substr(0, length - 2);
            minute = all.substr(length - 2);
        } else {
            return std::nullopt;
        }
    } else if (parts.size() == 2 && !withSeconds) {
        hour = parts[0];
        minute = parts[1];
    } else if (parts.size() == 3 && withSeconds) {
        hour = parts[0];
        minute = parts[1];
        second = parts[2];
    } else {
        return std::nullopt;
    }

    const std::optional<int> h = TimePart(hour);
    const std::optional<int> m = TimePart(minute);
    const std::optional<int> s = TimePart(second);
    if (!h || !m || !s || *h > 23 || *m >= 60 || *s >= 60) {
        return std::nullopt;
    }
    return TimeOfDayParts{false, *h, *m, *s};
}

bool ParseTimeInto(std::string_view text, bool withSeconds, CTime& var) {
    const std::optional<TimeOfDayParts> parts = ParseTimeText(text, withSeconds);
    if (!parts) {
        return false;
    }
    if (parts->null) {
        var = CTime(0);
        return true;
    }
    int year = 2000;
    int month = 1;
    int day = 1;
    if (!IsEmptyTime(var)) {
        std::tm local{};
        // A value beyond the local calendar has no date to keep: refused rather than moved
        // to some other day.
        if (!var.GetLocalTm(local) || local.tm_year > std::numeric_limits<int>::max() - 1900) {
            return false;
        }
        year = local.tm_year + 1900;
        month = local.tm_mon + 1;
        day = local.tm_mday;
    }
    const std::optional<CTime> result =
        CTime::FromLocal(year, month, day, parts->hour, parts->minute, parts->second);
    if (!result) {
        return false;
    }
    var = *result;
    return true;
}

}  // namespace tokeiya
