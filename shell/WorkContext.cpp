#include "shell/WorkContext.hpp"

namespace tokeiya {

void WorkContext::ChooseSalaryMonth(int todayYear, int todayMonth) {
    if (year != 0) {
        return;
    }
    year = todayMonth == 1 ? todayYear - 1 : todayYear;
    month = todayMonth == 1 ? 12 : todayMonth - 1;
}

}  // namespace tokeiya
