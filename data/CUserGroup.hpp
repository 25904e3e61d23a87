#pragma once

#include <string>

namespace tokeiya {

// Pay types the time card arithmetic tells apart.
constexpr int kSalaryMonthly = 1;
constexpr int kSalaryDaily = 2;
constexpr int kSalaryTimeBased = 3;

// One pay group with the names of its pay type, overtime rule and rounding mode.
struct CUserGroup {
    int idGroup = 0;  // 0 until stored
    std::string strGroupName;
    int typeSalary = kSalaryMonthly;
    int typeOvertime = 0;
    int nTimePerSalary = 0;  // pay and rounding unit in minutes
    int flgRound = 0;
    int nCutoff = 0;  // closing day, 0 = end of month
    std::string strSalary = "月給";
    std::string strOvertime = "なし";
    std::string strRound = "なし";
};

}  // namespace tokeiya
