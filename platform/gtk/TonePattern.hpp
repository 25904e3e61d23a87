#pragma once

#include <glib.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/win/IHostWindow.hpp"

namespace tokeiya::gtk {

// Plays a pattern of tones without holding the main loop: on the sound server from a
// thread of its own, or, where there is none, as the bell `ring` gives at each tone's start,
// from GLib timeouts on the main loop.
class CTonePattern {
  public:
    explicit CTonePattern(std::function<void()> ring);
    // Silences the rest of the pattern; waits for a tone under way to end (a second at most).
    ~CTonePattern();
    CTonePattern(const CTonePattern&) = delete;
    CTonePattern& operator=(const CTonePattern&) = delete;

    // Starts `tones` and returns; nothing while a pattern still sounds.
    void Play(const std::vector<win::Tone>& tones);
    bool Sounding() const;

  private:
    void PlayOnServer(const std::vector<win::Tone>& tones);
    void RingNext();
    static gboolean OnBell(gpointer self) noexcept;

    std::function<void()> m_ring;
    std::thread m_worker;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;  // under m_mutex
    std::atomic<bool> m_serverSounding{false};
    std::vector<win::Tone> m_bells;  // the tones still to ring as bells, next first
    guint m_bellSource = 0;
};

}  // namespace tokeiya::gtk
