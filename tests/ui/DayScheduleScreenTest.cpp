#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "data/CTSchedule.hpp"
#include "data/CTTimeCard.hpp"
#include "screens/day/CCRWA_DaySchedule.hpp"
#include "screens/month/CCRWA_MonthSchedule.hpp"
#include "tests/ui/WorkSession.hpp"
#include "widgets/CFunctionMenu.hpp"

namespace tokeiya {
namespace {

using Mode = CCRWA_DaySchedule::Mode;
using namespace win;

constexpr int kHanako = 1;
constexpr int kSubjectX = 10;
constexpr int kLevelX = 36;
constexpr int kEveryDayX = 101;
constexpr int kFirstLine = CCRWA_DaySchedule::kFirstLine;

// "hanako"'s day schedule of 9 March 2027 (a Tuesday), 10:00, opened from the month
// schedule as a user opens it.
class DayScheduleScreenTest : public test::WorkSession {
  protected:
    void Open(Mode mode) {
        FixClock(2027, 3, 9, 10, 0);
        Start("hanako", "pw");
        Key(mode == Mode::Personal ? VK_F1 + 8 : VK_F1 + 9);
        ASSERT_NE(nullptr, dynamic_cast<CCRWA_DaySchedule*>(View().Screen()));
        ASSERT_EQ(mode, Screen().GetMode());
    }

    CCRWA_DaySchedule& Screen() { return dynamic_cast<CCRWA_DaySchedule&>(*View().Screen()); }
    CFunctionMenu& Bar() { return *Screen().FunctionMenu(); }
    size_t Beeps() { return Window().m_beeps.size(); }

    // An entry as another computer stores it.
    int64_t AddEntry(int user, int day, int hour, int minute, const std::string& subject,
                     int everyDay = 0, int level = 1) {
        CSchedule entry;
        entry.idUser = user;
        entry.dateSchedule = everyDay != 0 ? *CTime::FromLocal(2000, 1, 1, hour, minute, 0)
                                           : *CTime::FromLocal(2027, 3, day, hour, minute, 0);
        entry.strSubject = subject;
        entry.flgEveryDay = everyDay;
        entry.nLevel = level;
        CTime latest;
        EXPECT_EQ(
            1,
            CTSchedule(m_db.Connection(), CTSchedule::Mode::Table).SaveSchedule(99, entry, latest));
        return entry.idSchedule;
    }
    // Every row of the table, deleted ones too, in id order.
    std::vector<CSchedule> StoredRows() {
        CTSchedule rows(m_db.Connection(), CTSchedule::Mode::Table);
        rows.m_strSort = "[idSchedule]";
        std::vector<CSchedule> stored;
        EXPECT_TRUE(rows.Open());
        for (; !rows.IsEOF(); rows.MoveNext()) {
            stored.push_back(rows.ToSchedule());
        }
        return stored;
    }
    std::vector<std::string> ListedSubjects() {
        std::vector<std::string> subjects;
        for (int i = 0; i < Screen().List().Count(); ++i) {
            subjects.push_back(Screen().List().Entry(i).strSubject);
        }
        return subjects;
    }
    std::string Line(int line) {
        std::string text;
        Screen().GetRowText(text, line, 0, Screen().Cols() - 1, true);
        return text;
    }
    // Types `text` into the subject of list row `row` over what it held, and leaves the
    // field with `exit`.
    void TypeSubject(int row, const std::string& text, int exit = VK_RETURN) {
        ClickCell(kSubjectX, kFirstLine + row);
        Key(VK_END);
        Key(VK_BACK, 20);
        Window().Type(text);
        Key(exit);
    }
};

TEST_F(DayScheduleScreenTest, ShowsTheDayInBothModes) {
    CTimeCard card = CTimeCard::NewDay(kHanako, 2027, 3, 9, 45);
    card.timeFrom = *CTime::FromLocal(2000, 1, 1, 8, 50, 0);
    ASSERT_EQ(1, CTTimeCard(m_db.Connection()).StoreCard(card));
    AddEntry(kHanako, 9, 13, 30, "会議", 0, 3);
    AddEntry(kHanako, 9, 8, 30, "朝礼", 1);
    AddEntry(kHanako, 9, 0, 0, "終日");
    AddEntry(kHanako, 10, 9, 0, "翌日の予定");
    AddEntry(0, 9, 15, 0, "全社会議", 0, 2);
    AddEntry(2, 9, 11, 0, "他人の予定");
    const struct {
        Mode mode;
        const char* golden;
    } cases[] = {{Mode::Personal, "day_schedule_personal.txt"},
                 {Mode::Everyone, "day_schedule_everyone.txt"}};
    Open(Mode::Personal);
    for (const auto& c : cases) {
        if (c.mode == Mode::Everyone) {
            Key(VK_F1 + 8);  // back to the month, then into the other mode
            Key(VK_F1 + 9);
        }
        ASSERT_EQ(c.mode, Screen().GetMode());
        EXPECT_EQ(0, Screen().CursorColumn()) << "the cursor opens on the arrival";
        EXPECT_EQ("現在", Bar().GetLabel(0, 6)) << "today's arrival";
        Screen().CloseEditor();
        Window().UpdateWindow();
        EXPECT_TRUE(test::ScreenMatchesFile(
            Screen(), std::string(TOKEIYA_SOURCE_DIR "/tests/ui/golden/") + c.golden))
            << c.golden;
        Screen().Activate();
    }
}

TEST_F(DayScheduleScreenTest, AnEmptyDayHasOneBlankEntryAndATypedSubjectIsStoredAtMidnight) {
    Open(Mode::Personal);
    ASSERT_EQ(1, Screen().List().Count());
    EXPECT_FALSE(Screen().List().Entry(0).IsValid());
    EXPECT_EQ(nullptr, Screen().ScrollBar()) << "no bar while the cursor is on the card";

    Key(VK_DOWN);
    EXPECT_EQ(CCRWA_DaySchedule::kListColumn, Screen().CursorColumn());
    EXPECT_EQ("行削除", Bar().GetLabel(0, 5));
    EXPECT_FALSE(Bar().HasLabel(0, 6)) << "no present time in the list";
    Key(VK_RETURN);
    Window().Type("meeting");
    EXPECT_TRUE(StoredRows().empty()) << "nothing is stored while the field is open";
    Key(VK_RIGHT);  // leaving the field stores it

    const std::vector<CSchedule> rows = StoredRows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("meeting", rows[0].strSubject);
    EXPECT_EQ(kHanako, rows[0].idUser);
    EXPECT_EQ(CTime::FromLocal(2027, 3, 9, 0, 0, 0)->GetTime(), rows[0].dateSchedule.GetTime());
    EXPECT_EQ(1, rows[0].nLevel);
    EXPECT_EQ(rows[0].idSchedule, Screen().List().Entry(0).idSchedule);
    EXPECT_NE(std::string::npos, Line(kFirstLine).find("meeting"));
    EXPECT_EQ(std::string::npos, Line(kFirstLine).find("00:00")) << "midnight shows no time";

    // Down from the last entry adds a blank one below it.
    Key(VK_DOWN);
    EXPECT_EQ(2, Screen().List().Count());
    EXPECT_EQ(1, Screen().Cursor());
    ASSERT_NE(nullptr, Screen().ScrollBar()) << "two entries: the bar shows";
}

// A time without a subject is no entry yet: it carries the mark, and another day or the
// month asks before it is lost.
TEST_F(DayScheduleScreenTest, AnEntryWithoutSubjectIsMarkedAndAskedAboutBeforeItIsLost) {
    Open(Mode::Personal);
    Key(VK_DOWN);
    TypeAndEnter("1130");
    EXPECT_TRUE(StoredRows().empty());
    EXPECT_EQ(0u, Line(kFirstLine).find(CCRWA_List::kUnstoredMark)) << Line(kFirstLine);

    for (const int key : {VK_F1 + 3, VK_F1 + 8}) {
        m_dialogs.QueueMessageAnswer(MessageAnswer::Yes);
        Key(key);
        ASSERT_NE(nullptr, dynamic_cast<CCRWA_DaySchedule*>(View().Screen())) << key;
        EXPECT_EQ(9, Screen().List().Day());
        EXPECT_EQ(CCRWA_DaySchedule::kListColumn, Screen().CursorColumn()) << "back on the entry";
    }
    m_dialogs.QueueMessageAnswer(MessageAnswer::No);
    Key(VK_F1 + 3);
    EXPECT_EQ(10, Screen().List().Day());
    EXPECT_EQ(3u, m_dialogs.m_messages.size());
    EXPECT_EQ(std::string::npos, Line(kFirstLine).find(CCRWA_List::kUnstoredMark));
}

// What the user does to the list, step by step, in the cases below.
enum class Act {
    TypeTime,     // a time typed into list row `row`, left with Enter
    TypeSubject,  // a subject typed into list row `row`, left with Enter
    Delete,       // key 5 on list row `row`, answered Yes where it asks
    Sort,         // key 8
    Down,         // the cursor down from where it is
    RemoveRows,   // another computer removes every row from the table
    BreakTable,   // the schedule table goes, so that every store fails
};
struct Step {
    Act act;
    int row = 0;
    const char* text = "";
};
struct StoredEntry {
    int hour;
    const char* subject;
};
// Whatever reorders, blanks or removes rows, the mark stays with the entry not stored, and
// leaving by key 4 asks exactly when there is one.
struct UnstoredCase {
    const char* name;
    std::vector<StoredEntry> stored;
    std::vector<Step> steps;
    std::vector<std::string> listed;
    int markedRow;               // -1: no row carries the mark
    const char* markedText;      // what the marked row shows besides the mark
    const char* told = nullptr;  // a message the steps must have shown
};

// Failures name the case, not its bytes.
void PrintTo(const UnstoredCase& c, std::ostream* os) {
    *os << c.name;
}

const UnstoredCase kUnstoredCases[] = {
    {"SortKeepsTheMarkOfATimeWithoutSubject",
     {{8, "early"}, {15, "late"}},
     {{Act::TypeTime, 2, "1130"}, {Act::TypeTime, 1, "0700"}, {Act::Sort}},
     {"late", "early", ""},
     2,
     "11:30"},
    {"SortCarriesTheMarkOfAFailedStoreToItsNewRow",
     {{9, "standing"}},
     {{Act::BreakTable}, {Act::TypeSubject, 1, "failed"}, {Act::Sort}},
     {"failed", "standing"},
     0,
     "failed"},
    {"DeletingANeverStoredEntryTakesItsMark",
     {},
     {{Act::TypeTime, 0, "1130"}, {Act::Delete, 0}},
     {""},
     -1,
     ""},
    {"DeletingAStoredEntryAboveLeavesTheMarkOnTheUnstoredOne",
     {{9, "drop"}},
     {{Act::TypeTime, 1, "1130"}, {Act::Delete, 0}},
     {""},
     0,
     "11:30"},
    {"AStoredEntryAndTheBlankBelowItCarryNoMark",
     {},
     {{Act::TypeSubject, 0, "meeting"}, {Act::Down}},
     {"meeting", ""},
     -1,
     ""},
    {"AnEntryAnotherComputerRemovedIsToldAndNotAskedAbout",
     {{9, "gone"}},
     {{Act::RemoveRows}, {Act::TypeSubject, 0, "changed"}},
     {"changed", ""},
     -1,
     "",
     "予定が見つからないため、保存できませんでした。"},
};

class UnstoredEntryTest : public DayScheduleScreenTest,
                          public ::testing::WithParamInterface<UnstoredCase> {
  protected:
    void Do(const Step& step) {
        switch (step.act) {
            case Act::TypeTime:
                ClickCell(3, kFirstLine + step.row);
                Window().Type(step.text);
                Key(VK_RETURN);
                break;
            case Act::TypeSubject:
                TypeSubject(step.row, step.text);
                break;
            case Act::Delete:
                ClickCell(kSubjectX, kFirstLine + step.row);
                if (Screen().List().Entry(step.row).idSchedule != 0) {
                    m_dialogs.QueueMessageAnswer(MessageAnswer::Yes);
                }
                Key(VK_F1 + 4);
                break;
            case Act::Sort:
                Key(VK_F1 + 7);
                break;
            case Act::Down:
                Key(VK_DOWN);
                break;
            case Act::RemoveRows:
                m_db.OpenAnother()->Database().ExecuteSQL("DELETE FROM T日程");
                break;
            case Act::BreakTable:
                m_db.OpenAnother()->Database().ExecuteSQL("DROP TABLE T日程");
                break;
        }
    }
    size_t Questions() const {
        return static_cast<size_t>(std::count(m_dialogs.m_messages.begin(),
                                              m_dialogs.m_messages.end(),
                                              std::string(CCRWA_List::kUnstoredQuestion)));
    }
};

TEST_P(UnstoredEntryTest, TheMarkStaysWithTheEntryAndLeavingAsksOnlyForIt) {
    const UnstoredCase& c = GetParam();
    for (const StoredEntry& entry : c.stored) {
        AddEntry(kHanako, 9, entry.hour, 0, entry.subject);
    }
    Open(Mode::Personal);
    for (const Step& step : c.steps) {
        Do(step);
    }
    EXPECT_EQ(c.listed, ListedSubjects());
    if (c.told != nullptr) {
        EXPECT_NE(m_dialogs.m_messages.end(),
                  std::find(m_dialogs.m_messages.begin(), m_dialogs.m_messages.end(), c.told));
    }
    for (int row = 0; row <= Screen().List().Count(); ++row) {
        const std::string line = Line(kFirstLine + row);
        const bool marked = line.rfind(CCRWA_List::kUnstoredMark, 0) == 0;
        EXPECT_EQ(row == c.markedRow, marked) << "row " << row << ": " << line;
        if (row == c.markedRow) {
            EXPECT_NE(std::string::npos, line.find(c.markedText)) << line;
        }
    }

    // Key 4 shows the next day; an entry not stored is asked about first, and Yes goes back
    // to it.
    const size_t asked = Questions();
    if (c.markedRow >= 0) {
        m_dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    }
    Key(VK_F1 + 3);
    if (c.markedRow >= 0) {
        EXPECT_EQ(asked + 1, Questions());
        EXPECT_EQ(9, Screen().List().Day());
        EXPECT_EQ(CCRWA_DaySchedule::kListColumn, Screen().CursorColumn());
        EXPECT_EQ(c.markedRow, Screen().Top() + Screen().Cursor());
    } else {
        EXPECT_EQ(asked, Questions());
        EXPECT_EQ(10, Screen().List().Day());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryChange, UnstoredEntryTest, ::testing::ValuesIn(kUnstoredCases),
                         [](const ::testing::TestParamInfo<UnstoredCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(DayScheduleScreenTest, RefusedValuesBeepAndComeBackWithNothingStored) {
    AddEntry(kHanako, 9, 9, 0, "meeting");
    Open(Mode::Personal);
    const struct {
        int x;
        const char* typed;
        const char* subject;
        int level;
        bool refused;
    } cases[] = {
        {kSubjectX, "", "meeting", 1, true},  // clearing a stored subject
        {kLevelX, "0", "meeting", 1, true},  {kLevelX, "6", "meeting", 1, true},
        {kLevelX, "5", "meeting", 5, false}, {kSubjectX, "talk", "talk", 5, false},
    };
    for (const auto& c : cases) {
        ClickCell(c.x, kFirstLine);
        Key(VK_END);
        Key(VK_BACK, 20);
        Window().Type(c.typed);
        const size_t beeps = Beeps();
        Key(VK_RETURN);
        EXPECT_EQ(beeps + (c.refused ? 1 : 0), Beeps()) << c.typed;
        if (c.refused) {
            EXPECT_FALSE(Screen().Notice().empty()) << c.typed;
            EXPECT_EQ(c.x == kSubjectX ? 5 : 7, Screen().CursorColumn()) << "the cursor stays";
        }
        const CSchedule stored = StoredRows().at(0);
        EXPECT_EQ(c.subject, stored.strSubject) << c.typed;
        EXPECT_EQ(c.level, stored.nLevel) << c.typed;
        EXPECT_EQ(c.subject, Screen().List().Entry(0).strSubject) << "the old value is back";
        Key(VK_ESCAPE);
    }
}

TEST_F(DayScheduleScreenTest, AnEveryDayEntryShowsOnOtherDaysUntilItsMarkIsCleared) {
    Open(Mode::Personal);
    ClickCell(3, kFirstLine);
    Window().Type("0830");
    Key(VK_RETURN);
    Window().Type("standup");
    Key(VK_RETURN);
    Key(VK_RETURN, 3);  // past the alarm mark, the level and the details
    EXPECT_EQ(9, Screen().CursorColumn());
    Key(VK_SPACE);
    Key(VK_RETURN);
    std::vector<CSchedule> rows = StoredRows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(1, rows[0].flgEveryDay);
    EXPECT_EQ(CTime::FromLocal(2000, 1, 1, 8, 30, 0)->GetTime(), rows[0].dateSchedule.GetTime());

    for (int key : {VK_F1 + 1, VK_F1 + 3, VK_F1 + 3}) {  // 8 March, then 9 and 10
        Key(key);
        EXPECT_EQ((std::vector<std::string>{"standup", ""}), ListedSubjects())
            << Screen().List().Day();
    }
    EXPECT_EQ(10, View().Work().scheduleDay) << "the month schedule opens on the day shown";

    ClickCell(kEveryDayX, kFirstLine);  // a click on the mark turns it over
    Key(VK_RETURN);
    rows = StoredRows();
    ASSERT_EQ(1u, rows.size()) << "the same entry, updated";
    EXPECT_EQ(0, rows[0].flgEveryDay);
    EXPECT_EQ(CTime::FromLocal(2027, 3, 10, 8, 30, 0)->GetTime(), rows[0].dateSchedule.GetTime());
    Key(VK_F1 + 1);  // 9 March
    EXPECT_EQ((std::vector<std::string>{""}), ListedSubjects()) << "pinned to the 10th";
}

TEST_F(DayScheduleScreenTest, EntriesSortByTimeAndEqualTimesKeepTheirLoadOrder) {
    AddEntry(kHanako, 9, 9, 0, "low");
    AddEntry(kHanako, 9, 9, 0, "high", 0, 4);
    AddEntry(kHanako, 9, 9, 0, "daily", 1, 5);
    AddEntry(kHanako, 9, 0, 0, "midnight");
    AddEntry(kHanako, 9, 7, 15, "early");
    Open(Mode::Personal);
    // Loaded dated before every-day, higher levels first; then by time, blank last.
    const std::vector<std::string> sorted = {"midnight", "early", "high", "low", "daily", ""};
    EXPECT_EQ(sorted, ListedSubjects());
    EXPECT_EQ(0u, Line(kFirstLine).find("      ")) << "00:00 shows no time";

    // A time typed later is not sorted in until key 8.
    ClickCell(3, kFirstLine + 1);
    Window().Type("2300");
    Key(VK_RETURN);
    EXPECT_EQ(sorted, ListedSubjects());
    Key(VK_F1 + 7);
    EXPECT_EQ((std::vector<std::string>{"midnight", "high", "low", "daily", "early", ""}),
              ListedSubjects());
    EXPECT_EQ(0, Screen().CursorColumn());
}

TEST_F(DayScheduleScreenTest, DeletingAsksFirstAndMarksTheEntryDeleted) {
    const int64_t kept = AddEntry(kHanako, 9, 9, 0, "keep");
    const int64_t last = AddEntry(kHanako, 9, 10, 0, "drop");
    Open(Mode::Personal);
    ClickCell(kSubjectX, kFirstLine + 2);  // the blank entry
    Window().Type("draft");
    Key(VK_F1 + 4);
    EXPECT_TRUE(m_dialogs.m_messages.empty()) << "an entry never stored goes without asking";
    EXPECT_EQ((std::vector<std::string>{"keep", "drop", ""}), ListedSubjects());

    const struct {
        MessageAnswer answer;
        int level;
        std::vector<std::string> listed;
    } cases[] = {{MessageAnswer::No, 1, {"keep", "drop", ""}},
                 {MessageAnswer::Yes, kScheduleLevelDeleted, {"keep", ""}}};
    for (const auto& c : cases) {
        ClickCell(kSubjectX, kFirstLine + 1);
        m_dialogs.QueueMessageAnswer(c.answer);
        Key(VK_F1 + 4);
        ASSERT_FALSE(m_dialogs.m_messages.empty());
        EXPECT_EQ("drop を削除しますか？", m_dialogs.m_messages.back());
        const std::vector<CSchedule> rows = StoredRows();
        ASSERT_EQ(2u, rows.size()) << "a deleted entry stays in the table";
        EXPECT_EQ(last, rows[1].idSchedule);
        EXPECT_EQ(c.level, rows[1].nLevel);
        EXPECT_EQ(1, rows[0].nLevel);
        EXPECT_EQ(c.listed, ListedSubjects());
    }
    EXPECT_EQ(kept, Screen().List().Entry(0).idSchedule);

    // The blank entry typed into becomes the last one; deleted, a blank one comes back.
    TypeSubject(1, "new");
    EXPECT_EQ((std::vector<std::string>{"keep", "new"}), ListedSubjects());
    ClickCell(kSubjectX, kFirstLine + 1);
    m_dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    Key(VK_F1 + 4);
    EXPECT_EQ((std::vector<std::string>{"keep", ""}), ListedSubjects());
    EXPECT_EQ(kScheduleLevelDeleted, StoredRows().at(2).nLevel);
    ASSERT_NE(nullptr, Screen().ActiveEditor());
}

// The pending alarm follows what the screen stores and deletes, and rings on the minute.
TEST_F(DayScheduleScreenTest, AlarmsAreReadAgainAfterEachStoreAndDelete) {
    AddEntry(kHanako, 9, 10, 1, "interview");
    Open(Mode::Personal);
    const CAlarmData& pending = m_doc->Alarms().Pending();
    EXPECT_EQ(0, pending.idSchedule) << "no alarm mark yet";

    ClickCell(31, kFirstLine);  // a click on the alarm mark turns it over
    Key(VK_RETURN);
    EXPECT_EQ("interview", pending.strSubject);
    EXPECT_EQ(CTime::FromLocal(2027, 3, 9, 10, 1, 0)->GetTime(), pending.time.GetTime());

    ClickCell(kSubjectX, kFirstLine);
    m_dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    Key(VK_F1 + 4);
    EXPECT_EQ(0, pending.idSchedule) << "a deleted entry does not ring";

    TypeSubject(0, "call");
    ClickCell(3, kFirstLine);
    Window().Type("1001");
    Key(VK_RETURN);
    ClickCell(31, kFirstLine);
    Key(VK_RETURN);
    EXPECT_EQ("call", pending.strSubject);
    Window().AdvanceTime(60000);
    ASSERT_NE(nullptr, m_dialogs.m_noticeWindow);
    EXPECT_TRUE(m_dialogs.m_noticeWindow->IsVisible());
    EXPECT_EQ("call の時間です。", m_dialogs.m_noticeWindow->FirstLine());
}

TEST_F(DayScheduleScreenTest, TwoComputersAddingToTheSameDayKeepBothEntries) {
    Open(Mode::Everyone);
    const int64_t theirs = AddEntry(0, 9, 9, 0, "theirs");
    TypeSubject(0, "ours");
    const int64_t ours = Screen().List().Entry(0).idSchedule;
    const int64_t theirsAgain = AddEntry(0, 9, 9, 0, "theirs too");
    EXPECT_NE(0, ours);
    EXPECT_NE(theirs, ours);
    EXPECT_NE(theirsAgain, ours);
    const std::vector<CSchedule> rows = StoredRows();
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ("ours", rows[1].strSubject);
    EXPECT_EQ(0, rows[1].idUser) << "everyone's entries are shared";
}

TEST_F(DayScheduleScreenTest, AFailedStoreIsToldOnceAndTheTypedSubjectStays) {
    Open(Mode::Personal);
    m_db.OpenAnother()->Database().ExecuteSQL("DROP TABLE T日程");
    TypeSubject(0, "lost?");
    EXPECT_EQ(1u, m_dialogs.m_messages.size());
    EXPECT_EQ("lost?", Screen().List().Entry(0).strSubject);
    EXPECT_EQ(0, Screen().List().Entry(0).idSchedule) << "no key from a store that failed";
    EXPECT_NE(std::string::npos, Line(kFirstLine).find("lost?"));
}

TEST_F(DayScheduleScreenTest, OnlyEveryoneModeLabelsKeyOneAfterAnotherComputerStores) {
    // An every-day entry is shown on every day, so another computer's is news too.
    const struct {
        Mode mode;
        int owner;
        int everyDay;
        const char* typed;
        const char* label;
    } cases[] = {{Mode::Personal, kHanako, 0, "mine", ""},
                 {Mode::Everyone, 0, 0, "mine", "最新情報"},
                 {Mode::Everyone, 0, 1, "ours", "最新情報"}};
    Open(Mode::Personal);
    Mode shown = Mode::Personal;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.typed << " " << c.everyDay);
        if (c.mode != shown) {
            Key(VK_F1 + 8);
            Key(VK_F1 + 9);
            shown = c.mode;
        }
        Window().AdvanceTime(60000);
        EXPECT_FALSE(Bar().HasLabel(0, 1)) << "nothing changed yet";
        TypeSubject(0, c.typed);
        Window().AdvanceTime(60000);
        EXPECT_FALSE(Bar().HasLabel(0, 1)) << "the screen's own store is no news";
        AddEntry(c.owner, 9, 11, c.everyDay, c.everyDay != 0 ? "daily" : "news", c.everyDay);
        Window().AdvanceTime(60000);
        EXPECT_EQ(c.label, Bar().GetLabel(0, 1));
        Key(VK_F1);
        EXPECT_FALSE(Bar().HasLabel(0, 1));
    }
    EXPECT_EQ((std::vector<std::string>{"ours", "news", "daily", ""}), ListedSubjects())
        << "key 1 read the day again";
}

TEST_F(DayScheduleScreenTest, TheOwnCardTakesTimesAndThePresentTimeOnlyToday) {
    Open(Mode::Personal);
    Window().AdvanceTime(5 * 60 * 1000);  // 10:05
    Key(VK_F1 + 5);
    CTimeCard stored = CTimeCard::NewDay(kHanako, 2027, 3, 9, 60);
    ASSERT_EQ(1, CTTimeCard(m_db.Connection()).LoadCard(stored));
    EXPECT_EQ(10, stored.timeFrom.GetHour());
    EXPECT_EQ(5, stored.timeFrom.GetMinute());
    EXPECT_NE(std::string::npos, Line(2).find("10:05"));

    const struct {
        int key;
        int x;
        const char* label;
    } cases[] = {{0, 29, "現在"}, {0, 39, ""}, {VK_F1 + 1, 16, ""}, {VK_F1 + 2, 29, "現在"}};
    for (const auto& c : cases) {
        if (c.key != 0) {
            Key(c.key);
        }
        ClickCell(c.x, 2);
        EXPECT_EQ(c.label, Bar().GetLabel(0, 6)) << Screen().List().Day() << " " << c.x;
        EXPECT_EQ(nullptr, Screen().ScrollBar());
    }
    // The departure typed on the card is stored with the card's rule.
    ClickCell(29, 2);
    Window().Type("0600");
    Key(VK_RETURN);
    ASSERT_EQ(1, CTTimeCard(m_db.Connection()).LoadCard(stored));
    EXPECT_EQ(kOptionDepartureNextDay, stored.flgOption);
    EXPECT_NE(std::string::npos, Line(2).find("翌"));
}

TEST_F(DayScheduleScreenTest, TheMonthScheduleOpensTheCursorDayAndKeyNineComesBack) {
    const struct {
        const char* how;
        int key;
        int x;
        Mode mode;
    } cases[] = {{"key 9", VK_F1 + 8, 0, Mode::Personal},
                 {"key 10", VK_F1 + 9, 0, Mode::Everyone},
                 {"own subjects", 0, 40, Mode::Personal}};
    FixClock(2027, 3, 9, 10, 0);
    Start("hanako", "pw");
    for (const auto& c : cases) {
        auto& month = dynamic_cast<CCRWA_MonthSchedule&>(*View().Screen());
        if (c.key != 0) {
            month.SetCursor(20, 1);
            Key(c.key);
        } else {
            const CPoint at = CellCentre(c.x, 17);  // 15 March
            Window().DoubleClick(headless::HeadlessHostWindow::Button::Left, at.x, at.y);
            Window().Pump();
        }
        const int day = c.key != 0 ? 20 : 15;
        ASSERT_NE(nullptr, dynamic_cast<CCRWA_DaySchedule*>(View().Screen())) << c.how;
        EXPECT_EQ(c.mode, Screen().GetMode()) << c.how;
        EXPECT_EQ(day, Screen().List().Day()) << c.how;
        EXPECT_EQ(3, Screen().List().Month()) << c.how;
        Key(VK_F1 + 3);  // the next day
        Key(VK_F1 + 8);
        auto* back = dynamic_cast<CCRWA_MonthSchedule*>(View().Screen());
        ASSERT_NE(nullptr, back) << c.how;
        EXPECT_EQ(day + 1, back->CursorDay()) << c.how;
    }
}

}  // namespace
}  // namespace tokeiya
