#include "engine/CByteReader.hpp"

namespace tokeiya {

bool CByteReader::Take(size_t count, const unsigned char*& at) {
    if (m_failed || count > m_data.size() - m_pos) {
        m_failed = true;
        return false;
    }
    at = m_data.data() + m_pos;
    m_pos += count;
    return true;
}

bool CByteReader::UInt32(std::uint32_t& out) {
    const unsigned char* at = nullptr;
    if (!Take(4, at)) {
        return false;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= std::uint32_t{at[i]} << (8 * i);
    }
    out = value;
    return true;
}

bool CByteReader::Int32(std::int32_t& out) {
    std::uint32_t bits = 0;
    if (!UInt32(bits)) {
        return false;
    }
    out = static_cast<std::int32_t>(bits);
    return true;
}

bool CByteReader::Int64(std::int64_t& out) {
    const unsigned char* at = nullptr;
    if (!Take(8, at)) {
        return false;
    }
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
        value |= std::uint64_t{at[i]} << (8 * i);
    }
    out = static_cast<std::int64_t>(value);
    return true;
}

bool CByteReader::Bytes(size_t count, std::string& out) {
    const unsigned char* at = nullptr;
    if (!Take(count, at)) {
        return false;
    }
    out.assign(reinterpret_cast<const char*>(at), count);
    return true;
}

bool CByteReader::Skip(size_t count) {
    const unsigned char* at = nullptr;
    return Take(count, at);
}

}  // namespace tokeiya
