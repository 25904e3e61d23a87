#pragma once

#include "data/CTimeCard.hpp"
#include "data/CUser.hpp"

namespace tokeiya {

// Minutes since midnight of a time of day; 0 for an unset time.
int MinutesOfDay(const CTime& time);

// A pay amount as the program stores it: the exact product or quotient rounded to a whole
// amount, halves away from zero.
float WholeAmount(long double amount);

// Recomputes one time card day from the user's and the group's pay settings: the day
// option, working and overtime minutes, the rounding to the pay unit, the day's pay and the
// error mark. The database's monthly calculation applies the same rules to every day.
void RecomputeRow(const CUser& user, CTimeCard& card);

}  // namespace tokeiya
