#pragma once

#include <array>

#include "data/CConnection.hpp"
#include "data/CTimeCard.hpp"
#include "data/CUser.hpp"
#include "data/CardChange.hpp"
#include "data/PayPeriod.hpp"

namespace tokeiya {

// One user's time card days of a pay period, as the time card screen lays them out: a row
// per day from the period's first day on, as many rows in use as the period's first month
// has days. A closing day of 28 after a 28-day February starts the period on 1 March.
class CTimeCardPeriod {
  public:
    CTimeCardPeriod(const CUser& user, int year, int month);

    int RowsInUse() const { return m_period.RowCount(); }
    // Weekday of row 0: 0 = Sunday .. 6 = Saturday.
    int FirstWeekday() const;
    // The row of a day, or -1 when the day lies outside the period.
    int RowOf(int year, int month, int day) const { return m_period.RowOf(year, month, day); }
    const PayPeriod& Period() const { return m_period; }

    // New days on consecutive dates, replaced by the stored cards by Load.
    std::array<CTimeCard, 31>& Rows() { return m_rows; }
    const std::array<CTimeCard, 31>& Rows() const { return m_rows; }
    // Reads the user's stored cards of the period onto their rows; false when the query
    // failed (the rows then stay new).
    bool Load(CConnection& connection);
    // Stores row `row`, only the columns that differ from the row as it was read or last
    // stored, so that what another computer changed meanwhile in the others stays. Throws
    // on a failed store, after the connection told the user; false when a read failed.
    bool Store(CConnection& connection, int row, const ChangeSource& source);
    // Recomputes every row in use from the user's settings.
    void RecomputeAll();

  private:
    CUser m_user;
    int m_year;  // the month the period is named after
    int m_month;
    PayPeriod m_period;
    std::array<CTimeCard, 31> m_rows;
    std::array<CTimeCard, 31> m_asRead;
};

}  // namespace tokeiya
