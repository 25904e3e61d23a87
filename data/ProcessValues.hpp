#pragma once

#include <string>

namespace tokeiya {

// The few values the whole process shares: set at start-up and at login, read by the parts
// that need them later (screen engine, function-key bar, printing, time cards, alarms).
struct ProcessValues {
    std::string screenDefinitionFile;  // "Tokeiya.ggd" in the start folder
    std::string functionKeyFile;       // "Tokeiya.gfd"
    std::string printSettingsFile;     // "Tokeiya.pst"
    int defaultLunchMinutes = 60;      // lunch minutes of a new time card day
    bool alarmAll = false;             // alarms also for everyone's schedules
};

ProcessValues& Process();

}  // namespace tokeiya
