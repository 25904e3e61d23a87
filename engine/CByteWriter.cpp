#include "engine/CByteWriter.hpp"

namespace tokeiya {

void CByteWriter::UInt32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        m_data.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

void CByteWriter::Int64(std::int64_t value) {
    auto bits = static_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) {
        m_data.push_back(static_cast<unsigned char>(bits >> (8 * i)));
    }
}

void CByteWriter::Bytes(std::string_view bytes) {
    m_data.insert(m_data.end(), bytes.begin(), bytes.end());
}

void CByteWriter::Zeros(size_t count) {
    m_data.insert(m_data.end(), count, 0);
}

}  // namespace tokeiya
