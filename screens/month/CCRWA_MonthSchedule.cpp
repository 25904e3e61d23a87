#include "screens/month/CCRWA_MonthSchedule.hpp"

#include <algorithm>

#include "data/CTSchedule.hpp"
#include "data/PayPeriod.hpp"
#include "platform/odbc/DbException.hpp"
#include "screens/base/HoldRedraw.hpp"
#include "shell/CSetHolidayDlg.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {

using namespace win;

namespace {

constexpr const char* kDrawing = "MonthSchedule.tgd";

// The cells of the mouse parts of a day line: arrival, departure, lunch minutes, option,
// own subjects, holiday and shared subjects.
struct Part {
    int first;
    int width;
};
constexpr Part kParts[] = {{7, 7}, {14, 7}, {21, 4}, {25, 2}, {27, 62}, {89, 62}};

constexpr int kCardColumn = 8;
constexpr int kLabelColumn = 2;
constexpr int kOwnSubjectsColumn = 28;
constexpr int kSharedColumn = 90;
constexpr int kTextsEnd = 150;  // the last column of the texts, blanked before each draw
constexpr int kRuleFrom = 1;
constexpr int kRuleTo = 151;
constexpr COLORREF kSaturdayRule = 0xFF00FF;
constexpr COLORREF kRule = 0x17E617;

int LineOf(int day) {
    return day + CCRWA_MonthSchedule::kFirstDayLine - 1;
}

}  // namespace

CCRWA_MonthSchedule::CCRWA_MonthSchedule(CTokeiyaView& view)
    : CCRWA_Tokeiya(view, "", "MonthSchedule.tfd") {
    if (CFunctionMenu* bar = FunctionMenu()) {
        // Key 1 is labelled only while it reloads, and then works from the keyboard too.
        bar->SetReserveF1(false);
        // The day schedules are reached only where the program has them.
        if (!view.CanCreateScreen(ScreenId::PersonalDay)) {
            bar->SetLabels(9, "");
        }
        if (!view.CanCreateScreen(ScreenId::EveryoneDay)) {
            bar->SetLabels(10, "");
        }
    }
}

CCRWA_MonthSchedule::~CCRWA_MonthSchedule() {
    // The items go before the form closes an editor that may still name one of them.
    CloseEditor();
}

int CCRWA_MonthSchedule::UserId() const {
    return Document().GetLoggedInUser().idUser;
}

int CCRWA_MonthSchedule::LunchMinutes() const {
    return Document().GetLoggedInUser().nLunchMin;
}

void CCRWA_MonthSchedule::InitScreen() {
    CCRWA_Tokeiya::InitScreen();
    if (UserId() == 0) {
        m_handedOver = true;
        SwitchScreen(ScreenId::AdminHome);
        return;
    }
    int year = Work().scheduleYear;
    int month = Work().scheduleMonth;
    int day = Work().scheduleDay;
    if (year == 0 || month < 1 || month > 12) {
        const CTime today = CTime::GetCurrentTime();
        year = today.GetYear();
        month = today.GetMonth();
        day = today.GetDay();
    }
    ShowMonth(year, month, false);
    m_cursorDay = std::clamp(day, 1, m_days.DayCount());
    m_cursorColumn = 0;
    CreateRegions();
}

void CCRWA_MonthSchedule::CreateRegions() {
    for (int day = 1; day <= 31; ++day) {
        for (int part = 0; part < static_cast<int>(std::size(kParts)); ++part) {
            AddMouseRegion(kParts[part].first, LineOf(day), kParts[part].width, 1, day, part);
        }
    }
}

bool CCRWA_MonthSchedule::Show(bool shown, bool redraw) {
    // A screen that gave way stays hidden until the view replaces it.
    return CCRWA_Tokeiya::Show(shown && !m_handedOver, redraw);
}

void CCRWA_MonthSchedule::Activate() {
    if (m_handedOver) {
        return;
    }
    CCRWA_Tokeiya::Activate();
    if (ActiveEditor() == nullptr && Initialized()) {
        SetCursor(m_cursorDay, m_cursorColumn);
    }
}

// --- Showing a month ---

void CCRWA_MonthSchedule::ShowMonth(int year, int month, bool placeCursor, int cursorDay) {
    CloseEditor();
    m_days.Reset(year, month, LunchMinutes());
    // The drawing comes back fresh, without the rules and texts of the month before.
    LoadFromPackage(kDrawing);
    if (CConnection* db = Database()) {
        m_days.Load(*db, UserId());
        SetKeyLabel(1, "");
    }
    PutText(m_days.Title(), kLabelColumn, 1, CMonthScheduleDays::kBlue, false);
    // A rule under each day; the last line of a 31-day month has the frame below it.
    for (int day = 1; day <= std::min(m_days.DayCount(), 30); ++day) {
        const COLORREF color = m_days.WeekdayOf(day) == 6 ? kSaturdayRule : kRule;
        AddLine(kRuleFrom, LineOf(day) + 1, kRuleTo, LineOf(day) + 1, color, 0, 1);
    }
    DrawAllDays();
    if (placeCursor) {
        SetCursor(cursorDay, 0);
    }
}

void CCRWA_MonthSchedule::DrawAllDays() {
    CHoldRedraw hold(*this, true);
    for (int day = 1; day <= m_days.DayCount(); ++day) {
        DrawDay(day);
    }
}

void CCRWA_MonthSchedule::DrawDay(int day) {
    const int line = LineOf(day);
    const CDaySchedule& entry = m_days.Day(day);
    PutText(m_days.Label(day), kLabelColumn, line, m_days.LabelColor(day), true);
    DrawCard(day);
    const COLORREF text = DefaultTextColor();
    PutText(std::string(kTextsEnd - kOwnSubjectsColumn + 1, ' '), kOwnSubjectsColumn, line, text,
            true);
    PutText(entry.strSubjects, kOwnSubjectsColumn, line, text, true);
    if (entry.strHoliday.empty()) {
        PutText(entry.strSharedSubjects, kSharedColumn, line, text, true);
        return;
    }
    PutText(entry.strHoliday, kSharedColumn, line, CMonthScheduleDays::kRed, true);
    PutText(entry.strSharedSubjects, kSharedColumn + static_cast<int>(entry.strHoliday.size()) + 1,
            line, text, true);
}

void CCRWA_MonthSchedule::DrawCard(int day) {
    PutText(m_days.CardText(day), kCardColumn, LineOf(day), DefaultTextColor(), true);
}

// --- Cursor and editing ---

void CCRWA_MonthSchedule::SetCursor(int day, int column) {
    CloseEditor();
    m_cursorDay = std::clamp(day, 1, m_days.DayCount());
    m_cursorColumn = std::clamp(column, 0, kColumns - 1);
    CDaySchedule& entry = m_days.Day(m_cursorDay);
    CIIBase* item = m_cells.Place(m_cursorColumn, LineOf(m_cursorDay), entry.timeFrom, entry.timeTo,
                                  entry.nLunchMin, entry.flgOption);
    if (m_cursorColumn >= 2) {
        SetKeyLabel(5, "");
        SetKeyLabel(6, "");
    } else {
        SetKeyLabel(6, CursorOnToday() ? kPresentLabel : "");
    }
    ActivateItem(item);
}

bool CCRWA_MonthSchedule::StoreEdit() {
    return StoreOpenEdit([this] { StoreCursorCard(); }, [this] { DrawCard(m_cursorDay); });
}

void CCRWA_MonthSchedule::StoreCursorCard() {
    CConnection* db = Database();
    if (db == nullptr) {
        return;
    }
    try {
        m_days.StoreCard(*db, UserId(), m_cursorDay, Document().ChangeBy(ChangeHow::MonthSchedule));
    } catch (const CDBException&) {
        // The connection has told the user; what was typed stays on the screen.
    }
}

bool CCRWA_MonthSchedule::OnExitKey(int virtualKey, int) {
    if (virtualKey == VK_ESCAPE) {
        RejectEdit(nullptr, false);
        SetCursor(m_cursorDay, m_cursorColumn);
        return true;
    }
    if (StoreEdit()) {
        int day = m_cursorDay;
        int column = m_cursorColumn;
        CTimeCardCells::Move(virtualKey, day, column, 1, m_days.DayCount());
        SetCursor(day, column);
    }
    return true;
}

bool CCRWA_MonthSchedule::CursorOnToday() const {
    const CTime today = CTime::GetCurrentTime();
    return today.GetYear() == m_days.Year() && today.GetMonth() == m_days.Month() &&
           today.GetDay() == m_cursorDay;
}

// --- Function keys ---

bool CCRWA_MonthSchedule::OnFunctionKey(int key, int, int) {
    if (m_handedOver) {
        return true;
    }
    switch (key) {
        case 1:
            ReloadTexts();
            return true;
        case 6:
            PutPresentTime();
            return true;
        case 2:
        case 3:
        case 4:
        case 8:
        case 9:
        case 10:
        case 12:
            break;
        default:
            return true;
    }
    if (!StoreEdit()) {
        return true;
    }
    switch (key) {
        case 2:
        case 4: {
            const CalendarDay first =
                FirstOfMonth(m_days.Year(), m_days.Month(), key == 2 ? -1 : 1);
            ShowMonth(first.year, first.month, true);
            break;
        }
        case 3: {
            const CTime today = CTime::GetCurrentTime();
            ShowMonth(today.GetYear(), today.GetMonth(), true, today.GetDay());
            break;
        }
        case 8:
            EditHoliday();
            SetCursor(m_cursorDay, m_cursorColumn);
            break;
        case 9:
            OpenDaySchedule(ScreenId::PersonalDay);
            break;
        case 10:
            OpenDaySchedule(ScreenId::EveryoneDay);
            break;
        default:  // 12
            RememberDate();
            HideMainWindow();
            break;
    }
    return true;
}

void CCRWA_MonthSchedule::ReloadTexts() {
    CFunctionMenu* bar = FunctionMenu();
    CConnection* db = Database();
    if (bar == nullptr || !bar->HasLabel(0, 1) || db == nullptr) {
        return;
    }
    CloseEditor();
    m_days.ReloadTexts(*db, UserId());
    DrawAllDays();
    m_days.SetLatestUpdate(m_days.ReadLatestUpdate(*db));
    SetKeyLabel(1, "");
    SetCursor(m_cursorDay, m_cursorColumn);
}

void CCRWA_MonthSchedule::PutPresentTime() {
    if (PutPresentTimeInEditor() && StoreEdit()) {
        SetCursor(m_cursorDay, m_cursorColumn);
    }
}

void CCRWA_MonthSchedule::EditHoliday() {
    IDialogs* dialogs = Document().Dialogs();
    if (dialogs == nullptr) {
        return;
    }
    CDaySchedule& entry = m_days.Day(m_cursorDay);
    CSetHolidayDlg dialog;
    dialog.Setup(m_days.Year(), m_days.Month(), m_cursorDay, entry.strHoliday);
    if (!dialog.DoModal(*dialogs)) {
        return;
    }
    if (const char* problem = CSetHolidayDlg::NameProblem(dialog.m_strName)) {
        Document().ShowMessage(problem);
        return;
    }
    CConnection* db = Database();
    if (db == nullptr) {
        return;
    }
    int saved = 0;
    CTime stamped;
    CTime before;
    try {
        // What other computers changed since this screen read the month must stay news.
        before = m_days.ReadLatestUpdate(*db);
        saved = CTSchedule(*db, CTSchedule::Mode::Table)
                    .SaveHoliday(m_days.Year(), m_days.Month(), m_cursorDay, dialog.m_strName,
                                 &stamped);
    } catch (const CDBException&) {
        // Told by the connection; the day keeps the name it had.
    }
    if (saved == 0) {
        return;
    }
    // This screen's own change is no news to it, unless something else came first.
    if (before <= m_days.LatestUpdate()) {
        m_days.SetLatestUpdate(std::max(m_days.LatestUpdate(), stamped));
    }
    m_days.SetHoliday(m_cursorDay, dialog.m_strName);
    DrawDay(m_cursorDay);
}

void CCRWA_MonthSchedule::OpenDaySchedule(ScreenId id) {
    if (!View().CanCreateScreen(id)) {
        SetCursor(m_cursorDay, m_cursorColumn);
        return;
    }
    RememberDate();
    SwitchScreen(id);
}

void CCRWA_MonthSchedule::RememberDate() {
    Work().scheduleYear = m_days.Year();
    Work().scheduleMonth = m_days.Month();
    Work().scheduleDay = m_cursorDay;
}

// --- Mouse ---

bool CCRWA_MonthSchedule::PartAt(int x, int y, int& day, int& part) const {
    day = 0;
    part = -1;
    return HitTest(x, y, day, part, 1) && m_days.Contains(day);
}

bool CCRWA_MonthSchedule::OnLButtonDown(int, int x, int y) {
    int day = 0;
    int part = -1;
    if (m_handedOver || !PartAt(x, y, day, part) || part >= kColumns) {
        return false;
    }
    if (StoreEdit()) {
        SetCursor(day, part);
    }
    return true;
}

bool CCRWA_MonthSchedule::OnLButtonDblClk(int, int x, int y) {
    int day = 0;
    int part = -1;
    if (m_handedOver || !PartAt(x, y, day, part) || part < kOwnSubjectsPart) {
        return false;
    }
    if (StoreEdit()) {
        m_cursorDay = day;
        OpenDaySchedule(part == kOwnSubjectsPart ? ScreenId::PersonalDay : ScreenId::EveryoneDay);
    }
    return true;
}

// --- What the view tells ---

void CCRWA_MonthSchedule::OnOptionsChanged() {
    if (m_handedOver) {
        return;
    }
    CloseEditor();
    m_days.TakeDefaultLunch(LunchMinutes());
    DrawAllDays();
    SetCursor(m_cursorDay, m_cursorColumn);
}

void CCRWA_MonthSchedule::OnPeriodicRefresh() {
    if (!m_handedOver) {
        LabelNews(m_days.LatestUpdate(),
                  [this](CConnection& db) { return m_days.ReadLatestUpdate(db); });
    }
}

}  // namespace tokeiya
