#pragma once

#include "platform/gdi/CDC.hpp"

namespace tokeiya {

class CCRBase;

// Something painted with a surface without being part of its cells (a marker, an image),
// attached at one of the surface's paint layers. The surface does not own it.
class CCRAttached {
  public:
    virtual ~CCRAttached() = default;

    virtual void Paint(CDC& dc) = 0;
    // Called after the surface's rectangle and metrics changed.
    virtual void Relayout(const CCRBase& surface) = 0;
};

}  // namespace tokeiya
