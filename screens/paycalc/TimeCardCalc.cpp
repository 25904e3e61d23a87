#include "screens/paycalc/TimeCardCalc.hpp"

#include <algorithm>
#include <cmath>

#include "data/CUserGroup.hpp"
#include "data/TimeValue.hpp"

namespace tokeiya {
namespace {

constexpr int kMinutesPerDay = 1440;
constexpr int kStandardDay = 480;  // overtime rule 4 counts what exceeds eight hours

enum OvertimeRule { kEarly = 1, kLate = 2, kEarlyAndLate = 3, kBeyondEightHours = 4 };
enum RoundMode { kRoundUp = 1, kRoundDown = 2, kRoundHalfUp = 3 };

int Overtime(const CUser& user, const CTimeCard& card, int arrival, int departure, int working) {
    int overtime = 0;
    switch (user.typeOvertime) {
        case kBeyondEightHours:
            overtime = working > kStandardDay ? working - kStandardDay : 0;
            break;
        case kEarly:
        case kLate:
        case kEarlyAndLate:
            if (user.typeOvertime != kLate) {
                int early = MinutesOfDay(user.timeFrom) - arrival +
                            (card.flgOption == kOptionArrivalDayBefore ? kMinutesPerDay : 0);
                overtime += std::max(0, early);
            }
            if (user.typeOvertime != kEarly) {
                int late = departure - MinutesOfDay(user.timeTo) +
                           (card.flgOption == kOptionDepartureNextDay ? kMinutesPerDay : 0);
                overtime += std::max(0, late);
            }
            break;
        default:
            break;
    }
    return std::min(overtime, working);
}

// Cuts `minutes` down to a multiple of the unit, then rounds by the group's mode.
int RoundToUnit(int minutes, int unit, int mode) {
    int rest = minutes % unit;
    int rounded = minutes - rest;
    if ((mode == kRoundUp && rest > 0) || (mode == kRoundHalfUp && rest > unit / 2)) {
        rounded += unit;
    }
    return rounded;
}

}  // namespace

int MinutesOfDay(const CTime& time) {
    // An unset contractual time counts as midnight, as the database's column default does.
    return IsEmptyTime(time) ? 0 : time.GetHour() * 60 + time.GetMinute();
}

float WholeAmount(long double amount) {
    return static_cast<float>(std::round(amount));
}

void RecomputeRow(const CUser& user, CTimeCard& card) {
    card.flgErr = 0;
    bool hasFrom = !IsEmptyTime(card.timeFrom);
    bool hasTo = !IsEmptyTime(card.timeTo);
    int working = 0;
    if (hasFrom && hasTo) {
        card.flgOption = DayOption(card.timeFrom, card.timeTo, card.flgOption);
        int arrival = MinutesOfDay(card.timeFrom);
        int departure = MinutesOfDay(card.timeTo);
        working = departure - arrival - card.nLunchMin +
                  (card.flgOption != kOptionSameDay ? kMinutesPerDay : 0);
        if (working > 0) {
            int overtime = Overtime(user, card, arrival, departure, working);
            const int unit = user.nTimePerSalary;
            const int mode = user.flgRound;
            if (mode >= kRoundUp && mode <= kRoundHalfUp && unit > 0) {
                working = RoundToUnit(working, unit, mode);
                overtime = RoundToUnit(overtime, unit, mode);
                if (user.typeSalary == kSalaryTimeBased) {
                    card.fSalary =
                        WholeAmount(static_cast<long double>(user.fSalary) * working / unit);
                } else if (user.typeSalary == kSalaryDaily) {
                    card.fSalary = user.fSalary;
                }
                card.fOvertimePay =
                    WholeAmount(static_cast<long double>(user.fOvertimePay) * overtime / unit);
            }
            card.nWorkingMin = working;
            card.nOvertimeMin = overtime;
            return;
        }
    }
    // An empty day is no error; one time missing or no time worked is.
    card.flgErr = hasFrom || hasTo ? 1 : 0;
    card.nWorkingMin = 0;
    card.nOvertimeMin = 0;
    card.fSalary = 0;
    card.fOvertimePay = 0;
}

}  // namespace tokeiya
