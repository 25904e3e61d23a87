#include "platform/headless/ScriptedPrinting.hpp"

#include "platform/gdi/CPdfDevice.hpp"

namespace tokeiya {
namespace {

// Hands the path of each document that reached its file to the printing's record.
class CRecordedPdfDevice : public CPdfDevice {
  public:
    CRecordedPdfDevice(const std::string& path, const PageGeometry& geometry,
                       std::vector<std::string>& printed)
        : CPdfDevice(path, geometry), m_path(path), m_printed(printed) {}

    bool EndDoc(std::string& reason) override {
        if (!CPdfDevice::EndDoc(reason)) {
            return false;
        }
        m_printed.push_back(m_path);
        return true;
    }

  private:
    std::string m_path;
    std::vector<std::string>& m_printed;
};

}  // namespace

void CScriptedPrinting::AddPrinter(const std::string& device, const PageGeometry& geometry,
                                   const std::string& folder) {
    m_printers[device] = Printer{geometry, folder};
}

bool CScriptedPrinting::SetupPrinter(const std::string& title, PaperOrientation,
                                     PrinterSetup& setup) {
    m_setupTitles.push_back(title);
    if (m_setupScripts.empty()) {
        if (m_unexpected) {
            m_unexpected("printer setup: " + title);
        }
        return false;
    }
    SetupScript script = std::move(m_setupScripts.front());
    m_setupScripts.pop_front();
    return script(setup);
}

std::unique_ptr<IPrinterDevice> CScriptedPrinting::OpenPrinter(const PrinterSetup& setup,
                                                               std::string& reason) {
    const auto found = m_printers.find(setup.device);
    if (found == m_printers.end()) {
        reason = "no printer " + setup.device;
        return nullptr;
    }
    const std::string path = found->second.folder + "/" + setup.device + "-" +
                             std::to_string(m_printed.size() + 1) + ".pdf";
    return std::make_unique<CRecordedPdfDevice>(path, found->second.geometry, m_printed);
}

}  // namespace tokeiya
