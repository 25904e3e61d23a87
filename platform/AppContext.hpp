#pragma once

#include <string>

namespace tokeiya {

// What the screens share while they replace one another: the year and month looked at
// (year 0 = not chosen yet), the group (-1 = everyone, shown as "全員") and the user (0 =
// none).
struct WorkContext {
    int year = 0;
    int month = 0;
    int groupId = -1;
    std::string groupName = "全員";
    int userId = 0;

    // The salary list's first showing: while no month is chosen, the calendar month before
    // today's (January gives December of the year before).
    void ChooseSalaryMonth(int todayYear, int todayMonth);
};

// The values the whole process shares, as the application object holds them: set at
// start-up and at login, read by the parts that need them later (screen engine,
// function-key bar, printing, time cards, alarms, screens).
//
// The application owns one and hands it on by reference; code that has no path to it (a
// new time card day, the definition loader) reads Current(). Tests put a fresh one in
// force with ScopedAppContext, so no test sees what another left behind.
class CAppContext {
  public:
    std::string screenDefinitionFile;  // the screen definition package, "Tokeiya.ggd"
    std::string functionKeyFile;       // "Tokeiya.gfd"
    std::string printSettingsFile;     // "Tokeiya.pst"
    // Where session ends the database could not take are kept; empty keeps none.
    std::string attendanceJournalFile;
    int defaultLunchMinutes = 60;  // lunch minutes of a new time card day
    bool alarmAll = false;         // alarms also for everyone's schedules
    WorkContext work;

    // The context in force: the innermost ScopedAppContext's, else the process's own.
    static CAppContext& Current();
};

// Puts `context` (a fresh one by default) in force for its lifetime. Scopes nest and end
// in reverse order of creation.
class ScopedAppContext {
  public:
    ScopedAppContext();
    explicit ScopedAppContext(const CAppContext& context);
    ~ScopedAppContext();
    ScopedAppContext(const ScopedAppContext&) = delete;
    ScopedAppContext& operator=(const ScopedAppContext&) = delete;

    CAppContext& Context() { return m_context; }

  private:
    CAppContext m_context;
    CAppContext* m_previous;
};

}  // namespace tokeiya
