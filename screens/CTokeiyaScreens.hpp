#pragma once

#include "shell/IScreenFactory.hpp"

namespace tokeiya {

// The program's work screens by screen code: the month schedule (0), which gives way to the
// administration account's home screen (100) for that account, the group and user settings
// (101, 102), the salary list (103) and the time card (104).
class CTokeiyaScreens : public IScreenFactory {
  public:
    bool Knows(int code, const CTokeiyaView& view) const override;
    std::unique_ptr<CCRWin> Create(int code, CTokeiyaView& view) override;
};

}  // namespace tokeiya
