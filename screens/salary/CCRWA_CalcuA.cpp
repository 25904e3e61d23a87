#include "screens/salary/CCRWA_CalcuA.hpp"

#include <glib.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "data/CPayCalculation.hpp"
#include "data/CTUserGroup.hpp"
#include "data/PayPeriod.hpp"
#include "platform/AppContext.hpp"
#include "platform/Cp932.hpp"
#include "platform/TextHelpers.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CFunctionMenu.hpp"
#include "widgets/CIIDbCodeMenu.hpp"
#include "widgets/CIISelecter.hpp"

namespace tokeiya {

using namespace win;

namespace {

constexpr int kRowColumn = 1;
constexpr int kRowWidth = 106;
constexpr int kGroupColumn = 34;
constexpr int kGroupWidth = 23;
constexpr int kGroupRegionFrom = 20;
constexpr int kGroupRegionWidth = 37;
constexpr int kTotalsColumn = 73;
constexpr int kTotalsLine = 28;
constexpr int kScrollBarColumn = 107;
constexpr int kListPart = 0;
constexpr int kGroupPart = 1;
constexpr const char* kAllGroups = "全員";
constexpr const char* kCsvSection = "FILE";
constexpr const char* kCsvFolderKey = "CsvFolder";

// Where the folder of a path ends: after its last "/" or "\" that is not the second byte
// of a double-byte character; npos when there is none.
size_t FolderEnd(const std::string& path) {
    size_t end = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (cp932::IsLeadByte(byte) && i + 1 < path.size()) {
            ++i;
        } else if (byte == '/' || byte == '\\') {
            end = i + 1;
        }
    }
    return end;
}

// Writes the whole file or nothing: the text goes to a file beside it that then replaces
// it. False with GLib's reason (CP932) when that failed.
bool WriteWholeFile(const std::string& path, const std::string& text, std::string& reason) {
    GError* error = nullptr;
    const std::string native = cp932::ToUtf8(path);
    if (g_file_set_contents_full(native.c_str(), text.data(), static_cast<gssize>(text.size()),
                                 G_FILE_SET_CONTENTS_CONSISTENT, 0644, &error)) {
        return true;
    }
    reason = error != nullptr ? cp932::FromUtf8Dropping(error->message) : std::string();
    if (error != nullptr) {
        g_error_free(error);
    }
    return false;
}

}  // namespace

CCRWA_CalcuA::CCRWA_CalcuA(CTokeiyaView& view) : CCRWA_Tokeiya(view, "CalcuA.tgd", "CalcuA.tfd") {
    const CTime today = CTime::GetCurrentTime();
    Work().ChooseSalaryMonth(today.GetYear(), today.GetMonth());
}

CCRWA_CalcuA::~CCRWA_CalcuA() {
    CloseEditor();
}

WorkContext& CCRWA_CalcuA::Work() {
    return CAppContext::Current().work;
}

CConnection* CCRWA_CalcuA::Database() const {
    return Document().GetDatabase();
}

void CCRWA_CalcuA::InitScreen() {
    CCRWA_Tokeiya::InitScreen();
    m_rowBar = std::make_unique<CIISelecter>(kRowColumn, kFirstLine, kRowWidth, false);
    m_groupMenu =
        std::make_unique<CIIDbCodeMenu>(-1, -1, 300, 450, &Work().groupId, Database(),
                                        "[dbo].[Qmグループ]", 10, 2, 20, &Work().groupName);
    m_groupMenu->AttachTo(kGroupColumn, 1, kGroupWidth);
    for (int row = 0; row < kPageRows; ++row) {
        AddMouseRegion(kRowColumn, kFirstLine + row, kRowWidth, 1, row, kListPart);
    }
    AddMouseRegion(kGroupRegionFrom, 1, kGroupRegionWidth, 1, 0, kGroupPart);
    LoadAndDraw();
}

void CCRWA_CalcuA::Activate() {
    CCRWA_Tokeiya::Activate();
    if (ActiveEditor() == nullptr && Initialized()) {
        Focus(m_cursor, 0);
    }
}

// --- Loading and drawing ---

void CCRWA_CalcuA::LoadAndDraw() {
    m_top = 0;
    m_cursor = 0;
    m_list.Clear();
    if (CConnection* db = Database()) {
        m_list.Load(*db, Work().year, Work().month, Work().groupId);
    }
    if (Work().userId > 0) {
        MakeVisible(m_list.IndexOfUser(Work().userId));
    }
    DrawHeader();
    DrawRows();
}

void CCRWA_CalcuA::DrawHeader() {
    char title[32];
    std::snprintf(title, sizeof title, "%4d 年 %2d 月分", Work().year, Work().month);
    PutText(title, 2, 1, true);
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

void CCRWA_CalcuA::DrawRows() {
    const bool hold = HoldRedraw();
    SetHoldRedraw(true);
    for (int i = 0; i < kPageRows; ++i) {
        std::string text;
        const int position = m_top + i;
        if (position < m_list.Count()) {
            text = CSalaryList::RowText(m_list.Rows()[static_cast<size_t>(position)]);
        } else if (m_list.Count() == 0 && i == 0) {
            text = CSalaryList::EmptyText();
        }
        // Long names must not run into the scroll bar.
        PutText(FitText(text, kRowWidth), kRowColumn, kFirstLine + i, true);
    }
    PutText(m_list.TotalsText(), kTotalsColumn, kTotalsLine, true);
    SetHoldRedraw(hold);
    InvalidateAll(false);
}

void CCRWA_CalcuA::MakeVisible(int row) {
    MakeRowVisible(row, m_list.Count(), kPageRows, m_top, m_cursor);
}

void CCRWA_CalcuA::ShowScrollBar(bool shown) {
    ShowListScrollBar(m_scrollBar, shown, kScrollBarColumn, kFirstLine, kPageRows, m_list.Count(),
                      m_top + m_cursor);
}

void CCRWA_CalcuA::Focus(int cursor, int mode) {
    CloseEditor();
    m_cursor = std::clamp(cursor, 0, kPageRows - 1);
    m_mode = mode;
    if (mode == 0) {
        ShowScrollBar(m_list.Count() >= 2);
        m_rowBar->SetPos(kRowColumn, kFirstLine + m_cursor);
        ActivateItem(m_rowBar.get());
    } else {
        ShowScrollBar(false);
        ActivateItem(m_groupMenu.get());
    }
}

// --- Keys ---

bool CCRWA_CalcuA::CommitGroup() {
    if (m_mode != 1 || CurrentItem() != m_groupMenu.get()) {
        return false;
    }
    int changed = 0;
    TakeCurrentResult(&changed);
    if (changed == 0) {
        return false;
    }
    // The list took the chosen group's name along with its code.
    LoadAndDraw();
    return true;
}

bool CCRWA_CalcuA::OnExitKey(int virtualKey, int) {
    if (virtualKey == VK_ESCAPE) {
        Focus(m_cursor, 0);
        return true;
    }
    CommitGroup();
    if (m_mode == 1) {
        Focus(0, 0);
        return true;
    }
    if (virtualKey == VK_RETURN) {
        OpenTimeCard();
        return true;
    }
    MoveByKey(virtualKey);
    Focus(m_cursor, 0);
    return true;
}

void CCRWA_CalcuA::MoveByKey(int virtualKey) {
    const int count = m_list.Count();
    const int position = m_top + m_cursor;
    switch (virtualKey) {
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
        case VK_LEFT:
        case VK_UP:
            if (position > 0) {
                if (m_cursor > 0) {
                    --m_cursor;
                } else {
                    --m_top;
                    DrawRows();
                }
            }
            break;
        case VK_RIGHT:
        case VK_DOWN:
            if (position < count - 1) {
                if (m_cursor < kPageRows - 1) {
                    ++m_cursor;
                } else {
                    ++m_top;
                    DrawRows();
                }
            }
            break;
        default:
            break;
    }
}

bool CCRWA_CalcuA::OnFunctionKey(int key, int, int) {
    if (key == 9) {
        SwitchScreen(0);
        return true;
    }
    // While the group list is open only key 9 acts.
    if (m_mode != 0) {
        return true;
    }
    switch (key) {
        case 2:
        case 4: {
            const CalendarDay first = FirstOfMonth(Work().year, Work().month, key == 2 ? -1 : 1);
            ChangeMonth(first.year, first.month);
            break;
        }
        case 3: {
            const CTime today = CTime::GetCurrentTime();
            ChangeMonth(today.GetYear(), today.GetMonth());
            break;
        }
        case 5:
            Focus(m_cursor, 1);
            break;
        case 6:
            if (Work().groupId != -1) {
                CloseEditor();
                Work().groupId = -1;
                Work().groupName = kAllGroups;
                LoadAndDraw();
                Focus(0, 0);
            }
            break;
        case 8:
            Recalculate();
            break;
        case 10:
            ExportCsv();
            break;
        default:
            break;
    }
    return true;
}

void CCRWA_CalcuA::ChangeMonth(int year, int month) {
    CloseEditor();
    Work().year = year;
    Work().month = month;
    LoadAndDraw();
    Focus(0, 0);
}

void CCRWA_CalcuA::OpenTimeCard() {
    const int position = m_top + m_cursor;
    if (position >= m_list.Count() || !View().CanCreateScreen(104)) {
        Focus(m_cursor, 0);
        return;
    }
    CloseEditor();
    Work().userId = m_list.Rows()[static_cast<size_t>(position)].idUser;
    SwitchScreen(104);
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
        Focus(m_cursor, 0);
        return;
    }
    std::vector<CUserGroup> groups;
    if (CTUserGroup(*db).LoadAll(groups) == 0) {
        Focus(m_cursor, 0);
        return;
    }
    if (Work().groupId != -1) {
        std::erase_if(groups, [](const CUserGroup& g) { return g.idGroup != Work().groupId; });
    }
    const int year = Work().year;
    const int month = Work().month;
    bool failed = false;
    std::string error;
    // The database works on its own thread meanwhile; the windows wait for it. Its message
    // is told here, on this thread, rather than from that one.
    dialogs->RunBusy("給料を計算しています。しばらくお待ちください。", [&] {
        CDatabase::ExpectedErrors quiet(db->Database());
        for (const CUserGroup& group : groups) {
            const PayCalculationBounds bounds =
                PayCalculationBounds::For(year, month, group.nCutoff);
            if (CPayCalculation(*db).Run(group.idGroup, bounds, error) == 0) {
                failed = true;
                return;
            }
        }
    });
    if (failed) {
        Document().ShowMessage(error.empty() ? std::string("計算できませんでした。") : error);
        Focus(m_cursor, 0);
        return;
    }
    LoadAndDraw();
    Focus(m_cursor, 0);
    dialogs->MessageBox("計算しました。", MessageButtons::Ok);
}

void CCRWA_CalcuA::ExportCsv() {
    IDialogs* dialogs = Document().Dialogs();
    if (dialogs == nullptr) {
        return;
    }
    CloseEditor();
    CProfileStore& profile = Document().Profile();
    std::string folder = profile.GetProfileString(kCsvSection, kCsvFolderKey, "");
    if (folder.empty()) {
        bool ok = false;
        folder = SpecialFolderPath(SpecialFolder::Documents, ok);
    }
    if (!folder.empty() && FolderEnd(folder) != folder.size()) {
        folder += '/';
    }
    char name[128];
    std::snprintf(name, sizeof name, "%04d年%02d月", Work().year, Work().month);
    std::string path = folder + name + Work().groupName + "給料.csv";
    if (!dialogs->AskSaveFile(path, "csv")) {
        Focus(m_cursor, 0);
        return;
    }
    const size_t folderEnd = FolderEnd(path);
    if (folderEnd == std::string::npos) {
        dialogs->MessageBox("不正なファイルパスです。", MessageButtons::Ok);
        Focus(m_cursor, 0);
        return;
    }
    profile.WriteProfileString(kCsvSection, kCsvFolderKey, path.substr(0, folderEnd));
    std::string reason;
    if (!WriteWholeFile(path, SalaryCsvText(m_list.Rows()), reason)) {
        dialogs->MessageBox("ファイルを保存できませんでした。\n" + path + "\n" + reason,
                            MessageButtons::Ok);
        Focus(m_cursor, 0);
        return;
    }
    dialogs->MessageBox("データを保存しました。", MessageButtons::Ok);
    Focus(m_cursor, 0);
}

// --- Mouse and scroll bar ---

bool CCRWA_CalcuA::PartAt(int x, int y, int& row, int& part) const {
    row = -1;
    part = -1;
    return HitTest(x, y, row, part, 1);
}

bool CCRWA_CalcuA::OnLButtonDown(int, int x, int y) {
    int row = 0;
    int part = 0;
    if (m_mode != 0 || !PartAt(x, y, row, part)) {
        return m_mode != 0;
    }
    if (part == kGroupPart) {
        Focus(m_cursor, 1);
    } else if (m_top + row < m_list.Count()) {
        Focus(row, 0);
    }
    return true;
}

bool CCRWA_CalcuA::OnRButtonDown(int, int x, int y) {
    int row = 0;
    int part = 0;
    if (m_mode != 0 || !PartAt(x, y, row, part)) {
        return m_mode != 0;
    }
    if (part == kGroupPart) {
        Focus(m_cursor, 1);
    }
    return true;
}

bool CCRWA_CalcuA::OnLButtonDblClk(int, int x, int y) {
    int row = 0;
    int part = 0;
    if (m_mode != 0 || !PartAt(x, y, row, part) || part != kListPart) {
        return m_mode != 0;
    }
    if (m_top + row < m_list.Count()) {
        m_cursor = row;
        OpenTimeCard();
    }
    return true;
}

void CCRWA_CalcuA::OnThumbPosition(CCRWScrollBar* bar, int position) {
    if (bar == m_scrollBar && bar != nullptr) {
        OnScroll(position);
    }
}

void CCRWA_CalcuA::OnScroll(int position) {
    MakeVisible(position);
    DrawRows();
    Focus(m_cursor, 0);
}

}  // namespace tokeiya
