#include "data/CDaySchedule.hpp"

#include "data/CSchedule.hpp"

namespace tokeiya {

void CDaySchedule::Reset(int dayIndex, int lunchMinutes) {
    nDay = dayIndex + 1;
    ClearTexts();
    idTimeCard = 0;
    timeFrom = CTime();
    timeTo = CTime();
    nLunchMin = lunchMinutes;
    flgOption = 0;
}

void CDaySchedule::ClearTexts() {
    strHoliday.clear();
    strSubjects.clear();
    strSharedSubjects.clear();
}

void CDaySchedule::AddScheduleRow(int idUser, int nLevel, const std::string& subject) {
    if (idUser != 0) {
        // The separating blank counts too, so the own subjects never pass their limit.
        size_t blank = strSubjects.empty() ? 0 : 1;
        if (strSubjects.size() + blank + subject.size() <= kOwnSubjectsBytes) {
            strSubjects += std::string(blank, ' ') + subject;
        }
        return;
    }
    if (nLevel == kScheduleLevelHoliday) {
        strHoliday = subject;
        return;
    }
    // The shared column holds the holiday name, a blank, then the subjects; one byte is
    // always kept for a separating blank.
    size_t used = strSharedSubjects.size() + (strHoliday.empty() ? 0 : strHoliday.size() + 1) + 1;
    if (used <= kSharedColumnBytes && kSharedColumnBytes - used >= subject.size()) {
        if (!strSharedSubjects.empty()) {
            strSharedSubjects += ' ';
        }
        strSharedSubjects += subject;
    }
}

}  // namespace tokeiya
