#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tokeiya {

// Little-endian binary output of the definition formats, into memory.
class CByteWriter {
  public:
    void Int32(std::int32_t value) { UInt32(static_cast<std::uint32_t>(value)); }
    void UInt32(std::uint32_t value);
    void Int64(std::int64_t value);
    void Bytes(std::string_view bytes);
    void Zeros(size_t count);

    const std::vector<unsigned char>& Data() const { return m_data; }
    std::vector<unsigned char> Take() { return std::move(m_data); }

  private:
    std::vector<unsigned char> m_data;
};

}  // namespace tokeiya
