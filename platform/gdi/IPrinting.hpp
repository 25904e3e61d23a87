#pragma once

#include <memory>
#include <string>

#include "platform/gdi/IPrinterDevice.hpp"

namespace tokeiya {

enum class PaperOrientation { Portrait, Landscape };

// A printer and its paper as the desktop names them: the printer's names (CP932) and the
// desktop's print settings and page setup as key-file text (UTF-8), which is all it needs to
// print again on that printer and paper.
struct PrinterSetup {
    std::string driver;
    std::string device;
    std::string port;
    std::string settings;
};

// The desktop's printers.
class IPrinting {
  public:
    virtual ~IPrinting() = default;

    // The desktop's printer and page setup dialog titled `title` (CP932), opened on `setup`;
    // an empty setup starts on the default printer with A4 paper in `orientation`. True
    // with the choice in `setup` when it was confirmed.
    virtual bool SetupPrinter(const std::string& title, PaperOrientation orientation,
                              PrinterSetup& setup) = 0;
    // The printer `setup` names, with its paper, ready for a document; null with the
    // desktop's reason (CP932) when there is no such printer or no print service.
    virtual std::unique_ptr<IPrinterDevice> OpenPrinter(const PrinterSetup& setup,
                                                        std::string& reason) = 0;
};

}  // namespace tokeiya
