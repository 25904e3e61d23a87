#include "data/CTTimeCard.hpp"

#include <optional>

#include "data/CTCardHistory.hpp"
#include "data/PayPeriod.hpp"
#include "data/TimeValue.hpp"

namespace tokeiya {

CTTimeCard::CTTimeCard(CConnection& connection, ChangeSource source)
    : CRecordBase(connection), m_source(std::move(source)) {
    SetFieldDefaults();
}

void CTTimeCard::SetFieldDefaults() {
    // Every writer sets the lunch minutes, so the blank card's 0 never reaches a row.
    FromCard(CTimeCard{});
}

void CTTimeCard::DoFieldExchange(CFieldExchange& fx) {
    fx.BigInt("[idTimeCard]", m_idTimeCard);
    fx.Long("[idUser]", m_idUser);
    fx.Date("[timeFrom]", m_timeFrom);
    fx.Date("[timeTo]", m_timeTo);
    fx.Long("[nWorkingMin]", m_nWorkingMin);
    fx.Long("[nLunchMin]", m_nLunchMin);
    fx.Long("[nOvertimeMin]", m_nOvertimeMin);
    fx.Long("[nYear]", m_nYear);
    fx.Long("[nMonth]", m_nMonth);
    fx.Long("[nDay]", m_nDay);
    fx.Long("[flgOption]", m_flgOption);
    fx.Single("[fSalary]", m_fSalary);
    fx.Single("[fOvertimePay]", m_fOvertimePay);
    fx.Bit("[flgErr]", m_flgErr);
}

CTimeCard CTTimeCard::ToCard() const {
    CTimeCard card;
    card.idTimeCard = m_idTimeCard;
    card.idUser = m_idUser;
    card.timeFrom = m_timeFrom;
    card.timeTo = m_timeTo;
    card.nWorkingMin = m_nWorkingMin;
    card.nLunchMin = m_nLunchMin;
    card.nOvertimeMin = m_nOvertimeMin;
    card.nYear = m_nYear;
    card.nMonth = m_nMonth;
    card.nDay = m_nDay;
    card.flgOption = m_flgOption;
    card.fSalary = m_fSalary;
    card.fOvertimePay = m_fOvertimePay;
    card.flgErr = m_flgErr;
    return card;
}

void CTTimeCard::FromCard(const CTimeCard& card) {
    m_idTimeCard = card.idTimeCard;
    m_idUser = card.idUser;
    m_timeFrom = card.timeFrom;
    m_timeTo = card.timeTo;
    m_nWorkingMin = card.nWorkingMin;
    m_nLunchMin = card.nLunchMin;
    m_nOvertimeMin = card.nOvertimeMin;
    m_nYear = card.nYear;
    m_nMonth = card.nMonth;
    m_nDay = card.nDay;
    m_flgOption = card.flgOption;
    m_fSalary = card.fSalary;
    m_fOvertimePay = card.fOvertimePay;
    m_flgErr = card.flgErr;
}

bool CTTimeCard::OpenKey(int64_t key) {
    Close();
    m_strFilter = "[idTimeCard] = ?";
    m_params = {DbValue(key)};
    return Open();
}

void CTTimeCard::EditDay(const std::function<void()>& asRead) {
    if (asRead) {
        EditAsRead(asRead);
    } else {
        Edit();
    }
}

CardValues CTTimeCard::Values() const {
    return {m_timeFrom, m_timeTo, m_nLunchMin, m_flgOption};
}

int CTTimeCard::WriteDay(const CTimeCard& day, const std::function<void()>& write,
                         const std::function<void()>& asRead) {
    CDatabase& db = Connection().Database();
    if (!OpenKey(day.idTimeCard)) {
        return 0;
    }
    std::optional<CardValues> before;
    CardValues after;
    // What ends up in the row: a value the caller changed since its read, else the row's.
    auto edit = [&] {
        before = Values();
        EditDay(asRead);
        const CardValues read = Values();
        write();
        const CardValues written = Values();
        after = *before;
        if (!(written.timeFrom == read.timeFrom)) {
            after.timeFrom = written.timeFrom;
        }
        if (!(written.timeTo == read.timeTo)) {
            after.timeTo = written.timeTo;
        }
        if (written.nLunchMin != read.nLunchMin) {
            after.nLunchMin = written.nLunchMin;
        }
        if (written.flgOption != read.flgOption) {
            after.flgOption = written.flgOption;
        }
    };
    const bool existed = !IsEOF();
    if (existed) {
        edit();
    } else {
        AddNew();
        m_idTimeCard = day.idTimeCard;
        m_idUser = day.idUser;
        m_nYear = day.nYear;
        m_nMonth = day.nMonth;
        m_nDay = day.nDay;
        write();
        after = Values();
    }
    // The card and its history row are stored together or not at all. The read above stays
    // outside: on SQLite a reading transaction would hold another computer's store.
    CTransaction transaction(db);
    try {
        // A new row may clash with the same day added by another computer just now.
        std::optional<CDatabase::ExpectedErrors> quiet;
        if (!existed) {
            quiet.emplace(db);
        }
        Update();
    } catch (const CDBException& e) {
        if (existed || !e.IsConstraintViolation()) {
            db.ReportError(e);
            throw;
        }
        CancelUpdate();
        if (!OpenKey(day.idTimeCard) || IsEOF()) {
            return 0;
        }
        edit();
        Update();
    }
    CTCardHistory::Record(Connection(), day, before, after, m_source);
    transaction.Commit();
    return 1;
}

int CTTimeCard::LoadCard(CTimeCard& card) {
    if (!OpenKey(card.idTimeCard != 0 ? card.idTimeCard : card.Key())) {
        return 0;
    }
    if (!IsEOF()) {
        card = ToCard();
    }
    return 1;
}

int CTTimeCard::StoreCard(CTimeCard& card, const CTimeCard* asRead) {
    card.flgOption = DayOption(card.timeFrom, card.timeTo, card.flgOption);
    if (card.idTimeCard == 0) {
        card.idTimeCard = card.Key();
    }
    std::function<void()> read;
    if (asRead != nullptr) {
        read = [this, asRead, &card] {
            FromCard(*asRead);
            // A day read before its row existed differs in nothing but its missing key.
            m_idTimeCard = card.idTimeCard;
        };
    }
    return WriteDay(
        card, [&] { FromCard(card); }, read);
}

int CTTimeCard::LoadPeriod(const CUser& user, int year, int month,
                           std::array<CTimeCard, 31>& rows) {
    PayPeriod period(year, month, user.nCutoff);
    Close();
    m_strFilter = "[idTimeCard]>=? AND [idTimeCard]<=?";
    m_params = {DbValue(period.FirstKey(user.idUser)), DbValue(period.LastKey(user.idUser))};
    m_strSort = "[idTimeCard]";
    bool opened = Open();
    m_strSort.clear();
    if (!opened) {
        return 0;
    }
    for (; !IsEOF(); MoveNext()) {
        int row = period.RowOf(m_nYear, m_nMonth, m_nDay);
        if (row >= 0 && row < static_cast<int>(rows.size())) {
            rows[static_cast<size_t>(row)] = ToCard();
        }
    }
    return 1;
}

int CTTimeCard::StampArrival(const CUser& user) {
    const CTime now = CTime::GetCurrentTime();
    return Stamp(user.idUser, true, now.AddMinutes(-user.nStartUpMin), user.nLunchMin);
}

int CTTimeCard::StampDeparture(const CUser& user) {
    const CTime now = CTime::GetCurrentTime();
    return Stamp(user.idUser, false, now.AddMinutes(user.nCoolDownMin), user.nLunchMin);
}

int CTTimeCard::StampDepartureAt(int userId, const CTime& shifted, int lunchMinutes) {
    return Stamp(userId, false, shifted, lunchMinutes);
}

int CTTimeCard::Stamp(int userId, bool arrival, const CTime& t, int lunchMinutes) {
    CTimeCard day = CTimeCard::NewDay(userId, t.GetYear(), t.GetMonth(), t.GetDay(), lunchMinutes);
    day.idTimeCard = day.Key();
    const CTime stamp = TimeOfDay(t.GetHour(), t.GetMinute());
    const char* column = arrival ? "[timeFrom]" : "[timeTo]";
    // A later departure replaces an earlier one under the office's "last exit" rule.
    const bool replaceEarlier = !arrival && m_lastExit;
    auto stamped = [&](CardValues values) {
        (arrival ? values.timeFrom : values.timeTo) = stamp;
        return values;
    };

    CDatabase& db = Connection().Database();
    if (!OpenKey(day.idTimeCard)) {
        return 0;
    }
    // The stamp and its history row go in together (the read above stays outside, as in
    // WriteDay).
    std::optional<CTransaction> transaction;
    if (!IsEOF()) {
        const CTime& held = arrival ? m_timeFrom : m_timeTo;
        if (!IsEmptyTime(held) && !(replaceEarlier && held < stamp)) {
            return 1;  // stamped before: the first stamp stays (or the later, by the rule)
        }
    } else {
        AddNew();
        FromCard(day);
        (arrival ? m_timeFrom : m_timeTo) = stamp;
        transaction.emplace(db);
        try {
            CDatabase::ExpectedErrors quiet(db);
            Update();
            CTCardHistory::Record(Connection(), day, std::nullopt, Values(), m_source);
            transaction->Commit();
            return 1;
        } catch (const CDBException& e) {
            // Another copy of the program created the day's row first; stamp into it
            // below unless it already holds this stamp.
            if (!e.IsConstraintViolation()) {
                db.ReportError(e);
                throw;
            }
            CancelUpdate();
        }
        if (!OpenKey(day.idTimeCard) || IsEOF()) {
            return 0;
        }
    }
    const CardValues before = Values();
    // Only an empty time (or an earlier one, by the rule) is replaced, tested by the
    // database itself, so that of two copies stamping at once the right stamp stays.
    const SqlDialect& d = Dialect();
    std::string sql = "UPDATE [dbo].[Tタイムカード] SET " + std::string(column) +
                      "=? WHERE [idTimeCard]=? AND (" + column + " IS NULL OR " + column + "<" +
                      d.DateTimeLiteral(CTime(1970, 1, 2, 0, 0, 0));
    std::vector<DbValue> params{d.DateTimeParam(stamp), DbValue(day.idTimeCard)};
    if (replaceEarlier) {
        sql += std::string(" OR ") + column + "<?";
        params.push_back(d.DateTimeParam(stamp));
    }
    sql += ")";
    Close();
    if (!transaction) {
        transaction.emplace(db);
    }
    if (db.ExecuteSQL(d.Render(sql), params) > 0) {
        CTCardHistory::Record(Connection(), day, before, stamped(before), m_source);
    }
    transaction->Commit();
    return 1;
}

}  // namespace tokeiya
