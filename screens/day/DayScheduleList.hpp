#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/CConnection.hpp"
#include "data/CSchedule.hpp"

namespace tokeiya {

// The entries of one day as the day schedule lists them: one owner's (0: everyone's) entries
// dated on the day and every-day entries, each with its copy as last read or stored, and at
// most one blank entry at the end for a new one. Nothing is drawn here.
class CDayScheduleList {
  public:
    // What the list line shows of an entry's subject and details, and what may be typed.
    static constexpr int kSubjectBytes = 20;
    static constexpr int kDetailsBytes = 60;

    // An empty list of `owner`'s entries of the day.
    void Reset(int owner, int year, int month, int day);
    // The owner's entries of the day and the every-day ones, then a blank one, sorted by
    // time, and the newest stamp of the day's rows. False when the read failed: the list then
    // holds the blank entry only.
    bool Load(CConnection& connection);
    // Adds a new entry (the owner's, at 00:00 of the day) unless the last one is blank. True
    // when one was added.
    bool AppendBlank();
    // Orders the entries by their minute of the day, blanks last; equal minutes keep their
    // order.
    void SortByTime();
    // Puts the entry's time on the shown day, or on 2000-01-01 for an every-day entry,
    // keeping its hour and minute; an entry without a time gets 00:00.
    void PlaceOnDay(CSchedule& entry) const;
    // Entry `index` now holds what the database holds.
    void Stored(int index);
    // Entry `index` waits for no store any more: its row is gone from the database (the user
    // has been told), and no store can bring it back.
    void Forget(int index) { Stored(index); }
    // Whether entry `index` holds a change the database does not have: it differs from its
    // copy as read, or, never stored, from a blank entry. Past the end there is none.
    bool Unstored(int index) const;
    void Remove(int index);
    // Entry `index` becomes a new blank entry.
    void Renew(int index);

    int Count() const { return static_cast<int>(m_lines.size()); }
    CSchedule& Entry(int index) { return At(index).entry; }
    const CSchedule& Entry(int index) const { return m_lines[static_cast<size_t>(index)].entry; }
    // Entry `index` as last read or stored; null for an entry never stored.
    const CSchedule* AsRead(int index) const;

    int Year() const { return m_year; }
    int Month() const { return m_month; }
    int Day() const { return m_day; }

    // The newest timeUpdate of the day's dated rows known here, and the one stored now.
    const CTime& LatestUpdate() const { return m_latestUpdate; }
    void SetLatestUpdate(const CTime& time) { m_latestUpdate = time; }
    CTime ReadLatestUpdate(CConnection& connection, bool* failed = nullptr) const;

    // "yyyy 年 mm 月 dd 日".
    std::string Title() const;
    // An entry as its list line shows it, 103 cells: time, subject, alarm mark, level,
    // details and every-day mark. 00:00 shows no time.
    static std::string RowText(const CSchedule& entry);

  private:
    // The minute of the day a blank entry sorts by: after every real time.
    static constexpr int kBlankSortMinute = 1500;
    static int SortMinute(const CSchedule& entry);

    struct Slot {
        CSchedule entry;
        std::optional<CSchedule> asRead;
    };
    Slot& At(int index) { return m_lines[static_cast<size_t>(index)]; }
    CSchedule NewEntry() const;

    std::vector<Slot> m_lines;
    int m_owner = 0;
    int m_year = 2000;
    int m_month = 1;
    int m_day = 1;
    CTime m_latestUpdate;
};

}  // namespace tokeiya
