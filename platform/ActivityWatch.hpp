#pragma once

#include <functional>

namespace tokeiya {

// Why the person stopped using the computer, as the desktop tells it.
enum class DesktopPause { Sleep, Lock };

// What a watch of the desktop tells: `paused` when the computer goes to sleep or the
// screen locks (once, whichever comes first), `resumed` when it is awake and unlocked again.
struct ActivityHandlers {
    std::function<void(DesktopPause)> paused;
    std::function<void()> resumed;
};

// Watches the desktop for sleep and screen lock while it lives.
class IActivityWatch {
  public:
    virtual ~IActivityWatch() = default;
};

}  // namespace tokeiya
