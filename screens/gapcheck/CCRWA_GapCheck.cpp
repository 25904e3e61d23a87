#include "screens/gapcheck/CCRWA_GapCheck.hpp"

#include "data/CTOfficeSettings.hpp"
#include "data/PayPeriod.hpp"
#include "platform/TextHelpers.hpp"
#include "screens/base/CsvExport.hpp"
#include "screens/gapcheck/GapCheckText.hpp"
#include "shell/CGapSettingsDlg.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "shell/MainMenu.hpp"

namespace tokeiya {

using namespace win;

namespace {

constexpr int kGroupColumn = 34;
constexpr int kSettingsColumn = 60;
constexpr int kSettingsKey = 5;
constexpr const char* kSettingsLabel = "設定";

}  // namespace

CCRWA_GapCheck::CCRWA_GapCheck(CTokeiyaView& view)
    : CCRWA_MonthList(view, "GapCheck.tgd", "GapCheck.tfd", LayoutOf(kGapCheckRowWidth)) {}

CCRWA_GapCheck::~CCRWA_GapCheck() = default;

bool CCRWA_GapCheck::MaySetUp() const {
    return LevelAllows(Document().GetLoggedInUser().nLevel, 3);
}

void CCRWA_GapCheck::InitScreen() {
    CCRWA_Tokeiya::InitScreen();
    SetRowBar();
    SetKeyLabel(kSettingsKey, MaySetUp() ? kSettingsLabel : "");
    LoadAndDraw();
}

void CCRWA_GapCheck::LoadAndDraw() {
    m_check = CGapCheck();
    if (CConnection* db = Database()) {
        try {
            static_cast<void>(m_check.Load(*db, Work().year, Work().month, Work().groupId));
        } catch (const CDBException&) {
            // The connection has told the user; the list stays empty.
        }
    }
    ListLoaded();
    DrawHeader();
    DrawRows();
}

void CCRWA_GapCheck::DrawHeader() {
    DrawMonthTitle("勤怠チェック");
    std::string group = Work().groupId == -1 ? std::string("全員") : Work().groupName;
    PutText(FitText(group, 22), kGroupColumn, 1, true);
    PutText(FitText(GapSettingsText(m_check.Office()), 46), kSettingsColumn, 1, true);
}

std::string CCRWA_GapCheck::RowText(int position) const {
    return GapCheckRowText(m_check.Rows()[static_cast<size_t>(position)]);
}

std::string CCRWA_GapCheck::EmptyListText() const {
    return FitText(" 該当する日はありません。", kGapCheckRowWidth);
}

bool CCRWA_GapCheck::OnFunctionKey(int key, int, int) {
    if (StepMonth(key)) {
        return true;
    }
    switch (key) {
        case kSettingsKey:
            if (MaySetUp()) {
                EditSettings();
            }
            break;
        case 8:
            SwitchScreen(ScreenId::SalaryList);
            break;
        case 9:
            SwitchScreen(ScreenId::MonthSchedule);
            break;
        case 10:
            ExportCsv();
            break;
        default:
            break;
    }
    return true;
}

void CCRWA_GapCheck::ShowDay() {
    const int position = Position();
    IDialogs* dialogs = Document().Dialogs();
    if (position >= m_check.Count() || dialogs == nullptr) {
        FocusRow();
        return;
    }
    const GapCheckRow& row = m_check.Rows()[static_cast<size_t>(position)];
    CloseEditor();
    std::vector<CActivitySpan> spans;
    CConnection* db = Database();
    if (db == nullptr ||
        !CGapCheck::LoadSpansOf(*db, row.idUser, row.nYear, row.nMonth, row.nDay, spans)) {
        FocusRow();
        return;  // a failed read was told by the connection
    }
    dialogs->MessageBox(
        GapDayDetailText(m_check, spans, row.idUser, row.nYear, row.nMonth, row.nDay),
        MessageButtons::Ok);
    FocusRow();
}

void CCRWA_GapCheck::ExportCsv() {
    CloseEditor();
    static_cast<void>(ExportCsvFile(Document(), MonthFileName("勤怠チェック.csv"),
                                    GapCheckCsvText(m_check.Rows())));
    FocusRow();
}

void CCRWA_GapCheck::EditSettings() {
    CConnection* db = Database();
    IDialogs* dialogs = Document().Dialogs();
    if (db == nullptr || dialogs == nullptr) {
        return;
    }
    CloseEditor();
    try {
        OfficeSettings read;
        if (CTOfficeSettings(*db).Load(read) != 0) {
            OfficeSettings edited = read;
            CGapSettingsDlg dialog;
            if (dialog.DoModal(*dialogs, edited) &&
                !(edited.nGapMin == read.nGapMin && edited.lastExit == read.lastExit)) {
                static_cast<void>(CTOfficeSettings(*db).Save(edited, read));
                LoadAndDraw();
            }
        }
    } catch (const CDBException&) {
        // The connection has told the user; the settings stay as they were.
    }
    FocusRow();
}

}  // namespace tokeiya
