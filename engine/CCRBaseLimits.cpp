#include "engine/CCRBaseLimits.hpp"

#include "platform/Cp932.hpp"

namespace tokeiya {

std::string CCRBaseLimits::Caption(std::string_view text) {
    if (text.size() <= kMaxCaptionBytes) {
        return std::string(text);
    }
    size_t end = 0;
    while (end < text.size()) {
        const size_t width = cp932::IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + width > kMaxCaptionBytes) {
            break;
        }
        end += width;
    }
    return std::string(text.substr(0, end));
}

}  // namespace tokeiya
