#pragma once

#include "shell/IScreenFactory.hpp"

namespace tokeiya {

// The program's work screens by screen code. So far the administration account's home
// screen (100), which is also the start screen (0) of that account.
class CTokeiyaScreens : public IScreenFactory {
  public:
    bool Knows(int code, const CTokeiyaView& view) const override;
    std::unique_ptr<CCRWin> Create(int code, CTokeiyaView& view) override;
};

}  // namespace tokeiya
