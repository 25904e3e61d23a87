#pragma once

#include <string>

namespace tokeiya {

// What the work screens hand on to one another while they replace one another, kept by the
// view: the pay month looked at (year 0 = not chosen yet), the group (-1 = everyone, shown as
// "全員") and the user chosen on the salary list (0 = none), and apart from those the month
// schedule's own year, month and cursor day (year 0 = today's).
struct WorkContext {
    int year = 0;
    int month = 0;
    int groupId = -1;
    std::string groupName = "全員";
    int userId = 0;

    int scheduleYear = 0;
    int scheduleMonth = 0;
    int scheduleDay = 0;

    // The salary list's first showing: while no month is chosen, the calendar month before
    // today's (January gives December of the year before).
    void ChooseSalaryMonth(int todayYear, int todayMonth);
};

}  // namespace tokeiya
