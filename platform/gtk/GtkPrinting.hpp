#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/gdi/IPrinting.hpp"
#include "platform/gtk/GtkModalRunner.hpp"

namespace tokeiya::gtk {

// The desktop's printers through GTK's Unix printing: the print dialog with its page setup
// tab chooses a printer and paper, and a document goes to the printer (CUPS) as a print
// job whose cairo surface the program draws on.
class CGtkPrinting : public IPrinting {
  public:
    // `parent` gives the window the dialog belongs to (may give null).
    CGtkPrinting(CGtkModalRunner& runner, std::function<GtkWindow*()> parent);

    bool SetupPrinter(const std::string& title, PaperOrientation orientation,
                      PrinterSetup& setup) override;
    std::unique_ptr<IPrinterDevice> OpenPrinter(const PrinterSetup& setup,
                                                std::string& reason) override;

    // How long OpenPrinter waits for the print service to list its printers.
    static constexpr int kListLimitMs = 15000;

  private:
    CGtkModalRunner& m_runner;
    std::function<GtkWindow*()> m_parent;
};

}  // namespace tokeiya::gtk
