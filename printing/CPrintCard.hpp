#pragma once

#include "data/CConnection.hpp"
#include "data/CSalary.hpp"
#include "data/CUser.hpp"
#include "printing/CCRPrinter.hpp"

namespace tokeiya {

// One employee's time card of a month on one page: a row per day of the pay period, as the
// time card screen has them, and the month's totals from the pay list under them.
class CPrintCard : public CCRPrinter {
  public:
    static constexpr const char* kLayout = "PrintCard.tgd";
    static constexpr const char* kDocumentName = "タイムカード";
    static constexpr int kMargin = 150;
    static constexpr int kFirstDayRow = 2;
    static constexpr int kTotalsRow = 33;
    static constexpr int kTotalsColumn = 28;

    // `database` (not owned) holds the users, their time cards and the pay list.
    CPrintCard(CPrintDC* printDC, CConnection* database, int year, int month);

    // Prints the card of the user on a page of its own; false (no page) when the user, the
    // cards of the period or the month's pay row cannot be loaded.
    bool PrintCard(int userId);
    // Fills the cells as PrintCard prints them.
    bool FillCard(int userId);

    int RowCount() const { return m_rowCount; }
    int FirstWeekday() const { return m_firstWeekday; }

  private:
    CConnection* m_database;
    int m_year;
    int m_month;
    int m_rowCount = 0;
    int m_firstWeekday = 0;
};

}  // namespace tokeiya
