#pragma once

#include "engine/CCRBase.hpp"

namespace tokeiya {

// Holds a surface's repaint while many cells change, then asks for one repaint of the
// whole surface: the rows of a page appear at once instead of line by line.
class CHoldRedraw {
  public:
    // `erase`: the repaint clears the surface's background first.
    explicit CHoldRedraw(CCRBase& surface, bool erase = false)
        : m_surface(surface), m_held(surface.HoldRedraw()), m_erase(erase) {
        surface.SetHoldRedraw(true);
    }
    ~CHoldRedraw() {
        m_surface.SetHoldRedraw(m_held);
        m_surface.InvalidateAll(m_erase);
    }
    CHoldRedraw(const CHoldRedraw&) = delete;
    CHoldRedraw& operator=(const CHoldRedraw&) = delete;

  private:
    CCRBase& m_surface;
    bool m_held;
    bool m_erase;
};

}  // namespace tokeiya
