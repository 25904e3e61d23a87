#include "platform/gdi/CPdfDC.hpp"

#include <cairo-pdf.h>

namespace tokeiya {
namespace {

gdi::CairoPtr CreatePdfContext(const std::string& path, CSize pagePoints) {
    gdi::SurfacePtr surface(cairo_pdf_surface_create(path.c_str(), pagePoints.cx, pagePoints.cy));
    return gdi::AdoptCairo(cairo_create(surface.get()));
}

}  // namespace

CPdfDC::CPdfDC(const std::string& path, CSize pagePoints, int dotsPerInch, CFontCache& fonts)
    : CDC(CreatePdfContext(path, pagePoints), fonts),
      m_pagePoints(pagePoints),
      m_dpi(dotsPerInch > 0 ? dotsPerInch : 72) {
    cairo_scale(Cairo(), 72.0 / m_dpi, 72.0 / m_dpi);
}

CPdfDC::~CPdfDC() {
    EndDoc();
}

CSize CPdfDC::PageSize() const {
    return CSize{m_pagePoints.cx * m_dpi / 72, m_pagePoints.cy * m_dpi / 72};
}

bool CPdfDC::Healthy() const {
    return !m_ended && cairo_status(Cairo()) == CAIRO_STATUS_SUCCESS &&
           cairo_surface_status(cairo_get_target(Cairo())) == CAIRO_STATUS_SUCCESS;
}

bool CPdfDC::StartPage() {
    if (!Healthy() || m_inPage) {
        return false;
    }
    m_inPage = true;
    return true;
}

bool CPdfDC::EndPage() {
    if (!Healthy() || !m_inPage) {
        return false;
    }
    cairo_show_page(Cairo());
    m_inPage = false;
    return Healthy();
}

bool CPdfDC::EndDoc() {
    if (m_ended) {
        return false;
    }
    if (m_inPage) {
        EndPage();
    }
    cairo_surface_t* surface = cairo_get_target(Cairo());
    cairo_surface_finish(surface);
    bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    m_ended = true;
    return written;
}

}  // namespace tokeiya
