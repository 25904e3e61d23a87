#pragma once

#include <optional>

namespace tokeiya::app {

// Answers --help and --version before the desktop is opened, so that both work without a
// display. The exit status when one of them was asked for, nothing otherwise.
std::optional<int> AnswerInformationOptions(int argc, char** argv);

// After the desktop took its own options (--display and the like), anything left is a
// mistake: it is told in one line. The exit status then, nothing when nothing is left.
std::optional<int> RefuseLeftoverArguments(int argc, char** argv);

}  // namespace tokeiya::app
