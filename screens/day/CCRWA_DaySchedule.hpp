#pragma once

#include <array>
#include <memory>

#include "data/CTimeCard.hpp"
#include "screens/base/CCRWA_List.hpp"
#include "screens/base/TimeCardCells.hpp"
#include "screens/day/DayScheduleList.hpp"

namespace tokeiya {

// One day: the logged-in user's own time card of the day on line 2, below it the day's
// schedule entries edited in place, each stored as soon as the cursor leaves a changed
// field. In personal mode the list holds the user's own entries, in everyone mode the shared
// ones. Every-day entries show on every day. The cursor's columns 0..3 are the card's
// fields, 4..9 those of the entry under it (9, the every-day mark, in personal mode only).
class CCRWA_DaySchedule : public CCRWA_List {
  public:
    enum class Mode { Personal, Everyone };

    static constexpr int kCardLine = 2;
    static constexpr int kFirstLine = 4;
    static constexpr int kPageRows = 25;
    // The first column of the list; the ones before it are the card's.
    static constexpr int kListColumn = CTimeCardCells::kColumns;

    CCRWA_DaySchedule(CTokeiyaView& view, Mode mode);
    ~CCRWA_DaySchedule() override;

    void InitScreen() override;
    void Activate() override;
    bool OnFunctionKey(int key, int labelSet, int modifiers) override;
    bool OnExitKey(int virtualKey, int modifiers) override;
    bool OnLButtonDown(int keys, int x, int y) override;
    bool LeaveEdit() override;
    void OnPeriodicRefresh() override;

    // Shows another day, its day written back for the month schedule; the cursor goes to
    // the arrival.
    void ShowDay(int year, int month, int day);

    Mode GetMode() const { return m_mode; }
    // The cursor's column, 0..9.
    int CursorColumn() const { return m_onCard ? m_cardColumn : kListColumn + Column(); }
    const CDayScheduleList& List() const { return m_list; }
    const CTimeCard& Card() const { return m_card; }
    // Answered from the entries themselves, which sorting and deleting move.
    bool Unstored(int position) const override { return m_list.Unstored(position); }

  protected:
    int RowCount() const override { return m_list.Count(); }
    std::string RowText(int position) const override;
    bool AppendRow() override;
    bool CheckEdit(int position, int column) override;
    StoreResult StoreRow(int position) override;
    std::string RowMissingText() const override;
    void FocusUnstored(int row) override { FocusList(row, kListColumn); }

  private:
    void CreateItems();
    // Binds the item of list field `column` to that field of entry `position`.
    void BindField(CIIBase& item, int position, int column);
    void LoadDay();
    void DrawTitle();
    void DrawCard();
    // Closes any editor and opens field `column` (0..3) of the card.
    void FocusCard(int column);
    // Into the list: the list's keys, then field `column` (4..) on page row `row`.
    void FocusList(int row, int column);
    // Stores the edit in progress, on the card or in the list; false when it was refused.
    bool StoreAnyEdit();
    bool StoreCardEdit();
    void StoreCard();
    // Stores an entry through a copy and takes its stamp as known, then the alarms are read
    // again.
    StoreResult SaveEntry(CSchedule& entry, const CSchedule* asRead);
    bool CardKey(int virtualKey);
    // Keys 2, 3 and 4.
    void ChangeDay(int key);
    // Key 5.
    void DeleteEntry();
    // Key 6.
    void PutPresentTime();
    // Key 8.
    void SortEntries();
    // Key 1.
    void Reload();
    bool ShowsToday() const;
    int UserId() const;

    Mode m_mode;
    CDayScheduleList m_list;
    CTimeCard m_card;
    CTimeCard m_cardAsRead;
    CTimeCardCells m_cells;  // at the card's columns, which the source file lays out
    std::array<std::unique_ptr<CIIBase>, 6> m_items;
    bool m_onCard = true;
    int m_cardColumn = 0;
};

}  // namespace tokeiya
