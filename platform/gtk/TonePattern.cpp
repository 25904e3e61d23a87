#include "platform/gtk/TonePattern.hpp"

#include <algorithm>
#include <utility>

#include "platform/gtk/GtkCallback.hpp"
#include "platform/gtk/TonePlayer.hpp"

namespace tokeiya::gtk {

CTonePattern::CTonePattern(std::function<void()> ring) : m_ring(std::move(ring)) {}

CTonePattern::~CTonePattern() {
    if (m_bellSource != 0) {
        g_source_remove(m_bellSource);
    }
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

bool CTonePattern::Sounding() const {
    return m_serverSounding.load() || m_bellSource != 0;
}

void CTonePattern::Play(const std::vector<win::Tone>& tones) {
    if (Sounding() || tones.empty()) {
        return;
    }
    if (CTonePlayer::ServerAddress()) {
        if (m_worker.joinable()) {
            m_worker.join();  // the last pattern's thread, over already
        }
        m_serverSounding = true;
        m_worker = std::thread([this, tones] { PlayOnServer(tones); });
        return;
    }
    m_bells = tones;
    RingNext();
}

void CTonePattern::PlayOnServer(const std::vector<win::Tone>& tones) {
    CTonePlayer player;
    for (const win::Tone& tone : tones) {
        {
            const std::lock_guard lock(m_mutex);
            if (m_stop) {
                break;
            }
        }
        // A server that went away meanwhile leaves the rest silent: the notice still shows.
        static_cast<void>(player.Play(tone.frequency, tone.milliseconds));
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, std::chrono::milliseconds(std::max(tone.pauseMs, 0)),
                            [this] { return m_stop; })) {
            break;
        }
    }
    m_serverSounding = false;
}

void CTonePattern::RingNext() {
    const win::Tone tone = m_bells.front();
    m_bells.erase(m_bells.begin());
    m_ring();
    // The last tone's length and pause still count: no new pattern starts over its end.
    const int wait = std::max(tone.milliseconds, 0) + std::max(tone.pauseMs, 0);
    m_bellSource = g_timeout_add(static_cast<guint>(wait), &CTonePattern::OnBell, this);
}

gboolean CTonePattern::OnBell(gpointer self) noexcept {
    auto* pattern = static_cast<CTonePattern*>(self);
    pattern->m_bellSource = 0;  // this source ends with the call
    if (!pattern->m_bells.empty()) {
        Guarded("alarm bell", [pattern] { pattern->RingNext(); });
    }
    return G_SOURCE_REMOVE;
}

}  // namespace tokeiya::gtk
