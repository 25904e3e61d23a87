#pragma once

#include <string>
#include <string_view>

namespace tokeiya {

// The reversible scrambling of stored passwords: every byte becomes two characters from
// the digits, the capitals and the small letters 'a'..'y'. It hides a password from a
// casual look at the database or the settings file; it is not encryption.
//
// The key is used cyclically and ends at its first NUL byte, like a C string; an empty
// key scrambles with the byte 0. Every byte of the text counts, NUL included.
class CCodeRZ {
  public:
    CCodeRZ(unsigned a, unsigned b)
        : m_seed(static_cast<int>(a % kStates)), m_step(static_cast<int>(b % kStates)) {}

    std::string Encode(std::string_view plain, std::string_view key);

    // Decodes pair by pair. A trailing unpaired character is ignored. Characters outside
    // the alphabet are valued like the small letters (byte - 61) and the result cut to
    // 8 bits, so garbage gives garbage of half its length rather than an empty text that
    // an empty password would match.
    std::string Decode(std::string_view scrambled, std::string_view key);

  private:
    static constexpr int kStates = 46;

    void Restart() { m_state = m_seed; }
    int Advance();

    char m_lastPair[2] = {0, 0};  // the pair Encode produced last
    int m_seed;
    int m_step;
    int m_state = 0;
};

// How this program scrambles every password it stores.
inline constexpr unsigned kPasswordSeed = 13;
inline constexpr unsigned kPasswordStep = 7;
inline constexpr std::string_view kPasswordKey = "Q#8m?p^4z!";

std::string ScramblePassword(std::string_view plain);
std::string UnscramblePassword(std::string_view scrambled);

}  // namespace tokeiya
