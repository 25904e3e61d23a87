#include "data/CAlarmData.hpp"

namespace tokeiya {

CTime CAlarmData::OccurrenceAfter(const CTime& reference) const {
    if (flgEveryDay == 0) {
        return time;
    }
    const int year = reference.GetYear();
    const int month = reference.GetMonth();
    const int day = reference.GetDay();
    const CTime today(year, month, day, time.GetHour(), time.GetMinute(), 0);
    if (today > reference) {
        return today;
    }
    // The calendar's next day, not 24 hours on: a day of a clock change is shorter or longer.
    return CTime(year, month, day + 1, time.GetHour(), time.GetMinute(), 0);
}

}  // namespace tokeiya
