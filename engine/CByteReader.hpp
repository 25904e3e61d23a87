#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tokeiya {

// Little-endian binary input over a byte range that never reads past its end. A read that
// does not fit fails, writes nothing to its output and fails every later read too, so a
// caller may check once at the end of a record.
class CByteReader {
  public:
    explicit CByteReader(std::span<const unsigned char> data) : m_data(data) {}

    bool Int32(std::int32_t& out);
    bool UInt32(std::uint32_t& out);
    bool Int64(std::int64_t& out);
    // `count` raw bytes.
    bool Bytes(size_t count, std::string& out);
    bool Skip(size_t count);

    size_t Remaining() const { return m_failed ? 0 : m_data.size() - m_pos; }
    size_t Position() const { return m_pos; }
    bool Failed() const { return m_failed; }

  private:
    bool Take(size_t count, const unsigned char*& at);

    std::span<const unsigned char> m_data;
    size_t m_pos = 0;
    bool m_failed = false;
};

}  // namespace tokeiya
