#include "screens/salary/CCRWA_CalcuA.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "data/CPayCalculation.hpp"
#include "data/CTUserGroup.hpp"
#include "data/PayPeriod.hpp"
#include "platform/TextHelpers.hpp"
#include "printing/CPrintSalary.hpp"
#include "printing/CPrintSetFile.hpp"
#include "screens/base/CsvExport.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CFunctionMenu.hpp"
#include "widgets/CIIDbCodeMenu.hpp"

namespace tokeiya {

using namespace win;

namespace {

constexpr int kRowWidth = 106;
constexpr int kGroupColumn = 34;
constexpr int kGroupWidth = 23;
constexpr int kGroupRegionFrom = 20;
constexpr int kGroupRegionWidth = 37;
constexpr int kTotalsColumn = 73;
constexpr int kTotalsLine = 28;
constexpr const char* kAllGroups = "全員";
}  // namespace

CCRWA_CalcuA::CCRWA_CalcuA(CTokeiyaView& view)
    : CCRWA_MonthList(view, "CalcuA.tgd", "CalcuA.tfd", LayoutOf(kRowWidth)) {
    // Shift shows the PDF labels of keys 11 and 12.
    if (CFunctionMenu* bar = FunctionMenu()) {
        bar->SetShiftSet(1);
    }
}

CCRWA_CalcuA::~CCRWA_CalcuA() = default;

void CCRWA_CalcuA::InitScreen() {
    CCRWA_Tokeiya::InitScreen();
    m_groupMenu =
        std::make_unique<CIIDbCodeMenu>(CIIDbCodeMenu::Setup{.popupWidth = 300,
                                                             .popupHeight = 450,
                                                             .value = &Work().groupId,
                                                             .database = Database(),
                                                             .table = "[dbo].[Qmグループ]",
                                                             .menuRows = 10,
                                                             .codeDigits = 2,
                                                             .nameWidth = 20,
                                                             .nameOut = &Work().groupName});
    m_groupMenu->AttachTo(kGroupColumn, 1, kGroupWidth);
    SetRowBar({m_groupMenu.get(), 1, kGroupRegionFrom, kGroupRegionWidth});
    LoadAndDraw();
}

// --- Loading and drawing ---

void CCRWA_CalcuA::LoadAndDraw() {
    m_list.Clear();
    if (CConnection* db = Database()) {
        m_list.Load(*db, Work().year, Work().month, Work().groupId);
    }
    ListLoaded();
    if (Work().userId > 0) {
        MakeVisible(m_list.IndexOfUser(Work().userId));
    }
    DrawHeader();
    DrawRows();
}

void CCRWA_CalcuA::DrawHeader() {
    DrawMonthTitle("");
    std::string group;
    if (Work().groupId == -1) {
        group = std::string(kAllGroups) + std::string(20, ' ');
    } else {
        char code[16];
        std::snprintf(code, sizeof code, "%02d:", Work().groupId);
        group = code + FitText(Work().groupName, 20);
    }
    PutText(group, kGroupColumn, 1, true);
}

std::string CCRWA_CalcuA::RowText(int position) const {
    return SalaryRowText(m_list.Rows()[static_cast<size_t>(position)]);
}

std::string CCRWA_CalcuA::EmptyListText() const {
    return SalaryEmptyText();
}

void CCRWA_CalcuA::DrawFooter() {
    PutText(SalaryTotalsText(m_list.Totals()), kTotalsColumn, kTotalsLine, true);
}

void CCRWA_CalcuA::OnFilterChosen() {
    // The list took the chosen group's name along with its code.
    LoadAndDraw();
}

// --- Keys ---

bool CCRWA_CalcuA::OnFunctionKey(int key, int labelSet, int) {
    if (key == 9) {
        SwitchScreen(ScreenId::MonthSchedule);
        return true;
    }
    // While the group list is open only key 9 acts.
    if (OnFilter()) {
        return true;
    }
    if (StepMonth(key)) {
        return true;
    }
    switch (key) {
        case 5:
            Focus(Cursor(), FilterColumn(), false);
            break;
        case 6:
            if (Work().groupId != -1) {
                CloseEditor();
                Work().groupId = -1;
                Work().groupName = kAllGroups;
                LoadAndDraw();
                FocusRow();
            }
            break;
        case 7:
            if (View().CanCreateScreen(ScreenId::GapCheck)) {
                CloseEditor();
                SwitchScreen(ScreenId::GapCheck);
            }
            break;
        case 8:
            Recalculate();
            break;
        case 10:
            ExportCsv();
            break;
        case 11:
        case 12:
            // The shifted label set saves the report as a PDF file instead.
            if (m_list.Count() > 0) {
                CloseEditor();
                const bool pdf = labelSet == 1;
                if (key == 11) {
                    PrintSummary(pdf);
                } else {
                    PrintTimeCards(pdf);
                }
                Focus(0, 0, false);
            }
            break;
        default:
            break;
    }
    return true;
}

void CCRWA_CalcuA::OpenRow() {
    const int position = Position();
    if (position >= m_list.Count() || !View().CanCreateScreen(ScreenId::TimeCard)) {
        FocusRow();
        return;
    }
    CloseEditor();
    Work().userId = m_list.Rows()[static_cast<size_t>(position)].idUser;
    SwitchScreen(ScreenId::TimeCard);
}

// --- Recalculation and export ---

void CCRWA_CalcuA::Recalculate() {
    CConnection* db = Database();
    IDialogs* dialogs = Document().Dialogs();
    if (db == nullptr || dialogs == nullptr) {
        return;
    }
    CloseEditor();
    if (m_list.Count() > 0 &&
        dialogs->MessageBox("再計算しますか？", MessageButtons::YesNo) != MessageAnswer::Yes) {
        FocusRow();
        return;
    }
    std::vector<CUserGroup> groups;
    if (CTUserGroup(*db).LoadAll(groups) == 0) {
        FocusRow();
        return;
    }
    if (Work().groupId != -1) {
        std::erase_if(groups, [this](const CUserGroup& g) { return g.idGroup != Work().groupId; });
    }
    const int year = Work().year;
    const int month = Work().month;
    bool failed = false;
    std::string error;
    // The database works on its own thread meanwhile; the windows wait for it. Its message
    // is told here, on this thread, rather than from that one.
    static_cast<void>(
        Document().RunOnConnection("給料を計算しています。しばらくお待ちください。", [&] {
            CDatabase::ExpectedErrors quiet(db->Database());
            for (const CUserGroup& group : groups) {
                const PayCalculationBounds bounds =
                    PayCalculationBounds::For(year, month, group.nCutoff);
                if (CPayCalculation(*db).Run(group.idGroup, bounds, error) == 0) {
                    failed = true;
                    return;
                }
            }
        }));
    if (failed) {
        Document().ShowMessage(error.empty() ? std::string("計算できませんでした。") : error);
        FocusRow();
        return;
    }
    LoadAndDraw();
    FocusRow();
    dialogs->MessageBox("計算しました。", MessageButtons::Ok);
}

void CCRWA_CalcuA::ExportCsv() {
    CloseEditor();
    static_cast<void>(
        ExportCsvFile(Document(), MonthFileName("給料.csv"), SalaryCsvText(m_list.Rows())));
    FocusRow();
}

// --- Printing ---

void CCRWA_CalcuA::PrintSummary(bool toPdf) {
    const std::vector<CSalary>& rows = m_list.Rows();
    const CSalaryTotals& totals = m_list.Totals();
    const int year = Work().year;
    const int month = Work().month;
    const CReportOutput::Report report{CPrintSetFile::kSalary, CPrintSalary::kDocumentName,
                                       [&](CPrintDC& dc) {
                                           auto summary = std::make_shared<CPrintSalary>(
                                               &dc, rows, totals, year, month);
                                           return [summary] { summary->PrintSummaryPages(); };
                                       },
                                       "給料集計表を印刷しました。"};
    static_cast<void>(
        CReportOutput(Document()).PrintOrSavePdf(report, toPdf, MonthFileName("給料集計.pdf")));
}

void CCRWA_CalcuA::PrintTimeCards(bool toPdf) {
    std::vector<int> users;
    for (const CSalary& row : m_list.Rows()) {
        users.push_back(row.idUser);
    }
    const CReportOutput::Report report =
        TimeCardReport(Database(), Work().year, Work().month, std::move(users));
    static_cast<void>(
        CReportOutput(Document()).PrintOrSavePdf(report, toPdf, MonthFileName("タイムカード.pdf")));
}

}  // namespace tokeiya
