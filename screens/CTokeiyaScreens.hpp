#pragma once

#include "shell/IScreenFactory.hpp"

namespace tokeiya {

// The program's screen table: the month schedule, which gives way to the administration
// account's home screen for that account, the group and user settings, the salary list
// and the time card. The day schedules have their rows but are not built yet.
class CTokeiyaScreens : public IScreenFactory {
  public:
    std::span<const ScreenEntry> Entries() const override;
};

}  // namespace tokeiya
