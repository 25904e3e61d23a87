#include "data/CTCardHistory.hpp"

#include "platform/odbc/CRecordset.hpp"

namespace tokeiya {

const char* const CTCardHistory::kTableMissing =
    "勤怠の修正履歴を書き込めません。データベースを tokeiya-dbsetup で更新してください。";

CTCardHistory::CTCardHistory(CConnection& connection) : CRecordBase(connection) {
    SetFieldDefaults();
}

void CTCardHistory::SetFieldDefaults() {
    m_row = CCardChange{};
    m_how = 0;
    m_newCard = 0;
}

void CTCardHistory::DoFieldExchange(CFieldExchange& fx) {
    fx.BigInt("[idTimeCard]", m_row.idTimeCard);
    fx.Long("[idUser]", m_row.idUser);
    fx.Long("[nYear]", m_row.nYear);
    fx.Long("[nMonth]", m_row.nMonth);
    fx.Long("[nDay]", m_row.nDay);
    fx.Date("[dateChanged]", m_row.at);
    fx.Long("[idChangedBy]", m_row.byUser);
    fx.Text("[strPCName]", m_row.computer);
    fx.Long("[typeHow]", m_how);
    fx.Long("[flgNewCard]", m_newCard);
    fx.Date("[timeFromOld]", m_row.before.timeFrom);
    fx.Date("[timeFromNew]", m_row.after.timeFrom);
    fx.Date("[timeToOld]", m_row.before.timeTo);
    fx.Date("[timeToNew]", m_row.after.timeTo);
    fx.Long("[nLunchMinOld]", m_row.before.nLunchMin);
    fx.Long("[nLunchMinNew]", m_row.after.nLunchMin);
    fx.Long("[flgOptionOld]", m_row.before.flgOption);
    fx.Long("[flgOptionNew]", m_row.after.flgOption);
}

void CTCardHistory::Record(CConnection& connection, const CTimeCard& card,
                           const std::optional<CardValues>& before, const CardValues& after,
                           const ChangeSource& source) {
    if (before && *before == after) {
        return;
    }
    const SqlDialect& d = connection.Dialect();
    CTCardHistory row(connection);
    row.AddNewUnread();
    row.m_row.idTimeCard = card.idTimeCard;
    row.m_row.idUser = card.idUser;
    row.m_row.nYear = card.nYear;
    row.m_row.nMonth = card.nMonth;
    row.m_row.nDay = card.nDay;
    row.m_row.at = CTime::GetCurrentTime();
    row.m_row.byUser = source.byUser;
    row.m_row.computer = source.computer;
    row.m_row.before = before.value_or(CardValues{});
    row.m_row.after = after;
    row.m_how = static_cast<int>(source.how);
    row.m_newCard = before ? 0 : 1;
    CDatabase& db = connection.Database();
    try {
        CDatabase::ExpectedErrors quiet(db);
        // A savepoint where a failure would stop the probe below from running.
        std::optional<CTransaction> insert;
        if (d.FailureEndsTransaction()) {
            insert.emplace(db);
        }
        row.Update();
        if (insert) {
            insert->Commit();
        }
    } catch (const CDBException& e) {
        bool tableThere = true;
        try {
            CDatabase::ExpectedErrors quiet(db);
            CTransaction probe(db);
            CRecordset set(db);
            set.Open(d.Render("SELECT [idHistory] FROM [dbo].[T勤怠修正履歴] WHERE 1=0"), {},
                     {DbType::Integer});
        } catch (const CDBException&) {
            tableThere = false;
        }
        // An old server without the table would otherwise change cards with no trace.
        const CDBException told =
            tableThere
                ? e
                : CDBException(e.SqlState(), std::string(kTableMissing) + "\n" + e.DriverMessage(),
                               e.Statement());
        db.ReportError(told);
        throw told;
    }
}

int CTCardHistory::LoadAll(std::vector<CCardChange>& out) {
    m_strSort = "[idHistory]";
    const bool opened = Open();
    m_strSort.clear();
    if (!opened) {
        return 0;
    }
    for (; !IsEOF(); MoveNext()) {
        CCardChange change = m_row;
        change.how = static_cast<ChangeHow>(m_how);
        change.newCard = m_newCard != 0;
        out.push_back(std::move(change));
    }
    return 1;
}

int CTCardHistory::LoadKeys(int64_t firstKey, int64_t lastKey, std::vector<CCardChange>& out) {
    Close();
    m_strFilter = "[idTimeCard]>=? AND [idTimeCard]<=?";
    m_params = {DbValue(firstKey), DbValue(lastKey)};
    return LoadAll(out);
}

int CTCardHistory::LoadMonth(int year, int month, std::vector<CCardChange>& out, int userId) {
    Close();
    m_strFilter = "[nYear]=? AND [nMonth]=?";
    m_params = {DbValue(year), DbValue(month)};
    if (userId != 0) {
        m_strFilter += " AND [idUser]=?";
        m_params.emplace_back(userId);
    }
    return LoadAll(out);
}

}  // namespace tokeiya
