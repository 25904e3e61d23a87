#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/CTime.hpp"

namespace tokeiya {

// A schedule alarm: a candidate row of the alarm view, or the one alarm pending in the
// session.
struct CAlarmData {
    int64_t idSchedule = 0;  // 0 = no alarm pending
    int idUser = 0;          // owner of the schedule row
    CTime time;              // the alarm time; for a pending alarm its next occurrence
    std::string strSubject;
    int flgEveryDay = 0;  // only the time of day counts

    // When this row rings next after `reference`: a dated row at its time, an every-day
    // row at its hour and minute on the reference's day, or the day after when that is not
    // later than the reference. A dated row may lie before the reference. The reference's
    // local date and time come broken down in `referenceDay`, once for the many rows a
    // caller asks of.
    CTime OccurrenceAfter(const CTime& reference, const std::tm& referenceDay) const;
};

}  // namespace tokeiya
