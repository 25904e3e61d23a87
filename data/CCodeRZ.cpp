#include "data/CCodeRZ.hpp"

namespace tokeiya {
namespace {

char DigitOf(int value) {
    if (value < 10) {
        return static_cast<char>('0' + value);
    }
    if (value < 36) {
        return static_cast<char>('A' + (value - 10));
    }
    return static_cast<char>('a' + (value - 36));
}

int ValueOf(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return c - 'a' + 36;
}

// Walks the key cyclically; a key that is empty (or starts with NUL) yields 0 forever.
class KeyCursor {
  public:
    explicit KeyCursor(std::string_view key) : m_key(key.substr(0, key.find('\0'))) {}

    unsigned char Current() const {
        return m_key.empty() ? 0 : static_cast<unsigned char>(m_key[m_position]);
    }
    void Next() {
        if (++m_position >= m_key.size()) {
            m_position = 0;
        }
    }

  private:
    std::string_view m_key;
    size_t m_position = 0;
};

}  // namespace

int CCodeRZ::Advance() {
    m_state += m_step;
    if (m_state >= kStates) {
        m_state -= kStates;
    }
    return m_state;
}

std::string CCodeRZ::Encode(std::string_view plain, std::string_view key) {
    Restart();
    KeyCursor cursor(key);
    std::string scrambled;
    scrambled.reserve(plain.size() * 2);
    for (const char byte : plain) {
        const unsigned x = static_cast<unsigned char>(byte) ^ cursor.Current();
        m_lastPair[0] = DigitOf(m_state + static_cast<int>(x >> 4));
        m_lastPair[1] = DigitOf(Advance() + static_cast<int>(x & 15));
        Advance();
        scrambled.append(m_lastPair, 2);
        cursor.Next();
    }
    return scrambled;
}

std::string CCodeRZ::Decode(std::string_view scrambled, std::string_view key) {
    Restart();
    KeyCursor cursor(key);
    std::string plain;
    plain.reserve(scrambled.size() / 2);
    for (size_t i = 0; i + 1 < scrambled.size(); i += 2) {
        const int high = ValueOf(static_cast<unsigned char>(scrambled[i])) - m_state;
        const int low = ValueOf(static_cast<unsigned char>(scrambled[i + 1])) - Advance();
        Advance();
        // Unsigned arithmetic keeps the low 8 bits of garbage well defined.
        const unsigned bits = (static_cast<unsigned>(high) << 4) | static_cast<unsigned>(low);
        plain.push_back(static_cast<char>((bits ^ cursor.Current()) & 0xFF));
        cursor.Next();
    }
    return plain;
}

std::string ScramblePassword(std::string_view plain) {
    return CCodeRZ(kPasswordSeed, kPasswordStep).Encode(plain, kPasswordKey);
}

std::string UnscramblePassword(std::string_view scrambled) {
    return CCodeRZ(kPasswordSeed, kPasswordStep).Decode(scrambled, kPasswordKey);
}

}  // namespace tokeiya
