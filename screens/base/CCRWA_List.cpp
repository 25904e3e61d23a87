#include "screens/base/CCRWA_List.hpp"

#include "platform/TextHelpers.hpp"
#include "screens/base/HoldRedraw.hpp"
#include "shell/AppText.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "widgets/CIIDbCodeMenu.hpp"

namespace tokeiya {

using namespace win;

namespace {

constexpr int kScrollBarId = 1;
constexpr int kClickKind = 1;
constexpr COLORREF kUnstoredColor = RGB(0xC0, 0, 0);

}  // namespace

CCRWA_List::CCRWA_List(CTokeiyaView& view, const std::string& drawingName,
                       const std::string& menuName, const ListLayout& layout)
    : CCRWA_Tokeiya(view, drawingName, menuName), m_layout(layout), m_cursor(layout.pageRows, 1) {}

CCRWA_List::~CCRWA_List() {
    // The screen's items go before the form closes an editor that may still name one.
    CloseEditor();
}

void CCRWA_List::SetFields(std::vector<ListField> fields, ListFilter filter) {
    m_fields = std::move(fields);
    m_filter = filter;
    m_cursor = CListCursor(m_layout.pageRows, static_cast<int>(m_fields.size()));
    for (int row = 0; row < m_layout.pageRows; ++row) {
        for (int column = 0; column < FilterColumn(); ++column) {
            const ListField& field = Field(column);
            AddMouseRegion(field.clickFirst, m_layout.firstLine + row, field.clickWidth, 1, row,
                           column, kClickKind);
        }
    }
    if (m_filter.codes != nullptr) {
        AddMouseRegion(m_filter.clickFirst, m_filter.line, m_filter.clickWidth, 1, 0,
                       FilterColumn(), kClickKind);
    }
}

void CCRWA_List::Activate() {
    CCRWA_Tokeiya::Activate();
    if (ActiveEditor() == nullptr && Initialized()) {
        Focus(m_cursor.Row(), Column(), m_menuOpen);
    }
}

bool CCRWA_List::CheckEdit(int, int) {
    return true;
}

bool CCRWA_List::Refuse(std::string reason) {
    m_refusal = std::move(reason);
    return false;
}

std::string CCRWA_List::NotListedText(int code) {
    return std::to_string(code) + " は一覧にないコードです。スペースキーで一覧から選べます。";
}

StoreResult CCRWA_List::StoreRow(int) {
    return StoreResult::Kept;
}

std::string CCRWA_List::RowMissingText() const {
    return text::kUserRowMissing;
}

// --- The page ---

void CCRWA_List::ListLoaded() {
    // An editor still open (the desktop may have focused the screen meanwhile) holds the
    // cells of the list before: closed later, it would put them back over the new rows.
    CloseEditor();
    m_cursor.Reset(RowCount());
    m_unstored.clear();
    m_menuOpen = false;
    m_onFilter = false;
}

void CCRWA_List::DrawRows() {
    CHoldRedraw hold(*this);
    const int count = RowCount();
    for (int row = 0; row < m_layout.pageRows; ++row) {
        const int position = m_cursor.Top() + row;
        std::string text;
        if (position < count) {
            text = RowText(position);
        } else if (count == 0 && row == 0) {
            text = EmptyListText();
        }
        // Long names must not run into the scroll bar.
        PutText(FitText(text, m_layout.rowWidth), m_layout.rowColumn, m_layout.firstLine + row,
                true);
        DrawMark(row, position);
    }
    DrawFooter();
}

void CCRWA_List::DrawMark(int row, int position) {
    if (m_layout.markColumn < 0) {
        return;
    }
    const int line = m_layout.firstLine + row;
    if (Unstored(position)) {
        PutText(kUnstoredMark, m_layout.markColumn, line, kUnstoredColor, true);
        m_markedRows.insert(row);
    } else if (m_markedRows.erase(row) != 0) {
        PutText(" ", m_layout.markColumn, line, true);
        SetTextColor(DefaultTextColor(), m_layout.markColumn, line, 1, 1, true);
    }
}

void CCRWA_List::DrawRow(int position) {
    const int row = position - m_cursor.Top();
    if (row < 0 || row >= m_layout.pageRows) {
        return;
    }
    const std::string text = position < RowCount() ? RowText(position) : std::string();
    PutText(FitText(text, m_layout.rowWidth), m_layout.rowColumn, m_layout.firstLine + row, true);
    DrawMark(row, position);
}

void CCRWA_List::MakeVisible(int position) {
    m_cursor.SetCount(RowCount());
    m_cursor.MakeVisible(position);
}

void CCRWA_List::ShowScrollBar(bool shown) {
    if (shown && m_scrollBar == nullptr) {
        m_scrollBar = CreateScrollBar(m_layout.scrollBarColumn, m_layout.firstLine,
                                      m_layout.pageRows, kScrollBarId, 0, 1, true);
    } else if (!shown && m_scrollBar != nullptr) {
        // The engine's bar has no hidden state: it leaves the window.
        DestroyScrollBar(m_scrollBar);
        m_scrollBar = nullptr;
    }
    if (m_scrollBar != nullptr) {
        m_scrollBar->SetRange(0, RowCount() - 1, false);
        m_scrollBar->SetPosition(Position(), true);
    }
}

// --- The cursor and the edit ---

void CCRWA_List::Focus(int row, int column, bool menu) {
    CloseEditor();
    if (column == FilterColumn() && m_filter.codes != nullptr) {
        FocusFilter();
        return;
    }
    m_onFilter = false;
    m_cursor.SetCount(RowCount());
    m_cursor.Place(row, column);
    const ListField& field = Field(m_cursor.Column());
    m_menuOpen = menu && field.codes != nullptr;
    ShowScrollBar(!m_menuOpen && RowCount() >= 2);
    const bool onRow = Position() < RowCount();
    if (field.bind && !onRow) {
        return;
    }
    const int line = m_layout.firstLine + m_cursor.Row();
    if (m_menuOpen) {
        field.codes->AttachTo(field.x, line, field.codesWidth);
        field.bind(*field.codes, Position());
        if (ActivateItem(field.codes)) {
            return;
        }
        // Without its list (the query failed and was told) the code is typed instead.
        m_menuOpen = false;
        ShowScrollBar(RowCount() >= 2);
    }
    field.item->SetPos(field.x, line);
    if (field.bind) {
        field.bind(*field.item, Position());
    }
    ActivateItem(field.item);
}

void CCRWA_List::FocusFilter() {
    m_menuOpen = false;
    m_onFilter = true;
    ShowScrollBar(false);
    if (!ActivateItem(m_filter.codes)) {
        // The list of codes could not be read (and that was told): back to the rows.
        Focus(m_cursor.Row(), 0, false);
    }
}

bool CCRWA_List::StoreEdit() {
    if (ActiveEditor() == nullptr) {
        return true;
    }
    const int column = m_cursor.Column();
    const Taken taken = TakeEdit();
    if (taken == Taken::Refused) {
        if (!m_onFilter && Field(column).codes != nullptr && !m_menuOpen) {
            Focus(m_cursor.Row(), column, true);
        }
        return false;
    }
    if (m_onFilter) {
        CloseEditor();
        if (taken != Taken::Changed) {
            return true;
        }
        // Other rows replace these: a row not stored yet is asked about first.
        if (!ConfirmLeave()) {
            m_filter.codes->RestoreValue();
            m_filter.codes->Draw(*this, true);
            return false;
        }
        OnFilterChosen();
        return true;
    }
    const int position = Position();
    if (taken == Taken::Changed && position < RowCount()) {
        m_refusal.clear();
        if (!CheckEdit(position, column)) {
            RejectEdit(nullptr, true);
            ShowNotice(m_refusal.empty() ? InvalidValueText(*Field(column).item) : m_refusal);
            Focus(m_cursor.Row(), column, Field(column).codes != nullptr);
            return false;
        }
        const StoreResult result = StoreRow(position);
        if (result == StoreResult::Kept || result == StoreResult::Told) {
            m_unstored.insert(position);
        } else {
            m_unstored.erase(position);
        }
        if (result == StoreResult::NoRow) {
            Document().ShowMessage(RowMissingText());
        }
        DrawRow(position);
    }
    CloseEditor();
    return true;
}

bool CCRWA_List::ConfirmLeave() {
    IDialogs* dialogs = Document().Dialogs();
    const int count = RowCount();
    int first = 0;
    while (first < count && !Unstored(first)) {
        ++first;
    }
    if (first == count || dialogs == nullptr) {
        return true;
    }
    if (dialogs->MessageBox(kUnstoredQuestion, MessageButtons::YesNo) != MessageAnswer::Yes) {
        return true;
    }
    MakeVisible(first);
    DrawRows();
    FocusUnstored(m_cursor.Row());
    return false;
}

// --- Keys ---

bool CCRWA_List::OnExitKey(int virtualKey, int) {
    if (virtualKey == VK_ESCAPE) {
        RejectEdit(nullptr, false);
        Focus(m_cursor.Row(), m_onFilter ? 0 : m_cursor.Column(), false);
        return true;
    }
    const bool onFilter = m_onFilter;
    if (!StoreEdit()) {
        return true;
    }
    // A filter that took a new code has read the list again, cursor on its first row.
    if (onFilter) {
        Focus(0, 0, false);
        return true;
    }
    if (virtualKey == VK_SPACE && Field(m_cursor.Column()).codes != nullptr) {
        Focus(m_cursor.Row(), m_cursor.Column(), true);
        return true;
    }
    m_cursor.SetCount(RowCount());
    if (m_cursor.WouldLeaveLastRow(virtualKey) && AppendRow()) {
        m_cursor.SetCount(RowCount());
        DrawRow(RowCount() - 1);
    }
    if (m_cursor.Move(virtualKey).scrolled) {
        DrawRows();
    }
    Focus(m_cursor.Row(), m_cursor.Column(), false);
    return true;
}

// --- Mouse and scroll bar ---

bool CCRWA_List::FieldAt(int x, int y, int& row, int& column) const {
    row = -1;
    column = -1;
    return HitTest(x, y, row, column, kClickKind);
}

bool CCRWA_List::Click(int x, int y, bool right) {
    int row = 0;
    int column = 0;
    if (!FieldAt(x, y, row, column)) {
        return false;
    }
    // An open code list or filter takes its own clicks.
    if (m_menuOpen || m_onFilter) {
        return true;
    }
    const bool onFilter = column == FilterColumn();
    if (!onFilter && m_cursor.Top() + row >= RowCount()) {
        return true;
    }
    if (right && !onFilter && Field(column).codes == nullptr) {
        return true;
    }
    if (!StoreEdit()) {
        return true;
    }
    Focus(onFilter ? m_cursor.Row() : row, column, right);
    return true;
}

bool CCRWA_List::OnLButtonDown(int, int x, int y) {
    return Click(x, y, false);
}

bool CCRWA_List::OnRButtonDown(int, int x, int y) {
    return Click(x, y, true);
}

void CCRWA_List::OnThumbPosition(CCRWScrollBar* bar, int position) {
    if (bar == m_scrollBar && bar != nullptr) {
        OnScroll(position);
    }
}

void CCRWA_List::OnScroll(int position) {
    if (!StoreEdit()) {
        return;
    }
    MakeVisible(position);
    DrawRows();
    Focus(m_cursor.Row(), 0, false);
}

}  // namespace tokeiya
