#include "data/CPayCalculation.hpp"

#include <algorithm>

#include "data/PayPeriod.hpp"
#include "platform/odbc/DbException.hpp"

namespace tokeiya {

PayCalculationBounds PayCalculationBounds::For(int year, int month, int cutoff) {
    // The same closing day as the period's rows, so that both cover the same days.
    cutoff = std::min(cutoff, PayPeriod::kLatestCutoff);
    if (cutoff <= 0) {
        return {CalendarDay{year, month, 1}.Code(), CalendarDay{year, month, 31}.Code()};
    }
    CalendarDay from = month == 1 ? CalendarDay{year - 1, 12, 1 + cutoff}
                                  : CalendarDay{year, month - 1, 1 + cutoff};
    return {from.Code(), CalendarDay{year, month, cutoff}.Code()};
}

int CPayCalculation::Run(int groupId, const PayCalculationBounds& bounds, std::string& error) {
    error.clear();
    CDatabase& db = m_connection.Database();
    try {
        CTransaction transaction(db);
        db.ExecuteSQL(
            m_connection.Dialect().ProcedureCall("P計算", {groupId, bounds.from, bounds.to}));
        transaction.Commit();
        return 1;
    } catch (const CDBException& e) {
        error = e.DriverMessage();
        return 0;
    }
}

}  // namespace tokeiya
