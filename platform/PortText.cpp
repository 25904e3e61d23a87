#include "platform/PortText.hpp"

namespace tokeiya {
namespace {

constexpr int kMaxPort = 65535;

std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The value of the digit at the front of `text`, consuming it; -1 when there is none. With
// the input method on, digits arrive full-width (U+FF10..U+FF19, EF BC 90..99 in UTF-8).
int TakeDigit(std::string_view& text) {
    if (text[0] >= '0' && text[0] <= '9') {
        int digit = text[0] - '0';
        text.remove_prefix(1);
        return digit;
    }
    if (text.size() >= 3 && text.substr(0, 2) == "\xEF\xBC") {
        auto third = static_cast<unsigned char>(text[2]);
        if (third >= 0x90 && third <= 0x99) {
            text.remove_prefix(3);
            return third - 0x90;
        }
    }
    return -1;
}

}  // namespace

std::optional<int> ParsePortText(std::string_view text) {
    text = TrimBlanks(text);
    int port = 0;
    while (!text.empty()) {
        int digit = TakeDigit(text);
        if (digit < 0) {
            return std::nullopt;
        }
        port = port * 10 + digit;
        if (port > kMaxPort) {
            return std::nullopt;
        }
    }
    return port;
}

std::string PortText(int port) {
    return port > 0 && port <= kMaxPort ? std::to_string(port) : std::string();
}

}  // namespace tokeiya
