#include "screens/user/CCRWA_User.hpp"

#include "data/CTUser.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CFunctionMenu.hpp"
#include "widgets/CIIDbCodeMenu.hpp"
#include "widgets/CIIDigit.hpp"
#include "widgets/CIIString.hpp"
#include "widgets/CIITime.hpp"

namespace tokeiya {

namespace {

constexpr const char* kDrawing = "User.tgd";
constexpr const char* kLabels = "User.tfd";
constexpr const char* kAllGroups = "全員";
constexpr const char* kGroupList = "[dbo].[Qmグループ]";
constexpr const char* kLevelList = "[dbo].[Qmユーザーレベル]";

constexpr ListLayout kLayout = {CCRWA_User::kFirstLine, CCRWA_User::kPageRows, 2, 111, 114, 0};
constexpr int kFilterX = 16;
constexpr int kFilterLine = 1;
constexpr int kCodeFieldWidth = 23;   // "01:" and a group name of 20
constexpr int kLevelFieldWidth = 12;  // "1:" and a level name of 10

constexpr int kNameColumn = 0;
constexpr int kGroupColumn = 2;
constexpr int kLevelColumn = 3;
constexpr int kSalaryColumn = 4;
constexpr int kOvertimePayColumn = 5;
constexpr int kFromColumn = 6;
constexpr int kToColumn = 7;

// Where each field's item starts on its line, and the cells a click picks it by.
struct ColumnLayout {
    int x;
    int clickFirst;
    int clickWidth;
};
constexpr ColumnLayout kFieldLayouts[CCRWA_User::kColumns] = {
    {8, 7, 22},   {30, 29, 12}, {42, 41, 25},  {67, 66, 14},
    {81, 80, 10}, {91, 90, 10}, {101, 100, 7}, {108, 107, 7}};
constexpr ListFilter kFilterRegion = {nullptr, kFilterLine, 2, 37};

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
    : CCRWA_List(view, kDrawing, kLabels, kLayout), m_filterName(kAllGroups) {}

CCRWA_User::~CCRWA_User() {
    CloseEditor();
}

void CCRWA_User::InitScreen() {
    CCRWA_Tokeiya::InitScreen();
    CreateItems();
    std::vector<ListField> fields;
    for (int column = 0; column < kColumns; ++column) {
        const ColumnLayout& layout = kFieldLayouts[column];
        CIIDbCodeMenu* codes = column == kGroupColumn   ? m_groupMenu.get()
                               : column == kLevelColumn ? m_levelMenu.get()
                                                        : nullptr;
        fields.push_back({layout.x, layout.clickFirst, layout.clickWidth,
                          m_items[static_cast<size_t>(column)].get(), codes,
                          column == kGroupColumn ? kCodeFieldWidth : kLevelFieldWidth,
                          [this, column](CIIBase& item, int position) {
                              BindField(column, item, m_list.Row(position));
                          }});
    }
    ListFilter filter = kFilterRegion;
    filter.codes = m_filterMenu.get();
    SetFields(std::move(fields), filter);
    Reload();
    DrawFilter();
}

void CCRWA_User::CreateItems() {
    m_items[0] = std::make_unique<CIIString>(kFieldLayouts[0].x, 0, 20, nullptr, 1, false, true);
    m_items[1] = std::make_unique<CIIPassword>(kFieldLayouts[1].x, 0, 10, nullptr);
    m_items[2] = MakeCode(kFieldLayouts[2].x, 2, "%02d");
    m_items[3] = MakeCode(kFieldLayouts[3].x, 1, "%1d");
    m_items[4] = MakeAmount(kFieldLayouts[4].x);
    m_items[5] = MakeAmount(kFieldLayouts[5].x);
    m_items[6] = std::make_unique<CIITime>(kFieldLayouts[6].x, 0, nullptr, false, true);
    m_items[7] = std::make_unique<CIITime>(kFieldLayouts[7].x, 0, nullptr, false, true);
    CConnection* db = Database();
    const CIIDbCodeMenu::Setup groups{.popupWidth = 250,
                                      .popupHeight = 360,
                                      .database = db,
                                      .table = kGroupList,
                                      .menuRows = 10,
                                      .codeDigits = 2,
                                      .nameWidth = 20};
    m_groupMenu = std::make_unique<CIIDbCodeMenu>(groups);
    m_levelMenu = std::make_unique<CIIDbCodeMenu>(CIIDbCodeMenu::Setup{.popupWidth = 150,
                                                                       .popupHeight = 200,
                                                                       .database = db,
                                                                       .table = kLevelList,
                                                                       .menuRows = 5,
                                                                       .codeDigits = 1,
                                                                       .nameWidth = 10});
    CIIDbCodeMenu::Setup filter = groups;
    filter.value = &m_filterId;
    filter.nameOut = &m_filterName;
    m_filterMenu = std::make_unique<CIIDbCodeMenu>(filter);
    m_filterMenu->AttachTo(kFilterX, kFilterLine, kCodeFieldWidth);
}

void CCRWA_User::BindField(int column, CIIBase& item, CUser& user) {
    switch (column) {
        case 0:
            item.Bind(&user.strUserName);
            break;
        case 1:
            item.Bind(&user.strPassword);
            break;
        case kGroupColumn:
            item.Bind(&user.idGroup);
            break;
        case kLevelColumn:
            item.Bind(&user.nLevel);
            break;
        case kSalaryColumn:
            item.Bind(&user.fSalary);
            break;
        case kOvertimePayColumn:
            item.Bind(&user.fOvertimePay);
            break;
        case kFromColumn:
            item.Bind(&user.timeFrom);
            break;
        default:
            item.Bind(&user.timeTo);
            break;
    }
}

// --- The list ---

void CCRWA_User::Reload() {
    CloseEditor();
    if (CConnection* db = Database()) {
        m_list.Load(*db, m_filterId, m_retired);
    }
    AppendRow();
    ListLoaded();
    DrawRows();
}

bool CCRWA_User::AppendRow() {
    if (!m_list.CanAppend()) {
        return false;
    }
    // A new user has level 1; its name is server data like every level name.
    std::string levelName;
    m_levelMenu->LookupName(1, &levelName);
    return m_list.AppendBlank(m_filterId, m_filterName, levelName);
}

std::string CCRWA_User::RowText(int position) const {
    return CUserList::RowText(m_list.Rows()[static_cast<size_t>(position)]);
}

void CCRWA_User::DrawFilter() {
    PutText(CUserList::FilterText(m_filterId, m_filterName), kFilterX, kFilterLine, true);
}

void CCRWA_User::OnFilterChosen() {
    std::string name;
    if (m_filterMenu->LookupName(m_filterId, &name) != 0) {
        m_filterName = name;
    }
    Reload();
    DrawFilter();
}

// --- Checks and store ---

bool CCRWA_User::CheckEdit(int position, int column) {
    CUser& user = m_list.Row(position);
    std::string name;
    switch (column) {
        case kNameColumn:
            return CheckName(user);
        case kGroupColumn:
            if (m_groupMenu->LookupName(user.idGroup, &name) == 0) {
                return Refuse(NotListedText(user.idGroup));
            }
            user.strGroupName = name;
            return true;
        case kLevelColumn:
            if (m_levelMenu->LookupName(user.nLevel, &name) == 0) {
                return Refuse(NotListedText(user.nLevel));
            }
            // The administration level leaves both lists: nobody could set the user back.
            if (user.idUser != 0 && user.nLevel > 3) {
                return Refuse(kNoAdministrator);
            }
            user.strLevel = name;
            return true;
        case kSalaryColumn:
        case kOvertimePayColumn:
            // The pay columns are single precision: a larger amount would be stored rounded.
            return dynamic_cast<const CIIDigit&>(*m_items[static_cast<size_t>(column)])
                       .TookExactly() ||
                   Refuse(kAmountNotExact);
        case kFromColumn:
            return !IsEmptyTime(user.timeFrom) || Refuse(kNoTime);
        case kToColumn:
            return !IsEmptyTime(user.timeTo) || Refuse(kNoTime);
        default:
            return true;
    }
}

bool CCRWA_User::CheckName(const CUser& user) {
    CConnection* db = Database();
    if (user.strUserName.empty() || db == nullptr) {
        return true;
    }
    // A login finds its user by name: a second user of one name could never log in.
    bool taken = false;
    try {
        // A new row has no id yet; the administration account's id 0 counts too.
        if (!CTUser(*db, CTUser::Mode::Table)
                 .IsNameTaken(user.strUserName, user.idUser != 0 ? user.idUser : -1, taken)) {
            return Refuse(kNameUnchecked);
        }
    } catch (const CDBException&) {
        return Refuse(kNameUnchecked);
    }
    return !taken || Refuse(kNameTaken);
}

StoreResult CCRWA_User::StoreRow(int position) {
    CUser& user = m_list.Row(position);
    CConnection* db = Database();
    if (db == nullptr || !CUserList::IsComplete(user)) {
        return StoreResult::Kept;
    }
    // The administration account keeps id 0 and is only ever updated: a new user of its
    // level would overwrite it.
    if (user.idUser == 0 && user.nLevel > 3) {
        Document().ShowMessage(kNoNewAdministrator);
        return StoreResult::Told;
    }
    CTUser records(*db, CTUser::Mode::Table);
    // Only what was typed since the row was read is written: another administrator's
    // change to the other fields of the user stays.
    const CUser* asRead = m_list.AsRead(position);
    const StoreResult result =
        StoreCopy(user, [&records, asRead](CUser& stored) { return records.Save(stored, asRead); });
    if (result != StoreResult::Stored) {
        return result;
    }
    // The group's pay settings come with the stored row, for the logged-in user's copy.
    try {
        CUser fresh;
        if (records.LoadById(user.idUser, fresh) != 0) {
            user = fresh;
        }
    } catch (const CDBException&) {
        // Told by the connection; the row is stored, its copy here keeps what was typed.
    }
    m_list.Stored(position);
    Document().UpdateLoggedInUser(user);
    // The window's title names the logged-in user, who may have been renamed.
    View().UpdateTitle();
    return result;
}

// --- Keys ---

bool CCRWA_User::OnFunctionKey(int key, int, int) {
    if (key != 2 && key != 3 && key != 5 && key != 9 && key != 12) {
        return true;
    }
    if (!StoreEdit()) {
        return true;
    }
    switch (key) {
        case 2:
            Focus(Cursor(), kFilterColumn, false);
            break;
        case 3:
            if (m_filterId == -1) {
                Focus(Cursor(), Column(), MenuOpen());
                break;
            }
            if (!ConfirmLeave()) {
                break;
            }
            m_filterId = -1;
            m_filterName = kAllGroups;
            Reload();
            DrawFilter();
            Focus(0, 0, false);
            break;
        case 5:
            if (!ConfirmLeave()) {
                break;
            }
            m_retired = !m_retired;
            if (CFunctionMenu* bar = FunctionMenu()) {
                bar->SetHighlight(m_retired ? 5 : 0);
            }
            Reload();
            Focus(0, 0, false);
            break;
        case 9:
            SwitchScreen(ScreenId::MonthSchedule);
            break;
        default:  // 12
            Focus(Cursor(), Column(), MenuOpen());
            HideMainWindow();
            break;
    }
    return true;
}

}  // namespace tokeiya
