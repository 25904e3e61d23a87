#include "data/CTPcActivity.hpp"

#include <ctime>
#include <map>
#include <random>
#include <tuple>

#include "platform/odbc/CRecordset.hpp"

namespace tokeiya {

CTPcActivity::CTPcActivity(CConnection& connection) : CRecordBase(connection) {
    SetFieldDefaults();
}

void CTPcActivity::SetFieldDefaults() {
    m_idSpan = 0;
    m_flgEnd = 0;
    m_idUser = 0;
    m_strPCName.clear();
    m_dateAt = CTime();
    m_typeEnd = 0;
}

void CTPcActivity::DoFieldExchange(CFieldExchange& fx) {
    fx.BigInt("[idSpan]", m_idSpan);
    fx.Long("[flgEnd]", m_flgEnd);
    fx.Long("[idUser]", m_idUser);
    fx.Text("[strPCName]", m_strPCName);
    fx.Date("[dateAt]", m_dateAt);
    fx.Long("[typeEnd]", m_typeEnd);
}

int64_t CTPcActivity::NewSpanId() {
    std::random_device device;
    std::uniform_int_distribution<int64_t> any(1, INT64_MAX);
    return any(device);
}

void CTPcActivity::Insert(int64_t span, bool end, int userId, const std::string& computer,
                          const CTime& at, ActivityEnd how) {
    const SqlDialect& d = Dialect();
    Connection().Database().ExecuteSQL(
        d.Render("INSERT INTO [dbo].[T端末利用] ([idSpan], [flgEnd], [idUser], [strPCName], "
                 "[dateAt], [typeEnd]) VALUES (?, ?, ?, ?, ?, ?)"),
        {DbValue(span), DbValue(end ? 1 : 0), DbValue(userId), DbValue(computer),
         d.DateTimeParam(at), DbValue(static_cast<int>(how))});
}

void CTPcActivity::Begin(int64_t span, int userId, const std::string& computer, const CTime& at) {
    Insert(span, false, userId, computer, at, ActivityEnd::None);
}

void CTPcActivity::End(int64_t span, int userId, const std::string& computer, const CTime& at,
                       ActivityEnd how) {
    CDatabase& db = Connection().Database();
    try {
        CDatabase::ExpectedErrors quiet(db);
        CTransaction row(db);  // a savepoint: a refused row leaves the caller's work usable
        Insert(span, true, userId, computer, at, how);
        row.Commit();
    } catch (const CDBException& e) {
        if (!e.IsConstraintViolation()) {
            db.ReportError(e);
            throw;
        }
    }
}

int CTPcActivity::LoadStarted(const CTime& from, const CTime& to, std::vector<CActivitySpan>& out,
                              int userId) {
    Close();
    const SqlDialect& d = Dialect();
    // Each span's two rows come as one, through the index on (flgEnd, dateAt): a month of
    // an office's spans is read in one pass.
    CRecordset set(Connection().Database());
    try {
        std::string sql =
            "SELECT o.[idSpan], o.[idUser], o.[strPCName], o.[dateAt], c.[dateAt], c.[typeEnd] "
            "FROM [dbo].[T端末利用] o LEFT JOIN [dbo].[T端末利用] c ON c.[idSpan]=o.[idSpan] AND "
            "c.[flgEnd]=1 WHERE o.[flgEnd]=0 AND o.[dateAt]>=? AND o.[dateAt]<?";
        std::vector<DbValue> params{d.DateTimeParam(from), d.DateTimeParam(to)};
        if (userId != 0) {
            sql += " AND o.[idUser]=?";
            params.emplace_back(userId);
        }
        set.Open(d.Render(sql + " ORDER BY o.[dateAt]"), params,
                 {DbType::Integer, DbType::Integer, DbType::Text, DbType::Timestamp,
                  DbType::Timestamp, DbType::Integer});
    } catch (const CDBException&) {
        return 0;  // told by the connection
    }
    CTimeReader times;
    for (; !set.IsEOF(); set.MoveNext()) {
        CActivitySpan span;
        span.idSpan = set.GetField(0).AsInt(0);
        span.idUser = static_cast<int>(set.GetField(1).AsInt(0));
        span.computer = set.GetField(2).AsText();
        span.start = times.From(set.GetField(3));
        const DbValue& end = set.GetField(5);
        if (!end.IsNull()) {
            span.end = times.From(set.GetField(4));
            span.how = static_cast<ActivityEnd>(end.AsInt(0));
        }
        out.push_back(std::move(span));
    }
    return 1;
}

}  // namespace tokeiya

namespace tokeiya {

std::vector<CActivityDay> SummarizeActivityDays(const std::vector<CActivitySpan>& spans) {
    std::map<std::tuple<int, int, int, int>, CActivityDay> days;
    for (const CActivitySpan& span : spans) {
        std::tm tm{};
        if (!span.start.GetLocalTm(tm)) {
            continue;
        }
        CActivityDay& day = days[{span.idUser, tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}];
        if (day.spans == 0 || span.start < day.firstStart) {
            day.firstStart = span.start;
        }
        day.idUser = span.idUser;
        day.nYear = tm.tm_year + 1900;
        day.nMonth = tm.tm_mon + 1;
        day.nDay = tm.tm_mday;
        ++day.spans;
        if (span.Backwards()) {
            day.backwards = true;
        } else if (span.how != ActivityEnd::None &&
                   (IsEmptyTime(day.lastEnd) || day.lastEnd < span.end)) {
            day.lastEnd = span.end;
        }
    }
    std::vector<CActivityDay> out;
    out.reserve(days.size());
    for (const auto& [key, day] : days) {
        out.push_back(day);
    }
    return out;
}

int CTPcActivity::LoadDays(const CTime& from, const CTime& to, std::vector<CActivityDay>& out,
                           int userId) {
    Close();
    const SqlDialect& d = Dialect();
    // The opening rows come through the index on (flgEnd, dateAt, idUser, idSpan) alone, each
    // with its closing row through the unique (idSpan, flgEnd); only the day's sums leave the
    // database, and the day itself is read from its first start.
    CRecordset set(Connection().Database());
    try {
        std::string sql =
            "SELECT o.[idUser], MIN(o.[dateAt]), "
            "MAX(CASE WHEN c.[dateAt]>=o.[dateAt] THEN c.[dateAt] END), "
            "MAX(CASE WHEN c.[dateAt]<o.[dateAt] THEN 1 ELSE 0 END), COUNT(*) "
            "FROM [dbo].[T端末利用] o LEFT JOIN [dbo].[T端末利用] c ON c.[idSpan]=o.[idSpan] AND "
            "c.[flgEnd]=1 WHERE o.[flgEnd]=0 AND o.[dateAt]>=? AND o.[dateAt]<?";
        std::vector<DbValue> params{d.DateTimeParam(from), d.DateTimeParam(to)};
        if (userId != 0) {
            sql += " AND o.[idUser]=?";
            params.emplace_back(userId);
        }
        sql += " GROUP BY o.[idUser], " + d.DateOf("o.[dateAt]");
        set.Open(d.Render(sql), params,
                 {DbType::Integer, DbType::Timestamp, DbType::Timestamp, DbType::Integer,
                  DbType::Integer});
    } catch (const CDBException&) {
        return 0;  // told by the connection
    }
    CTimeReader times;
    for (; !set.IsEOF(); set.MoveNext()) {
        CActivityDay row;
        row.idUser = static_cast<int>(set.GetField(0).AsInt(0));
        row.firstStart = times.From(set.GetField(1));
        row.lastEnd = times.From(set.GetField(2));
        row.backwards = set.GetField(3).AsInt(0) != 0;
        row.spans = static_cast<int>(set.GetField(4).AsInt(0));
        std::tm tm{};
        if (row.firstStart.GetLocalTm(tm)) {
            row.nYear = tm.tm_year + 1900;
            row.nMonth = tm.tm_mon + 1;
            row.nDay = tm.tm_mday;
        }
        out.push_back(row);
    }
    return 1;
}

}  // namespace tokeiya
