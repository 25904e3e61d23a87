#pragma once

#include <optional>
#include <string>

namespace tokeiya::gtk {

// The path of the socket `name` in the session's runtime folder ($XDG_RUNTIME_DIR), where
// the session's servers listen; none when there is no such folder or no socket of that name.
std::optional<std::string> RuntimeSocket(const char* name);

}  // namespace tokeiya::gtk
