#include "screens/CTokeiyaScreens.hpp"

#include "screens/login/CCRWA_LoginSystem.hpp"
#include "screens/month/CCRWA_MonthSchedule.hpp"

namespace tokeiya {

bool CTokeiyaScreens::Knows(int code, const CTokeiyaView&) const {
    return code == CCRWA_MonthSchedule::kCode || code == CCRWA_LoginSystem::kCode;
}

std::unique_ptr<CCRWin> CTokeiyaScreens::Create(int code, CTokeiyaView& view) {
    switch (code) {
        case CCRWA_MonthSchedule::kCode:
            return std::make_unique<CCRWA_MonthSchedule>(view);
        case CCRWA_LoginSystem::kCode:
            return std::make_unique<CCRWA_LoginSystem>(view);
        default:
            return nullptr;
    }
}

}  // namespace tokeiya
