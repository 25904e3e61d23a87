#include "screens/day/DayScheduleList.hpp"

#include <algorithm>
#include <cstdio>

#include "data/CTSchedule.hpp"
#include "platform/TextHelpers.hpp"
#include "rows/TimeCardRowText.hpp"

namespace tokeiya {

namespace {

// Every-day entries keep their time of day on this date.
constexpr int kEveryDayYear = 2000;

}  // namespace

void CDayScheduleList::Reset(int owner, int year, int month, int day) {
    m_owner = owner;
    m_year = year;
    m_month = month;
    m_day = day;
    m_lines.clear();
    m_latestUpdate = CTime();
}

bool CDayScheduleList::Load(CConnection& connection) {
    std::vector<CSchedule> entries;
    const bool read = CTSchedule(connection, CTSchedule::Mode::View)
                          .LoadDay(m_owner, m_year, m_month, m_day, entries) != 0;
    m_lines.clear();
    for (CSchedule& entry : entries) {
        m_lines.push_back({entry, entry});
    }
    AppendBlank();
    SortByTime();
    m_latestUpdate = ReadLatestUpdate(connection);
    return read;
}

bool CDayScheduleList::AppendBlank() {
    if (!m_lines.empty() && !m_lines.back().entry.IsValid()) {
        return false;
    }
    m_lines.push_back({NewEntry(), std::nullopt});
    return true;
}

CSchedule CDayScheduleList::NewEntry() const {
    CSchedule entry;
    entry.idUser = m_owner;
    PlaceOnDay(entry);
    return entry;
}

int CDayScheduleList::SortMinute(const CSchedule& entry) {
    if (!entry.IsValid()) {
        return kBlankSortMinute;
    }
    return entry.dateSchedule.GetHour() * 60 + entry.dateSchedule.GetMinute();
}

void CDayScheduleList::SortByTime() {
    std::stable_sort(m_lines.begin(), m_lines.end(), [](const Slot& a, const Slot& b) {
        return SortMinute(a.entry) < SortMinute(b.entry);
    });
}

void CDayScheduleList::PlaceOnDay(CSchedule& entry) const {
    int hour = 0;
    int minute = 0;
    if (!IsEmptyTime(entry.dateSchedule)) {
        hour = entry.dateSchedule.GetHour();
        minute = entry.dateSchedule.GetMinute();
    }
    const std::optional<CTime> placed =
        entry.flgEveryDay != 0 ? CTime::FromLocal(kEveryDayYear, 1, 1, hour, minute, 0)
                               : CTime::FromLocal(m_year, m_month, m_day, hour, minute, 0);
    if (placed) {
        entry.dateSchedule = *placed;
    }
}

void CDayScheduleList::Stored(int index) {
    At(index).asRead = At(index).entry;
}

bool CDayScheduleList::Unstored(int index) const {
    if (index < 0 || index >= Count()) {
        return false;
    }
    const Slot& line = m_lines[static_cast<size_t>(index)];
    return line.asRead ? line.entry != *line.asRead : line.entry != NewEntry();
}

void CDayScheduleList::Remove(int index) {
    m_lines.erase(m_lines.begin() + index);
}

void CDayScheduleList::Renew(int index) {
    At(index) = {NewEntry(), std::nullopt};
}

const CSchedule* CDayScheduleList::AsRead(int index) const {
    const std::optional<CSchedule>& read = m_lines[static_cast<size_t>(index)].asRead;
    return read ? &*read : nullptr;
}

CTime CDayScheduleList::ReadLatestUpdate(CConnection& connection, bool* failed) const {
    // Every-day entries are listed on every day, so their changes are this day's news too.
    // A read that failed has been told; the second is not tried.
    CTSchedule schedule(connection, CTSchedule::Mode::Table);
    bool readFailed = false;
    CTime latest = schedule.LatestUpdateOfDay(m_year, m_month, m_day, &readFailed);
    if (!readFailed) {
        latest = std::max(latest, schedule.LatestUpdateOfDay(kEveryDayYear, 1, 1, &readFailed));
    }
    if (failed != nullptr) {
        *failed = readFailed;
    }
    return latest;
}

std::string CDayScheduleList::Title() const {
    char text[40];
    std::snprintf(text, sizeof text, "%4d 年 %2d 月 %2d 日", m_year, m_month, m_day);
    return text;
}

std::string CDayScheduleList::RowText(const CSchedule& entry) {
    const CTime& time = entry.dateSchedule;
    std::string shown = "     ";
    if (!IsEmptyTime(time) && (time.GetHour() != 0 || time.GetMinute() != 0)) {
        shown = CardTimeText(time);
    }
    char text[160];
    std::snprintf(text, sizeof text, " %s  %s  %s %3d  %s  %s ", shown.c_str(),
                  FitText(entry.strSubject, kSubjectBytes).c_str(), MaruMark(entry.flgAlarm),
                  entry.nLevel, FitText(entry.strSchedule, kDetailsBytes).c_str(),
                  MaruMark(entry.flgEveryDay));
    return text;
}

}  // namespace tokeiya
