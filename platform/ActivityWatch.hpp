#pragma once

#include <functional>
#include <utility>

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

// Turns the desktop's sleep and lock reports into pauses and resumptions, as every desktop
// tells them: one pause when the first of the two begins, one resumption when both are over,
// and nothing for a report that changes nothing.
class CActivityState {
  public:
    explicit CActivityState(ActivityHandlers handlers) : m_handlers(std::move(handlers)) {}

    // The computer goes to sleep (on) or wakes (off); the screen locks (on) or unlocks.
    void Changed(DesktopPause what, bool on);

  private:
    ActivityHandlers m_handlers;
    bool m_asleep = false;
    bool m_locked = false;
};

}  // namespace tokeiya
