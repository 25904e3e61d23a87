#include "data/CTPcActivity.hpp"

#include <algorithm>
#include <map>
#include <random>

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

int CTPcActivity::LoadStarted(const CTime& from, const CTime& to, std::vector<CActivitySpan>& out) {
    Close();
    const SqlDialect& d = Dialect();
    m_strFilter =
        "[idSpan] IN (SELECT [idSpan] FROM [dbo].[T端末利用] WHERE [flgEnd]=0 AND "
        "[dateAt]>=? AND [dateAt]<?)";
    m_params = {d.DateTimeParam(from), d.DateTimeParam(to)};
    if (!Open()) {
        return 0;
    }
    std::map<int64_t, CActivitySpan> spans;
    for (; !IsEOF(); MoveNext()) {
        CActivitySpan& span = spans[m_idSpan];
        span.idSpan = m_idSpan;
        if (m_flgEnd == 0) {
            span.idUser = m_idUser;
            span.computer = m_strPCName;
            span.start = m_dateAt;
        } else {
            span.end = m_dateAt;
            span.how = static_cast<ActivityEnd>(m_typeEnd);
        }
    }
    const size_t first = out.size();
    for (auto& [id, span] : spans) {
        out.push_back(std::move(span));
    }
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
              [](const CActivitySpan& a, const CActivitySpan& b) { return a.start < b.start; });
    return 1;
}

}  // namespace tokeiya
