#pragma once

#include <gio/gio.h>

#include <string>

#include "platform/gtk/GObjectPtr.hpp"

namespace tokeiya::gtk {

// A connection of the program's own to the message bus at `address` (never GIO's shared
// one, so that a bus that goes away is simply opened again); null when it cannot be
// opened. A bus that closes does not end the program.
GObjectPtr<GDBusConnection> OpenBus(const std::string& address);

}  // namespace tokeiya::gtk
