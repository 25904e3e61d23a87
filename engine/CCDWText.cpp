#include "engine/CCDWText.hpp"

#include "engine/CCRBase.hpp"
#include "engine/CCRBaseLimits.hpp"
#include "platform/TextHelpers.hpp"

namespace tokeiya {

namespace {

constexpr const char* kComma = "[CMM]";

}  // namespace

void CCDWText::Draw(CDC&, CCRBase& surface) const {
    surface.PutText(m_text, m_x1, m_y1, false);
}

std::int32_t CCDWText::GetStoredSize() const {
    return kBaseSize + 4 + static_cast<std::int32_t>(m_text.size()) + 1;
}

void CCDWText::WriteBinary(CByteWriter& out) const {
    WriteBinaryBase(out);
    WriteBinaryText(out);
}

bool CCDWText::ReadBinaryBody(CByteReader& in) {
    return ReadBinaryText(in);
}

void CCDWText::WriteBinaryText(CByteWriter& out) const {
    out.Int32(static_cast<std::int32_t>(m_text.size()) + 1);
    out.Bytes(m_text);
    out.Zeros(1);
}

bool CCDWText::ReadBinaryText(CByteReader& in) {
    std::int32_t n = 0;
    if (!in.Int32(n) || n <= 0 || static_cast<size_t>(n) > in.Remaining()) {
        return false;
    }
    std::string bytes;
    if (!in.Bytes(static_cast<size_t>(n), bytes)) {
        return false;
    }
    m_text = CCRBaseLimits::Caption(std::string_view(bytes).substr(0, bytes.find('\0')));
    return true;
}

void CCDWText::WriteText(std::string& out) const {
    out += "T " + EncodeCommas(m_text) + ',' + std::to_string(m_x1) + ',' + std::to_string(m_y1) +
           '\n';
}

std::string CCDWText::EncodeCommas(std::string_view text) {
    std::string out(text);
    ReplaceAll(out, ",", kComma);
    return out;
}

std::string CCDWText::DecodeCommas(std::string_view text) {
    std::string out(text);
    ReplaceAll(out, kComma, ",");
    return out;
}

}  // namespace tokeiya
