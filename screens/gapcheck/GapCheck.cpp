#include "screens/gapcheck/GapCheck.hpp"

#include <algorithm>
#include <ctime>
#include <map>
#include <tuple>

#include "data/CTCardHistory.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/PayPeriod.hpp"
#include "data/TimeValue.hpp"

namespace tokeiya {
namespace {

constexpr int kDayMinutes = 1440;

// Local minutes of the day, converted once per hour of the epoch: a month of cards has
// few distinct hours.
class CMinuteOfDay {
  public:
    int operator()(const CTime& time) {
        const int64_t seconds = time.GetTime();
        const int64_t hour = seconds >= 0 ? seconds / 3600 : (seconds - 3599) / 3600;
        auto known = m_hours.find(hour);
        if (known == m_hours.end()) {
            std::tm tm{};
            const int minute = CTime(hour * 3600).GetLocalTm(tm) ? tm.tm_hour * 60 + tm.tm_min : 0;
            known = m_hours.emplace(hour, minute).first;
        }
        return (known->second + static_cast<int>((seconds - hour * 3600) / 60)) % kDayMinutes;
    }

  private:
    std::map<int64_t, int> m_hours;
};

const std::vector<CCardChange> kNoChanges;

}  // namespace

bool CGapCheck::ByHand(ChangeHow how) {
    return how != ChangeHow::LoginStamp && how != ChangeHow::ExitStamp &&
           how != ChangeHow::JournalExit;
}

bool CGapCheck::Load(CConnection& connection, int year, int month, int groupId, int userId) {
    std::vector<CUser> users;
    std::vector<CTimeCard> cards;
    std::vector<CActivityDay> activity;
    std::vector<CCardChange> changes;
    OfficeSettings office;
    const CalendarDay next = FirstOfMonth(year, month, 1);
    CTUser userSet(connection, CTUser::Mode::View);
    if (userId != 0) {
        CUser user;
        if (userSet.LoadById(userId, user) != 0) {
            users.push_back(user);
        }
    } else if (userSet.LoadList(users, groupId, false) == 0) {
        return false;
    }
    if (CTTimeCard(connection).LoadMonth(year, month, cards, userId) == 0 ||
        CTPcActivity(connection)
                .LoadDays(CTime(year, month, 1, 0, 0, 0), CTime(next.year, next.month, 1, 0, 0, 0),
                          activity, userId) == 0 ||
        CTCardHistory(connection).LoadMonth(year, month, changes, userId) == 0 ||
        CTOfficeSettings(connection).Load(office) == 0) {
        return false;
    }
    Build(year, month, users, cards, activity, std::move(changes), office);
    // Whoever corrected a card is named, also an administrator outside the list.
    for (const auto& [day, changes] : m_changes) {
        for (const CCardChange& change : changes) {
            if (!m_names.contains(change.byUser)) {
                CUser user;
                if (userSet.LoadById(change.byUser, user) != 0) {
                    m_names[change.byUser] = user.strUserName;
                }
            }
        }
    }
    return true;
}

void CGapCheck::Build(int year, int month, const std::vector<CUser>& users,
                      const std::vector<CTimeCard>& cards,
                      const std::vector<CActivityDay>& activity, std::vector<CCardChange> changes,
                      const OfficeSettings& office) {
    m_rows.clear();
    m_names.clear();
    m_office = office;
    for (const CUser& user : users) {
        m_names[user.idUser] = user.strUserName;
    }
    m_changes.clear();
    m_listed.clear();
    // The days to look at (those with PC use or changes), each with what it was read with.
    struct Sources {
        const CActivityDay* pc = nullptr;
        const CTimeCard* card = nullptr;
    };
    std::map<DayKey, Sources> days;
    for (const CActivityDay& day : activity) {
        if (m_names.contains(day.idUser)) {
            days[{day.idUser, day.nYear, day.nMonth, day.nDay}].pc = &day;
        }
    }
    for (CCardChange& change : changes) {
        if (m_names.contains(change.idUser)) {
            const DayKey key{change.idUser, change.nYear, change.nMonth, change.nDay};
            days[key];
            m_changes[key].push_back(std::move(change));
        }
    }
    for (const CTimeCard& card : cards) {
        const auto day = days.find({card.idUser, card.nYear, card.nMonth, card.nDay});
        if (day != days.end()) {
            day->second.card = &card;
        }
    }
    // A month has few midnights; each is turned into a time once.
    std::map<int, CTime> midnights;
    CMinuteOfDay minuteOfDay;
    for (const auto& [key, sources] : days) {
        const auto [userId, y, m, d] = key;
        if (y != year || m != month) {
            continue;
        }
        GapCheckRow row;
        row.idUser = userId;
        row.nYear = y;
        row.nMonth = m;
        row.nDay = d;
        auto known = midnights.find(d);
        if (known == midnights.end()) {
            known = midnights.emplace(d, CTime(y, m, d, 0, 0, 0)).first;
        }
        const CTime& midnight = known->second;
        auto minutesFrom = [&midnight](const CTime& at) {
            return static_cast<int>((at.GetTime() - midnight.GetTime()) / 60);
        };
        const bool active = sources.pc != nullptr;
        if (active) {
            const CActivityDay& pc = *sources.pc;
            row.firstStart = minutesFrom(pc.firstStart);
            if (!IsEmptyTime(pc.lastEnd)) {
                row.lastEnd = minutesFrom(pc.lastEnd);
            }
            row.clockBack = pc.backwards;
        }
        if (sources.card != nullptr) {
            const CTimeCard& c = *sources.card;
            if (!IsEmptyTime(c.timeFrom)) {
                row.arrival = minuteOfDay(c.timeFrom) -
                              (c.flgOption == kOptionArrivalDayBefore ? kDayMinutes : 0);
            }
            if (!IsEmptyTime(c.timeTo)) {
                row.departure = minuteOfDay(c.timeTo) +
                                (c.flgOption == kOptionDepartureNextDay ? kDayMinutes : 0);
            }
        }
        const CTime dayEnd = midnight.AddMinutes(kDayMinutes);
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
            row.userName = m_names[userId];
            m_rows.push_back(std::move(row));
        }
    }
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const GapCheckRow& a, const GapCheckRow& b) {
        return std::tie(a.userName, a.idUser, a.nDay) < std::tie(b.userName, b.idUser, b.nDay);
    });
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const GapCheckRow& row = m_rows[i];
        m_listed[{row.idUser, row.nYear, row.nMonth, row.nDay}] = i;
    }
}

bool CGapCheck::LoadSpansOf(CConnection& connection, int userId, int year, int month, int day,
                            std::vector<CActivitySpan>& out) {
    return CTPcActivity(connection)
               .LoadStarted(CTime(year, month, day, 0, 0, 0), CTime(year, month, day + 1, 0, 0, 0),
                            out, userId) != 0;
}

const std::vector<CCardChange>& CGapCheck::ChangesOf(int userId, int year, int month,
                                                     int day) const {
    const auto found = m_changes.find({userId, year, month, day});
    return found == m_changes.end() ? kNoChanges : found->second;
}

std::string CGapCheck::NameOf(int userId) const {
    const auto name = m_names.find(userId);
    if (name != m_names.end()) {
        return name->second;
    }
    return "ID " + std::to_string(userId);
}

const GapCheckRow* CGapCheck::Listed(int userId, int year, int month, int day) const {
    const auto found = m_listed.find({userId, year, month, day});
    return found == m_listed.end() ? nullptr : &m_rows[found->second];
}

int CGapCheck::CorrectionsOf(int userId, int year, int month, int day) const {
    int count = 0;
    for (const CCardChange& change : ChangesOf(userId, year, month, day)) {
        count += ByHand(change.how) ? 1 : 0;
    }
    return count;
}

}  // namespace tokeiya
