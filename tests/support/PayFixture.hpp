#pragma once

#include <vector>

#include "data/CConnection.hpp"
#include "data/CTimeCard.hpp"
#include "data/CUser.hpp"
#include "data/CUserGroup.hpp"

namespace tokeiya::test {

// A month of attendance for the pay calculation: groups with every pay type, overtime
// rule and rounding mode (one with closing day 20, so that its period runs over a leap
// February), their users, and day and night shifts, short days, half-stamped and empty
// days, written through the record classes.
struct PayFixture {
    std::vector<CUserGroup> groups;
    std::vector<CUser> users;  // joined with their group's settings
    std::vector<CTimeCard> cards;

    // `usersPerGroup` users in each group, `days` days of cards each (from 2024-02-15 on).
    static PayFixture Build(CConnection& connection, int usersPerGroup, int days);
};

}  // namespace tokeiya::test
