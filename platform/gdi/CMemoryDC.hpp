#pragma once

#include <string>

#include "platform/gdi/CDC.hpp"

namespace tokeiya {

// An off-screen bitmap to paint into and copy from (the back buffer of a view, the image
// a headless test reads). Pixels start transparent black.
class CMemoryDC : public CDC {
  public:
    CMemoryDC(int width, int height, CFontCache& fonts = CFontCache::ForThisThread());

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The colour at a pixel; black outside the bitmap.
    COLORREF GetPixel(int x, int y) const;
    bool WritePng(const std::string& path) const;

  private:
    int m_width;
    int m_height;
};

}  // namespace tokeiya
