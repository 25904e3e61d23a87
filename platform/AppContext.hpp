#pragma once

#include <string>

namespace tokeiya {

// The values the whole process shares, as the application object holds them: the files
// it reads and writes, set at start-up and read by the parts that need them later (screen
// engine, function-key bar, printing, session end), and the alarm setting.
//
// The application owns one and hands it on by reference; code that has no path to it (the
// definition loader, the function-key bar) reads Current(). Tests put a fresh one in
// force with ScopedAppContext, so no test sees what another left behind.
class CAppContext {
  public:
    std::string screenDefinitionFile;  // the screen definition package, "Tokeiya.ggd"
    std::string functionKeyFile;       // "Tokeiya.gfd"
    std::string printSettingsFile;     // "Tokeiya.pst", beside the settings file
    // A print settings file left in the start folder: read once, when the one above is
    // still missing.
    std::string formerPrintSettingsFile;
    // Unit of printed margins: 2 tenths of a millimetre, 3 hundredths of an inch, else dots.
    int printUnitMode = 2;
    // Where session ends the database could not take are kept; empty keeps none.
    std::string attendanceJournalFile;
    bool alarmAll = false;  // alarms also for everyone's schedules

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
