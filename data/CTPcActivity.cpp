#include "data/CTPcActivity.hpp"

#include <algorithm>
#include <ctime>
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
    m_dateStart = CTime();
}

void CTPcActivity::DoFieldExchange(CFieldExchange& fx) {
    fx.BigInt("[idSpan]", m_idSpan);
    fx.Long("[flgEnd]", m_flgEnd);
    fx.Long("[idUser]", m_idUser);
    fx.Text("[strPCName]", m_strPCName);
    fx.Date("[dateAt]", m_dateAt);
    fx.Long("[typeEnd]", m_typeEnd);
    fx.Date("[dateStart]", m_dateStart);
}

int64_t CTPcActivity::NewSpanId() {
    std::random_device device;
    std::uniform_int_distribution<int64_t> any(1, INT64_MAX);
    return any(device);
}

void CTPcActivity::Insert(int64_t span, bool end, int userId, const std::string& computer,
                          const CTime& at, ActivityEnd how) {
    const SqlDialect& d = Dialect();
    std::vector<DbValue> params{DbValue(span),       DbValue(end ? 1 : 0),
                                DbValue(userId),     DbValue(computer),
                                d.DateTimeParam(at), DbValue(static_cast<int>(how))};
    // A closing row takes its span's start from the opening row, in the same statement, so
    // that the start a month's sums are made of is the one recorded.
    std::string sql =
        "INSERT INTO [dbo].[T端末利用] ([idSpan], [flgEnd], [idUser], [strPCName], [dateAt], "
        "[typeEnd], [dateStart]) SELECT ?, ?, ?, ?, ?, ?, ";
    if (end) {
        sql += "(SELECT o.[dateAt] FROM [dbo].[T端末利用] o WHERE o.[idSpan]=? AND o.[flgEnd]=0)";
        params.emplace_back(span);
    } else {
        sql += "NULL";
    }
    Connection().Database().ExecuteSQL(d.Render(sql), params);
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

namespace {

// Sorts the days from `first` on by user and day and folds the rows of one day into one.
void MergeSameDays(std::vector<CActivityDay>& days, size_t first) {
    auto key = [](const CActivityDay& d) { return std::tie(d.idUser, d.nYear, d.nMonth, d.nDay); };
    const auto begin = days.begin() + static_cast<std::ptrdiff_t>(first);
    std::sort(begin, days.end(),
              [&key](const CActivityDay& a, const CActivityDay& b) { return key(a) < key(b); });
    auto kept = begin;
    for (auto day = begin; day != days.end(); ++day) {
        if (kept == begin || key(*(kept - 1)) != key(*day)) {
            *kept++ = *day;
            continue;
        }
        CActivityDay& into = *(kept - 1);
        into.spans += day->spans;
        into.backwards = into.backwards || day->backwards;
        if (day->firstStart < into.firstStart) {
            into.firstStart = day->firstStart;
        }
        if (!IsEmptyTime(day->lastEnd) &&
            (IsEmptyTime(into.lastEnd) || into.lastEnd < day->lastEnd)) {
            into.lastEnd = day->lastEnd;
        }
    }
    days.erase(kept, days.end());
}

}  // namespace

std::vector<CActivityDay> SummarizeActivityDays(const std::vector<CActivitySpan>& spans) {
    std::vector<CActivityDay> days;
    days.reserve(spans.size());
    for (const CActivitySpan& span : spans) {
        std::tm tm{};
        if (!span.start.GetLocalTm(tm)) {
            continue;
        }
        CActivityDay day;
        day.idUser = span.idUser;
        day.nYear = tm.tm_year + 1900;
        day.nMonth = tm.tm_mon + 1;
        day.nDay = tm.tm_mday;
        day.firstStart = span.start;
        day.spans = 1;
        day.backwards = span.Backwards();
        if (!day.backwards && span.how != ActivityEnd::None) {
            day.lastEnd = span.end;
        }
        days.push_back(day);
    }
    MergeSameDays(days, 0);
    return days;
}

int CTPcActivity::LoadDays(const CTime& from, const CTime& to, std::vector<CActivityDay>& out,
                           int userId) {
    Close();
    const SqlDialect& d = Dialect();
    std::vector<DbValue> params{d.DateTimeParam(from), d.DateTimeParam(to)};
    std::string byUser;
    if (userId != 0) {
        byUser = " AND [idUser]=?";
        params.emplace_back(userId);
    }
    // Ended spans are summed up from their closing rows alone, through the index on
    // (flgEnd, dateStart, idUser, dateAt); only the day's sums leave the database. The
    // opening rows are counted alongside: a span still open is one more opening row than
    // closing rows, and only then are the open ones looked for.
    CDatabase& db = Connection().Database();
    CRecordset ended(db);
    CRecordset opening(db);
    try {
        ended.Open(d.Render("SELECT [idUser], MIN([dateStart]), "
                            "MAX(CASE WHEN [dateAt]>=[dateStart] THEN [dateAt] END), "
                            "MAX(CASE WHEN [dateAt]<[dateStart] THEN 1 ELSE 0 END), COUNT(*) "
                            "FROM [dbo].[T端末利用] WHERE [flgEnd]=1 AND [dateStart]>=? AND "
                            "[dateStart]<?" +
                            byUser + " GROUP BY [idUser], " + d.DateOf("[dateStart]")),
                   params,
                   {DbType::Integer, DbType::Timestamp, DbType::Timestamp, DbType::Integer,
                    DbType::Integer});
        opening.Open(d.Render("SELECT COUNT(*) FROM [dbo].[T端末利用] WHERE [flgEnd]=0 AND "
                              "[dateAt]>=? AND [dateAt]<?" +
                              byUser),
                     params, {DbType::Integer});
    } catch (const CDBException&) {
        return 0;  // told by the connection
    }
    // The day is the local date the database holds, read without converting the time back.
    auto dayOf = [](const DbValue& value, CActivityDay& day) {
        if (const DbTimestamp* at = value.AsTimestamp()) {
            day.nYear = at->year;
            day.nMonth = at->month;
            day.nDay = at->day;
        }
    };
    CTimeReader times;
    const size_t first = out.size();
    int64_t closed = 0;
    for (; !ended.IsEOF(); ended.MoveNext()) {
        CActivityDay row;
        row.idUser = static_cast<int>(ended.GetField(0).AsInt(0));
        row.firstStart = times.From(ended.GetField(1));
        dayOf(ended.GetField(1), row);
        row.lastEnd = times.From(ended.GetField(2));
        row.backwards = ended.GetField(3).AsInt(0) != 0;
        row.spans = static_cast<int>(ended.GetField(4).AsInt(0));
        closed += row.spans;
        out.push_back(row);
    }
    if (!opening.IsEOF() && opening.GetField(0).AsInt(0) > closed) {
        CRecordset open(db);
        try {
            open.Open(d.Render("SELECT [idUser], [dateAt] FROM [dbo].[T端末利用] o WHERE "
                               "[flgEnd]=0 AND [dateAt]>=? AND [dateAt]<?" +
                               byUser +
                               " AND NOT EXISTS (SELECT 1 FROM [dbo].[T端末利用] c WHERE "
                               "c.[idSpan]=o.[idSpan] AND c.[flgEnd]=1)"),
                      params, {DbType::Integer, DbType::Timestamp});
        } catch (const CDBException&) {
            out.resize(first);
            return 0;  // told by the connection
        }
        for (; !open.IsEOF(); open.MoveNext()) {
            CActivityDay start;
            start.idUser = static_cast<int>(open.GetField(0).AsInt(0));
            start.firstStart = times.From(open.GetField(1));
            dayOf(open.GetField(1), start);
            start.spans = 1;
            out.push_back(start);
        }
    }
    MergeSameDays(out, first);
    return 1;
}

}  // namespace tokeiya
