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

int CTTimeCard::LoadMonth(int year, int month, std::vector<CTimeCard>& out) {
    Close();
    m_strFilter = "[nYear]=? And [nMonth]=?";
    m_params = {DbValue(year), DbValue(month)};
    if (!Open()) {
        return 0;
    }
    for (; !IsEOF(); MoveNext()) {
        out.push_back(ToCard());
    }
    return 1;
}

int CTTimeCard::StoreMonthCard(int userId, int year, int month, CDaySchedule& slot,
                               const CDaySchedule* asRead) {
    slot.flgOption = DayOption(slot.timeFrom, slot.timeTo, slot.flgOption);
    CTimeCard day = CTimeCard::NewDay(userId, year, month, slot.nDay, slot.nLunchMin);
    day.idTimeCard = slot.idTimeCard != 0 ? slot.idTimeCard : day.Key();
    auto cardOf = [this](const CDaySchedule& from) {
        m_timeFrom = from.timeFrom;
        m_timeTo = from.timeTo;
        m_nLunchMin = from.nLunchMin;
        m_flgOption = from.flgOption;
    };
    std::function<void()> read;
    if (asRead != nullptr) {
        read = [&cardOf, asRead] { cardOf(*asRead); };
    }
    int stored = WriteDay(
        day, [&] { cardOf(slot); }, read);
    if (stored) {
        slot.idTimeCard = day.idTimeCard;
    }
    return stored;
}

}  // namespace tokeiya
