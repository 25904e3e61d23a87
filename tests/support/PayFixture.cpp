#include "tests/support/PayFixture.hpp"

#include <stdexcept>

#include "data/CTTimeCard.hpp"
#include "data/CTUser.hpp"
#include "data/CTUserGroup.hpp"
#include "data/PayPeriod.hpp"
#include "data/TimeValue.hpp"

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
    for (const CUserGroup& g : f.groups) {
        for (int i = 0; i < usersPerGroup; ++i) {
            CUser u;
            u.strUserName = g.strGroupName + "-" + std::to_string(i);
            u.idGroup = g.idGroup;
            // One retired user per group, who still worked in the period.
            u.nLevel = i == usersPerGroup - 1 && usersPerGroup > 1 ? 0 : 1 + i % 3;
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
                if (kind == 0) {
                    continue;  // no card at all
                }
                CTimeCard card = CTimeCard::NewDay(u.idUser, day.year, day.month, day.day);
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

}  // namespace tokeiya::test
