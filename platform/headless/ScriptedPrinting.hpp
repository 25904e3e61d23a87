#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/IPrinting.hpp"

namespace tokeiya {

// The test desktop's printers: each prints into a PDF file in a folder, so that a test
// reads what came out; the setup dialog is answered by a script queued beforehand.
class CScriptedPrinting : public IPrinting {
  public:
    // What the person does in the setup dialog; false cancels it.
    using SetupScript = std::function<bool(PrinterSetup&)>;

    // A printer named `device` with that sheet; its documents go to folder/<device>-<n>.pdf.
    void AddPrinter(const std::string& device, const PageGeometry& geometry,
                    const std::string& folder);
    void RemovePrinter(const std::string& device) { m_printers.erase(device); }
    void QueueSetup(SetupScript script) { m_setupScripts.push_back(std::move(script)); }

    bool SetupPrinter(const std::string& title, PaperOrientation orientation,
                      PrinterSetup& setup) override;
    std::unique_ptr<IPrinterDevice> OpenPrinter(const PrinterSetup& setup,
                                                std::string& reason) override;

    // Titles of the setup dialogs shown, and the files of the documents printed, in order.
    std::vector<std::string> m_setupTitles;
    std::vector<std::string> m_printed;
    // Called with a description when a setup dialog appears that no script expects.
    std::function<void(const std::string&)> m_unexpected;

  private:
    struct Printer {
        PageGeometry geometry;
        std::string folder;
    };
    std::map<std::string, Printer> m_printers;
    std::deque<SetupScript> m_setupScripts;
};

}  // namespace tokeiya
