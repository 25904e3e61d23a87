#include "data/CTimeCard.hpp"

#include "data/TimeValue.hpp"
#include "platform/AppContext.hpp"

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

CTimeCard CTimeCard::NewDay(int userId, int year, int month, int day) {
    CTimeCard card;
    card.idUser = userId;
    card.nYear = year;
    card.nMonth = month;
    card.nDay = day;
    card.nLunchMin = CAppContext::Current().defaultLunchMinutes;
    return card;
}

}  // namespace tokeiya
