#include "screens/base/CReportOutput.hpp"

#include <memory>

#include "platform/gdi/CPdfDevice.hpp"
#include "platform/gdi/PageSetupText.hpp"
#include "printing/CPrintCard.hpp"
#include "printing/CPrintSetFile.hpp"
#include "screens/base/SavePathDialog.hpp"
#include "shell/CTokeiyaDoc.hpp"

namespace tokeiya {

namespace {
constexpr const char* kPdfFolderKey = "PdfFolder";
constexpr const char* kPrintFailed = "印刷できませんでした。";
constexpr const char* kSaveFailed = "ファイルを保存できませんでした。";
constexpr const char* kNothingToPrint = "印刷するデータが有りません。";
constexpr const char* kBusyNotice = "印刷しています。しばらくお待ちください。";

std::string WithReason(const char* text, const std::string& reason) {
    return reason.empty() ? std::string(text) : std::string(text) + "\n" + reason;
}
}  // namespace

bool CReportOutput::Print(const Report& report) {
    IDialogs* dialogs = m_doc.Dialogs();
    if (dialogs == nullptr) {
        return false;
    }
    CPrintSetFile settings;
    CPrintSetRecord record;
    // An office that never chose a printer for this report chooses it now.
    if (!settings.Find(report.setting, record) &&
        !settings.SetupPrinter(*dialogs, report.setting, false)) {
        return false;
    }
    CPrintDC dc;
    std::string reason;
    if (!settings.PreparePrinter(*dialogs, report.setting, dc, {}, reason)) {
        m_doc.ShowMessage(WithReason(CPrintSetFile::kPrinterError, reason));
        return false;
    }
    return Run(dc, report, kPrintFailed);
}

bool CReportOutput::SavePdf(const Report& report, const std::string& proposedName) {
    IDialogs* dialogs = m_doc.Dialogs();
    std::string path;
    if (dialogs == nullptr ||
        !AskSavePath(*dialogs, m_doc.Profile(), kPdfFolderKey, proposedName, "pdf", path)) {
        return false;
    }
    CPrintSetFile settings;
    CPrintSetRecord record;
    static_cast<void>(settings.Find(report.setting, record));
    const PageGeometry sheet = PageGeometryFromSettings(
        record.settings, CPrintSetFile::DefaultOrientation(report.setting));
    CPrintDC dc;
    dc.CreateFromDevice(std::make_unique<CPdfDevice>(path, sheet), path);
    return Run(dc, report, kSaveFailed);
}

bool CReportOutput::PrintOrSavePdf(const Report& report, bool toPdf,
                                   const std::string& proposedName) {
    return toPdf ? SavePdf(report, proposedName) : Print(report);
}

bool CReportOutput::Run(CPrintDC& dc, const Report& report, const char* failure) {
    PageWriter pages = report.build(dc);
    if (!dc.StartDoc(report.documentName)) {
        m_doc.ShowMessage(WithReason(CPrintSetFile::kPrinterError, dc.LastError()));
        return false;
    }
    try {
        if (!m_doc.RunOnConnection(kBusyNotice, pages)) {
            dc.AbortDoc();
            return false;
        }
    } catch (const CDBException& e) {
        dc.AbortDoc();
        m_doc.ReportDatabaseError(e);
        return false;
    }
    if (dc.PagesEnded() == 0) {
        dc.AbortDoc();
        m_doc.ShowMessage(kNothingToPrint);
        return false;
    }
    if (!dc.EndDoc()) {
        m_doc.ShowMessage(WithReason(failure, dc.LastError()));
        return false;
    }
    m_doc.ShowMessage(report.doneMessage);
    return true;
}

CReportOutput::Report TimeCardReport(CConnection* database, int year, int month,
                                     std::vector<int> users) {
    return CReportOutput::Report{CPrintSetFile::kCard, CPrintCard::kDocumentName,
                                 [database, year, month, users = std::move(users)](CPrintDC& dc) {
                                     auto cards =
                                         std::make_shared<CPrintCard>(&dc, database, year, month);
                                     return CReportOutput::PageWriter([cards, users] {
                                         for (const int user : users) {
                                             static_cast<void>(cards->PrintCard(user));
                                         }
                                     });
                                 },
                                 "タイムカードを印刷しました。"};
}

}  // namespace tokeiya
