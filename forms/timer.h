#pragma once

#include "forms/events.h"
#include "forms/peer.h"

#include <cstdint>
#include <memory>

namespace forms {

// The timer control: ticks every Interval ms while Enabled (Interval 0: no ticks). Enabled is true
// for a new timer, as for the platform's control.
class Timer {
public:
    explicit Timer(int intervalMs = 0, bool enabled = true);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int Interval() const { return m_interval; }
    // Negative -> RuntimeError("Invalid property value"); 0 stops ticking (Enabled kept).
    void setInterval(int ms);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool on);

    // Delivers one tick now if Enabled (manual mode hook; works in either mode).
    void fire();

    // In manual mode no platform timer runs; Enabled is still tracked. Process-wide.
    static void setManualMode(bool on);
    static bool manualMode();
    // Every tick delivered by any timer since start.
    static std::uint64_t totalTicks();
    // Whether a platform timer runs for this timer now (never in manual mode).
    bool isRunning() const;

    Event<> Tick;

private:
    void update();
    void deliver();

    std::unique_ptr<TimerPeer> m_peer;
    int m_interval = 0;
    bool m_enabled = false;
};

} // namespace forms
