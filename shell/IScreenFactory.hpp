#pragma once

#include <memory>

#include "engine/CCRWin.hpp"

namespace tokeiya {

class CTokeiyaView;

// Builds the work screens by screen code. The screens live in the layer above the shell,
// so the program hands the view a factory instead of the view naming them.
class IScreenFactory {
  public:
    virtual ~IScreenFactory() = default;
    // Whether `code` builds a screen for this view's session.
    virtual bool Knows(int code, const CTokeiyaView& view) const = 0;
    // The screen of `code`; null when it has none.
    virtual std::unique_ptr<CCRWin> Create(int code, CTokeiyaView& view) = 0;
};

}  // namespace tokeiya
