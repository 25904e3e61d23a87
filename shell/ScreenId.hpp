#pragma once

namespace tokeiya {

// The work screens. The value is the code the screen-switch message carries to the host
// window; nothing else deals in the numbers.
enum class ScreenId : int {
    MonthSchedule = 0,
    PersonalDay = 1,
    EveryoneDay = 2,
    AdminHome = 100,
    Groups = 101,
    Users = 102,
    SalaryList = 103,
    TimeCard = 104,
    GapCheck = 105,
};

constexpr int ScreenCode(ScreenId id) {
    return static_cast<int>(id);
}

}  // namespace tokeiya
