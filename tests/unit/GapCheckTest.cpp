#include <gtest/gtest.h>

#include "data/TimeValue.hpp"
#include "screens/gapcheck/GapCheck.hpp"
#include "screens/gapcheck/GapCheckText.hpp"
#include "tests/support/ScopedTimeZone.hpp"

namespace tokeiya {
namespace {

constexpr int kHanako = 1;
constexpr int kTaro = 2;

CTime At(int day, int hour, int minute) {
    return CTime(2024, 6, day, hour, minute, 0);
}

CActivitySpan Span(int user, const CTime& start, const CTime& end,
                   ActivityEnd how = ActivityEnd::Exit, const char* computer = "PC-7") {
    CActivitySpan span;
    span.idSpan = start.GetTime() * 10 + user;
    span.idUser = user;
    span.computer = computer;
    span.start = start;
    span.end = end;
    span.how = how;
    return span;
}

CTimeCard Card(int user, int day, int fromHour, int fromMinute, int toHour, int toMinute,
               int option = kOptionSameDay) {
    CTimeCard card = CTimeCard::NewDay(user, 2024, 6, day, 60);
    card.timeFrom = TimeOfDay(fromHour, fromMinute);
    card.timeTo = TimeOfDay(toHour, toMinute);
    card.flgOption = option;
    return card;
}

CCardChange Change(int user, int day, const CTime& at, ChangeHow how) {
    CCardChange change;
    change.idUser = user;
    change.nYear = 2024;
    change.nMonth = 6;
    change.nDay = day;
    change.at = at;
    change.how = how;
    change.byUser = 0;
    change.computer = "PC-ADMIN";
    change.before.timeFrom = TimeOfDay(9, 30);
    change.after.timeFrom = TimeOfDay(8, 15);
    return change;
}

class GapCheckTest : public ::testing::Test {
  protected:
    GapCheckTest() {
        CUser hanako;
        hanako.idUser = kHanako;
        hanako.strUserName = "hanako";
        CUser taro;
        taro.idUser = kTaro;
        taro.strUserName = "taro";
        m_users = {hanako, taro};
    }

    // The rows built from one day of hanako's, with N = 30.
    std::vector<GapCheckRow> Check(const std::vector<CTimeCard>& cards,
                                   const std::vector<CActivitySpan>& spans,
                                   const std::vector<CCardChange>& changes = {}) {
        m_check.Build(2024, 6, m_users, cards, SummarizeActivityDays(spans), changes,
                      OfficeSettings{});
        return m_check.Rows();
    }

    test::ScopedTimeZone m_zone{"Asia/Tokyo"};
    std::vector<CUser> m_users;
    CGapCheck m_check;
};

TEST_F(GapCheckTest, ListsADayOnlyWhenThePcAndTheCardDisagreeBeyondTheMinutes) {
    const struct {
        const char* name;
        CTimeCard card;
        std::vector<CActivitySpan> spans;
        bool listed;
        int gap;
        bool early;
        bool late;
    } cases[] = {
        {"PC from 08:10, stamped 09:30",
         Card(kHanako, 3, 9, 30, 18, 0),
         {Span(kHanako, At(3, 8, 10), At(3, 18, 5))},
         true,
         80,
         true,
         false},
        {"within the minutes on both ends",
         Card(kHanako, 3, 9, 0, 18, 0),
         {Span(kHanako, At(3, 8, 30), At(3, 18, 30))},
         false,
         30,
         false,
         false},
        {"PC on after the departure",
         Card(kHanako, 3, 9, 0, 18, 0),
         {Span(kHanako, At(3, 9, 0), At(3, 12, 0)), Span(kHanako, At(3, 13, 0), At(3, 20, 15))},
         true,
         135,
         false,
         true},
        {"a departure on the next morning",
         Card(kHanako, 3, 22, 0, 6, 0, kOptionDepartureNextDay),
         {Span(kHanako, At(3, 21, 50), At(4, 6, 20))},
         false,
         20,
         false,
         false},
        {"a span still open has no end to compare",
         Card(kHanako, 3, 9, 0, 18, 0),
         {Span(kHanako, At(3, 8, 50), CTime(), ActivityEnd::None)},
         false,
         10,
         false,
         false},
        {"two computers at once: the earliest start counts",
         Card(kHanako, 3, 9, 0, 18, 0),
         {Span(kHanako, At(3, 8, 55), At(3, 18, 0)),
          Span(kHanako, At(3, 7, 40), At(3, 9, 0), ActivityEnd::Exit, "PC-8")},
         true,
         80,
         true,
         false},
        {"another user's PC use is not hers",
         Card(kHanako, 3, 9, 0, 18, 0),
         {Span(kTaro, At(3, 6, 0), At(3, 23, 0))},
         false,
         -1,
         false,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<GapCheckRow> rows = Check({c.card}, c.spans);
        const GapCheckRow* row = m_check.Listed(kHanako, 2024, 6, 3);
        EXPECT_EQ(c.listed, row != nullptr);
        if (row != nullptr) {
            EXPECT_EQ(c.gap, row->gapMinutes);
            EXPECT_EQ(c.early, row->early);
            EXPECT_EQ(c.late, row->late);
        }
    }
}

TEST_F(GapCheckTest, PcUseWithoutACardAndCorrectionsAfterTheDayAreListed) {
    Check({Card(kHanako, 4, 9, 0, 18, 0), Card(kHanako, 5, 9, 0, 18, 0)},
          {Span(kHanako, At(3, 9, 0), At(3, 17, 0))},
          {Change(kHanako, 4, At(5, 10, 0), ChangeHow::TimeCardScreen),
           Change(kHanako, 5, At(5, 12, 0), ChangeHow::MonthSchedule),
           Change(kHanako, 6, At(7, 8, 0), ChangeHow::JournalExit)});
    const GapCheckRow* noCard = m_check.Listed(kHanako, 2024, 6, 3);
    ASSERT_NE(nullptr, noCard);
    EXPECT_TRUE(noCard->noCard);
    EXPECT_EQ(-1, noCard->gapMinutes);
    const GapCheckRow* later = m_check.Listed(kHanako, 2024, 6, 4);
    ASSERT_NE(nullptr, later);
    EXPECT_TRUE(later->correctedLater);
    EXPECT_EQ(1, later->corrections);
    EXPECT_EQ(nullptr, m_check.Listed(kHanako, 2024, 6, 5)) << "corrected on the day itself";
    EXPECT_EQ(1, m_check.CorrectionsOf(kHanako, 2024, 6, 5));
    EXPECT_EQ(nullptr, m_check.Listed(kHanako, 2024, 6, 6)) << "a stamp written later";
    EXPECT_EQ("打刻なし", GapReasonText(*noCard));
    EXPECT_EQ("後日修正", GapReasonText(*later));
}

TEST_F(GapCheckTest, ASpanEndingBeforeItStartsIsFlaggedAndNeverCounted) {
    const std::vector<CActivitySpan> spans{Span(kHanako, At(3, 8, 50), At(3, 18, 10)),
                                           Span(kHanako, At(3, 19, 0), At(3, 12, 0))};
    Check({Card(kHanako, 3, 9, 0, 18, 0)}, spans);
    const GapCheckRow* row = m_check.Listed(kHanako, 2024, 6, 3);
    ASSERT_NE(nullptr, row);
    EXPECT_TRUE(row->clockBack);
    EXPECT_EQ(10, row->gapMinutes) << "the backward span adds no end";
    EXPECT_EQ(18 * 60 + 10, row->lastEnd);
    const std::string detail = GapDayDetailText(m_check, spans, kHanako, 2024, 6, 3);
    EXPECT_NE(std::string::npos, detail.find("2024/06/03 19:00 - 2024/06/03 12:00"));
    EXPECT_NE(std::string::npos, detail.find("※時計が戻されています"));
}

TEST_F(GapCheckTest, TheDaysDetailTellsOpenSpansAndOnlyTheTimesANewCardWasMadeWith) {
    const std::vector<CActivitySpan> spans{Span(kHanako, At(3, 8, 10), CTime(), ActivityEnd::None)};
    CCardChange stamp = Change(kHanako, 3, At(3, 8, 12), ChangeHow::LoginStamp);
    stamp.newCard = true;
    stamp.before = {};
    stamp.after = {};
    stamp.after.timeFrom = TimeOfDay(8, 12);
    Check({Card(kHanako, 3, 8, 12, 18, 0)}, spans, {stamp});
    const std::string detail = GapDayDetailText(m_check, spans, kHanako, 2024, 6, 3);
    EXPECT_NE(std::string::npos, detail.find("  2024/06/03 08:10 - 終了の記録なし  PC-7\n"))
        << detail;
    EXPECT_NE(std::string::npos, detail.find("出勤打刻 (新規)")) << detail;
    EXPECT_NE(std::string::npos, detail.find("出勤 --:-- → 08:12")) << detail;
    EXPECT_EQ(std::string::npos, detail.find("退勤")) << "a departure the card was not made with";
}

TEST_F(GapCheckTest, TheExportQuotesLikeTheSalaryExportAndLeavesMissingTimesEmpty) {
    m_users[0].strUserName = "=山田, 花子";
    Check({Card(kHanako, 3, 9, 30, 18, 0)},
          {Span(kHanako, At(3, 8, 10), CTime(), ActivityEnd::None)},
          {Change(kHanako, 3, At(4, 10, 0), ChangeHow::TimeCardScreen)});
    EXPECT_EQ(
        "氏名,日付,PC開始,出勤,退勤,PC終了,差(分),修正回数,理由\r\n"
        "\"'=山田, 花子\",2024/06/03,08:10,09:30,18:00,,80,1,PC早 後日修正\r\n",
        GapCheckCsvText(m_check.Rows()));
}

}  // namespace
}  // namespace tokeiya
