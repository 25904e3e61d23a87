#pragma once

#include <cairo.h>

#include <string>

namespace tokeiya {

// The sheet as a printer lays it out: paper size with the orientation applied, the margins
// the printer cannot print on and the resolution its device units count in. Lengths are in
// points (1/72 inch).
struct PageGeometry {
    double paperWidth = 595.28;  // A4 portrait
    double paperHeight = 841.89;
    double hardLeft = 0;
    double hardTop = 0;
    double hardRight = 0;
    double hardBottom = 0;
    // Device units per inch; 0 or less when the printer does not tell.
    int dotsPerInch = 300;
};

// One printer (or file) a document is printed on. A document is drawn in points, from the
// sheet's top left corner, on a paginated cairo surface: one cairo_show_page per page.
class IPrinterDevice {
  public:
    virtual ~IPrinterDevice() = default;

    virtual const PageGeometry& Geometry() const = 0;
    // The surface of a new document named `title` (CP932); null, with the reason (CP932),
    // when none could be started. The device keeps it.
    virtual cairo_surface_t* StartDoc(const std::string& title, std::string& reason) = 0;
    // Finishes the document and hands it on to the printer or the file; false with the
    // reason when that failed, and then nothing was printed or written.
    virtual bool EndDoc(std::string& reason) = 0;
    // Drops the document started: nothing is printed and nothing is left behind.
    virtual void AbortDoc() = 0;
};

}  // namespace tokeiya
