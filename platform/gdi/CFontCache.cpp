#include "platform/gdi/CFontCache.hpp"

namespace tokeiya {

CFontCache::CFontCache() : m_fontMap(pango_cairo_font_map_new()) {}

std::shared_ptr<const CFont> CFontCache::Get(const LogFont& logFont) {
    for (auto it = m_fonts.begin(); it != m_fonts.end(); ++it) {
        if ((*it)->GetLogFont() == logFont) {
            m_fonts.splice(m_fonts.begin(), m_fonts, it);
            return m_fonts.front();
        }
    }
    const std::string& family = m_mapper.ResolveFamily(logFont.faceName, logFont.charset);
    m_fonts.push_front(std::make_shared<const CFont>(logFont, family, m_fontMap.get()));
    if (m_fonts.size() > kCapacity) {
        m_fonts.pop_back();
    }
    return m_fonts.front();
}

CFontCache& CFontCache::ForThisThread() {
    thread_local CFontCache cache;
    return cache;
}

}  // namespace tokeiya
