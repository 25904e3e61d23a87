#include "screens/group/CCRWA_Group.hpp"

#include "data/CTUserGroup.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CIIDbCodeMenu.hpp"
#include "widgets/CIIDigit.hpp"
#include "widgets/CIIString.hpp"

namespace tokeiya {

namespace {

// The row text and the blanks after it, up to the rule before the scroll bar.
constexpr ListLayout kLayout = {CCRWA_Group::kFirstLine, CCRWA_Group::kPageRows, 2, 77, 79, 0};
constexpr int kNameBytes = 20;
constexpr int kCutoffColumn = 5;
// Menu sizes are given in thousandths of the form's width and height.
constexpr int kFormCols = 81;
constexpr int kFormRows = 31;

// Each column's field: where it starts, how many digits it takes (0: the name), the cells
// a click finds it by, and for a code its list with the width of the names and how many
// codes show at once.
struct ColumnLayout {
    int x;
    int digits;
    const char* format;
    int clickFirst;
    int clickWidth;
    const char* table;
    int codesWidth;
    int nameWidth;
    int menuRows;
};
constexpr ColumnLayout kFieldLayouts[CCRWA_Group::kColumns] = {
    {6, 0, "", 5, 22, nullptr, 0, 0, 0},
    {28, 1, "%1d", 27, 8, "[dbo].[Qm給料種類]", 6, 4, 3},
    {36, 1, "%1d", 35, 14, "[dbo].[Qm時間外タイプ]", 12, 10, 5},
    {56, 2, "%2d", 49, 10, nullptr, 0, 0, 0},
    {60, 1, "%2d", 59, 14, "[dbo].[Qm丸め]", 12, 10, 7},
    {76, 2, "%2d", 73, 6, nullptr, 0, 0, 0},
};

// The code field of a group that each column edits; null for the name.
int* CodeOf(CUserGroup& group, int column) {
    int* const codes[CCRWA_Group::kColumns] = {
        nullptr,         &group.typeSalary, &group.typeOvertime, &group.nTimePerSalary,
        &group.flgRound, &group.nCutoff};
    return codes[column];
}

}  // namespace

CCRWA_Group::CCRWA_Group(CTokeiyaView& view)
    : CCRWA_List(view, "Group.tgd", "Group.tfd", kLayout) {}

CCRWA_Group::~CCRWA_Group() {
    CloseEditor();
}

void CCRWA_Group::InitScreen() {
    CCRWA_Tokeiya::InitScreen();
    CreateItems();
    std::vector<ListField> fields;
    for (int column = 0; column < kColumns; ++column) {
        const ColumnLayout& layout = kFieldLayouts[column];
        fields.push_back({layout.x, layout.clickFirst, layout.clickWidth,
                          m_items[static_cast<size_t>(column)].get(),
                          m_menus[static_cast<size_t>(column)].get(), layout.codesWidth,
                          [this, column](CIIBase& item, int position) {
                              CUserGroup& group = Row(position);
                              if (column == 0) {
                                  item.Bind(&group.strGroupName);
                              } else {
                                  item.Bind(CodeOf(group, column));
                              }
                          }});
    }
    SetFields(std::move(fields));
    LoadList();
}

void CCRWA_Group::CreateItems() {
    // Group names are Japanese: the input method opens with the field.
    m_items[0] =
        std::make_unique<CIIString>(kFieldLayouts[0].x, 0, kNameBytes, nullptr, 1, false, true);
    for (int column = 1; column < kColumns; ++column) {
        const ColumnLayout& layout = kFieldLayouts[column];
        auto digit = std::make_unique<CIIDigit>(layout.x, 0, layout.digits,
                                                static_cast<long*>(nullptr), false);
        // Space opens the code list of a code field.
        digit->SetOptions(true, layout.table != nullptr);
        digit->m_format = layout.format;
        m_items[static_cast<size_t>(column)] = std::move(digit);
        if (layout.table != nullptr) {
            const int width = (1 + layout.nameWidth + 3 + 2) * 1000 / kFormCols + 1;
            const int height = layout.menuRows * 1000 / kFormRows + 1;
            m_menus[static_cast<size_t>(column)] = std::make_unique<CIIDbCodeMenu>(
                CIIDbCodeMenu::Setup{.popupWidth = width,
                                     .popupHeight = height,
                                     .database = Database(),
                                     .table = layout.table,
                                     .menuRows = layout.menuRows,
                                     .codeDigits = 1,
                                     .nameWidth = layout.nameWidth});
        }
    }
}

void CCRWA_Group::LoadList() {
    CloseEditor();
    if (CConnection* db = Database()) {
        m_list.Load(*db);
    }
    m_list.AppendNewRow();
    ListLoaded();
    DrawRows();
}

std::string CCRWA_Group::RowText(int position) const {
    return CGroupList::RowText(m_list.Rows()[static_cast<size_t>(position)]);
}

bool CCRWA_Group::CheckEdit(int position, int column) {
    CUserGroup& group = Row(position);
    if (column == kCutoffColumn) {
        return (group.nCutoff >= 0 && group.nCutoff <= CGroupList::kLastCutoff) ||
               Refuse("締日は 0 から " + std::to_string(CGroupList::kLastCutoff) + " までです。");
    }
    CIIDbCodeMenu* codes = m_menus[static_cast<size_t>(column)].get();
    if (codes == nullptr) {
        return true;
    }
    // A code's name comes from its list; a code the list lacks is refused.
    std::string* names[kColumns] = {nullptr, &group.strSalary, &group.strOvertime,
                                    nullptr, &group.strRound,  nullptr};
    std::string name;
    if (codes->LookupName(*CodeOf(group, column), &name) == 0) {
        return Refuse(NotListedText(*CodeOf(group, column)));
    }
    *names[column] = name;
    return true;
}

StoreResult CCRWA_Group::StoreRow(int position) {
    CUserGroup& group = Row(position);
    CConnection* db = Database();
    if (db == nullptr || !CGroupList::IsComplete(group)) {
        return StoreResult::Kept;
    }
    // A new group gets the next free id here, also when another computer has just taken
    // the one this computer found.
    // Only what was typed since the row was read is written, so that another computer's
    // change to the group's other fields stays.
    const CUserGroup* asRead = m_list.AsRead(position);
    const StoreResult result = StoreCopy(
        group, [db, asRead](CUserGroup& stored) { return CTUserGroup(*db).Save(stored, asRead); });
    if (result == StoreResult::Stored) {
        m_list.Stored(position);
    }
    return result;
}

std::string CCRWA_Group::RowMissingText() const {
    return "グループが見つからないため、保存できませんでした。";
}

bool CCRWA_Group::OnFunctionKey(int key, int, int) {
    if (key != 9 && key != 12) {
        return true;
    }
    if (!StoreEdit()) {
        return true;
    }
    if (key == 9) {
        SwitchScreen(ScreenId::MonthSchedule);
        return true;
    }
    HideMainWindow();
    Focus(Cursor(), Column(), false);
    return true;
}

}  // namespace tokeiya
