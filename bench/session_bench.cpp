// Start-up cost of the session on the embedded database: connecting, the silent login
// with stored credentials, the login row, and the logout at the end. The budget for the
// whole start-up to the first painted screen is 400 ms. The administration account has no
// password, so this is the login without its hash; BM_PasswordVerify is what a password
// adds (budget 150 ms).
#include <benchmark/benchmark.h>

#include "data/CPasswordHash.hpp"
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

// One verification of a ten-byte password against a hash made with the stored limits, as
// every login with a password makes.
void BM_PasswordVerify(benchmark::State& state) {
    const std::optional<std::string> stored = tokeiya::CPasswordHash().Hash("0123456789");
    if (!stored) {
        state.SkipWithError("no hash");
        return;
    }
    for (auto _ : state) {
        if (!tokeiya::CPasswordHash::Verify(*stored, "0123456789")) {
            state.SkipWithError("the password did not verify");
            return;
        }
    }
}
BENCHMARK(BM_PasswordVerify)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
