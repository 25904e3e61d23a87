// Start-up cost of the session on the embedded database: connecting, the silent login
// with stored credentials, the login row, and the logout at the end. The budget for the
// whole start-up to the first painted screen is 400 ms.
#include <benchmark/benchmark.h>
#include <string>

#include "data/CCodeRZ.hpp"
#include "platform/ProfileStore.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "shell/ConnectionSettings.hpp"
#include "tests/support/TempFolder.hpp"

namespace {

void BM_SessionStartAndEnd(benchmark::State& state) {
    tokeiya::test::TempFolder folder;
    tokeiya::CProfileStore profile(folder.Path() + "/Tokeiya.ini");
    tokeiya::ConnectionForm form;
    form.file = folder.Path() + "/tokeiya.db";
    profile.WriteProfileString("DATABASE", "Connection",
                               tokeiya::ConnectionSettings::Build(form, {}));
    profile.WriteProfileInt("LOGIN", "SavePwd", 1);
    profile.WriteProfileInt("LOGIN", "NotViewDialog", 1);
    profile.WriteProfileString("LOGIN", "User", "tokeiya");
    profile.WriteProfileString("LOGIN", "Password", tokeiya::ScramblePassword(""));
    tokeiya::CScriptedDialogs dialogs;
    {
        tokeiya::CTokeiyaDoc first(profile, dialogs, "PC");  // creates the database file
        if (!first.Create()) {
            state.SkipWithError("the first session could not start");
            return;
        }
    }
    for (auto _ : state) {
        tokeiya::CTokeiyaDoc doc(profile, dialogs, "PC");
        if (!doc.Create()) {
            state.SkipWithError("the session could not start");
            return;
        }
    }
}
BENCHMARK(BM_SessionStartAndEnd)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
