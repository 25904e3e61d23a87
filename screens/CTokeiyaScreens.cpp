#include "screens/CTokeiyaScreens.hpp"

#include "screens/login/CCRWA_LoginSystem.hpp"
#include "shell/CTokeiyaDoc.hpp"

namespace tokeiya {

namespace {

// The administration account has no schedule: its start screen is its home screen.
bool IsAdministrationStart(int code, const CTokeiyaView& view) {
    return code == 0 && view.Document().GetLoggedInUser().idUser == 0;
}

}  // namespace

bool CTokeiyaScreens::Knows(int code, const CTokeiyaView& view) const {
    return code == CCRWA_LoginSystem::kCode || IsAdministrationStart(code, view);
}

std::unique_ptr<CCRWin> CTokeiyaScreens::Create(int code, CTokeiyaView& view) {
    if (!Knows(code, view)) {
        return nullptr;
    }
    return std::make_unique<CCRWA_LoginSystem>(view);
}

}  // namespace tokeiya
