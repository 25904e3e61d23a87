#include "screens/timecard/CCRWA_CalcuB.hpp"

#include <algorithm>

#include "data/CTUser.hpp"
#include "platform/odbc/DbException.hpp"
#include "rows/TimeCardRowText.hpp"
#include "screens/base/CReportOutput.hpp"
#include "screens/base/HoldRedraw.hpp"
#include "screens/base/MonthKeys.hpp"
#include "screens/paycalc/TimeCardCalc.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {

using namespace win;

namespace {

constexpr const char* kDrawing = "CalcuB.tgd";
constexpr const char* kMenu = "CalcuB.tfd";

constexpr COLORREF kSundayColor = 0x0000FF;   // red (COLORREF values)
constexpr COLORREF kWeekdayColor = 0xFF0000;  // blue

constexpr int kTitleColumn = 2;
constexpr int kTitleLine = 1;
constexpr int kLabelColumn = 1;
constexpr int kRowColumn = 10;
constexpr int kMarkColumn = 79;
constexpr COLORREF kMarkColor = 0x0000FF;

// Where each cursor column's item stands, and the cells a click on a row picks it by:
// arrival, departure, lunch minutes, option.
struct Part {
    int first;
    int width;
};
constexpr Part kParts[] = {{9, 7}, {16, 7}, {23, 4}, {27, 2}};

int LineOf(int row) {
    return row + CCRWA_CalcuB::kFirstRowLine;
}

const CTimeCard& EmptyCard() {
    static const CTimeCard empty;
    return empty;
}

}  // namespace

CCRWA_CalcuB::CCRWA_CalcuB(CTokeiyaView& view)
    : CCRWA_Tokeiya(view, kDrawing, kMenu), m_year(Work().year), m_month(Work().month) {
    if (CFunctionMenu* bar = FunctionMenu()) {
        // The salary list is reached only where the program has it.
        if (!view.CanCreateScreen(ScreenId::SalaryList)) {
            bar->SetLabels(8, "");
        }
        // Shift shows the PDF label of key 12.
        bar->SetShiftSet(1);
    }
}

CCRWA_CalcuB::~CCRWA_CalcuB() {
    // The items go before the form closes an editor that may still name one of them.
    CloseEditor();
}

int CCRWA_CalcuB::RowsInUse() const {
    return m_period ? m_period->RowsInUse() : 0;
}

int CCRWA_CalcuB::FirstWeekday() const {
    return m_period ? m_period->FirstWeekday() : 0;
}

const CTimeCard& CCRWA_CalcuB::Row(int row) const {
    if (!m_period || row < 0 || row >= kMaxRows) {
        return EmptyCard();
    }
    return m_period->Rows()[static_cast<size_t>(row)];
}

// --- Building ---

void CCRWA_CalcuB::InitScreen() {
    CCRWA_Tokeiya::InitScreen();
    CreateRegions();
    LoadPeriod();
    DrawTitle();
    DrawAllRows();
}

void CCRWA_CalcuB::CreateRegions() {
    for (int row = 0; row < kMaxRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            AddMouseRegion(kParts[column].first, LineOf(row), kParts[column].width, 1, row, column);
        }
    }
}

void CCRWA_CalcuB::LoadPeriod() {
    CConnection* db = Database();
    const int userId = Work().userId;
    // User 0 stands for no user chosen; a month outside the calendar has no period.
    if (db == nullptr || userId == 0 || m_month < 1 || m_month > 12 || m_year < 1 ||
        m_year > 9999) {
        return;
    }
    CUser user;
    if (CTUser(*db, CTUser::Mode::View).LoadById(userId, user) == 0) {
        return;
    }
    m_user = user;
    m_period.emplace(m_user, m_year, m_month);
    m_period->Load(*db);
    LoadMarks();
}

void CCRWA_CalcuB::LoadMarks() {
    CConnection* db = Database();
    if (db == nullptr || !m_period || RowsInUse() == 0) {
        return;
    }
    const CTimeCard& first = Row(0);
    const CTimeCard& last = Row(RowsInUse() - 1);
    try {
        static_cast<void>(
            m_marks.Load(*db, m_user, first.nYear, first.nMonth, last.nYear, last.nMonth));
    } catch (const CDBException&) {
        // Told by the connection; the days show no marks.
    }
}

std::string CCRWA_CalcuB::MarkOf(int row) const {
    const CTimeCard& card = Row(row);
    return m_marks.MarkOf(card.nYear, card.nMonth, card.nDay);
}

void CCRWA_CalcuB::ShowDayDetail() {
    IDialogs* dialogs = Document().Dialogs();
    CConnection* db = Database();
    if (RowsInUse() == 0 || dialogs == nullptr || db == nullptr || !StoreEdit()) {
        return;
    }
    const CTimeCard& card = Row(m_cursorRow);
    const std::string detail = m_marks.DetailOf(*db, card.nYear, card.nMonth, card.nDay);
    if (!detail.empty()) {
        dialogs->MessageBox(detail, MessageButtons::Ok);
    }
    SetCursor(m_cursorRow, m_cursorColumn);
}

// --- Drawing ---

std::string CCRWA_CalcuB::TitleText() const {
    return TimeCardTitleText(m_year, m_month, m_user);
}

std::string CCRWA_CalcuB::DayLabel(int row) const {
    return TimeCardDayLabel(row, Row(row), FirstWeekday());
}

void CCRWA_CalcuB::DrawTitle() {
    PutText(TitleText(), kTitleColumn, kTitleLine, DefaultTextColor(), true);
}

void CCRWA_CalcuB::DrawRow(int row) {
    const int line = LineOf(row);
    const COLORREF labelColor = (FirstWeekday() + row) % 7 == 0 ? kSundayColor : kWeekdayColor;
    PutText(DayLabel(row), kLabelColumn, line, labelColor, true);
    PutText(TimeCardRowText(Row(row)), kRowColumn, line, DefaultTextColor(), true);
    const std::string mark = MarkOf(row);
    PutText(mark, kMarkColumn, line, mark == "  " ? DefaultTextColor() : kMarkColor, true);
}

void CCRWA_CalcuB::DrawAllRows() {
    CHoldRedraw hold(*this, true);
    for (int row = 0; row < RowsInUse(); ++row) {
        DrawRow(row);
    }
}

// --- Cursor and editing ---

void CCRWA_CalcuB::Activate() {
    CCRWA_Tokeiya::Activate();
    if (ActiveEditor() == nullptr && Initialized()) {
        SetCursor(m_cursorRow, 0);
    }
}

void CCRWA_CalcuB::SetCursor(int row, int column) {
    CloseEditor();
    const int rows = RowsInUse();
    // Without rows there is no day to edit: an item would write into a card of no user.
    if (rows == 0) {
        return;
    }
    m_cursorRow = std::clamp(row, 0, rows - 1);
    m_cursorColumn = std::clamp(column, 0, kColumns - 1);
    CTimeCard& card = m_period->Rows()[static_cast<size_t>(m_cursorRow)];
    CIIBase* item = m_cells.Place(m_cursorColumn, LineOf(m_cursorRow), card.timeFrom, card.timeTo,
                                  card.nLunchMin, card.flgOption);
    ActivateItem(item);
}

bool CCRWA_CalcuB::StoreEdit() {
    return StoreOpenEdit([this] { StoreCursorRow(); }, [this] { DrawRow(m_cursorRow); });
}

void CCRWA_CalcuB::StoreCursorRow() {
    if (!m_period) {
        return;
    }
    CTimeCard& card = m_period->Rows()[static_cast<size_t>(m_cursorRow)];
    RecomputeRow(m_user, card);
    CConnection* db = Database();
    if (db == nullptr) {
        return;
    }
    // A store that failed, thrown or returned as 0 for a failed read, has been told by the
    // connection; the recomputed day stays on the screen either way.
    try {
        // Only the stored card's month can have changed its marks; marks never read are
        // read whole.
        if (m_period->Store(*db, m_cursorRow, Document().ChangeBy(ChangeHow::TimeCardScreen)) &&
            !m_marks.Reload(*db, card.nYear, card.nMonth)) {
            LoadMarks();
        }
    } catch (const CDBException&) {
    }
}

bool CCRWA_CalcuB::OnExitKey(int virtualKey, int) {
    if (virtualKey == VK_ESCAPE) {
        RejectEdit(nullptr, false);
        SetCursor(m_cursorRow, m_cursorColumn);
        return true;
    }
    if (StoreEdit()) {
        int row = m_cursorRow;
        int column = m_cursorColumn;
        CTimeCardCells::Move(virtualKey, row, column, 0, RowsInUse() - 1);
        SetCursor(row, column);
    }
    return true;
}

// --- Mouse ---

bool CCRWA_CalcuB::PickAt(int x, int y, int& row, int& column) const {
    row = -1;
    column = -1;
    return HitTest(x, y, row, column, 1) && row >= 0 && row < RowsInUse() && column >= 0 &&
           column < kColumns;
}

bool CCRWA_CalcuB::OnLButtonDown(int, int x, int y) {
    int row = -1;
    int column = -1;
    if (!PickAt(x, y, row, column)) {
        return false;
    }
    if (StoreEdit()) {
        SetCursor(row, column);
    }
    return true;
}

// --- Function keys ---

bool CCRWA_CalcuB::OnFunctionKey(int key, int labelSet, int) {
    switch (key) {
        case 8:
            // The edit in progress is stored first; a refused value keeps the screen.
            if (View().CanCreateScreen(ScreenId::SalaryList) && StoreEdit()) {
                SwitchScreen(ScreenId::SalaryList);
            }
            return true;
        case 9:
            if (!StoreEdit()) {
                return true;
            }
            Work().userId = 0;
            SwitchScreen(ScreenId::MonthSchedule);
            return true;
        case 7:
            ShowDayDetail();
            return true;
        case 12:
            // The card is printed as stored: the edit in progress goes in first. The
            // shifted label set saves it as a PDF file instead.
            if (RowsInUse() > 0 && StoreEdit()) {
                CloseEditor();
                const CReportOutput::Report report =
                    TimeCardReport(Database(), m_year, m_month, {m_user.idUser});
                static_cast<void>(
                    CReportOutput(Document())
                        .PrintOrSavePdf(report, labelSet == 1,
                                        MonthFileName(m_year, m_month,
                                                      m_user.strUserName + "タイムカード.pdf")));
                SetCursor(0, 0);
            }
            return true;
        default:
            return true;
    }
}

}  // namespace tokeiya
