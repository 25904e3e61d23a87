#include "platform/gdi/CPdfDevice.hpp"

#include <cairo-pdf.h>
#include <fcntl.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Cp932.hpp"

namespace tokeiya {

CPdfDevice::CPdfDevice(const std::string& path, const PageGeometry& geometry)
    : m_path(cp932::ToUtf8(path)), m_geometry(geometry) {}

CPdfDevice::~CPdfDevice() {
    AbortDoc();
}

cairo_status_t CPdfDevice::Write(void* self, const unsigned char* data, unsigned int length) {
    auto* device = static_cast<CPdfDevice*>(self);
    while (length > 0) {
        const ssize_t written = write(device->m_fd, data, length);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            device->m_writeError = std::strerror(errno != 0 ? errno : EIO);
            return CAIRO_STATUS_WRITE_ERROR;
        }
        data += written;
        length -= static_cast<unsigned int>(written);
    }
    return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* CPdfDevice::StartDoc(const std::string& title, std::string& reason) {
    AbortDoc();
    std::string name = m_path + ".XXXXXX";
    m_fd = g_mkstemp_full(name.data(), O_RDWR | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        reason = cp932::FromUtf8Dropping(std::strerror(errno));
        return nullptr;
    }
    m_temporary = name;
    m_writeError.clear();
    m_surface.reset(cairo_pdf_surface_create_for_stream(
        &CPdfDevice::Write, this, m_geometry.paperWidth, m_geometry.paperHeight));
    if (cairo_surface_status(m_surface.get()) != CAIRO_STATUS_SUCCESS) {
        reason = cairo_status_to_string(cairo_surface_status(m_surface.get()));
        AbortDoc();
        return nullptr;
    }
    cairo_pdf_surface_set_metadata(m_surface.get(), CAIRO_PDF_METADATA_TITLE,
                                   cp932::ToUtf8(title).c_str());
    return m_surface.get();
}

bool CPdfDevice::EndDoc(std::string& reason) {
    if (m_surface == nullptr) {
        reason = "no document";
        return false;
    }
    cairo_surface_finish(m_surface.get());
    const cairo_status_t status = cairo_surface_status(m_surface.get());
    m_surface.reset();
    bool whole = status == CAIRO_STATUS_SUCCESS && m_writeError.empty();
    if (whole && fsync(m_fd) != 0) {
        m_writeError = std::strerror(errno);
        whole = false;
    }
    if (close(m_fd) != 0 && whole) {
        m_writeError = std::strerror(errno);
        whole = false;
    }
    m_fd = -1;
    if (whole && g_rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        m_writeError = std::strerror(errno);
        whole = false;
    }
    if (!whole) {
        reason = cp932::FromUtf8Dropping(m_writeError.empty() ? cairo_status_to_string(status)
                                                              : m_writeError);
        RemoveTemporary();
        return false;
    }
    m_temporary.clear();
    return true;
}

void CPdfDevice::AbortDoc() {
    if (m_surface != nullptr) {
        // Whatever cairo still writes goes to the file removed below.
        cairo_surface_finish(m_surface.get());
        m_surface.reset();
    }
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    RemoveTemporary();
}

void CPdfDevice::RemoveTemporary() {
    if (!m_temporary.empty()) {
        g_unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

}  // namespace tokeiya
