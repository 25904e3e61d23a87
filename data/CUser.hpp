#pragma once

#include <string>

#include "data/TimeValue.hpp"
#include "platform/CTime.hpp"

namespace tokeiya {

// The in-memory copy of one user joined with the user's group and level name. The password
// is known only as its stored hash (CPasswordHash): nobody can read it back.
struct CUser {
    int idUser = 0;
    std::string strUserName;
    std::string strPasswordHash;  // empty: the empty password
    int idGroup = 0;
    int nLevel = 1;
    float fSalary = 0;
    float fOvertimePay = 0;
    CTime timeFrom = TimeOfDay(0, 0);  // contractual start of work, a time of day on 2000-01-01
    CTime timeTo = TimeOfDay(0, 0);
    int nLunchMin = 60;
    int nStartUpMin = 0;   // minutes taken off the arrival stamp
    int nCoolDownMin = 0;  // minutes added to the departure stamp
    std::string strGroupName;
    int typeSalary = 0;
    int typeOvertime = 0;
    int nTimePerSalary = 0;
    int flgRound = 0;
    int nCutoff = 0;  // closing day of the pay period; 0 = end of month
    std::string strLevel;
};

// User levels: 0 retired, 1 to 3 active users with rising rights, 4 administration.
constexpr int kLevelRetired = 0;
constexpr int kLevelAdministrator = 4;

}  // namespace tokeiya
