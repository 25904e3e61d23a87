#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/CConnection.hpp"
#include "printing/CPrintDC.hpp"

namespace tokeiya {

class CTokeiyaDoc;

// Puts a report on paper or into a PDF file for a screen: the printer of a stored setting
// (set up first when the setting was never stored), the busy window while the pages are
// drawn, and the messages. A failure leaves nothing printed and nothing written, and is
// told; success is told with the report's own message.
class CReportOutput {
  public:
    // Draws the pages; runs on a worker thread while the windows wait, so it touches no
    // window and uses the connection only.
    using PageWriter = std::function<void()>;
    // Makes the report on the device context (on the window thread: the layout is loaded
    // there) and gives back what draws its pages.
    using ReportBuilder = std::function<PageWriter(CPrintDC&)>;

    struct Report {
        std::string setting;       // the print setting's name
        std::string documentName;  // the print job's title
        ReportBuilder build;
        std::string doneMessage;
    };

    explicit CReportOutput(CTokeiyaDoc& doc) : m_doc(doc) {}

    bool Print(const Report& report);
    // The PDF file's name is proposed in the folder last used for PDF files; its paper is
    // that of the stored setting (A4 in the report's orientation without one).
    bool SavePdf(const Report& report, const std::string& proposedName);
    // What a report key does: SavePdf with `proposedName` when `toPdf`, else Print.
    bool PrintOrSavePdf(const Report& report, bool toPdf, const std::string& proposedName);

  private:
    bool Run(CPrintDC& dc, const Report& report, const char* failure);

    CTokeiyaDoc& m_doc;
};

// The time cards of `users` for a month, a page each in that order, in one document.
CReportOutput::Report TimeCardReport(CConnection* database, int year, int month,
                                     std::vector<int> users);

}  // namespace tokeiya
