#pragma once

#include <optional>
#include <string>

namespace tokeiya {

// The host name; nullopt when the system cannot give one or it is empty.
std::optional<std::string> ComputerName();

// The working directory ending in "/"; empty when it cannot be read (for example when it
// has been removed).
std::string CurrentFolder();

// The user's documents folder, else the home folder; empty when neither is known.
std::string DocumentsFolder();

}  // namespace tokeiya
