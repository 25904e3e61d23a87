#pragma once

#include <cstdint>
#include <string>

#include "platform/CTime.hpp"

namespace tokeiya {

// How a time card came to be changed; the numbers are stored in the history rows.
enum class ChangeHow : int {
    LoginStamp = 1,
    ExitStamp = 2,
    JournalExit = 3,  // an exit kept while the database was away, written at a later login
    MonthSchedule = 4,
    TimeCardScreen = 5,
    DaySchedule = 6,
    Other = 9,
};

// Who changes cards, from where and how: the logged-in user's id and the computer's name.
struct ChangeSource {
    int byUser = 0;
    std::string computer;
    ChangeHow how = ChangeHow::Other;
};

// The values of a card whose changes are kept.
struct CardValues {
    CTime timeFrom;
    CTime timeTo;
    int nLunchMin = 0;
    int flgOption = 0;

    bool operator==(const CardValues&) const = default;
};

// One kept change of a card, as the history holds it.
struct CCardChange {
    int64_t idTimeCard = 0;
    int idUser = 0;  // the card's owner
    int nYear = 0;
    int nMonth = 0;
    int nDay = 0;
    CTime at;
    int byUser = 0;
    std::string computer;
    ChangeHow how = ChangeHow::Other;
    bool newCard = false;  // the card had no row before
    CardValues before;
    CardValues after;
};

}  // namespace tokeiya
