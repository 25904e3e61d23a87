#include "data/CAlarmData.hpp"

namespace tokeiya {

CTime CAlarmData::OccurrenceAfter(const CTime& reference, const std::tm& referenceDay) const {
    std::tm at{};
    if (flgEveryDay == 0 || !time.GetLocalTm(at)) {
        return time;
    }
    const int year = referenceDay.tm_year + 1900;
    const int month = referenceDay.tm_mon + 1;
    const CTime today(year, month, referenceDay.tm_mday, at.tm_hour, at.tm_min, 0);
    if (today > reference) {
        return today;
    }
    // The calendar's next day, not 24 hours on: a day of a clock change is shorter or longer.
    return CTime(year, month, referenceDay.tm_mday + 1, at.tm_hour, at.tm_min, 0);
}

}  // namespace tokeiya
