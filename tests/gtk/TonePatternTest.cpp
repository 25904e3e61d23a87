#include <gtest/gtest.h>

#include <vector>

#include "GtkTestSupport.hpp"
#include "platform/gtk/TonePattern.hpp"
#include "tests/support/ScopedEnv.hpp"
#include "tests/support/TempFolder.hpp"

namespace tokeiya::gtk::test {
namespace {

using tokeiya::test::ScopedEnv;

// Without a sound server each tone is the bell at its start, rung from the main loop on the
// pattern's timing; the caller goes on at once, and a second pattern asked for meanwhile is
// not played over the first.
TEST(TonePattern, WithoutASoundServerTheBellRingsEachToneOnTime) {
    tokeiya::test::TempFolder runtime;
    ScopedEnv noServer("PULSE_SERVER", nullptr);
    ScopedEnv noSocket("XDG_RUNTIME_DIR", runtime.Path().c_str());
    std::vector<gint64> rings;
    CTonePattern pattern([&rings] { rings.push_back(g_get_monotonic_time()); });
    const std::vector<win::Tone> tones = {{3000, 100, 100}, {3000, 100, 100}, {4000, 200, 0}};

    const gint64 start = g_get_monotonic_time();
    pattern.Play(tones);
    EXPECT_LT(g_get_monotonic_time() - start, 50000) << "held the caller";
    EXPECT_EQ(1U, rings.size()) << "the first tone starts at once";
    EXPECT_TRUE(pattern.Sounding());
    pattern.Play(tones);
    EXPECT_EQ(1U, rings.size()) << "a pattern over a pattern";

    ASSERT_TRUE(PumpUntil([&] { return rings.size() == 3; }, 3000));
    EXPECT_GE(rings[1] - rings[0], 200000);
    EXPECT_GE(rings[2] - rings[1], 200000);
    // Sounding until the last tone is over, then a new pattern plays.
    EXPECT_TRUE(pattern.Sounding());
    ASSERT_TRUE(PumpUntil([&] { return !pattern.Sounding(); }, 3000));
    EXPECT_GE(g_get_monotonic_time() - rings[2], 200000);
    pattern.Play({{3000, 100, 0}});
    EXPECT_EQ(4U, rings.size());
}

}  // namespace
}  // namespace tokeiya::gtk::test
