#include "platform/gdi/CFontMapper.hpp"

#include <fontconfig/fontconfig.h>

#include <strings.h>

#include "platform/Cp932.hpp"
#include "platform/gdi/CairoGlue.hpp"
#include "platform/gdi/LogFont.hpp"

namespace tokeiya {
namespace {

const FcChar8* Fc(const char* text) {
    return reinterpret_cast<const FcChar8*>(text);
}

// The language whose characters a GDI character set promises, and one character of that
// language a substitute must be able to draw. A default character set is taken as
// Japanese: this program's texts are.
struct Script {
    const char* lang;
    unsigned sample;
};

Script ScriptFor(int charset) {
    switch (charset) {
        case Charset::Ansi:
            return {"en", 'A'};
        case Charset::Gb2312:
            return {"zh-cn", 0x4E2D};
        case Charset::ChineseBig5:
            return {"zh-tw", 0x4E2D};
        default:
            return {"ja", 0x5168};  // 全
    }
}

gdi::PatternPtr Match(const char* family, const char* lang, bool monospace) {
    gdi::PatternPtr pattern(FcPatternCreate());
    if (family != nullptr && *family != '\0') {
        FcPatternAddString(pattern.get(), FC_FAMILY, Fc(family));
    }
    FcPatternAddString(pattern.get(), FC_LANG, Fc(lang));
    if (monospace) {
        FcPatternAddInteger(pattern.get(), FC_SPACING, FC_MONO);
    }
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    return gdi::PatternPtr(FcFontMatch(nullptr, pattern.get(), &result));
}

std::string FamilyOf(FcPattern* match) {
    FcChar8* family = nullptr;
    if (match == nullptr || FcPatternGetString(match, FC_FAMILY, 0, &family) != FcResultMatch) {
        return {};
    }
    return reinterpret_cast<const char*>(family);
}

bool PatternCovers(FcPattern* match, unsigned codePoint) {
    FcCharSet* charset = nullptr;
    return match != nullptr &&
           FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) == FcResultMatch &&
           FcCharSetHasChar(charset, codePoint);
}

// Whether any of the matched font's family names (a font lists its Latin and its native
// names) is the requested one: then the face is installed and used as is.
bool NamesFamily(FcPattern* match, const std::string& family) {
    FcChar8* name = nullptr;
    for (int i = 0;
         match != nullptr && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

const std::string& CFontMapper::ResolveFamily(const std::string& faceCp932, int charset) {
    auto key = std::make_pair(faceCp932, charset);
    auto found = m_resolved.find(key);
    if (found != m_resolved.end()) {
        return found->second;
    }
    return m_resolved.emplace(key, Resolve(cp932::ToUtf8(faceCp932), charset)).first->second;
}

std::string CFontMapper::Resolve(const std::string& faceUtf8, int charset) {
    Script script = ScriptFor(charset);
    gdi::PatternPtr match = Match(faceUtf8.c_str(), script.lang, false);
    if (!faceUtf8.empty() && NamesFamily(match.get(), faceUtf8)) {
        return faceUtf8;
    }
    if (PatternCovers(match.get(), script.sample)) {
        return FamilyOf(match.get());
    }
    // The cell grid assumes a fixed pitch, so the last resort is a monospaced face of
    // the language rather than whatever the desktop's default happens to be.
    gdi::PatternPtr mono = Match("monospace", script.lang, true);
    if (PatternCovers(mono.get(), script.sample)) {
        return FamilyOf(mono.get());
    }
    std::string fallback = FamilyOf(match.get());
    return fallback.empty() ? std::string("monospace") : fallback;
}

bool CFontMapper::Covers(const std::string& familyUtf8, unsigned codePoint) {
    gdi::PatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, Fc(familyUtf8.c_str()));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    gdi::PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    return NamesFamily(match.get(), familyUtf8) && PatternCovers(match.get(), codePoint);
}

}  // namespace tokeiya
