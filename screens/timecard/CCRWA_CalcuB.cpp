#include "screens/timecard/CCRWA_CalcuB.hpp"

#include <algorithm>
#include <cstdio>

#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "platform/AppContext.hpp"
#include "platform/TextHelpers.hpp"
#include "platform/odbc/DbException.hpp"
#include "screens/paycalc/TimeCardCalc.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {

using namespace win;

namespace {

constexpr const char* kDrawing = "CalcuB.tgd";
constexpr const char* kMenu = "CalcuB.tfd";
constexpr int kSalaryListCode = 103;
constexpr int kMonthScheduleCode = 0;

constexpr COLORREF kSundayColor = 0x0000FF;   // red (COLORREF values)
constexpr COLORREF kWeekdayColor = 0xFF0000;  // blue

constexpr int kTitleColumn = 2;
constexpr int kTitleLine = 1;
constexpr int kLabelColumn = 1;
constexpr int kRowColumn = 10;

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
    : CCRWA_Tokeiya(view, kDrawing, kMenu),
      m_year(CAppContext::Current().work.year),
      m_month(CAppContext::Current().work.month) {
    // The salary list is reached only where the program has it.
    if (CFunctionMenu* bar = FunctionMenu();
        bar != nullptr && !view.CanCreateScreen(kSalaryListCode)) {
        bar->SetLabels(8, "");
    }
}

CCRWA_CalcuB::~CCRWA_CalcuB() {
    // The items go before the form closes an editor that may still name one of them.
    CloseEditor();
}

CConnection* CCRWA_CalcuB::Database() const {
    return Document().GetDatabase();
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
    const int userId = CAppContext::Current().work.userId;
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
}

// --- Drawing ---

std::string CCRWA_CalcuB::TitleText() const {
    // The names padded as "%-20s" would, and never cut inside a double-byte character.
    char month[32];
    std::snprintf(month, sizeof month, "%4d 年 %2d 月分 ", m_year, m_month);
    return month + PadText(m_user.strUserName, 20, true) + "(" +
           PadText(m_user.strGroupName, 20, true) + ")";
}

std::string CCRWA_CalcuB::DayLabel(int row) const {
    const CTimeCard& card = Row(row);
    const char* weekday = WeekdayName(FirstWeekday() + row);
    char text[32];
    if (row == 0 || card.nDay == 1) {
        std::snprintf(text, sizeof text, "%2d %2d %s", card.nMonth, card.nDay, weekday);
    } else {
        std::snprintf(text, sizeof text, "   %2d %s", card.nDay, weekday);
    }
    return text;
}

std::string CCRWA_CalcuB::RowText(const CTimeCard& card) {
    // The day's total is the sum as the amounts are stored, in single precision.
    const float total = card.fSalary + card.fOvertimePay;
    char text[256];
    std::snprintf(text, sizeof text, "%s  %s %3d %s %3d:%02d  %3d:%02d %9.0f %9.0f %9.0f  %s",
                  CardTimeText(card.timeFrom).c_str(), CardTimeText(card.timeTo).c_str(),
                  card.nLunchMin, OptionLabel(card.flgOption), card.nWorkingMin / 60,
                  card.nWorkingMin % 60, card.nOvertimeMin / 60, card.nOvertimeMin % 60,
                  static_cast<double>(card.fSalary), static_cast<double>(card.fOvertimePay),
                  static_cast<double>(total), card.flgErr != 0 ? "○" : "  ");
    return text;
}

void CCRWA_CalcuB::DrawTitle() {
    PutText(TitleText(), kTitleColumn, kTitleLine, DefaultTextColor(), true);
}

void CCRWA_CalcuB::DrawRow(int row) {
    const int line = LineOf(row);
    const COLORREF labelColor = (FirstWeekday() + row) % 7 == 0 ? kSundayColor : kWeekdayColor;
    PutText(DayLabel(row), kLabelColumn, line, labelColor, true);
    PutText(RowText(Row(row)), kRowColumn, line, DefaultTextColor(), true);
}

void CCRWA_CalcuB::DrawAllRows() {
    const bool hold = HoldRedraw();
    SetHoldRedraw(true);
    for (int row = 0; row < RowsInUse(); ++row) {
        DrawRow(row);
    }
    SetHoldRedraw(hold);
    InvalidateAll(true);
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
    if (ActiveEditor() == nullptr) {
        return true;
    }
    const int taken = TakeEdit();
    if (taken < 0) {
        return false;
    }
    if (taken > 0) {
        StoreCursorRow();
    }
    DrawRow(m_cursorRow);
    CloseEditor();
    return true;
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
    try {
        CTTimeCard(*db).StoreCard(card);
    } catch (const CDBException&) {
        // The connection has told the user; the recomputed day stays on the screen.
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

bool CCRWA_CalcuB::OnFunctionKey(int key, int, int) {
    switch (key) {
        case 8:
            // Leaves without storing the edit in progress.
            if (View().CanCreateScreen(kSalaryListCode)) {
                CloseEditor();
                SwitchScreen(kSalaryListCode);
            }
            return true;
        case 9:
            CloseEditor();
            CAppContext::Current().work.userId = 0;
            SwitchScreen(kMonthScheduleCode);
            return true;
        default:
            // Key 12 prints this card once printing is built; it is unlabelled until then.
            return true;
    }
}

}  // namespace tokeiya
