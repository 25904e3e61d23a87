#include "screens/CTokeiyaScreens.hpp"

#include "screens/day/CCRWA_DaySchedule.hpp"
#include "screens/gapcheck/CCRWA_GapCheck.hpp"
#include "screens/group/CCRWA_Group.hpp"
#include "screens/login/CCRWA_LoginSystem.hpp"
#include "screens/month/CCRWA_MonthSchedule.hpp"
#include "screens/salary/CCRWA_CalcuA.hpp"
#include "screens/timecard/CCRWA_CalcuB.hpp"
#include "screens/user/CCRWA_User.hpp"

namespace tokeiya {

namespace {

template <class Screen>
std::unique_ptr<CCRWin> Build(CTokeiyaView& view) {
    return std::make_unique<Screen>(view);
}

template <CCRWA_DaySchedule::Mode mode>
std::unique_ptr<CCRWin> BuildDay(CTokeiyaView& view) {
    return std::make_unique<CCRWA_DaySchedule>(view, mode);
}

// The schedules look for other computers' changes; the salary list and the time card keep
// the user chosen on the list between them.
constexpr ScreenEntry kScreens[] = {
    {.id = ScreenId::MonthSchedule,
     .create = &Build<CCRWA_MonthSchedule>,
     .hearsOptionChanges = true,
     .refreshedEachMinute = true},
    {.id = ScreenId::PersonalDay,
     .create = &BuildDay<CCRWA_DaySchedule::Mode::Personal>,
     .hearsOptionChanges = true},
    {.id = ScreenId::EveryoneDay,
     .create = &BuildDay<CCRWA_DaySchedule::Mode::Everyone>,
     .hearsOptionChanges = true,
     .refreshedEachMinute = true},
    {.id = ScreenId::AdminHome, .create = &Build<CCRWA_LoginSystem>},
    {.id = ScreenId::Groups, .create = &Build<CCRWA_Group>},
    {.id = ScreenId::Users, .create = &Build<CCRWA_User>},
    {.id = ScreenId::SalaryList, .create = &Build<CCRWA_CalcuA>, .keepsChosenUser = true},
    {.id = ScreenId::TimeCard, .create = &Build<CCRWA_CalcuB>, .keepsChosenUser = true},
    {.id = ScreenId::GapCheck, .create = &Build<CCRWA_GapCheck>, .keepsChosenUser = true},
};

}  // namespace

std::span<const ScreenEntry> CTokeiyaScreens::Entries() const {
    return kScreens;
}

}  // namespace tokeiya
