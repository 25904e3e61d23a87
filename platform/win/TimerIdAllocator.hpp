#pragma once

#include <limits>

#include "platform/win/IHostWindow.hpp"

namespace tokeiya::win {

// Hands out the timer ids of one host window, from kFirstAllocatedTimerId up; it comes back
// to the start only after four billion ids, by which time the early ones are long gone.
class TimerIdAllocator {
  public:
    UINT Next() {
        const UINT id = m_next;
        m_next = m_next == std::numeric_limits<UINT>::max() ? kFirstAllocatedTimerId : m_next + 1;
        return id;
    }

  private:
    UINT m_next = kFirstAllocatedTimerId;
};

}  // namespace tokeiya::win
