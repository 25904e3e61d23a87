#pragma once

#include "platform/gdi/CDC.hpp"
#include "platform/gdi/CRect.hpp"

namespace tokeiya {

// The root of everything that paints itself into a pixel rectangle of the host (or of a
// printed page).
class CDrawRect {
  public:
    CDrawRect() = default;
    virtual ~CDrawRect() = default;
    CDrawRect(const CDrawRect&) = delete;
    CDrawRect& operator=(const CDrawRect&) = delete;

    virtual void Draw(CDC& dc) = 0;
    virtual void SetRect(const CRect& rect) { m_rect = rect; }

    const CRect& GetRect() const { return m_rect; }

  protected:
    CRect m_rect;
};

}  // namespace tokeiya
