#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "data/CConnection.hpp"
#include "data/CSalary.hpp"
#include "data/CTimeCard.hpp"
#include "data/CUser.hpp"
#include "data/CUserGroup.hpp"

namespace tokeiya::test {

// A month of attendance for the pay calculation: groups with every pay type, overtime
// rule and rounding mode (one with closing day 20, so that its period runs over a leap
// February), their users, and day and night shifts, short days, half-stamped and empty
// days, written through the record classes. The last user of each group is retired: one
// who worked, one with nothing but empty rows, or one with a single half-stamped day, in
// turn from group to group.
struct PayFixture {
    std::vector<CUserGroup> groups;
    std::vector<CUser> users;  // joined with their group's settings
    std::vector<CTimeCard> cards;

    // `usersPerGroup` users in each group, `days` days of cards each (from 2024-02-15 on).
    static PayFixture Build(CConnection& connection, int usersPerGroup, int days);

    // What the monthly calculation must leave, worked out apart from the database: each
    // card recomputed by the program's own day arithmetic, each user's month summed from
    // them.
    struct Month {
        std::map<int64_t, CTimeCard> days;  // the recomputed cards of the periods, by key
        std::map<int, CSalary> results;     // the result rows, by user
    };
    Month Expected(int year, int month) const;
};

}  // namespace tokeiya::test
