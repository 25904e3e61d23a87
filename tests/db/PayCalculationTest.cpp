#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "data/CSchemaSetup.hpp"
#include "data/CTSalary.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/CTUserGroup.hpp"
#include "data/TimeValue.hpp"
#include "platform/Cp932.hpp"
#include "platform/odbc/DbException.hpp"
#include "tests/support/DbFaults.hpp"
#include "tests/support/ScopedTimeZone.hpp"
#include "tests/support/TestDatabase.hpp"

namespace tokeiya {
namespace embedded {
const std::map<std::string, std::string_view>& Files();
}
namespace {

using test::Engine;

// Values a card holds before the calculation, so that a value left alone shows.
constexpr int kStaleMinutes = 999;
constexpr int kStaleOvertime = 99;

struct GroupSettings {
    int typeSalary;
    int typeOvertime;
    int unit;
    int round;
};

struct UserSettings {
    float salary;
    float overtimePay;
    const char* from;  // contractual times "HH:MM"
    const char* to;
};

// A card as stored before the calculation; an empty time text leaves the time unset.
struct Card {
    const char* from;
    const char* to;
    int lunch;
    int option;
    float salary;
    float overtimePay;
};

struct DayResult {
    int option;
    int working;
    int overtime;
    float salary;
    float overtimePay;
    int err;
};

CTime DayTime(const char* text) {
    std::string hhmm(text);
    if (hhmm.empty()) {
        return CTime();
    }
    return TimeOfDay(std::stoi(hhmm.substr(0, 2)), std::stoi(hhmm.substr(3, 2)));
}

class PayCalculation : public ::testing::TestWithParam<Engine> {
  protected:
    PayCalculation() : m_zone("Asia/Tokyo"), m_db(GetParam()) {}

    CConnection& Db() { return m_db.Connection(); }

    int AddGroup(const std::string& name, const GroupSettings& settings, int cutoff = 0) {
        CUserGroup group;
        group.strGroupName = name;
        group.typeSalary = settings.typeSalary;
        group.typeOvertime = settings.typeOvertime;
        group.nTimePerSalary = settings.unit;
        group.flgRound = settings.round;
        group.nCutoff = cutoff;
        EXPECT_EQ(1, CTUserGroup(Db()).Save(group));
        return group.idGroup;
    }

    int AddUser(const std::string& name, int group, int level, const UserSettings& settings) {
        CUser user;
        user.strUserName = name;
        user.idGroup = group;
        user.nLevel = level;
        user.fSalary = settings.salary;
        user.fOvertimePay = settings.overtimePay;
        user.timeFrom = DayTime(settings.from);
        user.timeTo = DayTime(settings.to);
        EXPECT_EQ(1, CTUser(Db(), CTUser::Mode::Table).Save(user));
        return user.idUser;
    }

    void AddCard(int user, int year, int month, int day, const Card& card) {
        Db().Database().ExecuteSQL(
            Db().Dialect().Render(
                "INSERT INTO [dbo].[Tタイムカード] ([idTimeCard],[idUser],[timeFrom],[timeTo],"
                "[nWorkingMin],[nLunchMin],[nOvertimeMin],[nYear],[nMonth],[nDay],[flgOption],"
                "[fSalary],[fOvertimePay],[flgErr]) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {DbValue(TimeCardKey(user, year, month, day)), DbValue(user),
             Db().Dialect().DateTimeParam(DayTime(card.from)),
             Db().Dialect().DateTimeParam(DayTime(card.to)), DbValue(kStaleMinutes),
             DbValue(card.lunch), DbValue(kStaleOvertime), DbValue(year), DbValue(month),
             DbValue(day), DbValue(card.option), DbValue(static_cast<double>(card.salary)),
             DbValue(static_cast<double>(card.overtimePay)), DbValue(0)});
    }

    // A plain working day, 09:00 to 18:00 with an hour of lunch.
    void AddWorkday(int user, int year, int month, int day) {
        AddCard(user, year, month, day, {"09:00", "18:00", 60, 0, 0, 0});
    }

    // Sends the call the program sends, without its transaction and error handling, so
    // that a failure reaches the test as the database's exception.
    static void CalculateOn(CConnection& db, int group, int from, int to) {
        db.Database().ExecuteSQL(db.Dialect().ProcedureCall("P計算", {group, from, to}));
    }
    void Calculate(int group, int from, int to) { CalculateOn(Db(), group, from, to); }

    CTimeCard StoredCard(int user, int year, int month, int day) {
        CTimeCard card;
        card.idUser = user;
        card.nYear = year;
        card.nMonth = month;
        card.nDay = day;
        EXPECT_EQ(1, CTTimeCard(Db()).LoadCard(card));
        EXPECT_EQ(card.Key(), card.idTimeCard)
            << "no card of user " << user << " on " << year << "-" << month << "-" << day;
        return card;
    }

    std::vector<CSalary> Results(int group, int year, int month) {
        std::vector<CSalary> list;
        EXPECT_EQ(1, CTSalary(Db()).LoadMonth(year, month, group, list));
        return list;
    }

    void ExpectDay(const DayResult& expected, const CTimeCard& card) {
        EXPECT_EQ(expected.option, card.flgOption);
        EXPECT_EQ(expected.working, card.nWorkingMin);
        EXPECT_EQ(expected.overtime, card.nOvertimeMin);
        EXPECT_FLOAT_EQ(expected.salary, card.fSalary);
        EXPECT_FLOAT_EQ(expected.overtimePay, card.fOvertimePay);
        EXPECT_EQ(expected.err, card.flgErr);
    }

    test::ScopedTimeZone m_zone;
    test::TestDatabase m_db;
};

const UserSettings kHourly{250, 300, "09:00", "18:00"};  // per 15 minutes

struct DayCase {
    const char* name;
    GroupSettings group;
    UserSettings user;
    Card card;
    DayResult expected;
};

// Each case: the group (pay type, overtime rule, unit, rounding), the user (rates per unit,
// contractual times), the card as stored and the day row the calculation must leave.
const DayCase kDayCases[] = {
    {"eight hours, overtime beyond eight hours",
     {3, 4, 15, 2},
     kHourly,
     {"09:00", "18:00", 60, 0, 5, 5},
     {0, 480, 0, 8000, 0, 0}},
    {"ten and a half hours, overtime beyond eight hours",
     {3, 4, 15, 2},
     kHourly,
     {"09:00", "19:30", 60, 0, 5, 5},
     {0, 570, 90, 9500, 1800, 0}},
    {"night shift departs the next day",
     {3, 4, 15, 2},
     kHourly,
     {"22:00", "06:00", 0, 0, 5, 5},
     {2, 480, 0, 8000, 0, 0}},
    {"late arrival came the day before",
     {3, 4, 15, 2},
     kHourly,
     {"20:00", "10:00", 60, 0, 5, 5},
     {1, 780, 300, 13000, 6000, 0}},
    {"neither hour rule keeps the chosen option",
     {3, 4, 15, 2},
     kHourly,
     {"12:00", "11:00", 60, 1, 5, 5},
     {1, 1320, 840, 22000, 16800, 0}},
    {"neither hour rule without an option is an error",
     {3, 4, 15, 2},
     kHourly,
     {"12:00", "11:00", 60, 0, 5, 5},
     {0, 0, 0, 0, 0, 1}},
    {"arrival only", {3, 4, 15, 2}, kHourly, {"09:00", "", 60, 2, 5, 5}, {0, 0, 0, 0, 0, 1}},
    {"departure only", {3, 4, 15, 2}, kHourly, {"", "18:00", 60, 0, 5, 5}, {0, 0, 0, 0, 0, 1}},
    {"empty day", {3, 4, 15, 2}, kHourly, {"", "", 60, 1, 5, 5}, {0, 0, 0, 0, 0, 0}},
    {"lunch as long as the day",
     {3, 4, 15, 2},
     kHourly,
     {"09:00", "10:00", 60, 0, 5, 5},
     {0, 0, 0, 0, 0, 1}},
    {"early arrival and late departure",
     {3, 3, 15, 2},
     kHourly,
     {"08:30", "18:45", 60, 0, 5, 5},
     {0, 555, 75, 9250, 1500, 0}},
    {"early arrival only",
     {3, 1, 15, 2},
     kHourly,
     {"08:30", "18:45", 60, 0, 5, 5},
     {0, 555, 30, 9250, 600, 0}},
    {"late departure the next day is capped at the working time",
     {3, 2, 15, 2},
     kHourly,
     {"22:00", "06:00", 0, 0, 5, 5},
     {2, 480, 480, 8000, 9600, 0}},
    {"half up: remainder 7 of 15 goes down",
     {3, 0, 15, 3},
     kHourly,
     {"09:00", "17:07", 0, 0, 5, 5},
     {0, 480, 0, 8000, 0, 0}},
    {"half up: remainder 8 of 15 goes up",
     {3, 0, 15, 3},
     kHourly,
     {"09:00", "17:08", 0, 0, 5, 5},
     {0, 495, 0, 8250, 0, 0}},
    {"round up takes any remainder, overtime apart",
     {3, 4, 15, 1},
     kHourly,
     {"09:00", "17:01", 0, 0, 5, 5},
     {0, 495, 15, 8250, 300, 0}},
    {"no rounding keeps the minutes and the earlier pay",
     {3, 4, 15, 0},
     kHourly,
     {"09:00", "17:07", 0, 0, 1234, 56},
     {0, 487, 7, 1234, 56, 0}},
    {"daily group with unit 0 keeps the earlier pay",
     {2, 4, 0, 3},
     kHourly,
     {"09:00", "17:07", 0, 0, 1234, 56},
     {0, 487, 7, 1234, 56, 0}},
    {"time-based group with unit 0 keeps the earlier pay",
     {3, 4, 0, 2},
     kHourly,
     {"09:00", "17:07", 0, 0, 1234, 56},
     {0, 487, 7, 1234, 56, 0}},
    {"daily group pays the day rate",
     {2, 4, 60, 2},
     {8000, 1500, "09:00", "18:00"},
     {"09:00", "19:30", 60, 0, 5, 5},
     {0, 540, 60, 8000, 1500, 0}},
    {"monthly group keeps the day pay",
     {1, 4, 60, 2},
     {300000, 1500, "09:00", "18:00"},
     {"09:00", "19:30", 60, 0, 777, 5},
     {0, 540, 60, 777, 1500, 0}},
    {"half an amount rounds away from zero",
     {3, 0, 30, 2},
     {100.5f, 0, "09:00", "18:00"},
     {"09:00", "09:30", 0, 0, 5, 5},
     {0, 30, 0, 101, 0, 0}},
};

TEST_P(PayCalculation, RecomputesEachDayFromTheUserAndGroupSettings) {
    std::vector<int> users;
    for (const DayCase& c : kDayCases) {
        int group = AddGroup(c.name, c.group);
        int user = AddUser(c.name, group, 1, c.user);
        AddCard(user, 2024, 3, 5, c.card);
        Calculate(group, 20240301, 20240331);
        users.push_back(user);
    }
    for (size_t i = 0; i < users.size(); ++i) {
        SCOPED_TRACE(kDayCases[i].name);
        ExpectDay(kDayCases[i].expected, StoredCard(users[i], 2024, 3, 5));
    }
}

TEST_P(PayCalculation, MonthResultsListTheGroupsUsers) {
    int hourly = AddGroup("時給", {3, 4, 15, 2});
    int monthly = AddGroup("月給", {1, 4, 15, 2});
    int other = AddGroup("other", {3, 4, 15, 2});
    int worker = AddUser("山田", hourly, 1, kHourly);
    int idle = AddUser("idle", hourly, 3, kHourly);
    AddUser("retired without cards", hourly, 0, kHourly);
    int returning = AddUser("retired with a card", hourly, 0, kHourly);
    int salaried = AddUser("salaried", monthly, 2, {300000, 300, "09:00", "18:00"});
    int outsider = AddUser("outsider", other, 1, kHourly);
    // Level 4 accounts are never listed. The user records save level 4 only as the
    // administration account, so this one goes in directly.
    constexpr int kAdministrator = 50;
    Db().Database().ExecuteSQL(
        Db().Dialect().Render("INSERT INTO [dbo].[Tユーザー] ([idUser],[strUserName],[idGroup],"
                              "[nLevel]) VALUES (?,?,?,?)"),
        {DbValue(kAdministrator), DbValue("admin"), DbValue(hourly), DbValue(4)});

    AddWorkday(worker, 2024, 3, 1);
    AddCard(worker, 2024, 3, 2, {"09:00", "19:30", 60, 0, 0, 0});
    AddCard(worker, 2024, 3, 3, {"09:00", "", 60, 0, 0, 0});
    AddCard(worker, 2024, 3, 4, {"", "", 60, 0, 0, 0});
    AddWorkday(worker, 2024, 4, 1);
    AddWorkday(returning, 2024, 3, 10);
    AddWorkday(kAdministrator, 2024, 3, 10);
    AddWorkday(salaried, 2024, 3, 1);
    AddWorkday(salaried, 2024, 3, 2);
    AddWorkday(outsider, 2024, 3, 1);

    Calculate(hourly, 20240301, 20240331);
    Calculate(monthly, 20240301, 20240331);

    std::vector<CSalary> list = Results(hourly, 2024, 3);
    ASSERT_EQ(3u, list.size());
    EXPECT_EQ(worker, list[0].idUser);
    EXPECT_EQ("山田", list[0].strUserName);
    EXPECT_EQ("時給", list[0].strGroupName);
    EXPECT_EQ(1050, list[0].nWorkingMin);
    EXPECT_EQ(90, list[0].nOvertimeMin);
    EXPECT_FLOAT_EQ(17500, list[0].fSalary);
    EXPECT_FLOAT_EQ(1800, list[0].fOvertimePay);
    EXPECT_EQ(2, list[0].nDays) << "rows with working minutes";
    EXPECT_EQ(1, list[0].nErr);
    EXPECT_EQ(idle, list[1].idUser) << "an active user without cards is listed with zeros";
    EXPECT_EQ(0, list[1].nWorkingMin);
    EXPECT_FLOAT_EQ(0, list[1].fSalary);
    EXPECT_EQ(0, list[1].nDays);
    EXPECT_EQ(returning, list[2].idUser) << "a retired user with a card in the period";
    EXPECT_EQ(480, list[2].nWorkingMin);
    EXPECT_EQ(1, list[2].nDays);

    EXPECT_EQ(480, StoredCard(kAdministrator, 2024, 3, 10).nWorkingMin)
        << "every card of the group is recomputed, listed or not";
    EXPECT_EQ(kStaleMinutes, StoredCard(worker, 2024, 4, 1).nWorkingMin) << "outside the period";
    EXPECT_EQ(kStaleMinutes, StoredCard(outsider, 2024, 3, 1).nWorkingMin) << "another group";
    EXPECT_TRUE(Results(other, 2024, 3).empty());

    list = Results(monthly, 2024, 3);
    ASSERT_EQ(1u, list.size());
    EXPECT_EQ(salaried, list[0].idUser);
    EXPECT_EQ(960, list[0].nWorkingMin);
    EXPECT_FLOAT_EQ(300000, list[0].fSalary) << "a monthly group pays the monthly rate";
    EXPECT_EQ(2, list[0].nDays);
}

TEST_P(PayCalculation, DaysAreTheCardsWithTimeWorked) {
    int group = AddGroup("時給", {3, 4, 15, 2});
    int user = AddUser("山田", group, 1, kHourly);
    AddWorkday(user, 2024, 3, 1);
    AddCard(user, 2024, 3, 2, {"09:00", "09:30", 60, 0, 0, 0});  // lunch longer than the day
    AddCard(user, 2024, 3, 3, {"12:00", "11:00", 60, 0, 0, 0});  // departure before arrival
    AddCard(user, 2024, 3, 4, {"09:00", "", 60, 0, 0, 0});
    AddCard(user, 2024, 3, 5, {"", "", 60, 0, 0, 0});
    AddCard(user, 2024, 3, 6, {"09:00", "09:10", 0, 0, 0, 0});  // rounded down to nothing
    Calculate(group, 20240301, 20240331);

    std::vector<CSalary> list = Results(group, 2024, 3);
    ASSERT_EQ(1u, list.size());
    EXPECT_EQ(1, list[0].nDays) << "error days with both times set are no days";
    EXPECT_EQ(3, list[0].nErr);
    EXPECT_EQ(480, list[0].nWorkingMin);
    EXPECT_EQ(0, StoredCard(user, 2024, 3, 6).flgErr)
        << "a day rounded down to no minutes is no error, and no day either";
}

TEST_P(PayCalculation, ARetiredUserIsListedOnlyForAPeriodWithAStampedTime) {
    // A monthly group: a listed user is paid the monthly rate whatever the cards hold.
    int group = AddGroup("月給", {1, 4, 15, 2});
    const UserSettings monthly{300000, 300, "09:00", "18:00"};
    int emptyRows = AddUser("empty rows", group, 0, monthly);
    int arrival = AddUser("arrival only", group, 0, monthly);
    int departure = AddUser("departure only", group, 0, monthly);
    int lastMonth = AddUser("worked last month", group, 0, monthly);
    AddCard(emptyRows, 2024, 3, 1, {"", "", 60, 0, 0, 0});
    AddCard(emptyRows, 2024, 3, 2, {"", "", 60, 0, 0, 0});
    AddCard(arrival, 2024, 3, 1, {"", "", 60, 0, 0, 0});
    AddCard(arrival, 2024, 3, 2, {"09:00", "", 60, 0, 0, 0});
    AddCard(departure, 2024, 3, 31, {"", "18:00", 60, 0, 0, 0});
    AddWorkday(lastMonth, 2024, 2, 29);
    AddCard(lastMonth, 2024, 3, 1, {"", "", 60, 0, 0, 0});
    Calculate(group, 20240301, 20240331);

    std::vector<CSalary> list = Results(group, 2024, 3);
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ(arrival, list[0].idUser);
    EXPECT_FLOAT_EQ(300000, list[0].fSalary);
    EXPECT_EQ(0, list[0].nDays);
    EXPECT_EQ(1, list[0].nErr);
    EXPECT_EQ(departure, list[1].idUser);
    EXPECT_EQ(1, list[1].nErr);
}

// The procedure as script 002 left it in a database at version 2, as offices hold it.
void RestoreFirstPayRules(CConnection& db, Engine engine) {
    std::string folder = engine == Engine::SQLite ? "db/sqlite/" : "db/postgresql/";
    const auto& files = embedded::Files();
    auto script = files.find(folder + "002_pay_calculation.sql");
    ASSERT_NE(files.end(), script);
    if (engine == Engine::SQLite) {
        db.Database().ExecuteSQL("DROP TRIGGER TRP計算");
    }
    int replaced = 0;
    // The script is UTF-8, as the loader reads it.
    for (const std::string& batch : CSchemaSetup::SplitBatches(script->second)) {
        if (batch.find("CREATE TRIGGER") != std::string::npos ||
            batch.find("CREATE OR REPLACE PROCEDURE") != std::string::npos) {
            db.Database().ExecuteSQL(cp932::FromUtf8(batch));
            ++replaced;
        }
    }
    ASSERT_EQ(1, replaced);
    db.Database().ExecuteSQL(db.Dialect().Render("UPDATE [dbo].[TSchemaVersion] SET [nVersion]=2"));
}

TEST_P(PayCalculation, AnInstalledDatabaseTakesTheNewRulesWithItsUpgrade) {
    ASSERT_NO_FATAL_FAILURE(RestoreFirstPayRules(Db(), GetParam()));
    int group = AddGroup("月給", {1, 4, 15, 2});
    int worker = AddUser("worker", group, 1, {300000, 300, "09:00", "18:00"});
    int retired = AddUser("retired", group, 0, {300000, 300, "09:00", "18:00"});
    AddWorkday(worker, 2024, 3, 1);
    AddCard(worker, 2024, 3, 2, {"09:00", "09:30", 60, 0, 0, 0});
    AddCard(retired, 2024, 3, 1, {"", "", 60, 0, 0, 0});

    Calculate(group, 20240301, 20240331);
    std::vector<CSalary> list = Results(group, 2024, 3);
    ASSERT_EQ(2u, list.size()) << "version 2 lists a retired user with an empty row";
    EXPECT_EQ(2, list[0].nDays) << "version 2 counts the error day with both times";

    // The pay scripts only: the later ones change other tables, which this database has
    // at their newest already.
    CSchemaSetup setup(Db());
    EXPECT_EQ(2, setup.CurrentVersion());
    const int lastPayScript = CSchemaSetup::kPasswordHashVersion - 1;
    EXPECT_EQ(lastPayScript, setup.Upgrade(lastPayScript));
    Calculate(group, 20240301, 20240331);
    list = Results(group, 2024, 3);
    ASSERT_EQ(1u, list.size());
    EXPECT_EQ(worker, list[0].idUser);
    EXPECT_EQ(1, list[0].nDays);
    EXPECT_EQ(1, list[0].nErr);
}

TEST_P(PayCalculation, ACalculationReplacesOnlyItsGroupsMonth) {
    int group = AddGroup("A", {3, 4, 15, 2});
    int neighbour = AddGroup("B", {3, 4, 15, 2});
    int first = AddUser("first", group, 1, kHourly);
    int second = AddUser("second", group, 1, kHourly);
    int third = AddUser("third", neighbour, 1, kHourly);
    AddWorkday(first, 2024, 2, 5);
    AddWorkday(first, 2024, 3, 5);
    AddWorkday(third, 2024, 3, 5);
    Calculate(group, 20240201, 20240231);
    Calculate(group, 20240301, 20240331);
    Calculate(neighbour, 20240301, 20240331);

    Db().Database().ExecuteSQL(
        Db().Dialect().Render("UPDATE [dbo].[Tタイムカード] SET [timeTo]=? WHERE [idTimeCard]=?"),
        {Db().Dialect().DateTimeParam(TimeOfDay(19, 0)), DbValue(TimeCardKey(first, 2024, 3, 5))});
    Calculate(group, 20240301, 20240331);

    std::vector<CSalary> list = Results(group, 2024, 3);
    ASSERT_EQ(2u, list.size()) << "one row per user after calculating again";
    EXPECT_EQ(first, list[0].idUser);
    EXPECT_EQ(540, list[0].nWorkingMin);
    EXPECT_EQ(second, list[1].idUser);
    ASSERT_EQ(2u, Results(group, 2024, 2).size()) << "another month stays";
    EXPECT_EQ(480, Results(group, 2024, 2)[0].nWorkingMin);
    ASSERT_EQ(1u, Results(neighbour, 2024, 3).size()) << "another group stays";
}

TEST_P(PayCalculation, PeriodBoundsAreDayNumbersEvenForDaysThatDoNotExist) {
    struct PeriodCase {
        const char* name;
        int from;
        int to;
        int year;
        int month;
        int days;
    };
    const PeriodCase cases[] = {
        {"closing day 20", 20240221, 20240320, 2024, 3, 2},
        {"day 31 of a 30-day month", 20240401, 20240431, 2024, 4, 1},
        {"day 31 of February", 20230201, 20230231, 2023, 2, 1},
        {"December of the previous year", 20231221, 20240120, 2024, 1, 2},
    };
    int group = AddGroup("A", {3, 4, 15, 2});
    int user = AddUser("u", group, 1, kHourly);
    const int days[][3] = {{2024, 2, 20},  {2024, 2, 21}, {2024, 3, 20}, {2024, 3, 21},
                           {2024, 4, 30},  {2024, 5, 1},  {2023, 2, 28}, {2023, 3, 1},
                           {2023, 12, 21}, {2024, 1, 20}, {2024, 1, 21}};
    for (const auto& d : days) {
        AddWorkday(user, d[0], d[1], d[2]);
    }
    for (const PeriodCase& c : cases) {
        SCOPED_TRACE(c.name);
        Calculate(group, c.from, c.to);
        std::vector<CSalary> list = Results(group, c.year, c.month);
        ASSERT_EQ(1u, list.size());
        EXPECT_EQ(c.days, list[0].nDays);
        EXPECT_EQ(480 * c.days, list[0].nWorkingMin);
    }
    for (const auto& d : {days[0], days[5], days[7], days[10]}) {
        EXPECT_EQ(kStaleMinutes, StoredCard(user, d[0], d[1], d[2]).nWorkingMin)
            << "outside every period: " << d[0] << "-" << d[1] << "-" << d[2];
    }
}

TEST_P(PayCalculation, AFailingCalculationLeavesThePreviousResult) {
    int group = AddGroup("A", {3, 4, 15, 2});
    int user = AddUser("u", group, 1, kHourly);
    AddWorkday(user, 2024, 3, 5);
    Calculate(group, 20240301, 20240331);
    Db().Database().ExecuteSQL(
        Db().Dialect().Render("UPDATE [dbo].[Tタイムカード] SET [timeTo]=? WHERE [idTimeCard]=?"),
        {Db().Dialect().DateTimeParam(TimeOfDay(20, 0)), DbValue(TimeCardKey(user, 2024, 3, 5))});

    // A result row that cannot be written fails the call after the cards are recomputed
    // and the earlier result is deleted.
    if (GetParam() == Engine::SQLite) {
        Db().Database().ExecuteSQL(
            "CREATE TRIGGER TRRefuse BEFORE INSERT ON T給料 BEGIN SELECT RAISE(ABORT, 'refused'); "
            "END");
    } else {
        Db().Database().ExecuteSQL(
            "CREATE FUNCTION dbo.Refuse() RETURNS trigger LANGUAGE plpgsql AS "
            "$$ BEGIN RAISE EXCEPTION 'refused'; END $$");
        Db().Database().ExecuteSQL(
            "CREATE TRIGGER TRRefuse BEFORE INSERT ON dbo.T給料 FOR EACH ROW EXECUTE FUNCTION "
            "dbo.Refuse()");
    }

    auto expectPrevious = [&](const char* how) {
        SCOPED_TRACE(how);
        std::vector<CSalary> list = Results(group, 2024, 3);
        ASSERT_EQ(1u, list.size());
        EXPECT_EQ(480, list[0].nWorkingMin);
        EXPECT_EQ(480, StoredCard(user, 2024, 3, 5).nWorkingMin);
    };
    {
        CTransaction transaction(Db().Database());
        EXPECT_THROW(Calculate(group, 20240301, 20240331), CDBException);
    }
    expectPrevious("inside the caller's transaction");
    EXPECT_THROW(Calculate(group, 20240301, 20240331), CDBException);
    expectPrevious("on its own");
}

TEST_P(PayCalculation, AMonthOutsideTheYearIsRefused) {
    int group = AddGroup("A", {3, 4, 15, 2});
    AddUser("u", group, 1, kHourly);
    for (int to : {20241331, 20240031}) {
        SCOPED_TRACE(to);
        EXPECT_THROW(Calculate(group, 20240301, to), CDBException);
        EXPECT_TRUE(Results(group, to / 10000, to / 100 % 100).empty());
    }
}

TEST_P(PayCalculation, TwoCalculationsOfOneGroupAtOnceLeaveOneRowPerUser) {
    int group = AddGroup("A", {3, 4, 15, 2});
    AddUser("first", group, 1, kHourly);
    AddUser("second", group, 1, kHourly);

    CTransaction transaction(Db().Database());
    Calculate(group, 20240301, 20240331);
    std::atomic<bool> failed{false};
    std::latch calling(2);  // both sides meet when the other calculation is sent
    auto otherDb = m_db.OpenAnother();
    test::FaultInjector meet(otherDb->Database());
    meet.onStatement = [&](const std::string& sql) {
        if (sql.find("計算") != std::string::npos) {
            calling.arrive_and_wait();
        }
    };
    std::thread other([&] {
        try {
            CalculateOn(*otherDb, group, 20240301, 20240331);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
            failed = true;
        }
    });
    calling.arrive_and_wait();
    if (GetParam() == Engine::PostgreSQL) {
        // Until the server shows the other calculation waiting for this one's lock.
        CRecordset waiting(Db().Database());
        for (int i = 0; i < 500; ++i) {
            waiting.Open(
                "SELECT COUNT(*) FROM pg_stat_activity WHERE wait_event_type = 'Lock' "
                "AND datname = current_database()",
                {}, {DbType::Integer});
            if (waiting.GetField(0).AsInt() > 0) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(1, waiting.GetField(0).AsInt()) << "the other calculation never waited";
    }
    transaction.Commit();
    other.join();
    ASSERT_FALSE(failed.load());
    EXPECT_EQ(2u, Results(group, 2024, 3).size());
}

// Another computer stores a departure of 18:30 over 17:00 while the calculation runs: the
// card must end with the minutes of 18:30, never with those of the version it replaced.
TEST_P(PayCalculation, ACardStoredElsewhereMeanwhileIsRecomputedFromItsNewVersion) {
    if (GetParam() != Engine::PostgreSQL) {
        GTEST_SKIP() << "SQLite lets one computer write at a time";
    }
    int group = AddGroup("A", {3, 4, 15, 2});
    int user = AddUser("late", group, 1, kHourly);
    AddCard(user, 2024, 3, 4, {"09:00", "17:00", 60, 0, 0, 0});

    auto otherDb = m_db.OpenAnother();
    CTransaction storing(otherDb->Database());
    otherDb->Database().ExecuteSQL(
        otherDb->Dialect().Render(
            "UPDATE [dbo].[Tタイムカード] SET [timeTo]=? WHERE [idTimeCard]=?"),
        {otherDb->Dialect().DateTimeParam(DayTime("18:30")),
         DbValue(TimeCardKey(user, 2024, 3, 4))});

    std::atomic<bool> failed{false};
    std::thread calculation([&] {
        try {
            Calculate(group, 20240301, 20240331);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
            failed = true;
        }
    });
    // Until the server shows the calculation waiting for the card being stored.
    auto watcher = m_db.OpenAnother();
    CRecordset waiting(watcher->Database());
    for (int i = 0; i < 500; ++i) {
        waiting.Open(
            "SELECT COUNT(*) FROM pg_stat_activity WHERE wait_event_type = 'Lock' "
            "AND datname = current_database()",
            {}, {DbType::Integer});
        if (waiting.GetField(0).AsInt() > 0) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(1, waiting.GetField(0).AsInt()) << "the calculation never met the stored card";
    storing.Commit();
    calculation.join();
    ASSERT_FALSE(failed.load());

    const CTimeCard card = StoredCard(user, 2024, 3, 4);
    EXPECT_EQ(18, card.timeTo.GetHour());
    EXPECT_EQ(30, card.timeTo.GetMinute());
    ExpectDay({0, 510, 30, 8500, 600, 0}, card);
    std::vector<CSalary> list = Results(group, 2024, 3);
    ASSERT_EQ(1u, list.size());
    EXPECT_EQ(510, list[0].nWorkingMin);
    EXPECT_EQ(30, list[0].nOvertimeMin);
}

INSTANTIATE_TEST_SUITE_P(Engines, PayCalculation,
                         ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace tokeiya
