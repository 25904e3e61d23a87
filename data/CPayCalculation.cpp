#include "data/CPayCalculation.hpp"

#include "platform/odbc/DbException.hpp"

namespace tokeiya {

PayCalculationBounds PayCalculationBounds::For(int year, int month, int cutoff) {
    if (cutoff <= 0) {
        return {year * 10000 + month * 100 + 1, year * 10000 + month * 100 + 31};
    }
    int previousYear = month == 1 ? year - 1 : year;
    int previousMonth = month == 1 ? 12 : month - 1;
    return {previousYear * 10000 + previousMonth * 100 + 1 + cutoff,
            year * 10000 + month * 100 + cutoff};
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
