#include "data/CDaySchedule.hpp"
#include "data/CTTimeCard.hpp"

// The month schedule's side of the time cards: its day slots hold only the times, lunch
// minutes and option of each day.
namespace tokeiya {

int CTTimeCard::LoadMonthCards(int userId, int year, int month,
                               std::array<CDaySchedule, 31>& days) {
    Close();
    m_strFilter = "[idUser]=? AND [nYear]=? And [nMonth]=?";
    m_params = {DbValue(userId), DbValue(year), DbValue(month)};
    m_strSort = "[nDay]";
    bool opened = Open();
    m_strSort.clear();
    if (!opened) {
        return 0;
    }
    for (; !IsEOF(); MoveNext()) {
        if (m_nDay < 1 || m_nDay > 31) {
            continue;
        }
        CDaySchedule& slot = days[static_cast<size_t>(m_nDay - 1)];
        slot.idTimeCard = m_idTimeCard;
        slot.timeFrom = m_timeFrom;
        slot.timeTo = m_timeTo;
        slot.nLunchMin = m_nLunchMin;
        slot.flgOption = m_flgOption;
    }
    return 1;
}

int CTTimeCard::StoreMonthCard(int userId, int year, int month, CDaySchedule& slot) {
    slot.flgOption = DayOption(slot.timeFrom, slot.timeTo, slot.flgOption);
    CTimeCard day = CTimeCard::NewDay(userId, year, month, slot.nDay, slot.nLunchMin);
    day.idTimeCard = slot.idTimeCard != 0 ? slot.idTimeCard : day.Key();
    int stored = WriteDay(day, [&] {
        m_timeFrom = slot.timeFrom;
        m_timeTo = slot.timeTo;
        m_nLunchMin = slot.nLunchMin;
        m_flgOption = slot.flgOption;
    });
    if (stored) {
        slot.idTimeCard = day.idTimeCard;
    }
    return stored;
}

}  // namespace tokeiya
