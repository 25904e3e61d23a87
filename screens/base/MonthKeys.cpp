#include "screens/base/MonthKeys.hpp"

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

}  // namespace tokeiya
