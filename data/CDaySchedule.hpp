#pragma once

#include <cstdint>
#include <string>

#include "platform/CTime.hpp"

namespace tokeiya {

// One day of the month schedule: the day's holiday name and schedule subjects, and the
// logged-in user's time card of the day.
struct CDaySchedule {
    // Longest texts, in bytes, that fit their columns of the month schedule.
    static constexpr size_t kOwnSubjectsBytes = 59;
    static constexpr size_t kSharedColumnBytes = 60;  // holiday name and shared subjects

    int nDay = 1;
    std::string strHoliday;
    std::string strSubjects;        // the user's own subjects, blank-separated
    std::string strSharedSubjects;  // everyone's subjects, blank-separated
    int64_t idTimeCard = 0;         // 0 = no stored card
    CTime timeFrom;                 // arrival, a time of day
    CTime timeTo;                   // departure
    int nLunchMin = 60;
    int flgOption = 0;

    // Back to an empty day number dayIndex + 1 whose card, not stored yet, has
    // `lunchMinutes`.
    void Reset(int dayIndex, int lunchMinutes);
    // Empties the holiday name and both subject texts, leaving the card alone.
    void ClearTexts();
    // Feeds one schedule row of the day into the texts. Rows come in the order the month
    // view is read (holidays first); a subject that does not fit is dropped whole, while a
    // shorter later one may still fit.
    void AddScheduleRow(int idUser, int nLevel, const std::string& subject);
};

}  // namespace tokeiya
