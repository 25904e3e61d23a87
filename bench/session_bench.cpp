// Start-up cost of the session on the embedded database: connecting, the silent login
// with stored credentials, the login row, and the logout at the end. The budget for the
// whole start-up to the first painted screen is 400 ms.
#include <benchmark/benchmark.h>

#include "platform/ProfileStore.hpp"
#include "platform/headless/ScriptedDialogs.hpp"
#include "shell/CTokeiyaDoc.hpp"
#include "tests/support/StoredLogin.hpp"
#include "tests/support/TempFolder.hpp"

namespace {

void BM_SessionStartAndEnd(benchmark::State& state) {
    tokeiya::test::TempFolder folder;
    tokeiya::CProfileStore profile(folder.Path() + "/Tokeiya.ini");
    if (!tokeiya::test::PrepareStoredLogin(profile, folder.Path() + "/tokeiya.db")) {
        state.SkipWithError("the first session could not start");
        return;
    }
    tokeiya::CScriptedDialogs dialogs;
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
