#include "platform/TextHelpers.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/Cp932.hpp"
#include "platform/SystemInfo.hpp"

namespace tokeiya {
namespace {

// The byte length of the character at `i`: 2 for a lead byte with a byte after it, else 1.
size_t CharLength(const std::string& text, size_t i) {
    return cp932::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// True when `end` lies on a character boundary, walking from the boundary `from`.
bool IsBoundary(const std::string& text, size_t from, size_t end) {
    size_t i = from;
    while (i < end) {
        i += CharLength(text, i);
    }
    return i == end;
}

}  // namespace

size_t FindText(const std::string& text, const std::string& find, size_t from) {
    if (find.empty() || from > text.size()) {
        return std::string::npos;
    }
    // `from` is taken as a boundary; the walk decides every later one.
    for (size_t i = from; i + find.size() <= text.size(); i += CharLength(text, i)) {
        if (text.compare(i, find.size(), find) == 0 && IsBoundary(text, i, i + find.size())) {
            return i;
        }
    }
    return std::string::npos;
}

std::string UpperText(const std::string& text) {
    std::string upper = text;
    for (size_t i = 0; i < upper.size(); i += CharLength(upper, i)) {
        if (upper[i] >= 'a' && upper[i] <= 'z') {
            upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
        }
    }
    return upper;
}

int ReplaceAll(std::string& text, const std::string& find, const std::string& replacement) {
    if (find.empty()) {
        return 0;
    }
    std::string out;
    int count = 0;
    size_t done = 0;
    for (size_t at = FindText(text, find); at != std::string::npos;
         at = FindText(text, find, done)) {
        out.append(text, done, at - done);
        out += replacement;
        done = at + find.size();
        ++count;
    }
    if (count > 0) {
        out.append(text, done, std::string::npos);
        text = std::move(out);
    }
    return count;
}

std::string PadText(const std::string& text, int width, bool leftAligned) {
    if (width <= 0 || text.size() >= static_cast<size_t>(width)) {
        return text;
    }
    const std::string blanks(static_cast<size_t>(width) - text.size(), ' ');
    return leftAligned ? text + blanks : blanks + text;
}

std::string FitText(const std::string& text, int width) {
    return PadText(LeftBytes(text, width, false), width, true);
}

std::string LeftBytes(const std::string& text, int n, bool stopAtNewline) {
    if (n <= 0) {
        return {};
    }
    const size_t limit = static_cast<size_t>(n);
    size_t end = 0;
    while (end < text.size()) {
        if (stopAtNewline && text[end] == '\n') {
            break;
        }
        const size_t next = end + CharLength(text, end);
        if (next > limit) {
            break;
        }
        end = next;
    }
    return text.substr(0, end);
}

std::string FormatNumber(double value, int decimals) {
    const int precision = decimals < 0 ? 0 : decimals;
    const double magnitude = std::fabs(value);
    // to_chars with a precision prints exactly as printf's "%.*f" does.
    std::string digits(330 + static_cast<size_t>(precision), '\0');
    auto [last, error] = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude,
                                       std::chars_format::fixed, precision);
    if (error != std::errc()) {
        return {};
    }
    digits.resize(static_cast<size_t>(last - digits.data()));

    const size_t point = digits.find('.');
    const size_t integerDigits = point == std::string::npos ? digits.size() : point;
    std::string out;
    // A value that rounds to zero is shown without a sign: "-0" on a pay list reads as a
    // debt that is not there.
    const bool printsAsZero =
        std::isfinite(value) && digits.find_first_of("123456789") == std::string::npos;
    if (value < 0 && !printsAsZero) {
        out += '-';
    }
    const size_t first = integerDigits % 3 == 0 ? 3 : integerDigits % 3;
    for (size_t i = 0; i < integerDigits; ++i) {
        if (i > 0 && i >= first && (i - first) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    out.append(digits, integerDigits, std::string::npos);
    return out;
}

std::string PathToText(const std::string& utf8Path, bool& ok) {
    std::optional<std::string> text;
    if (!utf8Path.empty()) {
        text = cp932::FromUtf8Strict(utf8Path);
    }
    ok = text.has_value();
    return ok ? *text : std::string();
}

std::string SpecialFolderPath(SpecialFolder folder, bool& ok) {
    switch (folder) {
        case SpecialFolder::Documents:
            return PathToText(DocumentsFolder(), ok);
    }
    ok = false;
    return {};
}

std::string CurrentFolder(bool& ok) {
    return PathToText(CurrentFolder(), ok);
}

std::string LfLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') {
            out += text[i];
        }
    }
    return out;
}

}  // namespace tokeiya
