#include "screens/login/CCRWA_LoginSystem.hpp"

namespace tokeiya {

CCRWA_LoginSystem::CCRWA_LoginSystem(CTokeiyaView& view)
    : CCRWA_Tokeiya(view, "LoginSystem.tgd", "LoginSystem.tfd") {}

bool CCRWA_LoginSystem::OnFunctionKey(int key, int, int) {
    if (key == 12) {
        HideMainWindow();
    }
    return true;
}

}  // namespace tokeiya
