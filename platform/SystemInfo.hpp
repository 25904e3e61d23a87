#pragma once

#include <optional>
#include <string>

namespace tokeiya {

// The host name as program text (CP932); nullopt when the system cannot give one or it is
// empty.
std::optional<std::string> ComputerName();

// A host name as the system gives it (UTF-8) in program text: each character CP932 cannot
// hold is written as "U+XXXX", so that two names never meet in one '?'.
std::string ComputerNameText(const std::string& utf8);

// The working directory ending in "/"; empty when it cannot be read (for example when it
// has been removed).
std::string CurrentFolder();

// The folder of the running program's executable, ending in "/"; empty when unknown.
std::string ExecutableFolder();

// The user's documents folder, else the home folder; empty when neither is known.
std::string DocumentsFolder();

}  // namespace tokeiya
