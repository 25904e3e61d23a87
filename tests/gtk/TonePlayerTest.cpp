#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/gtk/TonePlayer.hpp"
#include "tests/support/ScopedEnv.hpp"

namespace tokeiya::gtk::test {
namespace {

using tokeiya::test::ScopedEnv;

std::int16_t SampleAt(const std::string& bytes, size_t i) {
    const auto low = static_cast<unsigned char>(bytes[2 * i]);
    const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}

// The server is only ever one the session names, so that none is started for a beep.
TEST(TonePlayer, ConnectsOnlyToAServerTheSessionHas) {
    char folder[] = "/tmp/tokeiya-pulse-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string pulse = std::string(folder) + "/pulse";
    const std::string socketPath = pulse + "/native";
    ScopedEnv noServer("PULSE_SERVER", nullptr);
    ScopedEnv runtime("XDG_RUNTIME_DIR", folder);
    EXPECT_EQ(CTonePlayer::ServerAddress(), std::nullopt) << "no socket";
    EXPECT_FALSE(CTonePlayer().Play(4000, 100)) << "nothing to play on";

    ASSERT_EQ(mkdir(pulse.c_str(), 0700), 0);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(CTonePlayer::ServerAddress(), "unix:" + socketPath);
    {
        ScopedEnv named("PULSE_SERVER", "tcp:sound.example:4713");
        EXPECT_EQ(CTonePlayer::ServerAddress(), "tcp:sound.example:4713");
    }
    close(fd);
    unlink(socketPath.c_str());
    rmdir(pulse.c_str());
    rmdir(folder);

    ScopedEnv noRuntime("XDG_RUNTIME_DIR", nullptr);
    EXPECT_EQ(CTonePlayer::ServerAddress(), std::nullopt);
}

TEST(TonePlayer, TheToneHasItsLengthPitchAndQuietEnds) {
    const std::string tone = CTonePlayer::Samples(4000, 100, 44100);
    ASSERT_EQ(tone.size(), 4410u * 2) << "100 ms of 16-bit mono";
    int crossings = 0;
    int loudest = 0;
    for (size_t i = 1; i < tone.size() / 2; ++i) {
        const int previous = SampleAt(tone, i - 1);
        const int sample = SampleAt(tone, i);
        crossings += (previous < 0) != (sample < 0) ? 1 : 0;
        loudest = std::max(loudest, std::abs(sample));
    }
    // 4000 Hz for 0.1 s crosses zero about 800 times.
    EXPECT_NEAR(crossings, 800, 4);
    EXPECT_LE(loudest, 0.3 * 32767 + 1);
    EXPECT_GT(loudest, 0.25 * 32767);
    EXPECT_EQ(SampleAt(tone, 0), 0) << "faded in";
    EXPECT_LE(std::abs(SampleAt(tone, tone.size() / 2 - 1)), 1) << "faded out";

    const std::string tooHigh = CTonePlayer::Samples(30000, 10, 44100);
    ASSERT_EQ(tooHigh.size(), 441u * 2);
    EXPECT_EQ(tooHigh.find_first_not_of('\0'), std::string::npos) << "silent, not aliased";
    EXPECT_TRUE(CTonePlayer::Samples(4000, -5, 44100).empty());
}

}  // namespace
}  // namespace tokeiya::gtk::test
