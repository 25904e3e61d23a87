#include "engine/CCRFontSet.hpp"

#include "platform/Cp932.hpp"

namespace tokeiya {

void CCRFontSet::SetFaceName(std::string_view face) {
    size_t end = 0;
    while (end < face.size()) {
        size_t width = cp932::IsLeadByte(static_cast<unsigned char>(face[end])) ? 2 : 1;
        if (end + width > face.size() || end + width > kMaxFaceBytes) {
            break;
        }
        end += width;
    }
    logFont.faceName.assign(face.substr(0, end));
}

}  // namespace tokeiya
