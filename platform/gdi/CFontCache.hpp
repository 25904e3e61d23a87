#pragma once

#include <cstdint>
#include <list>
#include <memory>

#include "platform/gdi/CFont.hpp"
#include "platform/gdi/CFontMapper.hpp"
#include "platform/gdi/CairoGlue.hpp"
#include "platform/gdi/LogFont.hpp"

namespace tokeiya {

// The fonts realised so far, so that each size of each face is shaped only once however
// often a screen is painted. Resizing a window asks for new sizes, so only the most
// recently used fonts are kept; a device context or a glyph batch holding one keeps it
// alive after the cache has let it go.
class CFontCache {
  public:
    static constexpr size_t kCapacity = 32;

    CFontCache();
    CFontCache(const CFontCache&) = delete;
    CFontCache& operator=(const CFontCache&) = delete;

    std::shared_ptr<const CFont> Get(const LogFont& logFont);

    CFontMapper& Mapper() { return m_mapper; }

    // Pango's font map is not shared between threads, so neither is this cache.
    static CFontCache& ForThisThread();

  private:
    gdi::ObjectPtr<PangoFontMap> m_fontMap;
    CFontMapper m_mapper;
    std::list<std::shared_ptr<const CFont>> m_fonts;  // most recently used first
};

}  // namespace tokeiya
