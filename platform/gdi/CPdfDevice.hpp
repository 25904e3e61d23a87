#pragma once

#include <string>

#include "platform/gdi/CairoGlue.hpp"
#include "platform/gdi/IPrinterDevice.hpp"

namespace tokeiya {

// Prints into a PDF file instead of on paper. The document is written to a private file
// beside the destination (mode 600: it holds pay) that replaces the destination only once
// it is whole, so a failed or dropped document leaves no part of itself behind.
class CPdfDevice : public IPrinterDevice {
  public:
    // `path`: the destination, program text (CP932).
    CPdfDevice(const std::string& path, const PageGeometry& geometry);
    ~CPdfDevice() override;
    CPdfDevice(const CPdfDevice&) = delete;
    CPdfDevice& operator=(const CPdfDevice&) = delete;

    const PageGeometry& Geometry() const override { return m_geometry; }
    cairo_surface_t* StartDoc(const std::string& title, std::string& reason) override;
    bool EndDoc(std::string& reason) override;
    void AbortDoc() override;

  private:
    static cairo_status_t Write(void* self, const unsigned char* data, unsigned int length);
    void RemoveTemporary();

    std::string m_path;  // UTF-8 (the file system's names)
    PageGeometry m_geometry;
    std::string m_temporary;
    int m_fd = -1;
    std::string m_writeError;
    gdi::SurfacePtr m_surface;
};

}  // namespace tokeiya
