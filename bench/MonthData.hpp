#pragma once

// The month the month schedule benchmarks show: March 2024 with 1,000 schedule rows (a third
// of them everyone's, the rest user 1's) and a time card of user 1 on every day.
#include <string>

#include "data/CConnection.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/TimeValue.hpp"

namespace tokeiya::bench {

// False when a card could not be stored; the month is then incomplete.
[[nodiscard]] inline bool FillMonth(CConnection& connection) {
    CDatabase& db = connection.Database();
    const SqlDialect& d = connection.Dialect();
    CTransaction transaction(db);
    std::string insert = d.Render(
        "INSERT INTO [dbo].[T日程] ([idUser],[dateSchedule],[strSubject],[nLevel],[timeUpdate])"
        " VALUES (?,?,?,?,?)");
    for (int i = 0; i < 1000; ++i) {
        int day = i % 31 + 1;
        db.ExecuteSQL(insert, {DbValue(i % 3 == 0 ? 0 : 1),
                               d.DateTimeParam(CTime(2024, 3, day, 9 + i % 8, 0, 0)),
                               DbValue("会議" + std::to_string(i)), DbValue(1 + i % 5),
                               d.DateTimeParam(CTime(2024, 3, 1, 0, 0, i % 60))});
    }
    for (int day = 1; day <= 31; ++day) {
        CTimeCard card = CTimeCard::NewDay(1, 2024, 3, day, 60);
        card.timeFrom = TimeOfDay(9, 0);
        if (CTTimeCard(connection).StoreCard(card) == 0) {
            return false;
        }
    }
    transaction.Commit();
    return true;
}

// User 1, "hanako" (password "pw", level 3); false when it could not be stored.
[[nodiscard]] inline bool AddHanako(CConnection& connection) {
    CUser user;
    user.strUserName = "hanako";
    user.strPassword = "pw";
    user.nLevel = 3;
    return CTUser(connection, CTUser::Mode::Table).Save(user) != 0;
}

// Hanako with that month; false when either could not be stored.
[[nodiscard]] inline bool AddHanakoWithMonth(CConnection& connection) {
    return AddHanako(connection) && FillMonth(connection);
}

}  // namespace tokeiya::bench
