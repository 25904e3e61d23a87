#pragma once

#include <optional>
#include <string>
#include <string_view>

// The port field of the connection dialog, where an empty field stands for the engine's
// default port (held as 0). Free of GTK so that it can be tested without a display.
namespace tokeiya {

// `text` is UTF-8. Blanks around the number are ignored, and full-width digits count as
// digits; empty text and "0" give 0. Anything but a number in 0..65535 gives nullopt.
std::optional<int> ParsePortText(std::string_view text);

// The text shown for a port: empty for 0 and for values no port can have.
std::string PortText(int port);

}  // namespace tokeiya
