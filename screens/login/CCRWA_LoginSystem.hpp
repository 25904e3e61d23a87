#pragma once

#include "screens/base/CCRWA_Tokeiya.hpp"

namespace tokeiya {

// The home screen of the administration account (user id 0): its drawing and function-key
// labels only. The account reaches its work through the management menu.
class CCRWA_LoginSystem : public CCRWA_Tokeiya {
  public:
    explicit CCRWA_LoginSystem(CTokeiyaView& view);

    // Key 12 hides the main window; every other key does nothing.
    bool OnFunctionKey(int key, int labelSet, int modifiers) override;
};

}  // namespace tokeiya
