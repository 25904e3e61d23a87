#include "screens/paycalc/TimeCardPeriod.hpp"

#include "data/CTTimeCard.hpp"
#include "screens/paycalc/TimeCardCalc.hpp"

namespace tokeiya {

CTimeCardPeriod::CTimeCardPeriod(const CUser& user, int year, int month)
    : m_user(user), m_year(year), m_month(month), m_period(year, month, user.nCutoff) {
    for (int row = 0; row < static_cast<int>(m_rows.size()); ++row) {
        CalendarDay day = m_period.DayOfRow(row);
        m_rows[static_cast<size_t>(row)] =
            CTimeCard::NewDay(user.idUser, day.year, day.month, day.day, user.nLunchMin);
    }
    m_asRead = m_rows;
}

int CTimeCardPeriod::FirstWeekday() const {
    return m_period.First().Weekday();
}

bool CTimeCardPeriod::Load(CConnection& connection) {
    const bool loaded = CTTimeCard(connection).LoadPeriod(m_user, m_year, m_month, m_rows) != 0;
    m_asRead = m_rows;
    return loaded;
}

bool CTimeCardPeriod::Store(CConnection& connection, int row, const ChangeSource& source) {
    const auto index = static_cast<size_t>(row);
    if (CTTimeCard(connection, source).StoreCard(m_rows[index], &m_asRead[index]) == 0) {
        return false;
    }
    m_asRead[index] = m_rows[index];
    return true;
}

void CTimeCardPeriod::RecomputeAll() {
    for (int row = 0; row < RowsInUse(); ++row) {
        RecomputeRow(m_user, m_rows[static_cast<size_t>(row)]);
    }
}

}  // namespace tokeiya
