#include "screens/group/CCRWA_Group.hpp"

#include <algorithm>

#include "data/CTUserGroup.hpp"
#include "platform/TextHelpers.hpp"
#include "platform/odbc/DbException.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CIIDbCodeMenu.hpp"
#include "widgets/CIIDigit.hpp"
#include "widgets/CIIString.hpp"

namespace tokeiya {

using namespace win;

namespace {

constexpr int kRowColumn = 2;
// The row text and the blanks after it, up to the rule before the scroll bar.
constexpr int kRowWidth = 77;
constexpr int kScrollBarColumn = 79;
constexpr int kNameBytes = 20;
// Menu sizes are given in thousandths of the form's width and height.
constexpr int kFormCols = 81;
constexpr int kFormRows = 31;

// Where each column's field starts and how many digits it takes (0: the name).
struct FieldLayout {
    int x;
    int digits;
    const char* format;
};
constexpr FieldLayout kFieldLayouts[] = {
    {6, 0, ""}, {28, 1, "%1d"}, {36, 1, "%1d"}, {56, 2, "%2d"}, {60, 1, "%2d"}, {76, 2, "%2d"},
};

// The code list of a column: the cells it highlights while open, the width of the names
// and how many codes it shows at once.
struct MenuLayout {
    int column;
    const char* table;
    int fieldWidth;
    int nameWidth;
    int rows;
};
constexpr MenuLayout kMenuLayouts[] = {
    {1, "[dbo].[Qm給料種類]", 6, 4, 3},
    {2, "[dbo].[Qm時間外タイプ]", 12, 10, 5},
    {4, "[dbo].[Qm丸め]", 12, 10, 7},
};

// The cells of each column that a click finds, from `first` on.
struct Region {
    int first;
    int width;
};
constexpr Region kRegions[] = {{5, 22}, {27, 8}, {35, 14}, {49, 10}, {59, 14}, {73, 6}};

int LineOf(int screenRow) {
    return CCRWA_Group::kFirstLine + screenRow;
}

}  // namespace

CCRWA_Group::CCRWA_Group(CTokeiyaView& view) : CCRWA_Tokeiya(view, "Group.tgd", "Group.tfd") {}

CCRWA_Group::~CCRWA_Group() {
    // The items go before the form closes an editor that may still name one of them.
    CloseEditor();
}

CConnection* CCRWA_Group::Database() const {
    return Document().GetDatabase();
}

bool CCRWA_Group::HasMenu(int column) {
    return column == 1 || column == 2 || column == 4;
}

CUserGroup& CCRWA_Group::CursorGroup() {
    const int position = m_top + m_cursor;
    return m_list.Rows()[static_cast<size_t>(position)];
}

void CCRWA_Group::InitScreen() {
    CCRWA_Tokeiya::InitScreen();
    CreateItems();
    for (int row = 0; row < kPageRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            AddMouseRegion(kRegions[column].first, LineOf(row), kRegions[column].width, 1, row,
                           column);
        }
    }
    LoadList();
}

void CCRWA_Group::CreateItems() {
    // Group names are Japanese: the input method opens with the field.
    m_fields[0] =
        std::make_unique<CIIString>(kFieldLayouts[0].x, 0, kNameBytes, nullptr, 1, false, true);
    for (int column = 1; column < kColumns; ++column) {
        const FieldLayout& layout = kFieldLayouts[column];
        auto digit = std::make_unique<CIIDigit>(layout.x, 0, layout.digits,
                                                static_cast<long*>(nullptr), false);
        // Space opens the code list of a code field.
        digit->SetOptions(true, HasMenu(column));
        digit->m_format = layout.format;
        m_fields[static_cast<size_t>(column)] = std::move(digit);
    }
    for (const MenuLayout& layout : kMenuLayouts) {
        const int width = (1 + layout.nameWidth + 3 + 2) * 1000 / kFormCols + 1;
        const int height = layout.rows * 1000 / kFormRows + 1;
        m_menus[static_cast<size_t>(layout.column)] = std::make_unique<CIIDbCodeMenu>(
            -1, -1, width, height, nullptr, Database(), layout.table, layout.rows, 1,
            layout.nameWidth, nullptr);
    }
}

void CCRWA_Group::Activate() {
    CCRWA_Tokeiya::Activate();
    if (ActiveEditor() == nullptr && Initialized()) {
        Focus(m_cursor, m_column, false);
    }
}

// --- The list ---

void CCRWA_Group::LoadList() {
    CloseEditor();
    m_top = 0;
    m_cursor = 0;
    m_column = 0;
    m_menuOpen = false;
    if (CConnection* db = Database()) {
        m_list.Load(*db);
    }
    m_list.AppendNewRow();
    DrawRows();
}

void CCRWA_Group::DrawRows() {
    const bool hold = HoldRedraw();
    SetHoldRedraw(true);
    for (int i = 0; i < kPageRows; ++i) {
        DrawRow(i);
    }
    SetHoldRedraw(hold);
    InvalidateAll(false);
}

void CCRWA_Group::DrawRow(int screenRow) {
    const int position = m_top + screenRow;
    std::string text;
    if (position < m_list.Count()) {
        text = CGroupList::RowText(m_list.Rows()[static_cast<size_t>(position)]);
    }
    PutText(FitText(text, kRowWidth), kRowColumn, LineOf(screenRow), true);
}

void CCRWA_Group::MakeVisible(int row) {
    MakeRowVisible(row, m_list.Count(), kPageRows, m_top, m_cursor);
}

void CCRWA_Group::ShowScrollBar(bool shown) {
    ShowListScrollBar(m_scrollBar, shown, kScrollBarColumn, kFirstLine, kPageRows, m_list.Count(),
                      m_top + m_cursor);
}

// --- Cursor and editing ---

void CCRWA_Group::Focus(int cursor, int column, bool menu) {
    CloseEditor();
    m_cursor = std::clamp(cursor, 0, std::max(0, std::min(kPageRows, m_list.Count() - m_top) - 1));
    m_column = std::clamp(column, 0, kColumns - 1);
    m_menuOpen = menu && HasMenu(m_column);
    ShowScrollBar(!m_menuOpen && m_list.Count() >= 2);
    if (m_top + m_cursor < 0 || m_top + m_cursor >= m_list.Count()) {
        return;
    }
    CUserGroup& group = CursorGroup();
    int* const codes[kColumns] = {
        nullptr,         &group.typeSalary, &group.typeOvertime, &group.nTimePerSalary,
        &group.flgRound, &group.nCutoff};
    const size_t index = static_cast<size_t>(m_column);
    const int line = LineOf(m_cursor);
    if (m_menuOpen) {
        CIIDbCodeMenu& list = *m_menus[index];
        const MenuLayout& layout =
            *std::find_if(std::begin(kMenuLayouts), std::end(kMenuLayouts),
                          [this](const MenuLayout& s) { return s.column == m_column; });
        list.AttachTo(kFieldLayouts[index].x, line, layout.fieldWidth);
        list.Bind(codes[index]);
        if (ActivateItem(&list)) {
            return;
        }
        // Without its list (the query failed and was told) the code is typed instead.
        m_menuOpen = false;
        ShowScrollBar(m_list.Count() >= 2);
    }
    CIIBase& field = *m_fields[index];
    field.SetPos(kFieldLayouts[index].x, line);
    if (m_column == 0) {
        field.Bind(&group.strGroupName);
    } else {
        field.Bind(codes[index]);
    }
    ActivateItem(&field);
}

bool CCRWA_Group::TakeCodeName(CUserGroup& group) {
    CIIDbCodeMenu& list = *m_menus[static_cast<size_t>(m_column)];
    switch (m_column) {
        case 1:
            return list.LookupName(group.typeSalary, &group.strSalary) != 0;
        case 2:
            return list.LookupName(group.typeOvertime, &group.strOvertime) != 0;
        default:
            return list.LookupName(group.flgRound, &group.strRound) != 0;
    }
}

bool CCRWA_Group::StoreEdit() {
    if (ActiveEditor() == nullptr) {
        return true;
    }
    const int taken = TakeEdit();
    if (taken < 0) {
        return false;
    }
    if (taken > 0) {
        CUserGroup& group = CursorGroup();
        // A name looked up for a code that is refused must not stay: it is taken into a copy.
        CUserGroup checked = group;
        bool accepted = true;
        if (HasMenu(m_column)) {
            accepted = TakeCodeName(checked);
        } else if (m_column == 5) {
            accepted = group.nCutoff >= 0 && group.nCutoff <= CGroupList::kLastCutoff;
        }
        if (!accepted) {
            RejectEdit(nullptr, true);
            Focus(m_cursor, m_column, HasMenu(m_column));
            return false;
        }
        group = checked;
        if (CGroupList::IsComplete(group)) {
            StoreGroup(group);
        }
        DrawRow(m_cursor);
    }
    CloseEditor();
    return true;
}

void CCRWA_Group::StoreGroup(CUserGroup& group) {
    CConnection* db = Database();
    if (db == nullptr) {
        return;
    }
    try {
        // A new group gets the next free id here, also when another computer has just
        // taken the one this computer found.
        CTUserGroup(*db).Save(group);
    } catch (const CDBException&) {
        // The connection has told the user; what was typed stays on the screen.
    }
}

// --- Keys ---

bool CCRWA_Group::OnExitKey(int virtualKey, int) {
    if (virtualKey == VK_ESCAPE) {
        RejectEdit(nullptr, false);
        Focus(m_cursor, m_column, false);
        return true;
    }
    if (!StoreEdit()) {
        return true;
    }
    if (virtualKey == VK_SPACE) {
        Focus(m_cursor, m_column, HasMenu(m_column));
        return true;
    }
    MoveByKey(virtualKey);
    Focus(m_cursor, m_column, false);
    return true;
}

void CCRWA_Group::MoveByKey(int virtualKey) {
    const int count = m_list.Count();
    const int position = m_top + m_cursor;
    switch (virtualKey) {
        case VK_RETURN:
        case VK_RIGHT:
            if (m_column < kColumns - 1) {
                ++m_column;
            } else {
                MoveDown();
                if (m_top + m_cursor != position) {
                    m_column = 0;
                }
            }
            break;
        case VK_LEFT:
            if (m_column > 0) {
                --m_column;
            } else if (position > 0) {
                MoveUp();
                m_column = kColumns - 1;
            }
            break;
        case VK_DOWN:
            MoveDown();
            break;
        case VK_UP:
            MoveUp();
            break;
        case VK_PRIOR:
        case VK_NEXT: {
            const int step = virtualKey == VK_NEXT ? kPageRows : -kPageRows;
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

void CCRWA_Group::MoveUp() {
    if (m_top + m_cursor == 0) {
        return;
    }
    if (m_cursor > 0) {
        --m_cursor;
    } else {
        --m_top;
        DrawRows();
    }
}

void CCRWA_Group::MoveDown() {
    if (m_top + m_cursor == m_list.Count() - 1 && m_list.AppendNewRow() &&
        m_list.Count() - 1 < m_top + kPageRows) {
        DrawRow(m_list.Count() - 1 - m_top);
    }
    if (m_top + m_cursor >= m_list.Count() - 1) {
        return;
    }
    if (m_cursor < kPageRows - 1) {
        ++m_cursor;
    } else {
        ++m_top;
        DrawRows();
    }
}

bool CCRWA_Group::OnFunctionKey(int key, int, int) {
    if (key != 9 && key != 12) {
        return true;
    }
    if (!StoreEdit()) {
        return true;
    }
    if (key == 9) {
        SwitchScreen(0);
        return true;
    }
    HideMainWindow();
    Focus(m_cursor, m_column, false);
    return true;
}

// --- Mouse and scroll bar ---

bool CCRWA_Group::CellAt(int x, int y, int& screenRow, int& column) const {
    screenRow = -1;
    column = -1;
    return HitTest(x, y, screenRow, column, 1) && m_top + screenRow < m_list.Count();
}

bool CCRWA_Group::OnLButtonDown(int, int x, int y) {
    int row = 0;
    int column = 0;
    // While a code list is open a click elsewhere does not close it.
    if (m_menuOpen) {
        return true;
    }
    if (!CellAt(x, y, row, column)) {
        return false;
    }
    if (StoreEdit()) {
        Focus(row, column, false);
    }
    return true;
}

bool CCRWA_Group::OnRButtonDown(int, int x, int y) {
    int row = 0;
    int column = 0;
    if (!CellAt(x, y, row, column) || !HasMenu(column)) {
        return false;
    }
    if (StoreEdit()) {
        Focus(row, column, true);
    }
    return true;
}

void CCRWA_Group::OnThumbPosition(CCRWScrollBar* bar, int position) {
    if (bar == m_scrollBar && bar != nullptr) {
        OnScroll(position);
    }
}

void CCRWA_Group::OnScroll(int position) {
    if (!StoreEdit()) {
        return;
    }
    MakeVisible(position);
    DrawRows();
    Focus(m_cursor, 0, false);
}

}  // namespace tokeiya
