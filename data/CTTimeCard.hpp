#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "data/CRecordBase.hpp"
#include "data/CTimeCard.hpp"
#include "data/CUser.hpp"
#include "data/CardChange.hpp"

namespace tokeiya {

struct CDaySchedule;

// The time card records [dbo].[Tタイムカード]: one row per user and day, keyed by
// TimeCardKey. Every writer and reader uses the same key, so the stamps, the month
// schedule and the time card screen meet on the same rows. Every store that changes a
// card's times, lunch minutes or option adds its history row in the same transaction,
// told as coming from the change source.
class CTTimeCard : public CRecordBase {
  public:
    explicit CTTimeCard(CConnection& connection, ChangeSource source = {});

    // The user's cards of a month into the days' slots (key, times, lunch minutes, option).
    [[nodiscard]] int LoadMonthCards(int userId, int year, int month,
                                     std::array<CDaySchedule, 31>& days);
    // Stores the times, lunch minutes and option of a slot, inserting the day's row when
    // it has none yet (the slot then gets its key). With `asRead`, the slot as it was read,
    // a stored row gets only the values that differ from it.
    [[nodiscard]] int StoreMonthCard(int userId, int year, int month, CDaySchedule& slot,
                                     const CDaySchedule* asRead = nullptr);
    // Every user's cards of a calendar month (only `userId`'s unless 0), appended to `out`:
    // key, user, day, times and option only.
    [[nodiscard]] int LoadMonth(int year, int month, std::vector<CTimeCard>& out, int userId = 0);
    // Replaces the card with its stored row, when there is one. 1 also when there is none.
    [[nodiscard]] int LoadCard(CTimeCard& card);
    // Stores every column of the card, inserting its row when it has none. With `asRead`,
    // the card as it was read, a stored row gets only the columns that differ from it.
    [[nodiscard]] int StoreCard(CTimeCard& card, const CTimeCard* asRead = nullptr);
    // The user's stored cards of the pay period of (year, month), each onto its row.
    [[nodiscard]] int LoadPeriod(const CUser& user, int year, int month,
                                 std::array<CTimeCard, 31>& rows);

    // Stamps the arrival (now minus the user's start-up minutes) into the day's row, or
    // the departure (now plus the cool-down minutes); a new day row gets the user's lunch
    // minutes. Only the first stamp of each kind per day stays. 1 when written or already
    // stamped, 0 when the query failed.
    [[nodiscard]] int StampArrival(const CUser& user);
    [[nodiscard]] int StampDeparture(const CUser& user);
    // The departure of a session that ended earlier: `shifted` is the end's time with the
    // cool-down minutes already added; a new day row gets `lunchMinutes`.
    [[nodiscard]] int StampDepartureAt(int userId, const CTime& shifted, int lunchMinutes);
    // With the office's "last exit" rule a later departure replaces an earlier one.
    void SetLastExitRule(bool lastExit) { m_lastExit = lastExit; }

    CTimeCard ToCard() const;
    void FromCard(const CTimeCard& card);

    int64_t m_idTimeCard;
    int m_idUser;
    CTime m_timeFrom;
    CTime m_timeTo;
    int m_nWorkingMin;
    int m_nLunchMin;
    int m_nOvertimeMin;
    int m_nYear;
    int m_nMonth;
    int m_nDay;
    int m_flgOption;
    float m_fSalary;
    float m_fOvertimePay;
    int m_flgErr;

  protected:
    std::string GetDefaultSQL() const override { return "[dbo].[Tタイムカード]"; }
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;

  private:
    // Opens the row of `key`; false when the query failed.
    [[nodiscard]] bool OpenKey(int64_t key);
    // Stores the day's row (key, user and date from `day`) with what `write` puts into the
    // members: an edit when the row exists, else an insert. An insert that meets a row
    // another computer added meanwhile turns into an edit of that row. An edit writes only
    // what differs from what `asRead` puts into the members, when given. 0 when a query
    // failed.
    [[nodiscard]] int WriteDay(const CTimeCard& day, const std::function<void()>& write,
                               const std::function<void()>& asRead);
    void EditDay(const std::function<void()>& asRead);
    [[nodiscard]] int Stamp(int userId, bool arrival, const CTime& shifted, int lunchMinutes);
    CardValues Values() const;

    ChangeSource m_source;
    bool m_lastExit = false;
};

}  // namespace tokeiya
