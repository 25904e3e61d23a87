#pragma once

#include <string>

#include "data/CConnection.hpp"

namespace tokeiya {

// The bounds the monthly pay calculation is given for a month and a closing day c, as
// yyyymmdd numbers: with c > 0 from day c + 1 of the previous month (the previous month's
// day 01 plus c) to the month's day 00 plus c; with c = 0 from day 01 to day 31 whatever
// the month's length. Either bound may name a day that does not exist; the calculation
// only compares them with real days.
struct PayCalculationBounds {
    int from = 0;
    int to = 0;
    static PayCalculationBounds For(int year, int month, int cutoff);
};

// Runs the database's monthly pay calculation for one group: it recomputes the group's
// time cards of the period and replaces the group's results of the month of `to`.
class CPayCalculation {
  public:
    explicit CPayCalculation(CConnection& connection) : m_connection(connection) {}

    // 1 when done; 0 with the database's message in `error` when it failed, in which case
    // nothing of the group's calculation is kept.
    [[nodiscard]] int Run(int groupId, const PayCalculationBounds& bounds, std::string& error);

  private:
    CConnection& m_connection;
};

}  // namespace tokeiya
