#include "data/CDaySchedule.hpp"
#include "data/CTTimeCard.hpp"
#include "platform/odbc/CRecordset.hpp"

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

int CTTimeCard::LoadMonth(int year, int month, std::vector<CTimeCard>& out, int userId) {
    Close();
    // Only the columns a comparison with the PC's use needs: a month of the whole office
    // is read at once.
    CRecordset set(Connection().Database());
    try {
        std::string sql =
            "SELECT [idUser], [nDay], [timeFrom], [timeTo], [flgOption] FROM [dbo].[Tタイムカード] "
            "WHERE [nYear]=? AND [nMonth]=?";
        std::vector<DbValue> params{DbValue(year), DbValue(month)};
        if (userId != 0) {
            sql += " AND [idUser]=?";
            params.emplace_back(userId);
        }
        set.Open(Dialect().Render(sql), params,
                 {DbType::Integer, DbType::Integer, DbType::Timestamp, DbType::Timestamp,
                  DbType::Integer});
    } catch (const CDBException&) {
        return 0;  // told by the connection
    }
    CTimeReader times;
    for (; !set.IsEOF(); set.MoveNext()) {
        CTimeCard card;
        card.idUser = static_cast<int>(set.GetField(0).AsInt(0));
        card.nYear = year;
        card.nMonth = month;
        card.nDay = static_cast<int>(set.GetField(1).AsInt(0));
        card.timeFrom = times.From(set.GetField(2));
        card.timeTo = times.From(set.GetField(3));
        card.flgOption = static_cast<int>(set.GetField(4).AsInt(0));
        card.idTimeCard = card.Key();
        out.push_back(card);
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
