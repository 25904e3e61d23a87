#pragma once

#include <string>

namespace tokeiya {

// One user's calculated pay of a month, as the pay calculation left it.
struct CSalary {
    int idSalary = 0;
    int idUser = 0;
    int idGroup = 0;
    int nWorkingMin = 0;
    int nOvertimeMin = 0;
    int nYear = 0;
    int nMonth = 0;
    float fSalary = 0;  // base pay of the month
    float fOvertimePay = 0;
    int nDays = 0;  // days worked
    int nErr = 0;   // days with inconsistent times
    std::string strUserName;
    std::string strGroupName;
    int nCutoff = 0;  // closing day of the group

    // The total, added in single precision as it is shown.
    float Total() const { return fSalary + fOvertimePay; }
};

}  // namespace tokeiya
