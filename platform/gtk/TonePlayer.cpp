#include "platform/gtk/TonePlayer.hpp"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <numbers>

#include "platform/gtk/RuntimeSocket.hpp"

namespace tokeiya::gtk {
namespace {

constexpr double kAmplitude = 0.3 * 32767;
constexpr int kFadeMs = 5;
constexpr pa_usec_t kBufferUs = 50 * 1000;

struct SimpleDeleter {
    void operator()(pa_simple* simple) const { pa_simple_free(simple); }
};
using SimplePtr = std::unique_ptr<pa_simple, SimpleDeleter>;

}  // namespace

std::optional<std::string> CTonePlayer::ServerAddress() {
    if (const char* named = std::getenv("PULSE_SERVER"); named != nullptr && *named != '\0') {
        return std::string(named);
    }
    const std::optional<std::string> socket = RuntimeSocket("pulse/native");
    if (!socket) {
        return std::nullopt;
    }
    return "unix:" + *socket;
}

std::string CTonePlayer::Samples(int frequency, int milliseconds, int rate) {
    const std::int64_t count = std::int64_t{std::max(milliseconds, 0)} * rate / 1000;
    const std::int64_t fade =
        std::min<std::int64_t>(std::int64_t{kFadeMs} * rate / 1000, count / 2);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(count) * 2);
    // Above half the rate a tone cannot be played; it stays silent rather than alias.
    const bool audible = frequency > 0 && frequency < rate / 2;
    const double step = 2 * std::numbers::pi * frequency / rate;
    for (std::int64_t i = 0; i < count; ++i) {
        double gain = 1;
        if (fade > 0 && i < fade) {
            gain = double(i) / fade;
        } else if (fade > 0 && i >= count - fade) {
            gain = double(count - 1 - i) / fade;
        }
        const double value = audible ? kAmplitude * gain * std::sin(step * double(i)) : 0;
        const auto sample = static_cast<std::int16_t>(std::lround(value));
        const auto raw = static_cast<std::uint16_t>(sample);
        bytes += static_cast<char>(raw & 0xFF);  // little-endian, as the stream is declared
        bytes += static_cast<char>(raw >> 8);
    }
    return bytes;
}

bool CTonePlayer::Play(int frequency, int milliseconds) {
    const std::optional<std::string> server = ServerAddress();
    if (!server) {
        return false;
    }
    const pa_sample_spec format{PA_SAMPLE_S16LE, static_cast<uint32_t>(kRate), 1};
    // A short buffer: the server's default of two seconds would hold the caller that long.
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kBufferUs, &format));
    buffer.prebuf = static_cast<uint32_t>(-1);
    buffer.minreq = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(-1);
    int error = 0;
    SimplePtr stream(pa_simple_new(server->c_str(), "Tokeiya", PA_STREAM_PLAYBACK, nullptr, "beep",
                                   &format, nullptr, &buffer, &error));
    if (stream == nullptr) {
        return false;
    }
    const std::string samples = Samples(frequency, milliseconds, kRate);
    if (!samples.empty() &&
        pa_simple_write(stream.get(), samples.data(), samples.size(), &error) < 0) {
        return false;
    }
    // Until the last sample has been played: the caller waits the tone's length.
    return pa_simple_drain(stream.get(), &error) >= 0;
}

}  // namespace tokeiya::gtk
