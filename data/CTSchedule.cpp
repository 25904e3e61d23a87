#include "data/CTSchedule.hpp"

#include <optional>

#include "data/TimeValue.hpp"

namespace tokeiya {
namespace {

constexpr const char* kViewSort = "[nYear] DESC, [nMonth] DESC, [nDay], [nLevel] DESC";

}  // namespace

CTSchedule::CTSchedule(CConnection& connection, Mode mode) : CRecordBase(connection), m_mode(mode) {
    SetFieldDefaults();
    m_strSort = m_mode == Mode::View ? kViewSort : "";
}

void CTSchedule::SetMode(Mode mode) {
    if (IsOpen()) {
        Close();
    }
    if (mode != m_mode) {
        m_strSort = mode == Mode::View ? kViewSort : "";
    }
    m_mode = mode;
}

std::string CTSchedule::GetDefaultSQL() const {
    return m_mode == Mode::View ? "[dbo].[Q日程]" : "[dbo].[T日程]";
}

void CTSchedule::SetFieldDefaults() {
    m_idSchedule = 0;
    m_idUser = 0;
    m_dateSchedule = CTime();
    m_strSubject.clear();
    m_strSchedule.clear();
    m_flgAlarm = 0;
    m_flgEveryDay = 0;
    m_nLevel = 1;
    m_tmp = 0;
    m_timeUpdate = CTime();
    m_nYear = 0;
    m_nMonth = 0;
    m_nDay = 0;
}

void CTSchedule::DoFieldExchange(CFieldExchange& fx) {
    fx.BigInt("[idSchedule]", m_idSchedule);
    fx.Long("[idUser]", m_idUser);
    fx.Date("[dateSchedule]", m_dateSchedule);
    fx.Text("[strSubject]", m_strSubject);
    fx.Text("[strSchedule]", m_strSchedule);
    fx.Bit("[flgAlarm]", m_flgAlarm);
    fx.Bit("[flgEveryDay]", m_flgEveryDay);
    fx.Long("[nLevel]", m_nLevel);
    fx.Long("[tmp]", m_tmp);
    fx.Date("[timeUpdate]", m_timeUpdate);
    if (m_mode == Mode::View) {
        fx.Long("[nYear]", m_nYear);
        fx.Long("[nMonth]", m_nMonth);
        fx.Long("[nDay]", m_nDay);
    }
}

CSchedule CTSchedule::ToSchedule() const {
    CSchedule schedule;
    schedule.idSchedule = m_idSchedule;
    schedule.idUser = m_idUser;
    schedule.dateSchedule = m_dateSchedule;
    schedule.strSubject = m_strSubject;
    schedule.strSchedule = m_strSchedule;
    schedule.flgAlarm = m_flgAlarm;
    schedule.flgEveryDay = m_flgEveryDay;
    schedule.nLevel = m_nLevel;
    return schedule;
}

void CTSchedule::FromSchedule(const CSchedule& schedule) {
    m_idUser = schedule.idUser;
    m_dateSchedule = schedule.dateSchedule;
    m_strSubject = schedule.strSubject;
    m_strSchedule = schedule.strSchedule;
    m_flgAlarm = schedule.flgAlarm;
    m_flgEveryDay = schedule.flgEveryDay;
    m_nLevel = schedule.nLevel;
}

int CTSchedule::SaveHoliday(int year, int month, int day, const std::string& name, CTime* stamped) {
    std::optional<CTime> date = CTime::FromLocal(year, month, day, 0, 0, 0);
    // A date that normalises to another day would name the wrong day's holiday.
    if (!date || IsEmptyTime(*date) || date->GetYear() != year || date->GetMonth() != month ||
        date->GetDay() != day) {
        return 0;
    }
    SetMode(Mode::Table);
    m_strSort.clear();
    // The date goes as a parameter: SQLite compares date-times as texts, so only a value
    // bound the way it was stored is sure to match.
    m_strFilter = "[dateSchedule]=? AND [nLevel]=?";
    m_params = {Dialect().DateTimeParam(*date), DbValue(kScheduleLevelHoliday)};
    if (!Open()) {
        return 0;
    }
    if (IsEOF()) {
        AddNew();  // idUser keeps its default 0: a holiday is shared
        m_nLevel = kScheduleLevelHoliday;
        m_dateSchedule = *date;
    } else {
        Edit();
    }
    m_strSubject = name;
    // The other computers' month schedules see the change by this stamp.
    m_timeUpdate = CTime::GetCurrentTime();
    const CTime stamp = m_timeUpdate;
    Update();
    if (stamped != nullptr) {
        *stamped = stamp;
    }
    return 1;
}

int CTSchedule::LoadDay(int userId, int year, int month, int day, std::vector<CSchedule>& list) {
    SetMode(Mode::View);
    m_strSort = kViewSort;
    m_strFilter = "[idUser]=? AND (([nYear]=? AND [nMonth]=? AND [nDay]=?) OR [flgEveryDay]=1)";
    m_params = {DbValue(userId), DbValue(year), DbValue(month), DbValue(day)};
    if (!Open()) {
        return 0;
    }
    for (; !IsEOF(); MoveNext()) {
        list.push_back(ToSchedule());
    }
    return 1;
}

int CTSchedule::SaveSchedule(int token, CSchedule& schedule, CTime& latestUpdate,
                             const CSchedule* asRead) {
    SetMode(Mode::Table);
    m_strSort.clear();
    if (schedule.idSchedule != 0) {
        m_strFilter = "[idSchedule]=?";
        m_params = {DbValue(schedule.idSchedule)};
        if (!Open() || IsEOF()) {
            return 0;
        }
        if (asRead != nullptr) {
            EditAsRead([this, asRead] { FromSchedule(*asRead); });
        } else {
            Edit();
        }
        FromSchedule(schedule);
    } else {
        // The new row is found again by the token. Rows of other computers carry other
        // tokens, or 0 once saved, which is why 0 cannot be a token. A row left with this
        // token by a save that broke off has a lower id than the row inserted now, so the
        // highest id is ours.
        if (token == 0) {
            return 0;
        }
        m_strFilter = "[tmp]=?";
        m_params = {DbValue(token)};
        m_strSort = "[idSchedule] DESC";
        if (!Open()) {
            return 0;
        }
        AddNew();
        FromSchedule(schedule);
        m_tmp = token;
        Update();
        if (!Requery() || IsEOF()) {
            return 0;
        }
        schedule.idSchedule = m_idSchedule;
        Edit();
        m_tmp = 0;
    }
    CTime now = CTime::GetCurrentTime();
    m_timeUpdate = now;
    if (now > latestUpdate) {
        latestUpdate = now;
    }
    Update();
    return 1;
}

CTime CTSchedule::LatestUpdateOfMonth(int year, int month) {
    const int nextYear = month == 12 ? year + 1 : year;
    const int nextMonth = month == 12 ? 1 : month + 1;
    return LatestUpdate(CTime::FromLocal(year, month, 1, 0, 0, 0),
                        CTime::FromLocal(nextYear, nextMonth, 1, 0, 0, 0));
}

CTime CTSchedule::LatestUpdateOfDay(int year, int month, int day, bool* failed) {
    const std::optional<CTime> from = CTime::FromLocal(year, month, day, 0, 0, 0);
    // The next midnight, not 24 hours on: a day with a clock change is longer or shorter.
    std::optional<CTime> to;
    if (from) {
        to = CTime::FromLocal(from->GetYear(), from->GetMonth(), from->GetDay() + 1, 0, 0, 0);
    }
    return LatestUpdate(from, to, failed);
}

CTime CTSchedule::LatestUpdate(const std::optional<CTime>& from, const std::optional<CTime>& to,
                               bool* failed) {
    if (failed != nullptr) {
        *failed = false;
    }
    if (!from || !to || IsEmptyTime(*from) || !(*from < *to)) {
        return CTime();
    }
    // A range of the column itself, not its year and month, so that the date index serves
    // it; MAX leaves out the rows never stamped.
    CRecordset latest(Connection().Database());
    try {
        latest.Open(Dialect().Render("SELECT MAX([timeUpdate]) FROM [dbo].[T日程]"
                                     " WHERE [dateSchedule]>=? AND [dateSchedule]<?"),
                    {Dialect().DateTimeParam(*from), Dialect().DateTimeParam(*to)},
                    {DbType::Timestamp});
    } catch (const CDBException&) {
        // Told by the connection; nothing is known newer.
        if (failed != nullptr) {
            *failed = true;
        }
        return CTime();
    }
    return latest.IsEOF() ? CTime() : FromDbValue(latest.GetField(0));
}

}  // namespace tokeiya
