#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "data/CConnection.hpp"
#include "data/CTOfficeSettings.hpp"
#include "data/CTPcActivity.hpp"
#include "data/CTimeCard.hpp"
#include "data/CUser.hpp"
#include "data/CardChange.hpp"

namespace tokeiya {

// Minutes from the start of a card's day; a time on the next day counts past 1440.
constexpr int kNoMinute = -100000;

// One day of one user whose recorded hours and PC use disagree, or whose card was
// corrected after the day.
struct GapCheckRow {
    int idUser = 0;
    std::string userName;
    int nYear = 0;
    int nMonth = 0;
    int nDay = 0;
    int firstStart = kNoMinute;  // the first PC activity's start
    int arrival = kNoMinute;
    int departure = kNoMinute;
    int lastEnd = kNoMinute;  // the last ended PC activity's end
    int gapMinutes = -1;      // the larger excess over the card, -1 when none is measured
    int corrections = 0;      // changes made by hand (not stamps)
    bool early = false;       // PC use began more than N minutes before the arrival
    bool late = false;        // and ended more than N minutes after the departure
    bool noCard = false;      // PC use on a day without recorded times
    bool correctedLater = false;
    bool clockBack = false;  // a span of the day ends before it starts
};

// The month's gap check: every day of the listed users where the first PC activity began
// more than N minutes before the recorded arrival, the last ended more than N minutes after
// the recorded departure, the PC was used on a day without a card, or the card was
// corrected after the day. A span counts for the day it began on, and the check reads the
// spans summed up by day (a month of an office's spans is too many to fetch one by one).
class CGapCheck {
  public:
    // Reads the users of the group (-1: all), or the one user `userId` when it is not 0,
    // their cards, spans and corrections of the month and the office settings, then builds
    // the rows. False when a read failed.
    bool Load(CConnection& connection, int year, int month, int groupId, int userId = 0);
    // Builds the rows from what was read; for Load and for tests.
    void Build(int year, int month, const std::vector<CUser>& users,
               const std::vector<CTimeCard>& cards, const std::vector<CActivityDay>& activity,
               std::vector<CCardChange> changes, const OfficeSettings& office);
    // The PC spans of one user's day, by start, read for the pop-up. False when the read
    // failed.
    static bool LoadSpansOf(CConnection& connection, int userId, int year, int month, int day,
                            std::vector<CActivitySpan>& out);

    const std::vector<GapCheckRow>& Rows() const { return m_rows; }
    int Count() const { return static_cast<int>(m_rows.size()); }
    const OfficeSettings& Office() const { return m_office; }
    // The changes of one user's day, in time order, for the pop-up.
    const std::vector<CCardChange>& ChangesOf(int userId, int year, int month, int day) const;
    // A user's name, also of users outside the list (an administrator who corrected).
    std::string NameOf(int userId) const;
    // The listed row of a user's day; null when the day is not listed.
    const GapCheckRow* Listed(int userId, int year, int month, int day) const;
    // How many times a user's card of a day was changed by hand.
    int CorrectionsOf(int userId, int year, int month, int day) const;

    // Whether a change was made by hand, not by a stamp.
    static bool ByHand(ChangeHow how);

  private:
    using DayKey = std::tuple<int, int, int, int>;  // user, year, month, day

    std::vector<GapCheckRow> m_rows;
    // Changes by the user's day they belong to, in time order.
    std::map<DayKey, std::vector<CCardChange>> m_changes;
    std::map<DayKey, size_t> m_listed;  // index into m_rows
    std::map<int, std::string> m_names;
    OfficeSettings m_office;
};

}  // namespace tokeiya
