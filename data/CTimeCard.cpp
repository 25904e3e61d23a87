#include "data/CTimeCard.hpp"

#include "data/TimeValue.hpp"

namespace tokeiya {

int DayOption(const CTime& timeFrom, const CTime& timeTo, int chosen) {
    if (IsEmptyTime(timeFrom) || IsEmptyTime(timeTo) || !(timeTo < timeFrom)) {
        return kOptionSameDay;
    }
    if (timeTo.GetHour() < 8) {
        return kOptionDepartureNextDay;
    }
    if (timeFrom.GetHour() > 18) {
        return kOptionArrivalDayBefore;
    }
    return chosen;
}

CTimeCard CTimeCard::NewDay(int userId, int year, int month, int day, int lunchMinutes) {
    CTimeCard card;
    card.idUser = userId;
    card.nYear = year;
    card.nMonth = month;
    card.nDay = day;
    card.nLunchMin = lunchMinutes;
    return card;
}

}  // namespace tokeiya
