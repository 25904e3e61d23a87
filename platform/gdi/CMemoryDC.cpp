#include "platform/gdi/CMemoryDC.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tokeiya {
namespace {

gdi::CairoPtr CreateImageContext(int width, int height) {
    gdi::SurfacePtr surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(width, 0), std::max(height, 0)));
    // The context keeps its own reference to the surface.
    return gdi::AdoptCairo(cairo_create(surface.get()));
}

}  // namespace

CMemoryDC::CMemoryDC(int width, int height, CFontCache& fonts)
    : CDC(CreateImageContext(width, height), fonts),
      m_width(std::max(width, 0)),
      m_height(std::max(height, 0)) {}

COLORREF CMemoryDC::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return 0;
    }
    cairo_surface_t* surface = cairo_get_target(Cairo());
    cairo_surface_flush(surface);
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    std::uint32_t argb = 0;
    std::memcpy(&argb, row + x * 4, sizeof argb);
    unsigned alpha = argb >> 24;
    if (alpha == 0) {
        return 0;
    }
    // Stored premultiplied.
    auto channel = [alpha](std::uint32_t v) { return (v * 255 + alpha / 2) / alpha; };
    return RGB(channel((argb >> 16) & 0xFF), channel((argb >> 8) & 0xFF), channel(argb & 0xFF));
}

bool CMemoryDC::WritePng(const std::string& path) const {
    cairo_surface_t* surface = cairo_get_target(Cairo());
    cairo_surface_flush(surface);
    return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace tokeiya
