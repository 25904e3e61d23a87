#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/CRecordBase.hpp"
#include "data/CSchedule.hpp"

namespace tokeiya {

// The schedule records: view mode reads [dbo].[Q日程] (live rows with the calendar day of
// their date), table mode reads and writes [dbo].[T日程]. The server assigns idSchedule.
class CTSchedule : public CRecordBase {
  public:
    enum class Mode { View, Table };

    CTSchedule(CConnection& connection, Mode mode);

    Mode GetMode() const { return m_mode; }
    // Changing the mode closes the record set and restores that mode's default sort.
    void SetMode(Mode mode);

    // Names the holiday of a day: renames the day's holiday row, or adds a shared one, and
    // gives the timeUpdate it stamped the row with in `stamped`. 0 when the date is not a
    // valid day or the table cannot be opened.
    [[nodiscard]] int SaveHoliday(int year, int month, int day, const std::string& name,
                                  CTime* stamped = nullptr);
    // Appends the user's entries of the day and the user's every-day entries to `list`.
    [[nodiscard]] int LoadDay(int userId, int year, int month, int day,
                              std::vector<CSchedule>& list);
    // Stores an entry: updates the row of its id, or inserts it and gives it the new id.
    // `token` tells this connection's inserts apart from other computers' (the login row
    // id); it must not be 0. Stamps timeUpdate with the current time and raises
    // `latestUpdate` to it. 0 when the row to update is missing or the insert cannot be
    // found again; nothing is inserted for token 0. With `asRead`, the entry as it was read,
    // an update writes only what differs from it, so that another computer's change to the
    // entry's other columns stays.
    [[nodiscard]] int SaveSchedule(int token, CSchedule& schedule, CTime& latestUpdate,
                                   const CSchedule* asRead = nullptr);
    // The newest timeUpdate of the rows dated in the month (or the day); the empty time when
    // there is none or the query fails; `failed`, when given, tells the two apart.
    CTime LatestUpdateOfMonth(int year, int month);
    CTime LatestUpdateOfDay(int year, int month, int day, bool* failed = nullptr);

    // The current row as a CSchedule (columns 1 to 8), and back (columns 2 to 8).
    CSchedule ToSchedule() const;
    void FromSchedule(const CSchedule& schedule);

    int64_t m_idSchedule;
    int m_idUser;
    CTime m_dateSchedule;
    std::string m_strSubject;
    std::string m_strSchedule;
    int m_flgAlarm;
    int m_flgEveryDay;
    int m_nLevel;
    int m_tmp;  // the saving connection's token while an insert looks for its new key
    CTime m_timeUpdate;
    int m_nYear;  // view mode only
    int m_nMonth;
    int m_nDay;

  protected:
    std::string GetDefaultSQL() const override;
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;
    bool KeyAssignedByServer() const override { return true; }

  private:
    // The newest timeUpdate of the table's rows dated from `from` to before `to`.
    CTime LatestUpdate(const std::optional<CTime>& from, const std::optional<CTime>& to,
                       bool* failed = nullptr);

    Mode m_mode;
};

}  // namespace tokeiya
