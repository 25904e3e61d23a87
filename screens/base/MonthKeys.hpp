#pragma once

namespace tokeiya {

struct WorkContext;

// The month keys of the lists of a month: 2 the month before the work context's, 3 today's
// month, 4 the month after. Moves the work context's month and gives true; false for any
// other key.
bool StepWorkMonth(int key, WorkContext& work);

}  // namespace tokeiya
