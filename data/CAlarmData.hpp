#pragma once

#include <cstdint>
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
};

}  // namespace tokeiya
