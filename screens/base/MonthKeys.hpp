#pragma once

#include <string>

namespace tokeiya {

struct WorkContext;

// The month keys of the lists of a month: 2 the month before the work context's, 3 today's
// month, 4 the month after. Moves the work context's month and gives true; false for any
// other key.
bool StepWorkMonth(int key, WorkContext& work);

// "yyyy年mm月" followed by `what`: the name proposed for a file a month's screen saves.
std::string MonthFileName(int year, int month, const std::string& what);

}  // namespace tokeiya
