#pragma once

#include <string>
#include <vector>

#include "data/CConnection.hpp"
#include "data/CUserGroup.hpp"
#include "data/RowsAsRead.hpp"

namespace tokeiya {

// Every pay group in id order, as the group settings screen edits them, with at most one
// row at the end that is not stored yet.
class CGroupList {
  public:
    // The highest closing day a group may have (later days are missing from February).
    static constexpr int kLastCutoff = 28;

    // The groups with the names of their codes; false when the read failed (the rows loaded
    // before stay).
    bool Load(CConnection& connection);
    // Adds a new group with the defaults at the end unless the last row is incomplete, so
    // that no second unfinished row stands below it. True when one was added.
    bool AppendNewRow();

    std::vector<CUserGroup>& Rows() { return m_rows; }
    const std::vector<CUserGroup>& Rows() const { return m_rows; }
    int Count() const { return static_cast<int>(m_rows.size()); }
    // Row `index` as it was read or last stored; null for a group not stored yet.
    const CUserGroup* AsRead(int index) const { return m_asRead.Find(static_cast<size_t>(index)); }
    // Row `index` now holds what the database holds.
    void Stored(int index) {
        m_asRead.Stored(static_cast<size_t>(index), m_rows[static_cast<size_t>(index)]);
    }

    // A group the pay calculation can work with: a name, known kinds of pay, overtime and
    // rounding, a closing day the calendar always has, and a unit and a rounding mode
    // whenever minutes are counted (overtime, or pay by the hour).
    static bool IsComplete(const CUserGroup& group);
    // A row as the list shows it from column 2: 76 columns, each value under its caption.
    static std::string RowText(const CUserGroup& group);

  private:
    std::vector<CUserGroup> m_rows;
    RowsAsRead<CUserGroup> m_asRead;
};

}  // namespace tokeiya
