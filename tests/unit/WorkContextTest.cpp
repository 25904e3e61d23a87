#include <gtest/gtest.h>

#include "shell/WorkContext.hpp"

namespace tokeiya {
namespace {

TEST(WorkContext, TheSalaryListStartsOnTheMonthBeforeTodayUntilOneIsChosen) {
    WorkContext january;
    january.ChooseSalaryMonth(2027, 1);
    EXPECT_EQ(2026, january.year);
    EXPECT_EQ(12, january.month);

    WorkContext march;
    march.ChooseSalaryMonth(2027, 3);
    EXPECT_EQ(2027, march.year);
    EXPECT_EQ(2, march.month);

    // A month chosen on the list stays when the list is built again.
    march.month = 7;
    march.ChooseSalaryMonth(2027, 9);
    EXPECT_EQ(2027, march.year);
    EXPECT_EQ(7, march.month);
    EXPECT_EQ(-1, march.groupId);
    EXPECT_EQ("全員", march.groupName);
}

}  // namespace
}  // namespace tokeiya
