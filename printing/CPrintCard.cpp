#include "printing/CPrintCard.hpp"

#include "data/CTSalary.hpp"
#include "data/CTUser.hpp"
#include "rows/FormatText.hpp"
#include "rows/TimeCardRowText.hpp"
#include "screens/paycalc/TimeCardPeriod.hpp"

namespace tokeiya {

using rows::FormatText;

CPrintCard::CPrintCard(CPrintDC* printDC, CConnection* database, int year, int month)
    : CCRPrinter(printDC), m_database(database), m_year(year), m_month(month) {
    LoadFromPackage(kLayout);
    SetMargins(kMargin, kMargin, kMargin, kMargin, true);
}

bool CPrintCard::FillCard(int userId) {
    if (m_database == nullptr || m_month < 1 || m_month > 12 || m_year < 1 || m_year > 9999) {
        return false;
    }
    CUser user;
    if (CTUser(*m_database, CTUser::Mode::View).LoadById(userId, user) == 0) {
        return false;
    }
    CTimeCardPeriod period(user, m_year, m_month);
    CSalary monthPay;
    if (!period.Load(*m_database) ||
        CTSalary(*m_database).LoadUserMonth(userId, m_year, m_month, monthPay) == 0 ||
        monthPay.idSalary == 0) {
        return false;
    }
    m_rowCount = period.RowsInUse();
    m_firstWeekday = period.FirstWeekday();

    ClearCells(1, false);
    PutText(FormatText("%4d 年 %2d 月タイムカード(%s)", m_year, m_month, user.strUserName.c_str()),
            2, 0, false);
    for (int row = 0; row < m_rowCount; ++row) {
        const CTimeCard& card = period.Rows()[static_cast<size_t>(row)];
        if (DayLabelShowsMonth(row, card)) {
            PutText(FormatText("%2d", card.nMonth), 0, row + kFirstDayRow, false);
        }
        PutText(TimeCardPrintRowText(card, m_firstWeekday + row), 3, row + kFirstDayRow, false);
    }
    PutText(TimeCardMonthText(monthPay), kTotalsColumn, kTotalsRow, false);
    return true;
}

bool CPrintCard::PrintCard(int userId) {
    if (!FillCard(userId)) {
        return false;
    }
    PrintWholePage();
    return true;
}

}  // namespace tokeiya
