#include "screens/user/CCRWA_User.hpp"

#include <algorithm>

#include "data/CTUser.hpp"
#include "platform/TextHelpers.hpp"
#include "platform/odbc/DbException.hpp"
#include "shell/AppText.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CFunctionMenu.hpp"
#include "widgets/CIIDbCodeMenu.hpp"
#include "widgets/CIIDigit.hpp"
#include "widgets/CIIString.hpp"
#include "widgets/CIITime.hpp"

namespace tokeiya {

using namespace win;

namespace {

constexpr const char* kDrawing = "User.tgd";
constexpr const char* kLabels = "User.tfd";
constexpr const char* kAllGroups = "全員";
constexpr const char* kGroupList = "[dbo].[Qmグループ]";
constexpr const char* kLevelList = "[dbo].[Qmユーザーレベル]";

constexpr int kRowColumn = 2;
constexpr int kRowWidth = 111;
constexpr int kFilterX = 16;
constexpr int kFilterLine = 1;
constexpr int kCodeFieldWidth = 23;   // "01:" and a group name of 20
constexpr int kLevelFieldWidth = 12;  // "1:" and a level name of 10
constexpr int kScrollBarColumn = 114;

constexpr int kGroupColumn = 2;
constexpr int kLevelColumn = 3;
constexpr int kFromColumn = 6;
constexpr int kToColumn = 7;

// Where each field's item starts on its line.
constexpr int kItemX[CCRWA_User::kColumns] = {8, 30, 42, 67, 81, 91, 101, 108};

// The cells a click picks a field by: first cell and width on the row's line.
struct Region {
    int first;
    int width;
};
constexpr Region kRegions[CCRWA_User::kColumns] = {{7, 22},  {29, 12}, {41, 25}, {66, 14},
                                                   {80, 10}, {90, 10}, {100, 7}, {107, 7}};
constexpr Region kFilterRegion = {2, 37};

bool HasCodeList(int column) {
    return column == kGroupColumn || column == kLevelColumn;
}

std::unique_ptr<CIIDigit> MakeCode(int x, int digits, const char* format) {
    auto item = std::make_unique<CIIDigit>(x, 0, digits, static_cast<long*>(nullptr), false);
    // Space opens the code list instead.
    item->SetOptions(true, true);
    item->m_format = format;
    return item;
}

std::unique_ptr<CIIDigit> MakeAmount(int x) {
    auto item = std::make_unique<CIIDigit>(x, 0, 8, 0, static_cast<float*>(nullptr), false);
    item->m_format = "%8.0f";
    return item;
}

}  // namespace

CCRWA_User::CCRWA_User(CTokeiyaView& view)
    : CCRWA_Tokeiya(view, kDrawing, kLabels), m_filterName(kAllGroups) {}

CCRWA_User::~CCRWA_User() {
    // The items go before the form closes an editor that may still name one of them.
    CloseEditor();
}

CConnection* CCRWA_User::Database() const {
    return Document().GetDatabase();
}

void CCRWA_User::InitScreen() {
    CCRWA_Tokeiya::InitScreen();
    CreateItems();
    for (int row = 0; row < kPageRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            AddMouseRegion(kRegions[column].first, kFirstLine + row, kRegions[column].width, 1, row,
                           column);
        }
    }
    AddMouseRegion(kFilterRegion.first, kFilterLine, kFilterRegion.width, 1, 0, kFilterColumn);
    Load();
    DrawFilter();
    DrawRows();
}

void CCRWA_User::CreateItems() {
    auto name = std::make_unique<CIIString>(kItemX[0], 0, 20, nullptr, 1, false, true);
    m_items[0] = std::move(name);
    m_items[1] = std::make_unique<CIIPassword>(kItemX[1], 0, 10, nullptr);
    m_items[2] = MakeCode(kItemX[2], 2, "%02d");
    m_items[3] = MakeCode(kItemX[3], 1, "%1d");
    m_items[4] = MakeAmount(kItemX[4]);
    m_items[5] = MakeAmount(kItemX[5]);
    m_items[6] = std::make_unique<CIITime>(kItemX[6], 0, nullptr, false, true);
    m_items[7] = std::make_unique<CIITime>(kItemX[7], 0, nullptr, false, true);
    CConnection* db = Database();
    m_groupMenu = std::make_unique<CIIDbCodeMenu>(-1, -1, 250, 360, nullptr, db, kGroupList, 10, 2,
                                                  20, nullptr);
    m_levelMenu = std::make_unique<CIIDbCodeMenu>(-1, -1, 150, 200, nullptr, db, kLevelList, 5, 1,
                                                  10, nullptr);
    m_filterMenu = std::make_unique<CIIDbCodeMenu>(-1, -1, 250, 360, &m_filterId, db, kGroupList,
                                                   10, 2, 20, &m_filterName);
    m_filterMenu->AttachTo(kFilterX, kFilterLine, kCodeFieldWidth);
}

void CCRWA_User::Activate() {
    CCRWA_Tokeiya::Activate();
    if (ActiveEditor() == nullptr && Initialized()) {
        Focus(m_cursor, m_column, m_menuOpen);
    }
}

// --- Loading and drawing ---

void CCRWA_User::Load() {
    m_top = 0;
    m_cursor = 0;
    m_column = 0;
    m_menuOpen = false;
    if (CConnection* db = Database()) {
        m_list.Load(*db, m_filterId, m_retired);
    }
    AppendBlank();
}

void CCRWA_User::AppendBlank() {
    if (!m_list.CanAppend()) {
        return;
    }
    // A new user has level 1; its name is server data like every level name.
    std::string levelName;
    m_levelMenu->LookupName(1, &levelName);
    m_list.AppendBlank(m_filterId, m_filterName, levelName);
}

void CCRWA_User::DrawFilter() {
    PutText(CUserList::FilterText(m_filterId, m_filterName), kFilterX, kFilterLine, true);
}

void CCRWA_User::DrawRows() {
    const bool hold = HoldRedraw();
    SetHoldRedraw(true);
    for (int i = 0; i < kPageRows; ++i) {
        DrawRow(m_top + i);
    }
    SetHoldRedraw(hold);
    InvalidateAll(false);
}

void CCRWA_User::DrawRow(int index) {
    if (index < m_top || index >= m_top + kPageRows) {
        return;
    }
    std::string text;
    if (index < m_list.Count()) {
        text = CUserList::RowText(m_list.Row(index));
    }
    PutText(FitText(text, kRowWidth), kRowColumn, kFirstLine + index - m_top, true);
}

void CCRWA_User::MakeVisible(int row) {
    MakeRowVisible(row, m_list.Count(), kPageRows, m_top, m_cursor);
}

void CCRWA_User::ShowScrollBar(bool shown) {
    ShowListScrollBar(m_scrollBar, shown, kScrollBarColumn, kFirstLine, kPageRows, m_list.Count(),
                      Position());
}

// --- Cursor and editing ---

void CCRWA_User::Focus(int cursor, int column, bool menu) {
    CloseEditor();
    m_column = std::clamp(column, 0, kFilterColumn);
    m_menuOpen = menu && HasCodeList(m_column);
    // The cursor never stands below the last row.
    m_cursor = std::clamp(cursor, 0, std::max(0, std::min(kPageRows, m_list.Count() - m_top) - 1));
    ShowScrollBar(m_column < kColumns && !m_menuOpen && m_list.Count() >= 2);
    if (m_column == kFilterColumn) {
        ActivateItem(m_filterMenu.get());
        return;
    }
    if (Position() >= m_list.Count()) {
        return;
    }
    ActivateItem(PlaceItem(m_column, m_menuOpen, kFirstLine + m_cursor, m_list.Row(Position())));
}

CIIBase* CCRWA_User::PlaceItem(int column, bool menu, int line, CUser& user) {
    if (menu && column == kGroupColumn) {
        m_groupMenu->AttachTo(kItemX[column], line, kCodeFieldWidth);
        m_groupMenu->Bind(&user.idGroup);
        return m_groupMenu.get();
    }
    if (menu && column == kLevelColumn) {
        m_levelMenu->AttachTo(kItemX[column], line, kLevelFieldWidth);
        m_levelMenu->Bind(&user.nLevel);
        return m_levelMenu.get();
    }
    CIIBase* item = m_items[static_cast<size_t>(column)].get();
    item->SetPos(kItemX[column], line);
    switch (column) {
        case 0:
            item->Bind(&user.strUserName);
            break;
        case 1:
            item->Bind(&user.strPassword);
            break;
        case 2:
            item->Bind(&user.idGroup);
            break;
        case 3:
            item->Bind(&user.nLevel);
            break;
        case 4:
            item->Bind(&user.fSalary);
            break;
        case 5:
            item->Bind(&user.fOvertimePay);
            break;
        case 6:
            // Bound with a copy, so that a refused time can be put back.
            item->Bind(static_cast<void*>(&user.timeFrom), 9);
            break;
        default:
            item->Bind(static_cast<void*>(&user.timeTo), 9);
            break;
    }
    return item;
}

bool CCRWA_User::StoreEdit() {
    if (ActiveEditor() == nullptr) {
        return true;
    }
    const int taken = TakeEdit();
    if (taken < 0) {
        if (HasCodeList(m_column) && !m_menuOpen) {
            Focus(m_cursor, m_column, true);
        }
        return false;
    }
    if (m_column == kFilterColumn) {
        CloseEditor();
        if (taken > 0) {
            ApplyFilter();
        }
        return true;
    }
    if (taken > 0 && Position() < m_list.Count()) {
        CUser& user = m_list.Row(Position());
        if (!CheckRowValue(user)) {
            RejectEdit(nullptr, true);
            Focus(m_cursor, m_column, HasCodeList(m_column));
            return false;
        }
        StoreRow(user);
        DrawRow(Position());
    }
    CloseEditor();
    return true;
}

bool CCRWA_User::CheckRowValue(CUser& user) {
    std::string name;
    switch (m_column) {
        case kGroupColumn:
            if (m_groupMenu->LookupName(user.idGroup, &name) == 0) {
                return false;
            }
            user.strGroupName = name;
            return true;
        case kLevelColumn:
            if (m_levelMenu->LookupName(user.nLevel, &name) == 0) {
                return false;
            }
            user.strLevel = name;
            return true;
        case kFromColumn:
            return !IsEmptyTime(user.timeFrom);
        case kToColumn:
            return !IsEmptyTime(user.timeTo);
        default:
            return true;
    }
}

void CCRWA_User::StoreRow(CUser& user) {
    CConnection* db = Database();
    if (db == nullptr || !CUserList::IsComplete(user)) {
        return;
    }
    // The administration account keeps id 0 and is only ever updated: a new user of its
    // level would overwrite it.
    if (user.idUser == 0 && user.nLevel > 3) {
        Document().ShowMessage(kNoNewAdministrator);
        return;
    }
    // A copy takes the new id, so that a failed insert leaves the row new rather than
    // naming an id that another computer may take next.
    CUser stored = user;
    try {
        CTUser records(*db, CTUser::Mode::Table);
        if (records.Save(stored) == 0) {
            Document().ShowMessage(text::kUserRowMissing);
            return;
        }
        user.idUser = stored.idUser;
        // The group's pay settings come with the stored row, for the logged-in user's copy.
        CUser fresh;
        if (records.LoadById(stored.idUser, fresh) != 0) {
            user = fresh;
        }
    } catch (const CDBException&) {
        // Told by the connection; what was typed stays on the screen.
        return;
    }
    Document().UpdateLoggedInUser(user);
}

void CCRWA_User::ApplyFilter() {
    std::string name;
    if (m_filterMenu->LookupName(m_filterId, &name) != 0) {
        m_filterName = name;
    }
    Load();
    DrawFilter();
    DrawRows();
}

// --- Keys ---

bool CCRWA_User::OnExitKey(int virtualKey, int) {
    if (virtualKey == VK_ESCAPE) {
        RejectEdit(nullptr, false);
        if (m_column == kFilterColumn) {
            Focus(0, 0, false);
        } else {
            Focus(m_cursor, m_column, false);
        }
        return true;
    }
    // A new filter reloads the list, which puts the cursor on its first row already.
    const bool onFilter = m_column == kFilterColumn;
    if (!StoreEdit()) {
        return true;
    }
    if (onFilter) {
        Focus(0, 0, false);
        return true;
    }
    if (virtualKey == VK_SPACE && HasCodeList(m_column)) {
        Focus(m_cursor, m_column, true);
        return true;
    }
    MoveByKey(virtualKey);
    Focus(m_cursor, m_column, false);
    return true;
}

void CCRWA_User::MoveByKey(int virtualKey) {
    switch (virtualKey) {
        case VK_RETURN:
        case VK_RIGHT:
            if (m_column < kColumns - 1) {
                ++m_column;
            } else if (MoveDown()) {
                m_column = 0;
            }
            break;
        case VK_DOWN:
            MoveDown();
            break;
        case VK_LEFT:
            if (m_column > 0) {
                --m_column;
            } else if (MoveUp()) {
                m_column = kColumns - 1;
            }
            break;
        case VK_UP:
            MoveUp();
            break;
        case VK_PRIOR:
        case VK_NEXT: {
            const int count = m_list.Count();
            const int step = virtualKey == VK_NEXT ? kPageRows : -kPageRows;
            const int position = Position();
            const int moved = std::clamp(position + step, 0, std::max(0, count - 1));
            m_top = std::clamp(m_top + step, 0, std::max(0, count - kPageRows));
            m_cursor = moved - m_top;
            if (moved != position) {
                DrawRows();
            }
            break;
        }
        default:
            break;
    }
}

bool CCRWA_User::MoveDown() {
    if (Position() == m_list.Count() - 1 && m_list.CanAppend()) {
        AppendBlank();
        DrawRow(m_list.Count() - 1);
    }
    if (Position() + 1 >= m_list.Count()) {
        return false;
    }
    if (m_cursor < kPageRows - 1) {
        ++m_cursor;
    } else {
        ++m_top;
        DrawRows();
    }
    return true;
}

bool CCRWA_User::MoveUp() {
    if (Position() == 0) {
        return false;
    }
    if (m_cursor > 0) {
        --m_cursor;
    } else {
        --m_top;
        DrawRows();
    }
    return true;
}

bool CCRWA_User::OnFunctionKey(int key, int, int) {
    if (key != 2 && key != 3 && key != 5 && key != 9 && key != 12) {
        return true;
    }
    if (!StoreEdit()) {
        return true;
    }
    switch (key) {
        case 2:
            Focus(m_cursor, kFilterColumn, false);
            break;
        case 3:
            if (m_filterId == -1) {
                Focus(m_cursor, m_column, m_menuOpen);
                break;
            }
            m_filterId = -1;
            m_filterName = kAllGroups;
            Load();
            DrawFilter();
            DrawRows();
            Focus(0, 0, false);
            break;
        case 5:
            m_retired = !m_retired;
            if (CFunctionMenu* bar = FunctionMenu()) {
                bar->SetHighlight(m_retired ? 5 : 0);
            }
            Load();
            DrawRows();
            Focus(0, 0, false);
            break;
        case 9:
            SwitchScreen(0);
            break;
        default:  // 12
            Focus(m_cursor, m_column, m_menuOpen);
            HideMainWindow();
            break;
    }
    return true;
}

// --- Mouse and scroll bar ---

bool CCRWA_User::CellAt(int x, int y, int& row, int& column) const {
    row = -1;
    column = -1;
    return HitTest(x, y, row, column, 1);
}

bool CCRWA_User::Click(int x, int y, bool right) {
    int row = 0;
    int column = 0;
    if (!CellAt(x, y, row, column)) {
        return false;
    }
    // An open list or the filter takes its own clicks.
    if (m_menuOpen || m_column == kFilterColumn) {
        return true;
    }
    const bool onFilter = column == kFilterColumn;
    if (!onFilter && m_top + row >= m_list.Count()) {
        return true;
    }
    if (right && !onFilter && !HasCodeList(column)) {
        return true;
    }
    if (!StoreEdit()) {
        return true;
    }
    if (onFilter) {
        Focus(m_cursor, kFilterColumn, false);
    } else {
        Focus(row, column, right);
    }
    return true;
}

bool CCRWA_User::OnLButtonDown(int, int x, int y) {
    return Click(x, y, false);
}

bool CCRWA_User::OnRButtonDown(int, int x, int y) {
    return Click(x, y, true);
}

void CCRWA_User::OnThumbPosition(CCRWScrollBar* bar, int position) {
    if (bar == m_scrollBar && bar != nullptr) {
        OnScroll(position);
    }
}

void CCRWA_User::OnScroll(int position) {
    if (!StoreEdit()) {
        return;
    }
    MakeVisible(position);
    DrawRows();
    Focus(m_cursor, 0, false);
}

}  // namespace tokeiya
