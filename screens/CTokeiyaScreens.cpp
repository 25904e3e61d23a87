#include "screens/CTokeiyaScreens.hpp"

#include "screens/group/CCRWA_Group.hpp"
#include "screens/login/CCRWA_LoginSystem.hpp"
#include "screens/month/CCRWA_MonthSchedule.hpp"
#include "screens/salary/CCRWA_CalcuA.hpp"
#include "screens/timecard/CCRWA_CalcuB.hpp"
#include "screens/user/CCRWA_User.hpp"

namespace tokeiya {

bool CTokeiyaScreens::Knows(int code, const CTokeiyaView&) const {
    return code == CCRWA_MonthSchedule::kCode || code == CCRWA_LoginSystem::kCode ||
           code == CCRWA_CalcuA::kCode || code == CCRWA_CalcuB::kCode ||
           code == CCRWA_Group::kCode || code == CCRWA_User::kCode;
}

std::unique_ptr<CCRWin> CTokeiyaScreens::Create(int code, CTokeiyaView& view) {
    switch (code) {
        case CCRWA_MonthSchedule::kCode:
            return std::make_unique<CCRWA_MonthSchedule>(view);
        case CCRWA_LoginSystem::kCode:
            return std::make_unique<CCRWA_LoginSystem>(view);
        case CCRWA_CalcuA::kCode:
            return std::make_unique<CCRWA_CalcuA>(view);
        case CCRWA_CalcuB::kCode:
            return std::make_unique<CCRWA_CalcuB>(view);
        case CCRWA_Group::kCode:
            return std::make_unique<CCRWA_Group>(view);
        case CCRWA_User::kCode:
            return std::make_unique<CCRWA_User>(view);
        default:
            return nullptr;
    }
}

}  // namespace tokeiya
