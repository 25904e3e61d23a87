#pragma once

#include <optional>
#include <string>

namespace tokeiya::gtk {

// Plays a sine tone on the user's sound server through PulseAudio's simple API and
// returns when it has been heard, as the speaker beep does. A server that is not running
// is never started for it: the connection goes to the address the session names
// ($PULSE_SERVER, else the per-user socket under $XDG_RUNTIME_DIR), and naming it turns
// libpulse's autospawn off.
class CTonePlayer {
  public:
    // False when there is no sound server to play on (nothing was played).
    bool Play(int frequency, int milliseconds);

    // The server to connect to; none when the session has no sound server.
    static std::optional<std::string> ServerAddress();
    // 16-bit mono samples of the tone, faded in and out over a few milliseconds so that it
    // starts and ends without a click.
    static std::string Samples(int frequency, int milliseconds, int rate);

    static constexpr int kRate = 44100;
};

}  // namespace tokeiya::gtk
