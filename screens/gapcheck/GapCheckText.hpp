#pragma once

#include <string>
#include <vector>

#include "screens/gapcheck/GapCheck.hpp"

namespace tokeiya {

// The width of a row of the gap check list.
constexpr int kGapCheckRowWidth = 106;

// A time as minutes from the day's midnight, "HH:MM" (past 24 on the next day), or five
// blanks when there is none.
std::string GapMinuteText(int minutes);
// Why a day is listed, in short words separated by blanks.
std::string GapReasonText(const GapCheckRow& row);
// A listed day as the check screen shows it, kGapCheckRowWidth columns.
std::string GapCheckRowText(const GapCheckRow& row);
// The office settings the list was made with: the minutes and the departure rule.
std::string GapSettingsText(const OfficeSettings& office);
// The export of the list, CP932 with CR LF and the quoting of the salary list's export.
std::string GapCheckCsvText(const std::vector<GapCheckRow>& rows);
// What the pop-up says about one user's day: its PC spans (by start) and its card's changes.
std::string GapDayDetailText(const CGapCheck& check, const std::vector<CActivitySpan>& spans,
                             int userId, int year, int month, int day);

}  // namespace tokeiya
