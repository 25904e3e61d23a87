#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/CRecordBase.hpp"

namespace tokeiya {

// How an activity span of the program on a computer ended; stored in its closing row.
enum class ActivityEnd : int {
    None = 0,  // never ended (no closing row)
    Exit = 1,
    DesktopEnd = 2,  // desktop logout or shutdown
    DisplayLost = 3,
    Journal = 4,  // written at a later login from the journal
    Sleep = 5,
    Lock = 6,
};

// One span of activity: from its opening row to its closing row, if there is one.
struct CActivitySpan {
    int64_t idSpan = 0;
    int idUser = 0;
    std::string computer;
    CTime start;
    CTime end;  // empty while the span has no closing row
    ActivityEnd how = ActivityEnd::None;
    // The end lies before the start (a clock set back): shown as recorded, never counted.
    bool Backwards() const { return how != ActivityEnd::None && end < start; }
};

// What one user's spans that began on one day come to, as the attendance check compares them
// with the card: a span without a closing row adds no end, and one that ends before it starts
// adds no end but marks the day.
struct CActivityDay {
    int idUser = 0;
    int nYear = 0;
    int nMonth = 0;
    int nDay = 0;
    CTime firstStart;  // the earliest start
    CTime lastEnd;     // the latest end of the ended spans running forward; empty when none
    bool backwards = false;
    int spans = 0;

    bool operator==(const CActivityDay&) const = default;
};

// The same summary of spans already read, by user and day of their start.
std::vector<CActivityDay> SummarizeActivityDays(const std::vector<CActivitySpan>& spans);

// The PC activity log [dbo].[T端末利用]. A span's end is known only later, and rows are only
// ever added: a span is an opening row and a closing row under one span id, read together.
// Sessions on two computers at once are simply two spans.
class CTPcActivity : public CRecordBase {
  public:
    explicit CTPcActivity(CConnection& connection);

    // A new span id, unlikely ever to meet another computer's.
    static int64_t NewSpanId();
    // Adds the opening row of a span. Throws CDBException when it cannot.
    void Begin(int64_t span, int userId, const std::string& computer, const CTime& at);
    // Adds the closing row of a span; a span closed already (a journal entry written twice)
    // stays as it was. Throws CDBException when the row cannot be added.
    void End(int64_t span, int userId, const std::string& computer, const CTime& at,
             ActivityEnd how);
    // The spans that began in [from, to) (only `userId`'s unless 0), by start.
    [[nodiscard]] int LoadStarted(const CTime& from, const CTime& to,
                                  std::vector<CActivitySpan>& out, int userId = 0);
    // The spans that began in [from, to) summed up by user and day in the database, so that a
    // month of an office's use crosses the driver as one row a day (only `userId`'s unless 0).
    [[nodiscard]] int LoadDays(const CTime& from, const CTime& to, std::vector<CActivityDay>& out,
                               int userId = 0);

    int64_t m_idSpan;
    int m_flgEnd;
    int m_idUser;
    std::string m_strPCName;
    CTime m_dateAt;
    int m_typeEnd;
    CTime m_dateStart;  // a closing row's span start

  protected:
    std::string GetDefaultSQL() const override { return "[dbo].[T端末利用]"; }
    void DoFieldExchange(CFieldExchange& fx) override;
    void SetFieldDefaults() override;

  private:
    void Insert(int64_t span, bool end, int userId, const std::string& computer, const CTime& at,
                ActivityEnd how);
};

}  // namespace tokeiya
