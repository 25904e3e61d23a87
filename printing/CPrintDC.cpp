#include "printing/CPrintDC.hpp"

#include <algorithm>
#include <cmath>

namespace tokeiya {
namespace {

gdi::CairoPtr IdleContext() {
    // Something to draw on before a document starts; nothing drawn there is kept.
    gdi::SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1));
    return gdi::AdoptCairo(cairo_create(surface.get()));
}

int Device(double value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace

// Any adjustment can be typed; a length beyond a few kilometres of paper is kept at that.
int ClampedDots(double dots) {
    constexpr double kLimit = 1e9;
    return static_cast<int>(std::clamp(dots, -kLimit, kLimit));
}

int TenthsMmToDevice(int tenthsMm, int dpi) {
    if (dpi <= 0) {
        return tenthsMm;
    }
    return ClampedDots(tenthsMm / 2.54 * dpi / 100.0 + 0.5);
}

int HundredthsInchToDevice(int hundredthsInch, int dpi) {
    if (dpi <= 0) {
        return hundredthsInch;
    }
    return ClampedDots(static_cast<double>(dpi) * hundredthsInch / 100.0 + 0.5);
}

CPrintDC::CPrintDC() : CDC(IdleContext(), m_printFonts) {}

CPrintDC::~CPrintDC() {
    AbortDoc();
}

bool CPrintDC::CreateFromNames(IPrinting& printing, const PrinterSetup& setup,
                               std::string& reason) {
    AbortDoc();
    m_deviceName = setup.device;
    m_device = printing.OpenPrinter(setup, reason);
    return m_device != nullptr;
}

void CPrintDC::CreateFromDevice(std::unique_ptr<IPrinterDevice> device, std::string deviceName) {
    AbortDoc();
    m_device = std::move(device);
    m_deviceName = std::move(deviceName);
}

int CPrintDC::Resolution() const {
    return m_device != nullptr ? m_device->Geometry().dotsPerInch : 0;
}

double CPrintDC::DotsPerPoint() const {
    const int dpi = Resolution();
    return dpi > 0 ? dpi / 72.0 : 1.0;
}

void CPrintDC::SetOffsets(int x, int y) {
    m_offsetX = TenthsMmToDevice(x, Resolution());
    m_offsetY = TenthsMmToDevice(y, Resolution());
}

bool CPrintDC::GetPageRect(CRect& out) const {
    if (m_device == nullptr) {
        return false;
    }
    const PageGeometry& sheet = m_device->Geometry();
    out = CRect{0, 0, Device(sheet.paperWidth * DotsPerPoint()),
                Device(sheet.paperHeight * DotsPerPoint())};
    return true;
}

bool CPrintDC::GetPrintableRect(CRect& out, int left, int right, int top, int bottom,
                                bool clamp) const {
    CRect page;
    if (!GetPageRect(page)) {
        return false;
    }
    const PageGeometry& sheet = m_device->Geometry();
    const int ox = Device(sheet.hardLeft * DotsPerPoint());
    const int oy = Device(sheet.hardTop * DotsPerPoint());
    if (clamp) {
        out = CRect{std::max(left, ox), std::max(top, oy), page.right - std::max(right, ox),
                    page.bottom - std::max(bottom, oy)};
    } else {
        out = CRect{left, top, page.right - right, page.bottom - bottom};
    }
    out.left = std::max(0, out.left - ox);
    out.right = std::max(0, out.right - ox);
    out.top -= oy;
    out.bottom -= oy;
    return true;
}

bool CPrintDC::StartDoc(const std::string& title) {
    if (m_device == nullptr || m_inDoc) {
        m_lastError = m_device == nullptr ? "no printer" : "a document is open";
        return false;
    }
    cairo_surface_t* surface = m_device->StartDoc(title, m_lastError);
    if (surface == nullptr) {
        return false;
    }
    gdi::CairoPtr cr = gdi::AdoptCairo(cairo_create(surface));
    // The sheet is in points; the printer counts dots from its printable corner, and the
    // adjustment moves the image left and up.
    const double scale = 1.0 / DotsPerPoint();
    const PageGeometry& sheet = m_device->Geometry();
    cairo_scale(cr.get(), scale, scale);
    cairo_translate(cr.get(),
                    Device(sheet.hardLeft * DotsPerPoint()) - static_cast<double>(m_offsetX),
                    Device(sheet.hardTop * DotsPerPoint()) - static_cast<double>(m_offsetY));
    Retarget(std::move(cr));
    m_inDoc = true;
    m_pages = 0;
    return true;
}

bool CPrintDC::StartPage() {
    if (!m_inDoc || m_inPage) {
        return false;
    }
    m_inPage = true;
    return true;
}

bool CPrintDC::EndPage() {
    if (!m_inDoc || !m_inPage) {
        return false;
    }
    cairo_show_page(Cairo());
    m_inPage = false;
    ++m_pages;
    return cairo_status(Cairo()) == CAIRO_STATUS_SUCCESS;
}

bool CPrintDC::EndDoc() {
    if (!m_inDoc) {
        return false;
    }
    if (m_inPage) {
        EndPage();
    }
    const cairo_status_t status = cairo_status(Cairo());
    Release();
    if (status != CAIRO_STATUS_SUCCESS) {
        m_lastError = cairo_status_to_string(status);
        m_device->AbortDoc();
        return false;
    }
    return m_device->EndDoc(m_lastError);
}

void CPrintDC::AbortDoc() {
    if (!m_inDoc) {
        return;
    }
    Release();
    m_device->AbortDoc();
}

void CPrintDC::Release() {
    // The document's surface goes with the device; nothing here may keep it.
    Retarget(IdleContext());
    m_inDoc = false;
    m_inPage = false;
}

}  // namespace tokeiya
