#include "tests/support/PayFixture.hpp"

#include <stdexcept>

#include "data/CPayCalculation.hpp"
#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/CTUserGroup.hpp"
#include "data/PayPeriod.hpp"
#include "data/TimeValue.hpp"
#include "screens/paycalc/TimeCardCalc.hpp"

namespace tokeiya::test {
namespace {

// A small deterministic generator, so both engines get the same month.
class Sequence {
  public:
    int Next(int range) {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((m_state >> 33) % static_cast<unsigned long long>(range));
    }

  private:
    unsigned long long m_state = 20240321;
};

// What the retired user of a group has in the period.
enum class Retired { EmptyRows, HalfStamped, Worked };

}  // namespace

PayFixture PayFixture::Build(CConnection& connection, int usersPerGroup, int days) {
    PayFixture f;
    struct GroupSpec {
        const char* name;
        int type, overtime, unit, round, cutoff;
    };
    const GroupSpec specs[] = {
        {"月給・なし", 1, 0, 0, 0, 0},    {"月給・残業", 1, 2, 30, 1, 20},
        {"日給・早出", 2, 1, 15, 2, 0},   {"日給・単位なし", 2, 4, 0, 1, 0},
        {"時給・両方", 3, 3, 15, 3, 20},  {"時給・8時間", 3, 4, 60, 1, 0},
        {"時給・丸め無", 3, 4, 10, 0, 0},
    };
    for (const GroupSpec& s : specs) {
        CUserGroup g;
        g.strGroupName = s.name;
        g.typeSalary = s.type;
        g.typeOvertime = s.overtime;
        g.nTimePerSalary = s.unit;
        g.flgRound = s.round;
        g.nCutoff = s.cutoff;
        if (CTUserGroup(connection).Save(g) != 1) {
            throw std::runtime_error("cannot store a group");
        }
        f.groups.push_back(g);
    }
    Sequence random;
    int groupIndex = 0;
    for (const CUserGroup& g : f.groups) {
        const auto retired = static_cast<Retired>(groupIndex++ % 3);
        for (int i = 0; i < usersPerGroup; ++i) {
            CUser u;
            u.strUserName = g.strGroupName + "-" + std::to_string(i);
            u.idGroup = g.idGroup;
            const bool isRetired = i == usersPerGroup - 1 && usersPerGroup > 1;
            u.nLevel = isRetired ? 0 : 1 + i % 3;
            u.fSalary = g.typeSalary == 1 ? 200000.0f + 1000 * i
                        : g.typeSalary == 2
                            ? 8000.0f + 250 * i
                            : 0.5f * (g.nTimePerSalary > 0 ? g.nTimePerSalary : 60) * (17 + i);
            u.fOvertimePay = 1.25f * (g.nTimePerSalary > 0 ? g.nTimePerSalary : 60) + i;
            u.timeFrom = TimeOfDay(9, 0);
            u.timeTo = TimeOfDay(17, 30 + 15 * (i % 2));
            if (CTUser(connection, CTUser::Mode::Table).Save(u) != 1) {
                throw std::runtime_error("cannot store a user");
            }
            u.strGroupName = g.strGroupName;
            u.typeSalary = g.typeSalary;
            u.typeOvertime = g.typeOvertime;
            u.nTimePerSalary = g.nTimePerSalary;
            u.flgRound = g.flgRound;
            u.nCutoff = g.nCutoff;
            f.users.push_back(u);

            CalendarDay day{2024, 2, 15};
            for (int d = 0; d < days; ++d, day = day.Next()) {
                int kind = random.Next(20);
                if (isRetired && retired == Retired::HalfStamped && d == days / 2) {
                    kind = 1;
                } else if (isRetired && retired != Retired::Worked && kind != 0) {
                    kind = 4;
                }
                if (kind == 0) {
                    continue;  // no card at all
                }
                CTimeCard card =
                    CTimeCard::NewDay(u.idUser, day.year, day.month, day.day, u.nLunchMin);
                card.nLunchMin = 30 + 15 * random.Next(3);
                card.fSalary = 100;  // what an earlier calculation left
                card.fOvertimePay = 10;
                if (kind == 1) {  // arrival only
                    card.timeFrom = TimeOfDay(8 + random.Next(2), random.Next(60));
                } else if (kind == 2) {  // night shift
                    card.timeFrom = TimeOfDay(21 + random.Next(3), random.Next(60));
                    card.timeTo = TimeOfDay(5 + random.Next(3), random.Next(60));
                } else if (kind == 3) {  // shorter than lunch
                    card.timeFrom = TimeOfDay(12, 0);
                    card.timeTo = TimeOfDay(12, 10 + random.Next(20));
                } else if (kind == 4) {  // empty day kept as a row
                } else {
                    card.timeFrom = TimeOfDay(7 + random.Next(3), random.Next(60));
                    card.timeTo = TimeOfDay(16 + random.Next(5), random.Next(60));
                }
                if (CTTimeCard(connection).StoreCard(card) != 1) {
                    throw std::runtime_error("cannot store a card");
                }
                f.cards.push_back(card);
            }
        }
    }
    return f;
}

PayFixture::Month PayFixture::Expected(int year, int month) const {
    Month expected;
    for (const CUser& user : users) {
        PayCalculationBounds bounds = PayCalculationBounds::For(year, month, user.nCutoff);
        CSalary s;
        s.idUser = user.idUser;
        s.idGroup = user.idGroup;
        s.nYear = year;
        s.nMonth = month;
        bool holdsTime = false;
        long double pay = 0;
        for (CTimeCard card : cards) {
            int code = card.nYear * 10000 + card.nMonth * 100 + card.nDay;
            if (card.idUser != user.idUser || code < bounds.from || code > bounds.to) {
                continue;
            }
            holdsTime = holdsTime || !IsEmptyTime(card.timeFrom) || !IsEmptyTime(card.timeTo);
            RecomputeRow(user, card);
            card.flgOption = DayOption(card.timeFrom, card.timeTo, card.flgOption);
            s.nWorkingMin += card.nWorkingMin;
            s.nOvertimeMin += card.nOvertimeMin;
            pay += card.fSalary;
            s.fOvertimePay += card.fOvertimePay;
            // A day is a day with time worked: an error day with both times is none.
            s.nDays += card.nWorkingMin > 0 ? 1 : 0;
            s.nErr += card.flgErr;
            expected.days[card.idTimeCard] = card;
        }
        s.fSalary = user.typeSalary == kSalaryMonthly ? user.fSalary : static_cast<float>(pay);
        // A retired user is paid only for a period in which some time was stamped.
        if (user.nLevel > 0 || holdsTime) {
            expected.results[user.idUser] = s;
        }
    }
    return expected;
}

}  // namespace tokeiya::test
