#pragma once

#include <cstdint>
#include <string>

#include "platform/CTime.hpp"

namespace tokeiya {

// The in-memory copy of one schedule row. The defaults are those of a new, empty entry; the
// day schedule fills in the owner and the shown day.
struct CSchedule {
    int64_t idSchedule = 0;  // 0 until stored
    int idUser = 0;          // 0 = shared by everyone
    // Day and time of the entry; an every-day entry keeps only its time, on 2000-01-01.
    CTime dateSchedule;
    std::string strSubject;
    std::string strSchedule;  // details
    int flgAlarm = 0;
    int flgEveryDay = 0;
    int nLevel = 1;  // 1..5 entered by users, 10 a holiday, 0 a deleted entry

    // Only a valid entry is stored: one with a subject and a time stamp.
    bool IsValid() const { return !strSubject.empty() && dateSchedule.GetTime() != 0; }

    bool operator==(const CSchedule&) const = default;
};

// Levels with a meaning of their own.
constexpr int kScheduleLevelDeleted = 0;
constexpr int kScheduleLevelHoliday = 10;

}  // namespace tokeiya
