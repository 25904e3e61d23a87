#pragma once

#include <string>
#include <vector>

#include "data/CConnection.hpp"
#include "data/CUser.hpp"
#include "data/RowsAsRead.hpp"

namespace tokeiya {

// The users the user settings screen edits: the active users (levels 1 to 3) or the
// retired ones (level 0) of every group or of one, in id order, and at most one blank row
// at the end for a new user.
class CUserList {
  public:
    // Replaces the rows; false when the read failed (the rows loaded before stay).
    bool Load(CConnection& connection, int groupId, bool retired);
    // A new user at the end, in `groupId` (with its name) unless that is -1, with level 1
    // called `levelName`. Not done while the last row is still incomplete, so that only
    // one blank row ever stands at the end.
    bool AppendBlank(int groupId, const std::string& groupName, const std::string& levelName);
    bool CanAppend() const;

    std::vector<CUser>& Rows() { return m_rows; }
    const std::vector<CUser>& Rows() const { return m_rows; }
    int Count() const { return static_cast<int>(m_rows.size()); }
    CUser& Row(int index) { return m_rows[static_cast<size_t>(index)]; }
    // Row `index` as it was read or last stored; null for a user not stored yet.
    const CUser* AsRead(int index) const { return m_asRead.Find(static_cast<size_t>(index)); }
    // Row `index` now holds what the database holds.
    void Stored(int index) { m_asRead.Stored(static_cast<size_t>(index), Row(index)); }

    // Only a user with a name and a group is stored.
    static bool IsComplete(const CUser& user);
    // A user as a line of the list, 111 columns; names too long for their column are cut.
    static std::string RowText(const CUser& user);
    // The group filter field: "全員" padded, or the group's code and name.
    static std::string FilterText(int groupId, const std::string& groupName);
    // Stars for a password that is set, nothing for the empty one: only the hash is
    // known, so the stars do not tell the length.
    static std::string MaskedPassword(const std::string& passwordHash);

  private:
    std::vector<CUser> m_rows;
    RowsAsRead<CUser> m_asRead;
};

}  // namespace tokeiya
