#pragma once

#include <string>
#include <vector>

#include "data/CSalary.hpp"

namespace tokeiya::test {

// `count` pay rows of users 10, 11 ... in two groups taking turns, each a little more than
// the one before, as a month's list would hold them.
inline std::vector<CSalary> SalaryRows(int count) {
    std::vector<CSalary> rows;
    for (int i = 0; i < count; ++i) {
        CSalary row;
        row.idUser = 10 + i;
        row.strUserName = "user" + std::to_string(10 + i);
        row.strGroupName = i % 2 == 0 ? "営業" : "製造";
        row.nCutoff = 20;
        row.nDays = 21;
        row.nWorkingMin = 10000 + i;
        row.nOvertimeMin = 95;
        row.fSalary = 251000.0F + static_cast<float>(i);
        row.fOvertimePay = 12345;
        rows.push_back(row);
    }
    return rows;
}

}  // namespace tokeiya::test
