#include "screens/gapcheck/GapCheck.hpp"

#include <algorithm>
#include <set>
#include <tuple>

#include "data/CTCardHistory.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/PayPeriod.hpp"
#include "data/TimeValue.hpp"

namespace tokeiya {
namespace {

constexpr int kDayMinutes = 1440;

int MinuteOfDay(const CTime& time) {
    return time.GetHour() * 60 + time.GetMinute();
}

// Minutes of `at` from midnight of the given day (past 1440 on the next day).
int MinutesFrom(int year, int month, int day, const CTime& at) {
    return static_cast<int>((at.GetTime() - CTime(year, month, day, 0, 0, 0).GetTime()) / 60);
}

using DayKey = std::tuple<int, int, int, int>;  // user, year, month, day

DayKey KeyOf(int userId, const CTime& at) {
    return {userId, at.GetYear(), at.GetMonth(), at.GetDay()};
}

}  // namespace

bool CGapCheck::ByHand(ChangeHow how) {
    return how != ChangeHow::LoginStamp && how != ChangeHow::ExitStamp &&
           how != ChangeHow::JournalExit;
}

bool CGapCheck::Load(CConnection& connection, int year, int month, int groupId) {
    std::vector<CUser> users;
    std::vector<CTimeCard> cards;
    std::vector<CActivitySpan> spans;
    std::vector<CCardChange> changes;
    OfficeSettings office;
    const CalendarDay next = FirstOfMonth(year, month, 1);
    CTUser userSet(connection, CTUser::Mode::View);
    if (userSet.LoadList(users, groupId, false) == 0 ||
        CTTimeCard(connection).LoadMonth(year, month, cards) == 0 ||
        CTPcActivity(connection).LoadStarted(CTime(year, month, 1, 0, 0, 0),
                                             CTime(next.year, next.month, 1, 0, 0, 0),
                                             spans) == 0 ||
        CTCardHistory(connection).LoadMonth(year, month, changes) == 0 ||
        CTOfficeSettings(connection).Load(office) == 0) {
        return false;
    }
    Build(year, month, users, cards, std::move(spans), std::move(changes), office);
    // Whoever corrected a card is named, also an administrator outside the list.
    for (const CCardChange& change : m_changes) {
        if (!m_names.contains(change.byUser)) {
            CUser user;
            if (userSet.LoadById(change.byUser, user) != 0) {
                m_names[change.byUser] = user.strUserName;
            }
        }
    }
    return true;
}

void CGapCheck::Build(int year, int month, const std::vector<CUser>& users,
                      const std::vector<CTimeCard>& cards, std::vector<CActivitySpan> spans,
                      std::vector<CCardChange> changes, const OfficeSettings& office) {
    m_rows.clear();
    m_names.clear();
    m_office = office;
    for (const CUser& user : users) {
        m_names[user.idUser] = user.strUserName;
    }
    std::erase_if(spans, [&](const CActivitySpan& s) { return !m_names.contains(s.idUser); });
    std::erase_if(changes, [&](const CCardChange& c) { return !m_names.contains(c.idUser); });
    m_spans = std::move(spans);
    m_changes = std::move(changes);

    std::map<DayKey, const CTimeCard*> cardOf;
    for (const CTimeCard& card : cards) {
        cardOf[{card.idUser, card.nYear, card.nMonth, card.nDay}] = &card;
    }
    std::set<DayKey> days;
    for (const CActivitySpan& span : m_spans) {
        days.insert(KeyOf(span.idUser, span.start));
    }
    for (const CCardChange& change : m_changes) {
        days.insert({change.idUser, change.nYear, change.nMonth, change.nDay});
    }
    for (const DayKey& key : days) {
        const auto [userId, y, m, d] = key;
        if (y != year || m != month) {
            continue;
        }
        GapCheckRow row;
        row.idUser = userId;
        row.userName = m_names[userId];
        row.nYear = y;
        row.nMonth = m;
        row.nDay = d;
        bool active = false;
        for (const CActivitySpan& span : SpansOf(userId, y, m, d)) {
            active = true;
            const int start = MinutesFrom(y, m, d, span.start);
            row.firstStart = row.firstStart == kNoMinute ? start : std::min(row.firstStart, start);
            if (span.Backwards()) {
                row.clockBack = true;
            } else if (span.how != ActivityEnd::None) {
                row.lastEnd = std::max(row.lastEnd, MinutesFrom(y, m, d, span.end));
            }
        }
        const auto card = cardOf.find(key);
        if (card != cardOf.end()) {
            const CTimeCard& c = *card->second;
            if (!IsEmptyTime(c.timeFrom)) {
                row.arrival = MinuteOfDay(c.timeFrom) -
                              (c.flgOption == kOptionArrivalDayBefore ? kDayMinutes : 0);
            }
            if (!IsEmptyTime(c.timeTo)) {
                row.departure = MinuteOfDay(c.timeTo) +
                                (c.flgOption == kOptionDepartureNextDay ? kDayMinutes : 0);
            }
        }
        const CTime dayEnd = CTime(y, m, d, 0, 0, 0).AddMinutes(kDayMinutes);
        for (const CCardChange& change : ChangesOf(userId, y, m, d)) {
            if (ByHand(change.how)) {
                ++row.corrections;
                row.correctedLater = row.correctedLater || !(change.at < dayEnd);
            }
        }
        row.noCard = active && row.arrival == kNoMinute && row.departure == kNoMinute;
        if (row.firstStart != kNoMinute && row.arrival != kNoMinute) {
            const int early = row.arrival - row.firstStart;
            row.early = early > office.nGapMin;
            row.gapMinutes = std::max(row.gapMinutes, early);
        }
        if (row.lastEnd != kNoMinute && row.departure != kNoMinute) {
            const int late = row.lastEnd - row.departure;
            row.late = late > office.nGapMin;
            row.gapMinutes = std::max(row.gapMinutes, late);
        }
        row.gapMinutes = std::max(row.gapMinutes, -1);
        if (row.early || row.late || row.noCard || row.correctedLater || row.clockBack) {
            m_rows.push_back(std::move(row));
        }
    }
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const GapCheckRow& a, const GapCheckRow& b) {
        return std::tie(a.userName, a.idUser, a.nDay) < std::tie(b.userName, b.idUser, b.nDay);
    });
}

std::vector<CActivitySpan> CGapCheck::SpansOf(int userId, int year, int month, int day) const {
    std::vector<CActivitySpan> found;
    for (const CActivitySpan& span : m_spans) {
        if (KeyOf(span.idUser, span.start) == DayKey{userId, year, month, day}) {
            found.push_back(span);
        }
    }
    return found;
}

std::vector<CCardChange> CGapCheck::ChangesOf(int userId, int year, int month, int day) const {
    std::vector<CCardChange> found;
    for (const CCardChange& change : m_changes) {
        if (change.idUser == userId && change.nYear == year && change.nMonth == month &&
            change.nDay == day) {
            found.push_back(change);
        }
    }
    return found;
}

std::string CGapCheck::NameOf(int userId) const {
    const auto name = m_names.find(userId);
    if (name != m_names.end()) {
        return name->second;
    }
    return "ID " + std::to_string(userId);
}

const GapCheckRow* CGapCheck::Listed(int userId, int year, int month, int day) const {
    for (const GapCheckRow& row : m_rows) {
        if (row.idUser == userId && row.nYear == year && row.nMonth == month && row.nDay == day) {
            return &row;
        }
    }
    return nullptr;
}

int CGapCheck::CorrectionsOf(int userId, int year, int month, int day) const {
    int count = 0;
    for (const CCardChange& change : ChangesOf(userId, year, month, day)) {
        count += ByHand(change.how) ? 1 : 0;
    }
    return count;
}

}  // namespace tokeiya
