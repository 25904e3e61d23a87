#include "screens/base/MonthKeys.hpp"

#include <cstdio>

#include "data/PayPeriod.hpp"
#include "platform/CTime.hpp"
#include "shell/WorkContext.hpp"

namespace tokeiya {

bool StepWorkMonth(int key, WorkContext& work) {
    if (key == 3) {
        const CTime today = CTime::GetCurrentTime();
        work.year = today.GetYear();
        work.month = today.GetMonth();
        return true;
    }
    if (key != 2 && key != 4) {
        return false;
    }
    const CalendarDay first = FirstOfMonth(work.year, work.month, key == 2 ? -1 : 1);
    work.year = first.year;
    work.month = first.month;
    return true;
}

std::string MonthFileName(int year, int month, const std::string& what) {
    char name[32];
    std::snprintf(name, sizeof name, "%04d年%02d月", year, month);
    return name + what;
}

}  // namespace tokeiya
