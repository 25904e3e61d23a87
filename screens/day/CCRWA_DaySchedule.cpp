#include "screens/day/CCRWA_DaySchedule.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <optional>

#include "data/CTSchedule.hpp"
#include "data/CTTimeCard.hpp"
#include "rows/TimeCardRowText.hpp"
#include "screens/base/HoldRedraw.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CFunctionMenu.hpp"
#include "widgets/CIIDigit.hpp"
#include "widgets/CIISpaceSelecter.hpp"
#include "widgets/CIIString.hpp"
#include "widgets/CIITime.hpp"

namespace tokeiya {

using namespace win;

namespace {

// The rows from column 1 up to the scroll bar in column 104.
constexpr ListLayout kLayout = {
    CCRWA_DaySchedule::kFirstLine, CCRWA_DaySchedule::kPageRows, 1, 103, 104, 0};
constexpr int kCardKind = 2;
constexpr int kTitleColumn = 2;
constexpr COLORREF kTitleColor = 0xFF0000;
constexpr COLORREF kModeColor = 0xB3369E;
constexpr const char* kDeleteLabel = "行削除";

// The list's fields: where each item stands and the cells a click picks it by.
struct FieldLayout {
    int x;
    int clickFirst;
    int clickWidth;
};
constexpr FieldLayout kFields[] = {{2, 1, 7},   {9, 8, 22},   {31, 30, 4},
                                   {36, 34, 4}, {39, 38, 62}, {101, 100, 4}};
enum EntryField { kTime, kSubject, kAlarm, kLevel, kDetails, kEveryDay };

// The card's fields on line 2: arrival, departure, lunch minutes, option.
constexpr FieldLayout kCardFields[] = {{15, 14, 7}, {28, 27, 7}, {38, 38, 4}, {47, 46, 4}};
static_assert(std::size(kCardFields) == CTimeCardCells::kColumns);

// The card's items open where its fields are drawn.
constexpr std::array<int, CTimeCardCells::kColumns> CardColumns() {
    std::array<int, CTimeCardCells::kColumns> columns{};
    for (size_t column = 0; column < columns.size(); ++column) {
        columns[column] = kCardFields[column].x;
    }
    return columns;
}

}  // namespace

CCRWA_DaySchedule::CCRWA_DaySchedule(CTokeiyaView& view, Mode mode)
    : CCRWA_List(view, "DaySchedule.tgd", "DaySchedule.tfd", kLayout),
      m_mode(mode),
      m_cells(CardColumns()) {
    if (CFunctionMenu* bar = FunctionMenu()) {
        // Key 1 is labelled only while it reloads, and then works from the keyboard too.
        bar->SetReserveF1(false);
    }
}

CCRWA_DaySchedule::~CCRWA_DaySchedule() {
    // The items go before the form closes an editor that may still name one of them.
    CloseEditor();
}

int CCRWA_DaySchedule::UserId() const {
    return Document().GetLoggedInUser().idUser;
}

void CCRWA_DaySchedule::InitScreen() {
    CCRWA_Tokeiya::InitScreen();
    CreateItems();
    const int fieldCount = m_mode == Mode::Personal ? kEveryDay + 1 : kEveryDay;
    std::vector<ListField> fields;
    for (int column = 0; column < fieldCount; ++column) {
        const FieldLayout& layout = kFields[column];
        fields.push_back(
            {layout.x, layout.clickFirst, layout.clickWidth,
             m_items[static_cast<size_t>(column)].get(), nullptr, 0,
             [this, column](CIIBase& item, int position) { BindField(item, position, column); }});
    }
    SetFields(std::move(fields));
    for (int column = 0; column < kListColumn; ++column) {
        const FieldLayout& layout = kCardFields[column];
        AddMouseRegion(layout.clickFirst, kCardLine, layout.clickWidth, 1, 0, column, kCardKind);
    }
    PutText(m_mode == Mode::Personal ? "個 人" : "全 員", kTitleColumn, kCardLine, kModeColor,
            false);

    int year = Work().scheduleYear;
    int month = Work().scheduleMonth;
    int day = Work().scheduleDay;
    const std::optional<CTime> shown = CTime::FromLocal(year, month, day, 12, 0, 0);
    if (year == 0 || !shown || shown->GetDay() != day) {
        const CTime today = CTime::GetCurrentTime();
        year = today.GetYear();
        month = today.GetMonth();
        day = today.GetDay();
    }
    ShowDay(year, month, day);
}

void CCRWA_DaySchedule::BindField(CIIBase& item, int position, int column) {
    CSchedule& entry = m_list.Entry(position);
    switch (column) {
        case kTime:
            item.Bind(&entry.dateSchedule);
            break;
        case kSubject:
            item.Bind(&entry.strSubject);
            break;
        case kAlarm:
            item.Bind(&entry.flgAlarm);
            break;
        case kLevel:
            item.Bind(&entry.nLevel);
            break;
        case kDetails:
            item.Bind(&entry.strSchedule);
            break;
        default:
            item.Bind(&entry.flgEveryDay);
            break;
    }
}

void CCRWA_DaySchedule::CreateItems() {
    m_items[kTime] = std::make_unique<CIITime>(kFields[kTime].x, 0, nullptr, false, true);
    // Subjects and details are Japanese: the input method opens with the field.
    m_items[kSubject] = std::make_unique<CIIString>(
        kFields[kSubject].x, 0, CDayScheduleList::kSubjectBytes, nullptr, 1, false, true);
    m_items[kAlarm] = std::make_unique<CIISS_MaruNull>(kFields[kAlarm].x, 0, nullptr);
    auto level =
        std::make_unique<CIIDigit>(kFields[kLevel].x, 0, 1, static_cast<long*>(nullptr), false);
    level->SetOptions(true, false);
    m_items[kLevel] = std::move(level);
    m_items[kDetails] = std::make_unique<CIIString>(
        kFields[kDetails].x, 0, CDayScheduleList::kDetailsBytes, nullptr, 1, false, true);
    m_items[kEveryDay] = std::make_unique<CIISS_MaruNull>(kFields[kEveryDay].x, 0, nullptr);
}

// --- The day ---

void CCRWA_DaySchedule::ShowDay(int year, int month, int day) {
    // The month schedule opens on the day shown last.
    Work().scheduleYear = year;
    Work().scheduleMonth = month;
    Work().scheduleDay = day;
    m_list.Reset(m_mode == Mode::Personal ? UserId() : 0, year, month, day);
    LoadDay();
}

void CCRWA_DaySchedule::LoadDay() {
    CloseEditor();
    const CUser& user = Document().GetLoggedInUser();
    m_card =
        CTimeCard::NewDay(user.idUser, m_list.Year(), m_list.Month(), m_list.Day(), user.nLunchMin);
    CConnection* db = Database();
    if (db != nullptr) {
        // A card that cannot be read has been told about; the day's defaults show.
        (void)CTTimeCard(*db).LoadCard(m_card);
        m_list.Load(*db);
        SetKeyLabel(1, "");
    } else {
        m_list.AppendBlank();
    }
    m_cardAsRead = m_card;
    ListLoaded();
    m_onCard = true;
    m_cardColumn = 0;
    CHoldRedraw hold(*this);
    DrawTitle();
    DrawCard();
    DrawRows();
}

void CCRWA_DaySchedule::DrawTitle() {
    PutText(m_list.Title(), kTitleColumn, 1, kTitleColor, true);
}

void CCRWA_DaySchedule::DrawCard() {
    const COLORREF color = DefaultTextColor();
    char lunch[8];
    std::snprintf(lunch, sizeof lunch, "%3d", m_card.nLunchMin);
    PutText(CardTimeText(m_card.timeFrom), kCardFields[0].x, kCardLine, color, true);
    PutText(CardTimeText(m_card.timeTo), kCardFields[1].x, kCardLine, color, true);
    PutText(lunch, kCardFields[2].x, kCardLine, color, true);
    PutText(OptionLabel(m_card.flgOption), kCardFields[3].x, kCardLine, color, true);
}

std::string CCRWA_DaySchedule::RowText(int position) const {
    return CDayScheduleList::RowText(m_list.Entry(position));
}

bool CCRWA_DaySchedule::AppendRow() {
    return m_list.AppendBlank();
}

bool CCRWA_DaySchedule::ShowsToday() const {
    const CTime today = CTime::GetCurrentTime();
    return today.GetYear() == m_list.Year() && today.GetMonth() == m_list.Month() &&
           today.GetDay() == m_list.Day();
}

// --- The cursor ---

void CCRWA_DaySchedule::Activate() {
    if (!m_onCard) {
        CCRWA_List::Activate();
        return;
    }
    // Past the list's own Activate, which would open a field of the list first.
    CCRWA_Tokeiya::Activate();  // NOLINT(bugprone-parent-virtual-call)
    if (ActiveEditor() == nullptr && Initialized()) {
        FocusCard(m_cardColumn);
    }
}

void CCRWA_DaySchedule::FocusCard(int column) {
    CloseEditor();
    m_onCard = true;
    m_cardColumn = std::clamp(column, 0, kListColumn - 1);
    HideScrollBar();
    SetKeyLabel(5, "");
    SetKeyLabel(6, m_cardColumn <= 1 && ShowsToday() ? kPresentLabel : "");
    ActivateItem(m_cells.Place(m_cardColumn, kCardLine, m_card.timeFrom, m_card.timeTo,
                               m_card.nLunchMin, m_card.flgOption));
}

void CCRWA_DaySchedule::FocusList(int row, int column) {
    m_onCard = false;
    SetKeyLabel(5, kDeleteLabel);
    SetKeyLabel(6, "");
    Focus(row, column - kListColumn, false);
}

bool CCRWA_DaySchedule::OnExitKey(int virtualKey, int modifiers) {
    if (m_onCard) {
        return CardKey(virtualKey);
    }
    // Up from the first entry, and Left from its first field, go up to the card.
    const bool toCard = virtualKey == VK_UP || (virtualKey == VK_LEFT && Column() == 0);
    if (toCard && Position() == 0) {
        if (StoreEdit()) {
            FocusCard(0);
        }
        return true;
    }
    return CCRWA_List::OnExitKey(virtualKey, modifiers);
}

bool CCRWA_DaySchedule::CardKey(int virtualKey) {
    if (virtualKey == VK_ESCAPE) {
        RejectEdit(nullptr, false);
        FocusCard(m_cardColumn);
        return true;
    }
    if (!StoreCardEdit()) {
        return true;
    }
    switch (virtualKey) {
        case VK_RETURN:
        case VK_RIGHT:
            if (m_cardColumn < kListColumn - 1) {
                FocusCard(m_cardColumn + 1);
            } else {
                FocusList(0, kListColumn);
            }
            break;
        case VK_LEFT:
        case VK_UP:
            FocusCard(m_cardColumn - 1);
            break;
        case VK_DOWN:
            FocusList(0, kListColumn);
            break;
        default:
            FocusCard(m_cardColumn);
            break;
    }
    return true;
}

bool CCRWA_DaySchedule::OnLButtonDown(int keys, int x, int y) {
    int row = 0;
    int column = 0;
    if (HitTest(x, y, row, column, kCardKind)) {
        if (StoreAnyEdit()) {
            FocusCard(column);
        }
        return true;
    }
    if (!m_onCard) {
        return CCRWA_List::OnLButtonDown(keys, x, y);
    }
    if (!FieldAt(x, y, row, column)) {
        return false;
    }
    if (Top() + row < RowCount() && StoreCardEdit()) {
        FocusList(row, kListColumn + column);
    }
    return true;
}

// --- Storing ---

bool CCRWA_DaySchedule::LeaveEdit() {
    return StoreAnyEdit();
}

bool CCRWA_DaySchedule::StoreAnyEdit() {
    return m_onCard ? StoreCardEdit() : StoreEdit();
}

bool CCRWA_DaySchedule::StoreCardEdit() {
    // Storing may change the option (a departure before the arrival), so all of it redraws.
    return StoreOpenEdit([this] { StoreCard(); }, [this] { DrawCard(); });
}

void CCRWA_DaySchedule::StoreCard() {
    CConnection* db = Database();
    if (db == nullptr) {
        return;
    }
    try {
        if (CTTimeCard(*db, Document().ChangeBy(ChangeHow::DaySchedule))
                .StoreCard(m_card, &m_cardAsRead) != 0) {
            m_cardAsRead = m_card;
        }
    } catch (const CDBException&) {
        // The connection has told the user; what was typed stays on the screen.
    }
}

bool CCRWA_DaySchedule::CheckEdit(int position, int column) {
    CSchedule& entry = m_list.Entry(position);
    switch (column) {
        case kTime:
            // An emptied time is midnight, which the list shows as no time.
            if (IsEmptyTime(entry.dateSchedule)) {
                m_list.PlaceOnDay(entry);
            }
            return true;
        case kSubject:
            return !entry.strSubject.empty() || Refuse("件名は空にできません。");
        case kLevel:
            return (entry.nLevel >= 1 && entry.nLevel <= 5) ||
                   Refuse("重要度は 1 から 5 までです。");
        case kEveryDay:
            m_list.PlaceOnDay(entry);
            return true;
        default:
            return true;
    }
}

StoreResult CCRWA_DaySchedule::StoreRow(int position) {
    CSchedule& entry = m_list.Entry(position);
    if (!entry.IsValid()) {
        return StoreResult::Kept;
    }
    const StoreResult result = SaveEntry(entry, m_list.AsRead(position));
    if (result == StoreResult::Stored) {
        m_list.Stored(position);
    } else if (result == StoreResult::NoRow) {
        // Going back to the entry could not store it either.
        m_list.Forget(position);
    }
    return result;
}

StoreResult CCRWA_DaySchedule::SaveEntry(CSchedule& entry, const CSchedule* asRead) {
    CConnection* db = Database();
    if (db == nullptr) {
        return StoreResult::Kept;
    }
    const int token = Document().GetLoginId();
    // What other computers stored since this screen read the day must stay news. A database
    // that cannot be read has been told about once; the store would only tell it again.
    bool failed = false;
    const CTime before = m_list.ReadLatestUpdate(*db, &failed);
    if (failed) {
        return StoreResult::Told;
    }
    CTime stamped = m_list.LatestUpdate();
    const StoreResult result = StoreCopy(entry, [&](CSchedule& stored) {
        return CTSchedule(*db, CTSchedule::Mode::Table)
            .SaveSchedule(token, stored, stamped, asRead);
    });
    if (result != StoreResult::Stored) {
        return result;
    }
    if (before <= m_list.LatestUpdate()) {
        m_list.SetLatestUpdate(stamped);
    }
    Document().ReloadAlarm();
    return result;
}

std::string CCRWA_DaySchedule::RowMissingText() const {
    return "予定が見つからないため、保存できませんでした。";
}

// --- Function keys ---

bool CCRWA_DaySchedule::OnFunctionKey(int key, int, int) {
    switch (key) {
        case 1:
            Reload();
            return true;
        case 5:
            DeleteEntry();
            return true;
        case 6:
            PutPresentTime();
            return true;
        case 2:
        case 3:
        case 4:
        case 8:
        case 9:
        case 12:
            break;
        default:
            return true;
    }
    if (!StoreAnyEdit()) {
        return true;
    }
    switch (key) {
        case 2:
        case 3:
        case 4:
            // Another day's entries replace these.
            if (ConfirmLeave()) {
                ChangeDay(key);
            }
            break;
        case 8:
            SortEntries();
            break;
        case 9:
            SwitchScreen(ScreenId::MonthSchedule);
            break;
        default:  // 12
            HideMainWindow();
            Activate();
            break;
    }
    return true;
}

void CCRWA_DaySchedule::ChangeDay(int key) {
    CTime day = CTime::GetCurrentTime();
    if (key != 3) {
        // Noon is a day away from the next noon also across a clock change.
        const std::optional<CTime> next = CTime::FromLocal(
            m_list.Year(), m_list.Month(), m_list.Day() + (key == 2 ? -1 : 1), 12, 0, 0);
        if (!next) {
            FocusCard(0);
            return;
        }
        day = *next;
    }
    ShowDay(day.GetYear(), day.GetMonth(), day.GetDay());
    FocusCard(0);
}

void CCRWA_DaySchedule::SortEntries() {
    m_list.SortByTime();
    ListLoaded();
    DrawRows();
    FocusCard(0);
}

void CCRWA_DaySchedule::Reload() {
    CFunctionMenu* bar = FunctionMenu();
    if (bar == nullptr || !bar->HasLabel(0, 1) || Database() == nullptr || !StoreAnyEdit() ||
        !ConfirmLeave()) {
        return;
    }
    LoadDay();
    FocusCard(0);
}

void CCRWA_DaySchedule::PutPresentTime() {
    if (m_onCard && PutPresentTimeInEditor() && StoreCardEdit()) {
        FocusCard(m_cardColumn);
    }
}

void CCRWA_DaySchedule::DeleteEntry() {
    const int position = Position();
    if (m_onCard || position >= RowCount()) {
        return;
    }
    CSchedule& entry = m_list.Entry(position);
    if (entry.idSchedule == 0) {
        CloseEditor();
        m_list.Renew(position);
    } else {
        IDialogs* dialogs = Document().Dialogs();
        if (dialogs == nullptr ||
            dialogs->MessageBox(entry.strSubject + " を削除しますか？", MessageButtons::YesNo) !=
                MessageAnswer::Yes) {
            return;
        }
        CloseEditor();
        // The row stays in the database, marked deleted, so that other computers see the
        // change by its stamp.
        CSchedule deleted = entry;
        deleted.nLevel = kScheduleLevelDeleted;
        if (SaveEntry(deleted, m_list.AsRead(position)) == StoreResult::Told) {
            Activate();
            return;
        }
        // A row another computer removed is gone as well.
        m_list.Remove(position);
        if (position == m_list.Count()) {
            m_list.AppendBlank();
        }
    }
    MakeVisible(std::min(position, RowCount() - 1));
    DrawRows();
    FocusList(Cursor(), CursorColumn());
}

// --- What the view tells ---

void CCRWA_DaySchedule::OnPeriodicRefresh() {
    // Only the shared entries are looked at: a user's own are changed on one computer.
    if (m_mode == Mode::Everyone) {
        LabelNews(m_list.LatestUpdate(),
                  [this](CConnection& db) { return m_list.ReadLatestUpdate(db); });
    }
}

}  // namespace tokeiya
