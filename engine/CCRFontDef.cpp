#include "engine/CCRFontDef.hpp"

namespace tokeiya {

CCRFontSet CCRFontDef::ToFontSet() const {
    CCRFontSet font;
    font.SetFaceName(faceName);
    font.logFont.charset = charset;
    font.scale = scale;
    font.aspect = aspect;
    return font;
}

const std::vector<CCRFontDef>& CCRFontDef::Defaults() {
    static const std::vector<CCRFontDef> table = [] {
        CCRFontDef gothic;
        gothic.faceName = "ＭＳ ゴシック";
        gothic.scale = 0.9;
        gothic.charset = Charset::ShiftJis;
        gothic.aspect = 2.0;
        return std::vector<CCRFontDef>{gothic, gothic};
    }();
    return table;
}

}  // namespace tokeiya
