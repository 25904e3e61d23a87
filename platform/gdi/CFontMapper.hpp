#pragma once

#include <map>
#include <string>
#include <utility>

namespace tokeiya {

// Maps a face name from a definition to a family installed here. The definitions name
// Windows faces ("ＭＳ ゴシック") that a Linux desktop does not have, so an unknown face is
// replaced by fontconfig's choice for the character set's language, and that choice is
// checked to really hold the language's characters.
class CFontMapper {
  public:
    // `faceCp932` as written in the definition; the result is a UTF-8 family name for Pango.
    const std::string& ResolveFamily(const std::string& faceCp932, int charset);

    // Whether the installed family has a glyph for the code point.
    static bool Covers(const std::string& familyUtf8, unsigned codePoint);

  private:
    static std::string Resolve(const std::string& faceUtf8, int charset);

    std::map<std::pair<std::string, int>, std::string> m_resolved;
};

}  // namespace tokeiya
