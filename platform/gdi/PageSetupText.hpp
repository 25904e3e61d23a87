#pragma once

#include <string>

#include "platform/gdi/IPrinting.hpp"

namespace tokeiya {

// The sheet that a stored printer setup describes (its "Page Setup" and "Print Settings"
// key-file groups): paper size and orientation, and the resolution. What the text leaves
// out, or a text that cannot be read, is A4 in `orientation` at 300 dots per inch, without
// hardware margins (those only a printer can tell).
PageGeometry PageGeometryFromSettings(const std::string& settings, PaperOrientation orientation);

}  // namespace tokeiya
