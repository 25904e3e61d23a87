#include "platform/ActivityWatch.hpp"

namespace tokeiya {

void CActivityState::Changed(DesktopPause what, bool on) {
    const bool wasPaused = m_asleep || m_locked;
    (what == DesktopPause::Sleep ? m_asleep : m_locked) = on;
    const bool paused = m_asleep || m_locked;
    if (paused && !wasPaused && m_handlers.paused) {
        m_handlers.paused(what);
    } else if (!paused && wasPaused && m_handlers.resumed) {
        m_handlers.resumed();
    }
}

}  // namespace tokeiya
