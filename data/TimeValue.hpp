#pragma once

#include <string>

#include "platform/CTime.hpp"

namespace tokeiya {

// IsEmptyTime (platform/CTime.hpp): NULL date-time columns read as CTime(), and an empty
// time is written as NULL.

// The date-time literal of `time` for SQL text: "NULL" for an empty time; from server
// version 2005 on, the ODBC escape {ts '...'}; before it, CONVERT(DATETIME,'...',111).
// When the local time cannot be formatted the result is empty, which makes the statement
// fail rather than write a wrong value.
std::string SqlDateTimeLiteral(const CTime& time, int serverVersion);

// Times of day (arrival, departure, contractual hours) are stored on 1 January 2000.
CTime TimeOfDay(int hour, int minute);

}  // namespace tokeiya
